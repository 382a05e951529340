// Full key names as users and tools write them: a hive name (long or short)
// followed by the key path, "HKEY_CURRENT_USER\Software\VESTRA" or "HKCU/Software".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry/registry.h"

namespace vestra::registry {

struct FullKeyName {
  Hive hive = Hive::CurrentUser;
  std::string path;  // the rest, names joined by '\'
};

// Accepts HKEY_CURRENT_USER/HKCU, HKEY_LOCAL_MACHINE/HKLM, HKEY_CLASSES_ROOT/HKCR
// in any case, separated by '\' or '/'. Empty when the hive name is unknown.
std::optional<FullKeyName> parse_full_key_name(std::string_view text);

std::optional<Hive> parse_hive_name(std::string_view text);

}  // namespace vestra::registry
