// The mouse of terminal mode without the window: position reports and the
// click, release and double-click codes of enhanced mode, the right and
// middle buttons, and the rule that the click which activates the window is
// not reported. The window turns pixels into cells and sends what comes
// back. Its own file so the report rules are tested with a fake clock.
#pragma once

#include <cstdint>
#include <string>

namespace veslink {

struct CellPos {
  int row = 0;
  int column = 0;
  bool operator==(const CellPos&) const = default;
};

class TerminalMouse {
 public:
  enum class Button : std::uint8_t { Left, Right, Middle };

  // The window gained the focus at `now_ms`: left-button actions in the
  // next second (three seconds before the first report) are not reported.
  void focus_gained(std::int64_t now_ms) { focus_time_ = now_ms; }

  // Each returns the bytes for the host (often none). `clean`: no modifier
  // key and no other button held; actions that are not clean do nothing.
  std::string press(Button button, CellPos cell, bool clean, bool enhanced, std::int64_t now_ms);
  std::string double_click(Button button, CellPos cell, bool clean, bool enhanced,
                           std::int64_t now_ms);
  // The pointer moved with the left button held.
  std::string move(CellPos cell, bool enhanced);
  std::string release(Button button, CellPos cell, bool enhanced);

  bool dragging() const { return dragging_; }
  // Ends a drag without a report (the window lost the mouse, selection mode).
  void cancel() { dragging_ = false; }
  // A new session: nothing reported yet.
  void reset();

  // The position report: ESC m column C row R, both 0-based.
  static std::string report(CellPos cell);

 private:
  bool activation_click(std::int64_t now_ms) const;
  std::string report_if_moved(CellPos cell);

  static constexpr std::int64_t kNever = INT64_MIN / 2;
  std::int64_t focus_time_ = kNever;
  bool reported_ = false;  // a position report was ever sent
  bool dragging_ = false;
  bool after_double_click_ = false;
  CellPos last_{-1, -1};
};

}  // namespace veslink
