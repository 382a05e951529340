// The page painter: runs of equal attributes, line cells, button runs, field
// outlines, then the inverted selection and the caret on top.
#include "client/terminal/terminal_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <cmath>

#include "client/terminal/cell_style.h"
#include "client/terminal/line_drawing.h"
#include "client/terminal/terminal_charset.h"

namespace veslink {

namespace {

QColor qcolour(ColourRef ref) {
  return QColor(static_cast<int>(ref & 0xFF), static_cast<int>((ref >> 8) & 0xFF),
                static_cast<int>((ref >> 16) & 0xFF));
}

QString cell_text(const CharPage& page, int row, int first, int last) {
  QString text;
  text.reserve(last - first + 1);
  for (int c = first; c <= last; ++c) {
    const char32_t ch = cell_to_unicode(page.cell(row, c));
    text += ch > 0xFFFF ? QChar(u'?') : QChar(static_cast<char16_t>(ch));
  }
  return text;
}

class RowPainter {
 public:
  RowPainter(QPainter& p, const PagePaint& paint)
      : p_(p),
        paint_(paint),
        page_(*paint.page),
        g_(paint.cells),
        metrics_(paint.font),
        ascent_(metrics_.ascent()),
        // One text call per run keeps the glyphs on their cells only when the
        // font's own advance is the cell width; otherwise each character is
        // placed on its cell.
        one_call_(std::abs(QFontMetricsF(paint.font).horizontalAdvance(QLatin1Char('M')) -
                           paint.cells.char_width) < 0.001) {}

  void row(int r, int first_col, int last_col) {
    const int columns = page_.columns();
    int c = 0;
    while (c < columns) {
      const std::uint16_t cell = page_.cell(r, c);
      const CellClass cls = classify_cell(cell);
      if (is_button_class(cls)) {
        int first = c, last = c;
        button_run_at(page_, r, c, first, last);
        if (last >= first_col && first <= last_col) button(r, first, last, cls);
        c = last + 1;
        continue;
      }
      if (cls == CellClass::LineDrawing) {
        if (c >= first_col && c <= last_col) line_cell(r, c, cell);
        ++c;
        continue;
      }
      int end = c;
      while (end + 1 < columns && text_run_key(page_.cell(r, end + 1)) == text_run_key(cell))
        ++end;
      const int from = std::max(c, first_col), to = std::min(end, last_col);
      if (from <= to) text_run(r, from, to, cls);
      c = end + 1;
    }
  }

  void outlines(int r, int first_col, int last_col) {
    const int columns = page_.columns();
    const int rows = page_.rows();
    p_.setPen(QPen(Qt::black, 1));
    for (int c = first_col; c <= last_col; ++c) {
      const std::uint16_t cell = page_.cell(r, c);
      const bool field = is_field_cell(cell);
      const bool below = r + 1 < rows && is_field_cell(page_.cell(r + 1, c));
      const QRect box = g_.cell_rect(r, c);
      // Along the bottom of field cells over non-field ones, and of
      // non-field cells over field ones.
      if (field != below) p_.drawLine(box.left(), box.bottom(), box.right(), box.bottom());
      const bool right = c + 1 < columns && is_field_cell(page_.cell(r, c + 1));
      // Where a field meets a non-field cell, and between two fields that
      // touch: after the cell that ends a field run.
      if (field != right || (field && right && (cell & cell_bits::kRunEnd)))
        p_.drawLine(box.right(), box.top(), box.right(), box.bottom());
    }
  }

 private:
  void text_run(int r, int first, int last, CellClass cls) {
    const ColourPair colours = class_colours(*paint_.colours, cls);
    const QRect box = g_.cell_rect(r, first, last - first + 1);
    p_.fillRect(box, qcolour(colours.background));
    p_.setPen(qcolour(colours.text));
    const int baseline = box.top() + ascent_;
    const QString text = cell_text(page_, r, first, last);
    // Glyphs beyond ASCII may come from a fallback font of another width.
    const bool ascii = std::all_of(text.begin(), text.end(), [](QChar ch) {
      return ch.unicode() >= 0x20 && ch.unicode() < 0x7F;
    });
    if (one_call_ && ascii) {
      p_.drawText(box.left(), baseline, text);
      return;
    }
    for (int i = 0; i < text.size(); ++i)
      if (text[i] != QLatin1Char(' '))
        p_.drawText((first + i) * g_.char_width, baseline, QString(text[i]));
  }

