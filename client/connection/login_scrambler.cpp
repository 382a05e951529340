// Six wheels of 26, 25, 23, 21, 19 and 17 pins and 27 lug bars. Each text
// position sets a mask from the current pins, counts the bars it drives, and
// maps the byte with that count; every wheel then moves on one position.
#include "client/connection/login_scrambler.h"

#include <array>
#include <cstdint>

namespace veslink {

namespace {

constexpr char kKey[] = "wq72ruezx5-m;tvt;hmrnbtyyfwcn";
constexpr int kWheelSizes[6] = {26, 25, 23, 21, 19, 17};
constexpr int kWheelWeights[6] = {32, 16, 8, 4, 2, 1};
constexpr std::uint8_t kLugTable[28] = {0x00, 0x01, 0x01, 0x02, 0x02, 0x03, 0x04, 0x04, 0x05, 0x06,
                                        0x08, 0x08, 0x09, 0x0A, 0x0C, 0x10, 0x10, 0x11, 0x12, 0x14,
                                        0x18, 0x20, 0x20, 0x21, 0x22, 0x24, 0x28, 0x30};

struct Machine {
  std::array<std::array<int, 26>, 6> pins{};
  std::array<std::uint8_t, 27> bars{};
  std::array<int, 6> position{};

  Machine() {
    std::array<std::uint8_t, 128> b{};
    b[0] = 4;
    b[1] = 28;
    std::size_t n = 2;
    for (std::size_t i = 0; i + 1 < sizeof kKey; ++i)
      b[n++] = static_cast<std::uint8_t>(kKey[i]);
    for (std::size_t t = 0; n < b.size(); ++n, ++t)
      b[n] = b[n - 1] ^ b[t];

    std::size_t bit = 0;  // seven bits of each byte, lowest first
    for (int w = 0; w < 6; ++w) {
      for (int p = 0; p < kWheelSizes[w]; ++p, ++bit) {
        const bool set = (b[bit / 7] >> (bit % 7)) & 1;
        pins[w][p] = set ? kWheelWeights[w] : 0;
      }
    }
    for (std::size_t i = 0; i < bars.size(); ++i)
      bars[i] = kLugTable[b[i] % 28];
  }

  int next_key() {
    int mask = 0;
    for (int w = 0; w < 6; ++w)
      mask += pins[w][position[w]];
    int driven = 0;
    for (std::uint8_t bar : bars)
      if (bar & mask) ++driven;
    for (int w = 0; w < 6; ++w)
      position[w] = (position[w] + 1) % kWheelSizes[w];
    return driven % 26;
  }
};

bool is_lower(unsigned c) {
  return c >= 'a' && c <= 'z';
}

}  // namespace

std::vector<int> scrambler_key_stream(std::size_t count) {
  Machine m;
  std::vector<int> keys;
  for (std::size_t i = 0; i < count; ++i)
    keys.push_back(m.next_key());
  return keys;
}

std::string scramble_login_text(std::string_view text) {
  Machine m;
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    const unsigned x = static_cast<unsigned char>(ch);
    const int k = m.next_key();
    // NUL (the end of a stored text) is copied like the blanks.
    if (x == '\t' || x == '\n' || x == ' ' || x == 0) {
      out += ch;
      continue;
    }
    unsigned n = static_cast<unsigned>(k - static_cast<int>(x) - 37) & 0xFF;
    if (n > 'z' && is_lower(x)) n -= 26;
    if (is_lower(n) && x > 'z') {
      n += 26;
      if (n > 'z' && is_lower(x)) n -= 26;
    }
    // Bytes that would turn into a blank, tab or line feed stay as they are,
    // and so does a byte that would turn into NUL: the stored text could not
    // hold it and would end there. Keeping x keeps the machine its own inverse.
    if (n == '\t' || n == '\n' || n == ' ' || n == 0) n = x;
    out += static_cast<char>(n);
  }
  return out;
}

}  // namespace veslink
