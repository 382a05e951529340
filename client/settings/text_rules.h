// Small byte-string rules shared by the settings readers: case folding, cutting
// to a field's limit and the tolerant decimal reading of stored numbers.
#pragma once

#include <string>
#include <string_view>

namespace veslink {

std::string to_lower(std::string_view text);
std::string to_upper(std::string_view text);

// The first `limit` bytes of `text`.
std::string cut(std::string_view text, std::size_t limit);

// Reads a decimal number the way the C library's atol does: leading blanks,
// an optional sign, then digits up to the first other byte; 0 without digits.
// Saturates instead of overflowing.
long parse_decimal(std::string_view text);

// True when `text` is a sign-less, non-empty run of decimal digits.
bool all_digits(std::string_view text);

}  // namespace veslink
