// The keyboard of terminal mode without the window: which key code a typed
// character, a cursor or editing key or a function key with Shift and Ctrl
// stands for, and the bytes it sends (the host's programmed string, else the
// default). Also what closing the terminal window sends. Its own file so
// the dialect's key rules are tested as tables, without key events.
#pragma once

#include <cstdint>
#include <string>

namespace veslink {

class FunctionKeys;

enum class TerminalKey : std::uint8_t {
  PageUp,
  PageDown,
  End,
  Home,
  Left,
  Up,
  Right,
  Down,
  Print,
  Insert,
  Delete,
  Function,  // F1..F16, with its number
};

// The key code of a cursor, editing or function key; -1 when the key has
// none (function numbers outside 1..16).
int key_code(TerminalKey key, int function_number, bool shift, bool ctrl);

// The key code a typed control character goes through (backspace, tab,
// return, escape, delete); -1 when the character is sent as its own byte.
int char_key_code(std::uint8_t ch, bool shift);

// What a key sends: its key code's string (nothing when the code has none).
std::string key_bytes(const FunctionKeys& keys, TerminalKey key, int function_number, bool shift,
                      bool ctrl);
// What a typed character sends.
std::string char_bytes(const FunctionKeys& keys, std::uint8_t ch, bool shift);

// What closing the terminal window does.
enum class CloseAction : std::uint8_t {
  Refuse,     // GUI mode: the host drives windows; only a beep
  CloseMain,  // not connected: the main window closes
  SendHome,   // enhanced mode: the Home key's string asks the program to end
  SendExit,   // a shell: "exit\n" logs it out
};
CloseAction close_action(bool gui_mode, bool connected, bool enhanced_mode);

// The key code of Home, whose string the close sends in enhanced mode.
constexpr std::uint8_t kHomeKeyCode = '*';
// The bytes that log a shell out.
inline constexpr const char* kShellExit = "exit\n";

}  // namespace veslink
