// The rules of client start-up that need no window: how the command line is
// read, where the INI file is looked for, the program directory, PATH and the
// connection title.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "client/settings/client_settings.h"

namespace veslink {

enum class StartMode {
  DefaultIni,   // no argument, or more than one: the INI file beside the program
  ExplicitIni,  // one argument naming an INI file
  AutoLogin,    // "-autologin": the stored login details, no INI file
};

struct StartChoice {
  StartMode mode = StartMode::DefaultIni;
  std::string ini_name;  // the argument, or the program path
};

// `words` as the process received them; the first is the program path.
StartChoice classify_command_line(const std::vector<std::string>& words);

// The program path up to its last '/' or '\', without that separator.
std::string program_directory(std::string_view program_path);

// The name with its extension (a '.' after the last '/', '\' or ':') replaced
// by ".INI": "site.cfg" and "site" give "site.INI".
std::string ini_name_for(std::string_view name);

// The directory part of an INI path (up to and including its last '/', '\' or
// ':') followed by "VESLINK.INI".
std::string ini_fallback_name(std::string_view ini_path);

// PATH with the program directory appended, so that programs the client
// starts find the ones installed beside it.
std::string extended_path(std::string_view old_path, std::string_view directory);

// "host - VESTRA-Nu Thin Client (Secure connection)" for TCP, the host taken
// up to its first '/' or '\'; just the product name for a COM port.
std::string connection_title(const ClientSettings& settings);

}  // namespace veslink
