// "WindowSize" values of tagged host windows.
#include "client/screen/saved_window_size.h"

#include <cctype>

#include "client/settings/client_texts.h"

namespace veslink {

using vestra::registry::Hive;

namespace {
constexpr const char* kWindowSize = "WindowSize";

// Reads a run of digits; false when there is none.
bool read_number(std::string_view text, std::size_t& at, int& out) {
  const std::size_t start = at;
  long value = 0;
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
    if (value < 1000000) value = value * 10 + (text[at] - '0');
    ++at;
  }
  out = static_cast<int>(value);
  return at > start;
}
}  // namespace

std::string window_settings_key(std::string_view tag, std::string_view view) {
  std::string key = kScreenSettingsKey;
  key += '\\';
  for (char c : tag)
    key += c == '/' ? '\\' : c;
  if (!view.empty()) {
    key += '\\';
    key += view;
  }
  return key;
}

SavedSize parse_window_size(std::string_view text) {
  std::size_t at = 0;
  SavedSize s;
  int width = 0, height = 0;
  if (!read_number(text, at, width) || at >= text.size() || text[at] != '/') return s;
  ++at;
  if (!read_number(text, at, height)) return s;
  s.width = width;
  s.height = height;
  return s;
}

std::string format_window_size(int width, int height) {
  return std::to_string(width) + "/" + std::to_string(height);
}

std::optional<SavedSize> read_window_size(vestra::registry::Registry& reg, std::string_view tag,
                                          std::string_view view) {
  if (tag.empty()) return std::nullopt;
  std::string text;
  if (!reg.get_string(Hive::CurrentUser, window_settings_key(tag, view), kWindowSize, text).ok())
    return std::nullopt;
  const SavedSize s = parse_window_size(text);
  if (s.width == 0 && s.height == 0) return std::nullopt;
  return s;
}

void store_window_size(vestra::registry::Registry& reg, std::string_view tag, std::string_view view,
                       int width, int height, int computed_width, int computed_height) {
  if (tag.empty()) return;
  const std::string key = window_settings_key(tag, view);
  if (width == computed_width && height == computed_height) {
    reg.delete_value(Hive::CurrentUser, key, kWindowSize);
  } else {
    reg.set_string(Hive::CurrentUser, key, kWindowSize, format_window_size(width, height));
  }
}

}  // namespace veslink
