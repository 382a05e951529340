// The texts and switches the host gives the main frame (data area name and
// beta flag, status panes, status message, mail mark, menu bar, toolbar and
// status bar, product name) and the frame title they make. Kept here, apart
// from the window that shows them, so the rules are plain and testable.
#pragma once

#include <string>
#include <string_view>

namespace veslink {

struct FrameTexts {
  std::string data_area;  // the host's data area (company) name
  bool beta = false;      // " (Beta Release)" after the data area
  std::string menu_item;  // the menu tree's current node
  std::string pane_103;
  std::string pane_104;
  std::string pane_106;  // the user name
  std::string status_message;
  bool status_raised = false;  // the message pane's last style
  bool mail_mark = false;
  bool menu_bar_shown = true;
  bool toolbar_shown = true;
  bool status_bar_shown = true;
  std::string product_name = "VESTRA-Nu";
};

// The status bar panes the host writes.
namespace frame_pane {
constexpr int kMessage = 0;
constexpr int kUser = 106;
constexpr int kConnection = 105;
constexpr int k103 = 103;
constexpr int k104 = 104;
constexpr int kMail = 221;
}  // namespace frame_pane

// The main window's title: in GUI mode from the data area, the menu item and
// the host; outside it the data area or host and "Terminal Mode".
std::string frame_title(const FrameTexts& texts, bool gui_mode, std::string_view host);

// The product name as the host may set it: at most 29 characters, empty
// meaning "VESTRA-Nu".
std::string product_name_of(std::string_view text);

}  // namespace veslink
