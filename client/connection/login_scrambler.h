// The scrambler of the stored login details: a six-wheel pin-and-lug machine
// with a fixed key. It is its own inverse: scrambling twice gives the text back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veslink {

std::string scramble_login_text(std::string_view text);

// The machine's key letter k (0..25) for each of the first `count` positions;
// exposed so tests can check the wheels apart from the byte mapping.
std::vector<int> scrambler_key_stream(std::size_t count);

}  // namespace veslink
