// The protocol's 16-bit cell colour code and the colour references the rest
// of the client paints with (red in the low byte), both ways. Its own file
// because windows, fields, grid cells and the colour query all convert.
#pragma once

#include <cstdint>

namespace veslink {

// A colour as the client keeps it: 0x00BBGGRR.
using ColourRef = std::uint32_t;

constexpr ColourRef colour_ref(int red, int green, int blue) {
  return static_cast<ColourRef>((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
}
constexpr int red_of(ColourRef c) {
  return c & 0xFF;
}
constexpr int green_of(ColourRef c) {
  return (c >> 8) & 0xFF;
}
constexpr int blue_of(ColourRef c) {
  return (c >> 16) & 0xFF;
}

namespace cell_colour {
// Bit 0x8000: a colour is given. Without it the colour scheme applies.
constexpr std::uint16_t kGiven = 0x8000;
// In the change commands: take the object's own colour away again.
constexpr std::uint16_t kRemove = 0x4000;
}  // namespace cell_colour

constexpr bool has_own_colour(std::uint16_t code) {
  return (code & cell_colour::kGiven) != 0;
}

// 5 bits per component (red 10-14, green 5-9, blue 0-4); v becomes v x 8,
// except 31, which is full intensity.
ColourRef colour_of_cell_code(std::uint16_t code);

// The reverse, for the colour query: each component divided by 8, rounding
// down, with bit 0x8000 set.
std::uint16_t cell_code_of_colour(ColourRef colour);

}  // namespace veslink