  void line_cell(int r, int c, std::uint16_t cell) {
    const ColourPair colours = class_colours(*paint_.colours, CellClass::LineDrawing);
    const QRect box = g_.cell_rect(r, c);
    p_.fillRect(box, qcolour(colours.background));
    const LineArms arms = line_arms(static_cast<std::uint8_t>(cell & 0xFF));
    if (!arms.any()) {
      // A code outside the set: shown as its character.
      p_.setPen(qcolour(colours.text));
      p_.drawText(box.left(), box.top() + ascent_, cell_text(page_, r, c, c));
      return;
    }
    p_.setPen(QPen(qcolour(colours.text), 1));
    draw_arms(arms, box);
  }

  // Arms from the cell centre to the edges. A double arm is two lines one
  // pixel either side of the centre line; where double lines meet, each line
  // stops at the corner it forms (inner or outer), so corners, tees and
  // crosses close the way the box characters draw them.
  void draw_arms(const LineArms& arms, const QRect& box) {
    enum { kUp, kDown, kLeft, kRight };
    const int w[4] = {arms.up, arms.down, arms.left, arms.right};
    constexpr int d = 1;
    const int cx = box.left() + g_.char_width / 2;
    const int cy = box.top() + g_.row_height() / 2;
    auto vertical = [](int a) { return a == kUp || a == kDown; };
    auto opposite = [](int a) { return a ^ 1; };
    auto sign = [](int a) { return a == kUp || a == kLeft ? -1 : 1; };
    // The perpendicular arm on side s (-1 or +1) of arm a.
    auto side = [&](int a, int s) {
      return vertical(a) ? (s < 0 ? kLeft : kRight) : (s < 0 ? kUp : kDown);
    };
    // Where a line of arm a (at side s for a double arm) ends, along its axis.
    auto line_end = [&](int a, int s) {
      const int centre = vertical(a) ? cy : cx;
      const int inner = centre + sign(a) * d, outer = centre - sign(a) * d;
      if (w[a] == 2) {
        if (w[side(a, s)] == 2) return inner;
        if (!w[opposite(a)] && w[side(a, -s)] == 2) return outer;
        return centre;
      }
      const int across = std::max(w[side(a, -1)], w[side(a, 1)]);
      if (across < 2 || w[opposite(a)]) return centre;
      // A single line meeting a double one: at the near line where the
      // double one goes straight through, at the far line at its corner.
      return w[side(a, -1)] && w[side(a, 1)] ? inner : outer;
    };
    for (int a = kUp; a <= kRight; ++a) {
      if (!w[a]) continue;
      const int edge = a == kUp     ? box.top()
                       : a == kDown ? box.bottom()
                       : a == kLeft ? box.left()
                                    : box.right();
      for (int s : {-1, 1}) {
        if (w[a] == 1 && s > 0) break;
        const int offset = w[a] == 2 ? s * d : 0;
        const int end = line_end(a, s);
        if (vertical(a)) {
          p_.drawLine(cx + offset, edge, cx + offset, end);
        } else {
          p_.drawLine(edge, cy + offset, end, cy + offset);
        }
      }
    }
  }

