// Start-up rules without windows.
#include "client/app/startup_rules.h"

#include "client/settings/client_texts.h"

namespace veslink {

namespace {
bool is_separator(char c) {
  return c == '/' || c == '\\';
}
}  // namespace

StartChoice classify_command_line(const std::vector<std::string>& words) {
  StartChoice choice;
  const std::string program = words.empty() ? std::string() : words[0];
  if (words.size() == 2 && words[1] == "-autologin") {
    choice.mode = StartMode::AutoLogin;
  } else if (words.size() == 2) {
    choice.mode = StartMode::ExplicitIni;
    choice.ini_name = words[1];
  } else {
    choice.ini_name = program;
  }
  return choice;
}

std::string program_directory(std::string_view program_path) {
  const std::size_t last = program_path.find_last_of("/\\");
  if (last == std::string_view::npos) return std::string();
  return std::string(program_path.substr(0, last));
}

std::string ini_name_for(std::string_view name) {
  std::string base(name);
  for (std::size_t i = base.size(); i-- > 0;) {
    const char c = base[i];
    if (c == '/' || c == '\\' || c == ':') break;
    if (c == '.') {
      base.resize(i);
      break;
    }
  }
  return base + ".INI";
}

std::string ini_fallback_name(std::string_view ini_path) {
  const std::size_t last = ini_path.find_last_of("/\\:");
  const std::string dir =
      last == std::string_view::npos ? std::string() : std::string(ini_path.substr(0, last + 1));
  return dir + "VESLINK.INI";
}

std::string extended_path(std::string_view old_path, std::string_view directory) {
  if (directory.empty()) return std::string(old_path);
  if (old_path.empty()) return std::string(directory);
  return std::string(old_path) + ":" + std::string(directory);
}

std::string connection_title(const ClientSettings& s) {
  if (!is_tcp_interface(s.interface_code)) return kProductName;
  std::string host = s.current_host;
  for (std::size_t i = 0; i < host.size(); ++i) {
    if (is_separator(host[i])) {
      host.resize(i);
      break;
    }
  }
  return host + " - " + kProductName + " " + s.secure_suffix;
}

}  // namespace veslink
