// How the terminal window reads a cell's attribute bits: which colour class
// paints it, whether it is a line-drawing character, a push-button cell or a
// field cell, and which cells belong to one run. Its own file so the
// painter, the mouse rules and the caret rules agree on one reading, tested
// without a display.
#pragma once

#include <cstdint>

namespace veslink {

// The colour classes of the character screen, in the order the painter
// checks the bits.
enum class CellClass : std::uint8_t {
  Normal,
  Reverse,
  Flashing,
  Dim,
  DataField,    // field cell: normal data colours
  StaticField,  // display-only field: static data text on the normal data background
  InputArea,    // field being typed into: input area colours
  LineDrawing,  // drawn as lines from the cell centre in the line colour
  Button,
  DefaultButton,
};

CellClass classify_cell(std::uint16_t cell);

inline bool is_field_cell(std::uint16_t cell) {
  return (cell & 0x4000) != 0;
}

inline bool is_button_class(CellClass c) {
  return c == CellClass::Button || c == CellClass::DefaultButton;
}
inline bool is_button_cell(std::uint16_t cell) {
  return is_button_class(classify_cell(cell));
}

// Cells drawn together with one text call share this key.
inline std::uint16_t text_run_key(std::uint16_t cell) {
  return cell & 0xDF00;
}

// Cells of one push button share this key: the run-end bit and the
// no-underline bit (0x0800) do not split a button.
inline std::uint16_t button_run_key(std::uint16_t cell) {
  return cell & 0xD700;
}

// A button cell whose character is the button's access character (drawn
// underlined): button cells without the 0x0800 bit.
inline bool is_access_character(std::uint16_t cell) {
  return (cell & 0x0800) == 0;
}

}  // namespace veslink
