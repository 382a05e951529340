// The frame size a user gave a tagged host window, kept in the registry as
// "WindowSize" ("width/height" in pixels) under the window's key below
// "Software\VESTRA\ScreenSettings". Its own file because the window layer
// reads it when it sizes a frame and writes it when the user resizes one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "client/screen/window_geometry.h"
#include "platform/registry/registry.h"

namespace veslink {

// "Software\VESTRA\ScreenSettings\<tag>" with every '/' of the tag turned
// into '\'; with a view name, that view's key below it.
std::string window_settings_key(std::string_view tag, std::string_view view = {});

// "width/height": both numbers must be there; anything else reads as 0 x 0.
SavedSize parse_window_size(std::string_view text);
std::string format_window_size(int width, int height);

// The saved size of the window's view; nothing when the window has no tag,
// no value is stored, or it does not parse.
std::optional<SavedSize> read_window_size(vestra::registry::Registry& reg, std::string_view tag,
                                          std::string_view view = {});

// Stores the frame size, or deletes the value when the size is the computed
// one. Registry failures are ignored: the size is a convenience.
void store_window_size(vestra::registry::Registry& reg, std::string_view tag, std::string_view view,
                       int width, int height, int computed_width, int computed_height);

}  // namespace veslink
