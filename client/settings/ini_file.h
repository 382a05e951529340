// The client's INI file: "key=value" lines that override the registry
// settings at start-up, and the file the Communications dialog rewrites.
#pragma once

#include <istream>
#include <string>
#include <string_view>

#include "client/settings/client_settings.h"

namespace veslink {

// One line, without its line end. Comments, blank lines, lines without "="
// and unknown keys change nothing.
void parse_ini_line(ClientSettings& settings, std::string_view line);

// Reads every line of the stream through parse_ini_line. Lines longer than
// 1023 characters are cut there; "\n" and "\r\n" line ends are both removed.
void read_ini_lines(ClientSettings& settings, std::istream& in);

// The exact text write_ini_file writes.
std::string ini_file_text(const ClientSettings& settings);

// Creates the file anew with ini_file_text; on failure shows "Can't open '%s'"
// and returns false.
bool write_ini_file(const ClientSettings& settings, const std::string& path);

}  // namespace veslink
