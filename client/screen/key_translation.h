// Key presses in a host window (and the keys its field controls forward) to
// event codes: the hot-key mask, the key table, the keys that only count on
// a first press, and what edit fields keep for themselves. Platform-neutral:
// the window layer names the key, this file decides.
#pragma once

#include <cstdint>

namespace veslink {

enum class KeyName : std::uint8_t {
  Other,  // not in the table: the character handler may still see it
  LetterOrDigit,
  Break,  // Ctrl+Break
  Home,
  End,
  PageUp,
  PageDown,
  Left,
  Right,
  Up,
  Down,
  Insert,
  Delete,
  Clear,
  Key18,  // virtual key 0x18
  Print,
  Execute,
  Help,
  Function,  // F1 to F24, numbered in `function`
};

// Where the key arrived: the window itself or an edit field forwarding it.
enum class EditKind : std::uint8_t { None, SingleLine, MultiLine, LeavesSideways };

struct KeyPress {
  KeyName key = KeyName::Other;
  int function = 0;  // 1 to 24 for KeyName::Function
  bool shift = false;
  bool ctrl = false;
  bool auto_repeat = false;
  EditKind edit = EditKind::None;
};

struct KeyAction {
  enum class Kind : std::uint8_t {
    None,          // nothing is queued; an edit field handles the key itself
    Code,          // queue `code`
    Character,     // left to the character handler
    Macro,         // a keyboard macro plays instead
    LocalUtility,  // function key 6 starts the local utility program
  };
  Kind kind = Kind::None;
  std::int16_t code = 0;
  // An edit field also moves its caret after the code is queued (Up, Down).
  bool control_too = false;
};

// `hot_keys`: the current window's hot-key mask; `macro_for`: whether function
// key n (1 to 16) carries a keyboard macro (may be null).
KeyAction translate_key(const KeyPress& press, std::uint32_t hot_keys,
                        bool (*macro_for)(int) = nullptr);

}  // namespace veslink
