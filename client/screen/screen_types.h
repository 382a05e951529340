// The screen model's records: host programs, their windows and the windows'
// fields, with the flag bits the client gives meaning to. Plain data: the
// operations on them are ScreenModel's, the native windows hang off them
// through opaque handles that only the window layer knows.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "client/protocol/program_record.h"
#include "client/screen/field_extras.h"

namespace veslink {

// What the window layer keeps for a window or a field; the model only holds
// the pointer.
struct NativeWindow;
struct NativeControl;

// Window flags (F of ESC mcw and ESC muw) as the client uses them.
namespace window_flag {
constexpr std::uint32_t kNoFrame = 0x2;  // lives in the work area without a frame
constexpr std::uint32_t kScrollBar = 0x40;
constexpr std::uint32_t kNoScrollWidening = 0x80;
constexpr std::uint32_t kHostScrolling = 0x100;
constexpr std::uint32_t kTerminalWidth = 0x200;
constexpr std::uint32_t kNoFocusedButtons = 0x400;
constexpr std::uint32_t kOldStyle = 0x800;
constexpr std::uint32_t kSecondIcon = 0x1000;
constexpr std::uint32_t kFinishAllowed = 0x2000;
constexpr std::uint32_t kFocusNotices = 0x4000;
constexpr std::uint32_t kGridMenus = 0x10000;
constexpr std::uint32_t kRememberSize = 0x20000;
constexpr std::uint32_t kEditedTextOnLeave = 0x40000;
constexpr std::uint32_t kFullScreen = 0x200000;
constexpr std::uint32_t kHidden = 0x40000000;
}  // namespace window_flag

// Field types (T of ESC mcf).
namespace field_type {
constexpr int kEdit = 1;
constexpr int kPrompt = 2;
constexpr int kPushButton = 3;
constexpr int kGroupFrame = 4;
constexpr int kScrollingArea = 5;
constexpr int kPicture = 7;
constexpr int kDataGrid = 10;
constexpr int kGridColumn = 11;
constexpr int kRadioButton = 12;
constexpr int kCheckBox = 13;
}  // namespace field_type

// A size or position in character cells, kept as the host sent it (a real)
// and as the byte the rest of the client reads (capped at 255).
struct CellValue {
  double real = 0;
  std::uint8_t byte = 0;

  static CellValue of(double value);
};

// A rectangle in pixels.
struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PixelRect&) const = default;
};

struct ScreenWindow;

struct ScreenField {
  ScreenWindow* window = nullptr;
  std::uint32_t number = 0;
  int type = field_type::kPrompt;
  std::uint32_t flags = 0;
  CellValue width, height, column, row;
  int size_percent = 0;  // 100 is kept as 0
  std::uint16_t colour = 0;
  std::uint16_t background = 0;
  std::uint32_t limit = 0;  // M: the input limit, or the owning grid's number
  std::uint8_t a = 0;
  std::uint32_t e = 0;
  std::string contents;
  std::string help;
  int current_row = -1;
  PixelRect pixels;
  NativeControl* control = nullptr;
  FieldExtras extra;  // layout marks, parsed contents, area state
};

struct HostProgram;

struct ScreenWindow {
  ScreenWindow* parent = nullptr;
  std::vector<ScreenWindow*> children;  // in creation order
  HostProgram* program = nullptr;       // none for the top-level root window

  std::uint32_t number = 0;
  std::uint32_t flags = 0;
  std::vector<std::unique_ptr<ScreenField>> fields;  // drawing order, newest last
  ScreenField* focus = nullptr;

  CellValue width, height, column, row;
  std::uint16_t colour = 0;      // C: a cell colour code; no bit 0x8000: the scheme's
  std::uint16_t background = 0;  // B
  int placement = 0;             // D, 0 to 9
  std::string tag;               // ESC mtw; also the key of saved views
  std::uint32_t hot_keys = 0;    // bit n-1: function key n answers as a hot key
  std::string title;             // as the host gave it

  // Pixel geometry, computed when the window is first shown.
  PixelRect pixels;  // the window's cells (column/row origin and size)
  PixelRect frame;   // the frame's outer rectangle in the work area
  bool geometry_done = false;

  bool visible = false;  // counted among the shown windows
  NativeWindow* native = nullptr;
  WindowFieldExtras field_extra;

  bool hidden() const { return flags & window_flag::kHidden; }
  bool has_native() const { return native != nullptr; }
  bool has_grid() const;
};

// One host application program: the record the interpreter keeps (number,
// level, tree mode, launch mark) and what the screen model adds.
struct HostProgram : ProgramRecord {
  std::vector<std::unique_ptr<ScreenWindow>> windows;  // newest first
  std::unique_ptr<ScreenWindow> base_window;           // levels 0 and 1 only
  std::optional<std::string> browser_address;          // the pane's address while current
};

// Flags that the host sends at protocol levels 0 and 1 become the client's.
std::uint32_t convert_old_window_flags(std::uint32_t old_flags);

}  // namespace veslink
