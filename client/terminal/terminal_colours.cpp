// The default scheme's colours and the class-to-colour rule of the painter.
#include "client/terminal/terminal_colours.h"

namespace veslink {

TerminalColours default_terminal_colours() {
  TerminalColours c;
  c.normal = {0x800000, 0xC0C0C0};
  c.dim_text = 0x000000;
  c.input_area = {0x000000, 0xFFFFFF};
  c.normal_data = {0x000000, 0xFFFFFF};
  c.static_data = {0x800000, 0xC0C0C0};
  c.button = {0x000000, 0xC0C0C0};
  c.default_button = {0xFFFFFF, 0x800000};
  c.reverse = {0xFFFFFF, 0x800000};
  c.flashing = {0xFFFFFF, 0x008000};
  return c;
}

TerminalColours& current_terminal_colours() {
  static TerminalColours colours = default_terminal_colours();
  return colours;
}

ColourPair class_colours(const TerminalColours& c, CellClass cls) {
  switch (cls) {
    case CellClass::Normal:
    case CellClass::LineDrawing:
      return c.normal;
    case CellClass::Reverse:
      return c.reverse;
    case CellClass::Flashing:
      return c.flashing;
    case CellClass::Dim:
      return {c.dim_text, c.normal.background};
    case CellClass::DataField:
      return c.normal_data;
    case CellClass::StaticField:
      return {c.static_data.text, c.normal_data.background};
    case CellClass::InputArea:
      return c.input_area;
    case CellClass::Button:
      return c.button;
    case CellClass::DefaultButton:
      return c.default_button;
  }
  return c.normal;
}

}  // namespace veslink
