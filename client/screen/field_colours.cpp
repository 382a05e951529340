// The colour tables of fields.
#include "client/screen/field_colours.h"

#include "client/screen/field_flags.h"

namespace veslink {

namespace ff = field_flag;
namespace ft = field_type;

namespace {
bool own(std::uint16_t code) {
  return has_own_colour(code);
}
ColourRef colour(std::uint16_t code) {
  return colour_of_cell_code(code);
}
bool odd_row(const ScreenField& f) {
  return (f.row.byte & 1) != 0;
}
ColourRef window_background(const ScreenWindow& w, const FieldScheme& s) {
  return own(w.background) ? colour(w.background) : s.classes.normal.background;
}
}  // namespace

FieldScheme field_scheme() {
  FieldScheme s;
  s.classes = current_terminal_colours();
  // The default scheme's two classes the terminal has no use for.
  s.current_row = {0xFFFFFF, 0x800000};
  s.alternate_row = s.classes.normal_data;
  s.button_theme = true;
  return s;
}

ColourPair edit_or_prompt_colours(const ScreenField& f, const ScreenWindow& w, bool focused,
                                  const FieldScheme& s) {
  const TerminalColours& c = s.classes;
  const bool edit = f.type == ft::kEdit;
  if (edit && focused && f.height.real <= 1 && !(f.flags & ff::kReadOnly)) return c.input_area;
  if (edit && own(f.colour) && !(f.flags & ff::kCurrentRow))
    return {colour(f.colour), own(f.background) ? colour(f.background) : c.normal_data.background};
  if (f.flags & ff::kReverse) return c.reverse;
  if (f.flags & ff::kFlashing) return c.flashing;
  if (f.flags & ff::kCurrentRow) return s.current_row;
  if (edit) {
    if (own(f.background)) return {c.normal_data.text, colour(f.background)};
    if ((f.flags & ff::kRow) && odd_row(f)) return s.alternate_row;
    if ((f.flags & ff::kReadOnly) && !(f.flags & ff::kRow)) return c.static_data;
    return c.normal_data;
  }
  if (own(f.colour))
    return {colour(f.colour), own(f.background) ? colour(f.background) : window_background(w, s)};
  if (f.flags & ff::kRow) {
    if (odd_row(f) && !own(f.background)) return s.alternate_row;
    return {c.static_data.text,
            own(f.background) ? colour(f.background) : c.normal_data.background};
  }
  if (f.flags & ff::kAnyBorder) {
    if ((f.flags & ff::kAnyBorder) == ff::kThinBorder)
      return {c.static_data.text, c.normal_data.background};
    return c.static_data;
  }
  if (f.flags & ff::kWindowColours)
    return {own(w.colour) ? colour(w.colour) : c.dim_text, window_background(w, s)};
  return {c.normal.text, window_background(w, s)};
}

ColourPair group_frame_colours(const ScreenField& f, const ScreenWindow& w, const FieldScheme& s) {
  // A frame's own B fills the frame, not its caption's box.
  if (own(f.colour)) return {colour(f.colour), window_background(w, s)};
  return {own(w.colour) ? colour(w.colour) : s.classes.dim_text, window_background(w, s)};
}

ColourPair push_button_colours(const ScreenField& f, const ScreenWindow& w, ButtonState state,
                               bool styled, const FieldScheme& s) {
  const TerminalColours& c = s.classes;
  if (f.flags & ff::kUnderline) {
    return {own(f.colour) ? colour(f.colour) : c.normal.text,
            own(f.background) ? colour(f.background) : window_background(w, s)};
  }
  if (styled) return {c.button.text, 0xC0C0C0};
  if (state == ButtonState::Pressed || state == ButtonState::Focused) return c.default_button;
  if (own(f.colour))
    return {colour(f.colour), own(f.background) ? colour(f.background) : c.button.background};
  return c.button;
}

ColourRef area_row_background(const ScreenField& area, int window_row, const FieldScheme& s) {
  if (window_row == area.current_row) return s.current_row.background;
  if (own(area.background)) return colour(area.background);
  return (window_row & 1) ? s.alternate_row.background : s.classes.normal_data.background;
}

ColourPair swapped(ColourPair c) {
  return readable({c.background, c.text});
}

ColourPair readable(ColourPair c) {
  if (c.text == c.background) c.text = ~c.text & 0xFFFFFF;
  return c;
}

}  // namespace veslink
