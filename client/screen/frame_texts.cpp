// The frame title and the product name rule.
#include "client/screen/frame_texts.h"

namespace veslink {

std::string frame_title(const FrameTexts& t, bool gui_mode, std::string_view host) {
  const std::string beta = t.beta ? " (Beta Release)" : "";
  const std::string& d = t.data_area;
  const std::string& m = t.menu_item;
  if (gui_mode) {
    if (!d.empty() && !m.empty() && d != m) return d + beta + " - " + m;
    if (!d.empty()) return d + beta;
    if (!host.empty()) return std::string(host) + " - " + m;
    return m;
  }
  const std::string terminal = "Terminal Mode";
  if (!d.empty()) return d + beta + " - " + terminal;
  if (!host.empty()) return std::string(host) + " - " + terminal;
  return terminal;
}

std::string product_name_of(std::string_view text) {
  if (text.empty()) return "VESTRA-Nu";
  return std::string(text.substr(0, 29));
}

}  // namespace veslink