  void button(int r, int first, int last, CellClass cls) {
    const ColourPair colours = class_colours(*paint_.colours, cls);
    const QRect box = g_.cell_rect(r, first, last - first + 1);
    const bool pressed =
        paint_.pressed_row == r && paint_.pressed_column >= first && paint_.pressed_column <= last;
    p_.fillRect(box, qcolour(colours.background));
    // The caption: the run's characters on their cells, nudged down and
    // right while pressed; the access characters underlined.
    const int shift = pressed ? 1 : 0;
    p_.setPen(qcolour(colours.text));
    // The underline is drawn by hand, inside the button: the font's own may
    // fall below the cell.
    const int underline = std::min(box.top() + ascent_ + 1, box.bottom() - 2) + shift;
    for (int c = first; c <= last; ++c) {
      const std::uint16_t cell = page_.cell(r, c);
      const int x = c * g_.char_width + shift;
      p_.drawText(x, box.top() + ascent_ + shift, cell_text(page_, r, c, c));
      if (is_access_character(cell) && (cell & 0xFF) != ' ')
        p_.drawLine(x, underline, x + g_.char_width - 1, underline);
    }
    // The frame last, over anything that reached the edge.
    const QColor light(255, 255, 255), dark(64, 64, 64);
    p_.setPen(pressed ? dark : light);
    p_.drawLine(box.topLeft(), box.topRight());
    p_.drawLine(box.topLeft(), box.bottomLeft());
    p_.setPen(pressed ? light : dark);
    p_.drawLine(box.bottomLeft(), box.bottomRight());
    p_.drawLine(box.topRight(), box.bottomRight());
  }

  QPainter& p_;
  const PagePaint& paint_;
  const CharPage& page_;
  const CellGeometry& g_;
  QFontMetrics metrics_;
  int ascent_;
  bool one_call_;
};

void invert(QPainter& p, const QRect& rect) {
  p.save();
  p.setCompositionMode(QPainter::CompositionMode_Difference);
  p.fillRect(rect, Qt::white);
  p.restore();
}

}  // namespace

bool button_run_at(const CharPage& page, int row, int column, int& first, int& last) {
  if (row < 0 || row >= page.rows() || column < 0 || column >= page.columns()) return false;
  const std::uint16_t cell = page.cell(row, column);
  if (!is_button_cell(cell)) return false;
  const std::uint16_t key = button_run_key(cell);
  first = column;
  while (first > 0) {
    const std::uint16_t before = page.cell(row, first - 1);
    if (!is_button_cell(before) || button_run_key(before) != key || (before & cell_bits::kRunEnd))
      break;
    --first;
  }
  last = column;
  while (last + 1 < page.columns() && !(page.cell(row, last) & cell_bits::kRunEnd)) {
    const std::uint16_t after = page.cell(row, last + 1);
    if (!is_button_cell(after) || button_run_key(after) != key) break;
    ++last;
  }
  return true;
}

void paint_page(QPainter& p, const PagePaint& paint, const QRegion& region) {
  const CharPage& page = *paint.page;
  const CellGeometry& g = paint.cells;
  const QRect bounds = region.boundingRect();
  p.save();
  p.setClipRegion(region);
  p.setFont(paint.font);

  const QColor background = qcolour(paint.colours->normal.background);
  const int page_width = page.columns() * g.char_width;
  const int page_height = page.rows() * g.row_height();
  if (paint.area.width() > page_width)
    p.fillRect(page_width, 0, paint.area.width() - page_width, paint.area.height(), background);
  if (paint.area.height() > page_height)
    p.fillRect(0, page_height, page_width, paint.area.height() - page_height, background);

  if (bounds.left() < page_width && bounds.top() < page_height) {
    const int first_row = std::max(0, bounds.top() / g.row_height());
    const int last_row = std::min(page.rows() - 1, bounds.bottom() / g.row_height());
    const int first_col = std::max(0, bounds.left() / g.char_width);
    const int last_col = std::min(page.columns() - 1, bounds.right() / g.char_width);
    RowPainter rows(p, paint);
    for (int r = first_row; r <= last_row; ++r)
      rows.row(r, first_col, last_col);
    for (int r = first_row; r <= last_row; ++r)
      rows.outlines(r, first_col, last_col);

    if (!paint.selection.empty()) {
      const CellRect& s = paint.selection;
      invert(p, QRect(g.cell_rect(s.top, s.left).topLeft(),
                      g.cell_rect(s.bottom, s.right).bottomRight()));
    }
    const int caret_row = page.cursor_row(), caret_col = page.cursor_column();
    const QRect caret_cell = g.cell_rect(caret_row, caret_col);
    if (paint.caret == CaretShape::Block) invert(p, caret_cell);
    if (paint.caret == CaretShape::Underline)
      invert(p, QRect(caret_cell.left(), caret_cell.bottom() - 1, caret_cell.width(), 2));
  }
  p.restore();
}

}  // namespace veslink
