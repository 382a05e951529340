// Finding and reading the INI file at start-up (read_ini_file).
#pragma once

#include <string>
#include <string_view>

#include "client/settings/client_settings.h"

namespace veslink {

struct IniLookup {
  std::string ini_path;  // where write_ini_file writes
  bool ini_read = false;
};

// Looks for `name` with its extension replaced by ".INI" (on Linux also
// ".ini"); an explicit name that is missing shows "Can't open '%s'". Without
// an explicit name, "VESLINK.INI" (or "veslink.ini") in the same directory is
// the second choice, and a missing file is no error. The INI path keeps the
// first name unless a spelling of that same name was found.
IniLookup read_ini_file(ClientSettings& settings, std::string_view name, bool explicit_name);

}  // namespace veslink
