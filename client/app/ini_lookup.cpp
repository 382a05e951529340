// INI file lookup.
#include "client/app/ini_lookup.h"

#include <fstream>

#include "client/app/startup_rules.h"
#include "client/settings/client_texts.h"
#include "client/settings/ini_file.h"
#include "platform/messages/message_box.h"

namespace veslink {

namespace {

// "X.INI" as written, then "X.ini": INI files made on Linux are lower case.
bool open_either(const std::string& upper_name, std::ifstream& in, std::string& opened) {
  std::string lower_name = upper_name;
  lower_name.replace(lower_name.size() - 4, 4, ".ini");
  for (const std::string& candidate : {upper_name, lower_name}) {
    in.open(candidate, std::ios::binary);
    if (in.is_open()) {
      opened = candidate;
      return true;
    }
    in.clear();
  }
  return false;
}

}  // namespace

IniLookup read_ini_file(ClientSettings& s, std::string_view name, bool explicit_name) {
  IniLookup result;
  result.ini_path = ini_name_for(name);
  std::ifstream in;
  std::string opened;
  if (open_either(result.ini_path, in, opened)) {
    result.ini_path = opened;
  } else if (explicit_name) {
    vestra::messages::show_notice(kClientCaption, "Can't open '" + result.ini_path + "'",
                                  vestra::messages::Icon::Warning);
    return result;
  } else {
    std::string fallback = ini_fallback_name(result.ini_path);
    std::string fallback_lower = fallback;
    fallback_lower.replace(fallback_lower.size() - 11, 11, "veslink.ini");
    in.open(fallback, std::ios::binary);
    if (!in.is_open()) {
      in.clear();
      in.open(fallback_lower, std::ios::binary);
    }
    if (!in.is_open()) return result;
  }
  result.ini_read = true;
  read_ini_lines(s, in);
  return result;
}

}  // namespace veslink
