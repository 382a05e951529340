// Base64 decoding in place and encoding with padding.
#include "client/protocol/base64.h"

#include <array>
#include <cstdint>

namespace veslink {

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// 0..63 for the alphabet, 64 for bytes that are skipped, 65 for the end mark;
// everything else decodes as all ones.
constexpr std::uint8_t kSkip = 64;
constexpr std::uint8_t kEnd = 65;

constexpr std::array<std::uint8_t, 256> make_values() {
  std::array<std::uint8_t, 256> v{};
  for (auto& x : v)
    x = 63;
  for (int i = 0; i < 64; ++i)
    v[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
  v[' '] = kSkip;
  v['\r'] = kSkip;
  v['\n'] = kSkip;
  v['='] = kEnd;
  return v;
}
constexpr std::array<std::uint8_t, 256> kValues = make_values();
}  // namespace

std::size_t base64_decode_in_place(char* data, std::size_t length) {
  // The output never overtakes the input: every 4 input bytes give at most 3.
  std::size_t out = 0;
  std::uint32_t bits = 0;
  int count = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const std::uint8_t v = kValues[static_cast<unsigned char>(data[i])];
    if (v == kSkip) continue;
    if (v == kEnd) break;
    bits = (bits << 6) | v;
    if (++count == 4) {
      data[out++] = static_cast<char>((bits >> 16) & 0xFF);
      data[out++] = static_cast<char>((bits >> 8) & 0xFF);
      data[out++] = static_cast<char>(bits & 0xFF);
      bits = 0;
      count = 0;
    }
  }
  // A final group of 2 or 3 characters carries 1 or 2 bytes; a lone
  // character carries no whole byte.
  if (count == 2) {
    data[out++] = static_cast<char>((bits >> 4) & 0xFF);
  } else if (count == 3) {
    data[out++] = static_cast<char>((bits >> 10) & 0xFF);
    data[out++] = static_cast<char>((bits >> 2) & 0xFF);
  }
  return out;
}

std::string base64_encode(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t n = (static_cast<unsigned char>(bytes[i]) << 16) |
                            (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                            static_cast<unsigned char>(bytes[i + 2]);
    out += kAlphabet[(n >> 18) & 63];
    out += kAlphabet[(n >> 12) & 63];
    out += kAlphabet[(n >> 6) & 63];
    out += kAlphabet[n & 63];
  }
  const std::size_t rest = bytes.size() - i;
  if (rest == 1) {
    const std::uint32_t n = static_cast<unsigned char>(bytes[i]) << 16;
    out += kAlphabet[(n >> 18) & 63];
    out += kAlphabet[(n >> 12) & 63];
    out += "==";
  } else if (rest == 2) {
    const std::uint32_t n = (static_cast<unsigned char>(bytes[i]) << 16) |
                            (static_cast<unsigned char>(bytes[i + 1]) << 8);
    out += kAlphabet[(n >> 18) & 63];
    out += kAlphabet[(n >> 12) & 63];
    out += kAlphabet[(n >> 6) & 63];
    out += '=';
  }
  return out;
}

}  // namespace veslink
