// Parsing of full key names for vesreg and for host-requested registry access.
#include "platform/registry/key_name.h"

namespace vestra::registry {

std::optional<Hive> parse_hive_name(std::string_view text) {
  const std::string t = fold_name(text);
  if (t == "hkey_current_user" || t == "hkcu") return Hive::CurrentUser;
  if (t == "hkey_local_machine" || t == "hklm") return Hive::LocalMachine;
  if (t == "hkey_classes_root" || t == "hkcr") return Hive::ClassesRoot;
  return std::nullopt;
}

std::optional<FullKeyName> parse_full_key_name(std::string_view text) {
  std::vector<std::string> names = split_key_path(text);
  if (names.empty()) return std::nullopt;
  std::optional<Hive> hive = parse_hive_name(names.front());
  if (!hive) return std::nullopt;
  FullKeyName full;
  full.hive = *hive;
  for (size_t i = 1; i < names.size(); ++i) {
    if (i > 1) full.path += '\\';
    full.path += names[i];
  }
  return full;
}

}  // namespace vestra::registry
