// Small rules of the screen model's records.
#include "client/screen/screen_types.h"

#include <algorithm>

namespace veslink {

CellValue CellValue::of(double value) {
  // Hosts measure in cells of at most a byte; a larger or broken value
  // would only make pixel sizes overflow.
  if (!(value >= 0)) value = 0;
  CellValue c;
  c.real = std::min(value, 255.0);
  c.byte = static_cast<std::uint8_t>(c.real);
  return c;
}

bool ScreenWindow::has_grid() const {
  return std::any_of(fields.begin(), fields.end(),
                     [](const auto& f) { return f->type == field_type::kDataGrid; });
}

std::uint32_t convert_old_window_flags(std::uint32_t old_flags) {
  std::uint32_t flags = window_flag::kOldStyle;
  if (old_flags & 0x2) flags |= 0x4;
  flags |= old_flags & (0x8 | 0x10 | 0x20 | 0x40 | 0x80 | 0x100 | 0x200 | 0x400);
  return flags;
}

}  // namespace veslink
