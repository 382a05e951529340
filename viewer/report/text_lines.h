// Small text helpers of the stylesheet and HTML rewriters: files as lines
// that keep their line ends, and comparisons with letters in any case.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace repscope::report {

// Reads the whole file as lines, each with its own line end (the last one
// may have none). False when the file cannot be read.
bool read_lines(const std::string& path, std::vector<std::string>& lines);
bool read_text(const std::string& path, std::string& text);

std::string to_lower(std::string_view text);
bool starts_with_ci(std::string_view text, std::string_view prefix);
std::size_t find_ci(std::string_view text, std::string_view needle, std::size_t from = 0);
// The line without its leading blanks and tabs.
std::string_view trim_leading(std::string_view line);

}  // namespace repscope::report
