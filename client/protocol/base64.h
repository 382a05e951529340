// Base64 (the standard alphabet) as the screen protocol uses it: strings the
// host sends after `:` are decoded in place with the protocol's lenient
// rules, and text results with control bytes go back encoded with padding.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace veslink {

// Decodes `data[0..length)` in place and returns the decoded length. Blanks
// are skipped, `=` ends the data, and any other byte outside the alphabet
// counts as all ones. Line ends are skipped like blanks: they can only come
// from a host that wrapped its Base64 lines, and decoding them as data would
// corrupt what it sent.
std::size_t base64_decode_in_place(char* data, std::size_t length);

// Standard Base64 with `=` padding.
std::string base64_encode(std::string_view bytes);

}  // namespace veslink
