// The placement rule and its registry values.
#include "viewer/app/window_placement.h"

#include <cstdlib>

namespace repscope::app {

using vestra::registry::Hive;

namespace {
int read_int(vestra::registry::Registry& registry, const char* name, int fallback) {
  std::string text;
  if (!registry.get_string(Hive::CurrentUser, kWindowSettingKey, name, text).ok()) return fallback;
  return std::atoi(text.c_str());
}
}  // namespace

SavedPlacement read_placement(vestra::registry::Registry& registry) {
  SavedPlacement p;
  p.x = read_int(registry, "x", -1);
  p.y = read_int(registry, "y", -1);
  p.width = read_int(registry, "width", 0);
  p.height = read_int(registry, "height", 0);
  p.status = read_int(registry, "status", 0);
  return p;
}

void save_placement(vestra::registry::Registry& registry, const Rect& normal, int status) {
  auto put = [&](const char* name, int value) {
    registry.set_string(Hive::CurrentUser, kWindowSettingKey, name, std::to_string(value));
  };
  put("x", normal.x < 0 ? 0 : normal.x);
  put("y", normal.y < 0 ? 0 : normal.y);
  if (normal.width > 0) put("width", normal.width);
  if (normal.height > 0) put("height", normal.height);
  put("status", status);
}

Placement place_window(const SavedPlacement& s, const Rect& screen) {
  Placement p;
  const int right = screen.x + screen.width;
  const int bottom = screen.y + screen.height;
  const bool usable =
      s.x >= 0 && s.x < right && s.y >= 0 && s.y < bottom && s.width > 0 && s.height > 0;
  const Rect size = usable ? Rect{s.x, s.y, s.width, s.height}
                           : Rect{0, 0, screen.width * 9 / 10, screen.height * 9 / 10};
  auto centred = [&](const Rect& r) {
    return Rect{screen.x + (screen.width - r.width) / 2, screen.y + (screen.height - r.height) / 2,
                r.width, r.height};
  };
  if (!usable) {
    p.rect = centred(size);
    p.maximised = s.status == kShowMaximized;
  } else if (s.status == kShowMaximized) {
    p.rect = centred(size);
    p.maximised = true;
  } else {
    p.rect = size;
  }
  return p;
}

}  // namespace repscope::app
