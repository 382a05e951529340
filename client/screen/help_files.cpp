// Help file names and the help directory.
#include "client/screen/help_files.h"

#include <cctype>

namespace veslink {

namespace {
using vestra::registry::Hive;

std::string with_slashes(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

bool absolute(std::string_view name) {
  if (name.empty()) return false;
  if (name[0] == '/' || name[0] == '\\') return true;
  return name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':';
}

bool has_extension(std::string_view name) {
  const std::size_t slash = name.find_last_of("/\\");
  const std::size_t dot = name.rfind('.');
  return dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
}

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool ends_with(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

std::string join(std::string_view directory, std::string_view name) {
  std::string path = with_slashes(directory);
  if (!path.empty() && path.back() != '/') path += '/';
  return path + with_slashes(name);
}
}  // namespace

std::string read_help_directory(vestra::registry::Registry& reg) {
  std::string dir;
  if (reg.get_string(Hive::LocalMachine, "Software\\VESTRA\\User Manuals", "INSTALL_DIR", dir)
          .ok() &&
      !dir.empty())
    return dir;
  return "c:/Program Files/vestra/zkt/help";
}

std::optional<HelpFile> find_help_file(std::string_view name, std::uint32_t context,
                                       std::string_view help_directory,
                                       const std::function<bool(const std::string&)>& exists) {
  std::string file = name.empty() ? std::string("vestra.chm") : std::string(name);
  if (!has_extension(file)) file += ".chm";
  const std::string path = absolute(file) ? with_slashes(file) : join(help_directory, file);
  if (exists(path)) {
    HelpFile h;
    h.path = path;
    h.context = context;
    const std::string l = lower(path);
    h.kind = ends_with(l, ".chm")   ? HelpFile::Kind::Chm
             : ends_with(l, ".hlp") ? HelpFile::Kind::Hlp
                                    : HelpFile::Kind::Other;
    return h;
  }
  const std::string manuals = join(help_directory, "vestra.chm");
  if (!exists(manuals)) return std::nullopt;
  return HelpFile{manuals, HelpFile::Kind::Chm, 0};
}

}  // namespace veslink
