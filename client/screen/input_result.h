// How a field input's end becomes its reply: the text with an exit reason,
// only the event, or nothing; whether a single-row edit gets its original
// text back; and the rules for an unchanged or cleared text. Pure, so every
// way of leaving a field is checked without controls.
#pragma once

#include <cstdint>
#include <string>

#include "client/protocol/replies.h"

namespace veslink {

// The special buttons a host may offer: OK (the text with reason 2) and
// Cancel (as Esc).
constexpr std::uint32_t kOkButtonTarget = 0x7F000001;
constexpr std::uint32_t kCancelButtonTarget = 0x7F000002;

struct FieldInputContext {
  bool single_row = true;
  std::uint32_t window_flags = 0;
  std::uint32_t input_flags = 0;  // F of ESC mif
  std::string original;           // the text when the input began
  std::string text;               // the text now
  std::uint32_t target = 0;       // the field or button a click named
};

struct FieldInputResult {
  enum class Kind { Text, Event, Nothing };
  Kind kind = Kind::Nothing;
  std::string text;
  ExitReason exit;
  std::int16_t event = 0;
  bool restore = false;  // the edit shows its original text again
};

// `code`: the event code that ended the input (Enter and Tab as 13 and 9,
// after the finish-to-page-down rule of the window).
FieldInputResult evaluate_field_input(std::int16_t code, const FieldInputContext& ctx);

}  // namespace veslink
