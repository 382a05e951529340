// Field layout: how a field's cells become the pixel rectangle of its
// control (neighbour marks, font scaling, the border kinds, push buttons,
// group frames, scrolling areas, pictures, grid columns, radio buttons and
// check boxes), the trimming of prompt and edit texts, and the smaller font
// an upper-case text gets so that it fits. Plain arithmetic: the sizes only
// the controls know (images, captions, text widths) come in as functions.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "client/screen/screen_types.h"

namespace veslink {

struct LayoutMetrics {
  int cell_width = 8;           // cw: the cell width of host windows
  int cell_height = 19;         // lh
  int line_height = 15;         // t: the screen line height
  int terminal_char_width = 8;  // for fields with the terminal font
  int terminal_line_height = 16;
  int max_char_width = 8;  // the screen font's widest character
  int scroll_bar_width = 16;
};

struct PixelSize {
  int width = 0;
  int height = 0;
};

// What only the controls can measure.
struct LayoutSizes {
  // The natural size of a push button's image (0 normal, 1 pressed) or of a
  // picture (0); nothing when there is no such image.
  std::function<std::optional<PixelSize>(const ScreenField&, int image)> image_size;
  // The caption's pixel width in the screen font (radio buttons, check boxes).
  std::function<int(const ScreenField&)> caption_width;
};

// A product of cells and pixels, rounded as the host's layouts expect: the
// integer part, plus one when the fraction is at least 0.49999998.
int round_pixels(double value);

// Whether the field has one row.
bool single_row(const ScreenField& f);

// The push button shows one of the client's built-in icons (flag 0x200000
// and an A value that names one).
bool shows_builtin_icon(const ScreenField& f);

// Neighbour marks of an edit or prompt against the other edits and prompts
// of its window; fields that newly got a mark also get the relayout mark.
void mark_neighbours(ScreenWindow& window, ScreenField& field);

// The field's pixel rectangle, relative to the window (row fields of a
// scrolling area: relative to the area's inside). Sets the marks the rules
// set (minimum width, ends at a separator).
PixelRect compute_field_rect(const ScreenWindow& window, ScreenField& field,
                             const LayoutMetrics& metrics, const LayoutSizes& sizes);

// Lays the field out: neighbour marks, its rectangle into `pixels`, then the
// fields that got the relayout mark. Returns every field whose rectangle
// was computed, the given one first.
std::vector<ScreenField*> lay_out_field(ScreenWindow& window, ScreenField& field,
                                        const LayoutMetrics& metrics, const LayoutSizes& sizes);

// The scrolling area (type 5) whose cells hold a row field, if any.
ScreenField* area_of_row_field(const ScreenWindow& window, const ScreenField& field);

// Trims a single-row prompt or edit text before it is shown (at most 1,022
// characters): right-aligned texts lose leading blanks, and either the
// blanks before a final colon or the trailing blanks and control characters;
// centred texts and single-row edits lose trailing blanks and controls.
std::string normalise_field_text(const ScreenField& f, std::string_view text);

// Text widths and heights in the screen font at a size percentage.
struct TextMeasure {
  std::function<int(int percent, std::string_view text)> width;
  std::function<int(int percent)> height;
};

// Whether the shrinking rule applies to the field at all: single-row edits,
// and single-row prompts of at most 20 cells with a border or row flag, at
// the normal size.
bool shrink_applies(const ScreenField& f);

// The width the text must fit in (the pixel width less the border).
int inner_text_width(const ScreenField& f);

// The size percentage the field's font gets for this text: 0 for the full
// size (the text fits, or has a lower-case letter), else 95 down to 70.
// Updates the field's shrunk-font mark.
int fit_text(ScreenField& f, std::string_view text, const TextMeasure& measure);

}  // namespace veslink
