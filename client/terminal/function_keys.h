// FunctionKeys: the key strings of terminal mode. Every key code (a byte below
// 128) has a default string and may get a string programmed by the host; a key
// sends the programmed one, else its default, else nothing. Its own file
// because the host's programming commands, the terminal window's keyboard and
// the confirmation box's Cancel answer all read the same two tables.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace veslink {

class FunctionKeys {
 public:
  static constexpr int kKeys = 128;
  // The longest text the host can program for one key; the rest is dropped.
  static constexpr std::size_t kMaxText = 255;

  FunctionKeys();

  // Forgets every programmed string (the host's ESC cU, and start-up).
  void restore_defaults();
  // The host's string for `key`; an empty text restores the key's default.
  // Keys outside the table are ignored (false).
  bool program(std::uint8_t key, std::string_view text);

  // What the key sends: the programmed string, else the default, else "".
  std::string_view key_string(std::uint8_t key) const;
  std::string_view default_string(std::uint8_t key) const;
  bool programmed(std::uint8_t key) const { return key < kKeys && programmed_[key]; }

 private:
  std::array<std::string, kKeys> defaults_;
  std::array<std::string, kKeys> programmed_text_;
  std::array<bool, kKeys> programmed_{};
};

// The key strings of the process: the interpreter programs them, the terminal
// window sends them.
FunctionKeys& function_keys();

}  // namespace veslink
