// Painting one character page into a QPainter: text runs in their class
// colours with the fixed font, line-drawing cells as lines from the cell
// centre, push-button runs as raised (or pressed) buttons, field outlines,
// the selection drawn inverted and the caret. Its own file so the window
// keeps only its event handling, and tests can paint into an image.
#pragma once

#include <QFont>
#include <QRect>

#include "client/terminal/char_page.h"
#include "client/terminal/terminal_colours.h"
#include "client/terminal/text_selection.h"

class QPainter;
class QRegion;

namespace veslink {

struct CellGeometry {
  int char_width = 8;
  int line_height = 16;
  int row_height() const { return line_height + 1; }
  QRect cell_rect(int row, int column, int count = 1) const {
    return {column * char_width, row * row_height(), count * char_width, row_height()};
  }
};

enum class CaretShape : std::uint8_t { Hidden, Block, Underline };

struct PagePaint {
  const CharPage* page = nullptr;
  QFont font;
  CellGeometry cells;
  const TerminalColours* colours = nullptr;
  CellRect selection;       // empty when nothing is selected
  int pressed_row = -1;     // a button run drawn pressed: its row
  int pressed_column = -1;  // and any of its columns
  CaretShape caret = CaretShape::Hidden;
  QSize area;  // the whole window: what lies beyond the page is background
};

// Paints what lies in `region` (window pixels).
void paint_page(QPainter& painter, const PagePaint& paint, const QRegion& region);

// The first and last column of the push-button run that holds a cell;
// false when the cell is not a button cell.
bool button_run_at(const CharPage& page, int row, int column, int& first, int& last);

}  // namespace veslink
