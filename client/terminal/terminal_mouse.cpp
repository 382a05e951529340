// Mouse reports of enhanced mode and the buttons' fixed bytes.
#include "client/terminal/terminal_mouse.h"

namespace veslink {

namespace {
constexpr std::int64_t kActivationMs = 1000;
constexpr std::int64_t kFirstActivationMs = 3000;
}  // namespace

std::string TerminalMouse::report(CellPos cell) {
  return "\x1bm" + std::to_string(cell.column) + "C" + std::to_string(cell.row) + "R";
}

void TerminalMouse::reset() {
  reported_ = false;
  dragging_ = false;
  after_double_click_ = false;
  last_ = {-1, -1};
}

bool TerminalMouse::activation_click(std::int64_t now) const {
  const std::int64_t since = now - focus_time_;
  return since < (reported_ ? kActivationMs : kFirstActivationMs);
}

std::string TerminalMouse::report_if_moved(CellPos cell) {
  if (cell == last_) return {};
  last_ = cell;
  reported_ = true;
  return report(cell);
}

std::string TerminalMouse::press(Button button, CellPos cell, bool clean, bool enhanced,
                                 std::int64_t now) {
  if (!clean) return {};
  switch (button) {
    case Button::Middle:
      return "\r";
    case Button::Right:
      return enhanced ? "\x7f" : "";
    case Button::Left:
      break;
  }
  if (!enhanced || activation_click(now)) return {};
  dragging_ = true;
  after_double_click_ = false;
  last_ = cell;
  reported_ = true;
  return report(cell);
}

std::string TerminalMouse::double_click(Button button, CellPos cell, bool clean, bool enhanced,
                                        std::int64_t now) {
  if (!clean) return {};
  if (button != Button::Left) return press(button, cell, clean, enhanced, now);
  if (!enhanced || activation_click(now)) return {};
  dragging_ = true;
  after_double_click_ = true;
  return report_if_moved(cell) +
         "\x1b"
         "c";
}

std::string TerminalMouse::move(CellPos cell, bool enhanced) {
  if (!dragging_ || !enhanced) return {};
  return report_if_moved(cell);
}

std::string TerminalMouse::release(Button button, CellPos cell, bool enhanced) {
  if (button != Button::Left || !dragging_) return {};
  dragging_ = false;
  if (!enhanced) return {};
  std::string out = report_if_moved(cell);
  if (!after_double_click_) out += "\x1bM";
  after_double_click_ = false;
  return out;
}

}  // namespace veslink
