// The line-drawing set of the character screen: which cell edges a DOS
// box-drawing code (0xB3..0xDA) joins to the cell centre, with single or
// double lines. The painter draws the arms; copying turns the codes into
// Unicode box characters. Its own file because both read the same table.
#pragma once

#include <cstdint>

namespace veslink {

// Line weight of one arm: 0 none, 1 single, 2 double.
struct LineArms {
  std::uint8_t up = 0;
  std::uint8_t down = 0;
  std::uint8_t left = 0;
  std::uint8_t right = 0;
  bool any() const { return up || down || left || right; }
};

// The arms of a box-drawing code; no arms for codes outside the set.
LineArms line_arms(std::uint8_t code);

// The Unicode box-drawing character of a code of the set; 0 outside it.
char32_t line_drawing_unicode(std::uint8_t code);

}  // namespace veslink
