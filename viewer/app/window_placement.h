// Where the viewer window opens: the placement saved at the last close under
// "WINDOWSETTING", checked against the screen, or 90% of the screen centred.
#pragma once

#include "platform/registry/registry.h"

namespace repscope::app {

inline constexpr const char kWindowSettingKey[] = "Software\\VESTRA\\REPSCOPEINIT\\WINDOWSETTING";
inline constexpr int kShowMaximized = 3;
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;

struct SavedPlacement {
  int x = -1, y = -1, width = 0, height = 0;
  int status = 0;  // the show command: 3 is maximised
};

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
};

struct Placement {
  Rect rect;
  bool maximised = false;
};

// Missing or unreadable values read as "no placement" (which the rule turns
// into the default size).
SavedPlacement read_placement(vestra::registry::Registry& registry);

// x and y (negative stored as 0), width and height (only when positive) and
// the show command, as decimal texts.
void save_placement(vestra::registry::Registry& registry, const Rect& normal, int status);

Placement place_window(const SavedPlacement& saved, const Rect& screen);

}  // namespace repscope::app
