// The report bundle (".kvr") association: the registry's HKCR entries that
// name the program, and the freedesktop pieces that make the desktop open
// bundles with it (a shared-mime-info type, a .desktop entry, the default
// application). Failures are ignored: the viewer works without them.
#pragma once

#include <QString>

#include "platform/registry/registry.h"

namespace repscope::app {

inline constexpr const char kBundleProgId[] = "VESTRA-Nu.Report.Viewer";
inline constexpr const char kBundleMimeType[] = "application/x-vestra-report";
inline constexpr const char kDesktopFileName[] = "vestra-repscope.desktop";

struct DesktopDirs {
  QString data_home;    // $XDG_DATA_HOME or ~/.local/share
  QString config_home;  // $XDG_CONFIG_HOME or ~/.config
  static DesktopDirs from_environment();
};

// What the registration changed, for the caller that refreshes the MIME
// database (a slow program, started without waiting for it).
struct AssociationResult {
  bool mime_package_written = false;
  bool default_set = false;
};

// ".kvr" and the default application are set only when nothing claims them
// yet; the program's icon, open command and .desktop entry are rewritten at
// every start, so they follow the program when it moves.
AssociationResult register_bundle_association(vestra::registry::Registry& registry,
                                              const QString& program_path, const DesktopDirs& dirs);

// Runs update-mime-database for the user's MIME directory without waiting.
void refresh_mime_database(const DesktopDirs& dirs);

}  // namespace repscope::app
