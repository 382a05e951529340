// The box-drawing codes 0xB3..0xDA of the DOS line-drawing set: arms and
// Unicode characters, one row per code.
#include "client/terminal/line_drawing.h"

namespace veslink {

namespace {
struct BoxCode {
  LineArms arms;  // up, down, left, right
  char32_t unicode;
};

constexpr std::uint8_t kFirst = 0xB3;
constexpr std::uint8_t kLast = 0xDA;

constexpr BoxCode kBoxCodes[kLast - kFirst + 1] = {
    {{1, 1, 0, 0}, U'\u2502'},  // B3
    {{1, 1, 1, 0}, U'\u2524'},  // B4
    {{1, 1, 2, 0}, U'\u2561'},  // B5
    {{2, 2, 1, 0}, U'\u2562'},  // B6
    {{0, 2, 1, 0}, U'\u2556'},  // B7
    {{0, 1, 2, 0}, U'\u2555'},  // B8
    {{2, 2, 2, 0}, U'\u2563'},  // B9
    {{2, 2, 0, 0}, U'\u2551'},  // BA
    {{0, 2, 2, 0}, U'\u2557'},  // BB
    {{2, 0, 2, 0}, U'\u255D'},  // BC
    {{2, 0, 1, 0}, U'\u255C'},  // BD
    {{1, 0, 2, 0}, U'\u255B'},  // BE
    {{0, 1, 1, 0}, U'\u2510'},  // BF
    {{1, 0, 0, 1}, U'\u2514'},  // C0
    {{1, 0, 1, 1}, U'\u2534'},  // C1
    {{0, 1, 1, 1}, U'\u252C'},  // C2
    {{1, 1, 0, 1}, U'\u251C'},  // C3
    {{0, 0, 1, 1}, U'\u2500'},  // C4
    {{1, 1, 1, 1}, U'\u253C'},  // C5
    {{1, 1, 0, 2}, U'\u255E'},  // C6
    {{2, 2, 0, 1}, U'\u255F'},  // C7
    {{2, 0, 0, 2}, U'\u255A'},  // C8
    {{0, 2, 0, 2}, U'\u2554'},  // C9
    {{2, 0, 2, 2}, U'\u2569'},  // CA
    {{0, 2, 2, 2}, U'\u2566'},  // CB
    {{2, 2, 0, 2}, U'\u2560'},  // CC
    {{0, 0, 2, 2}, U'\u2550'},  // CD
    {{2, 2, 2, 2}, U'\u256C'},  // CE
    {{1, 0, 2, 2}, U'\u2567'},  // CF
    {{2, 0, 1, 1}, U'\u2568'},  // D0
    {{0, 1, 2, 2}, U'\u2564'},  // D1
    {{0, 2, 1, 1}, U'\u2565'},  // D2
    {{2, 0, 0, 1}, U'\u2559'},  // D3
    {{1, 0, 0, 2}, U'\u2558'},  // D4
    {{0, 1, 0, 2}, U'\u2552'},  // D5
    {{0, 2, 0, 1}, U'\u2553'},  // D6
    {{2, 2, 1, 1}, U'\u256B'},  // D7
    {{1, 1, 2, 2}, U'\u256A'},  // D8
    {{1, 0, 1, 0}, U'\u2518'},  // D9
    {{0, 1, 0, 1}, U'\u250C'},  // DA
};
}  // namespace

LineArms line_arms(std::uint8_t code) {
  if (code < kFirst || code > kLast) return {};
  return kBoxCodes[code - kFirst].arms;
}

char32_t line_drawing_unicode(std::uint8_t code) {
  if (code < kFirst || code > kLast) return 0;
  return kBoxCodes[code - kFirst].unicode;
}

}  // namespace veslink
