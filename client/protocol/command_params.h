// CommandParams: the parameter block of a GUI command and the byte rules
// that fill it (numbers with suffix letters, then an optional plain or
// Base64 string up to the carriage return). Its own file because every GUI
// command reads its arguments through it and the rules are exact.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "client/protocol/message_buffer.h"

namespace veslink {

enum class StringMode : std::uint8_t { None, Plain, Base64 };

struct CommandParams {
  // One number per suffix letter, 32 bits, unsigned as parsed.
  std::uint32_t A = 0, B = 0, C = 0, D = 0, E = 0, F = 0, I = 0, M = 0, P = 0, S = 0, T = 0;
  // H, W, X and Y carry an integer and a real each (12.5X: X 12, x_real 12.5).
  std::uint32_t H = 0, W = 0, X = 0, Y = 0;
  double h_real = 0, w_real = 0, x_real = 0, y_real = 0;
  // Which letters were given (bit n for letter 'A' + n): a command whose
  // letter is absent takes its default.
  std::uint32_t given = 0;

  std::uint32_t accumulator = 0;
  double fraction = 0;
  double divisor = 0;  // 0: no `.` yet
  StringMode string_mode = StringMode::None;
  long string_length = -1;  // -1: no string was given (unlike an empty one)

  void reset() { *this = CommandParams{}; }
  bool has(char letter) const { return (given >> (letter - 'A')) & 1u; }
  // The integer value of a suffix letter (0 for letters that carry none).
  std::uint32_t number(char letter) const;
  double real(char letter) const;
};

// Feeds one byte after the command's sequence. The string goes into
// `buffer`; true once the terminating carriage return has been consumed,
// with a Base64 string decoded and the string length set.
bool feed_param_byte(CommandParams& params, MessageBuffer& buffer, std::uint8_t byte);

// The command's string, or nothing when none was given.
std::optional<std::string_view> command_string(const CommandParams& params,
                                               const MessageBuffer& buffer);

}  // namespace veslink
