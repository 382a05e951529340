// Which help file ESC mnh opens: names relative to the help directory (read
// once from the machine's registry), the ".chm" default extension, the
// fallback to the manuals' own file. The window layer opens the file with
// the desktop's handler; the choice is made here, without any display.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry/registry.h"

namespace veslink {

// HKEY_LOCAL_MACHINE "Software\VESTRA\User Manuals" value "INSTALL_DIR",
// else the installation's usual place.
std::string read_help_directory(vestra::registry::Registry& reg);

struct HelpFile {
  enum class Kind { Chm, Hlp, Other };
  std::string path;
  Kind kind = Kind::Other;
  std::uint32_t context = 0;  // 0: the default topic
};

// The file to open for `name` (empty: "vestra.chm") at `context`, or nothing
// when neither it nor the manuals' "vestra.chm" exists.
std::optional<HelpFile> find_help_file(std::string_view name, std::uint32_t context,
                                       std::string_view help_directory,
                                       const std::function<bool(const std::string&)>& exists);

// What the user is told when no manual is there.
constexpr const char* kManualsMissing =
    "The VESTRA User Manuals have not been installed.\nTo install these manuals please contact "
    "your System Administrator.";

}  // namespace veslink
