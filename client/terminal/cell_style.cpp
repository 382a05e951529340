// The attribute reading of the character screen, checked in a fixed order:
// field cells first, then the graphics class (lines and buttons), then the
// plain attributes.
#include "client/terminal/cell_style.h"

namespace veslink {

CellClass classify_cell(std::uint16_t cell) {
  std::uint16_t a = cell & 0xFF00;
  if (a & 0x4000) {
    switch (a & 0xDF00) {
      case 0x4000:
        return CellClass::DataField;
      case 0xC000:
        return CellClass::StaticField;
      case 0xC100:
        return CellClass::InputArea;
      default:
        // Any other field attribute reads as the cell without its field and
        // graphics bits.
        a &= static_cast<std::uint16_t>(~0xC000);
        break;
    }
  } else if (a & 0x8000) {
    if ((a & 0xC300) == 0x8000) return CellClass::LineDrawing;
    if ((a & 0xD700) == 0x8200) return CellClass::Button;
    return CellClass::DefaultButton;
  }
  if (a & 0x0300) return CellClass::Reverse;
  if (a & 0x1400) return CellClass::Flashing;
  if (a & 0x0800) return CellClass::Dim;
  return CellClass::Normal;
}

}  // namespace veslink
