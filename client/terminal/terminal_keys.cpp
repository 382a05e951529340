// Key codes of the terminal dialect: the cursor and editing keys, the
// function keys with their Shift, Ctrl and Ctrl+Shift tables, and the
// control characters that go through key strings.
#include "client/terminal/terminal_keys.h"

#include "client/terminal/function_keys.h"

namespace veslink {

int key_code(TerminalKey key, int n, bool shift, bool ctrl) {
  switch (key) {
    case TerminalKey::PageUp:
      return 'w';
    case TerminalKey::PageDown:
      return 'r';
    case TerminalKey::End:
      return 'u';
    case TerminalKey::Home:
      return '*';
    case TerminalKey::Left:
      return '-';
    case TerminalKey::Up:
      return '+';
    case TerminalKey::Right:
      return '.';
    case TerminalKey::Down:
      return ',';
    case TerminalKey::Print:
      return 't';
    case TerminalKey::Insert:
      return shift ? '8' : '7';
    case TerminalKey::Delete:
      return shift ? '6' : '5';
    case TerminalKey::Function:
      break;
  }
  if (n < 1 || n > 16) return -1;
  if (!ctrl) return (shift ? '`' : '@') + n - 1;
  // Ctrl: F1-F6 reach the last six codes of their table; F7-F16 have codes
  // 1-10 (Ctrl+Shift 11-20), which send only what the host programmed.
  if (n <= 6) return (shift ? 'j' : 'J') + n - 1;
  return (shift ? 11 : 1) + n - 7;
}

int char_key_code(std::uint8_t ch, bool shift) {
  switch (ch) {
    case 0x08:
      return '"';
    case 0x09:
      return shift ? '&' : '!';
    case 0x0D:
      return '$';
    case 0x1B:
      return ' ';
    case 0x7F:
      return '#';
    default:
      return -1;
  }
}

std::string key_bytes(const FunctionKeys& keys, TerminalKey key, int n, bool shift, bool ctrl) {
  const int code = key_code(key, n, shift, ctrl);
  if (code < 0) return {};
  return std::string(keys.key_string(static_cast<std::uint8_t>(code)));
}

std::string char_bytes(const FunctionKeys& keys, std::uint8_t ch, bool shift) {
  const int code = char_key_code(ch, shift);
  if (code < 0) return std::string(1, static_cast<char>(ch));
  return std::string(keys.key_string(static_cast<std::uint8_t>(code)));
}

CloseAction close_action(bool gui_mode, bool connected, bool enhanced_mode) {
  if (gui_mode) return CloseAction::Refuse;
  if (!connected) return CloseAction::CloseMain;
  return enhanced_mode ? CloseAction::SendHome : CloseAction::SendExit;
}

}  // namespace veslink
