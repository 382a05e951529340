// Cell colour codes to colour references and back.
#include "client/screen/cell_colour.h"

namespace veslink {

namespace {
int intensity(int component) {
  return component == 31 ? 255 : component * 8;
}
}  // namespace

ColourRef colour_of_cell_code(std::uint16_t code) {
  return colour_ref(intensity((code >> 10) & 31), intensity((code >> 5) & 31),
                    intensity(code & 31));
}

std::uint16_t cell_code_of_colour(ColourRef c) {
  return static_cast<std::uint16_t>(cell_colour::kGiven + (red_of(c) / 8) * 1024 +
                                    (green_of(c) / 8) * 32 + blue_of(c) / 8);
}

}  // namespace veslink
