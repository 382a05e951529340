// HostReplies: the byte formats of every reply the client sends while a host
// application runs (command results, field values and input results, the
// identification, window close, resequence, interrupt and launch replies).
// All bytes leave one at a time through the one sender, host_send_byte.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace veslink {

// Why a field input ended (the bit set of the field input result) and the
// object it names: the other field or button for 64 and 128, the
// function-key number for a hot key (512).
struct ExitReason {
  std::uint32_t reason = 0;
  std::uint32_t target = 0;
  std::uint32_t hot_key = 0;
};

namespace exit_reason {
constexpr std::uint32_t kFinish = 1;
constexpr std::uint32_t kOkButton = 2;
constexpr std::uint32_t kDown = 4;
constexpr std::uint32_t kUp = 8;
constexpr std::uint32_t kLeft = 16;
constexpr std::uint32_t kRight = 32;
constexpr std::uint32_t kOtherField = 64;
constexpr std::uint32_t kButton = 128;
constexpr std::uint32_t kBackTab = 256;
constexpr std::uint32_t kHotKey = 512;
}  // namespace exit_reason

// The version the client reports, split at its `v`: "6.5" and "1" for
// "VESTRA Thin Client Version 6.5v1.1".
struct VersionDigits {
  std::string release;  // digits and dots from the first digit
  std::string build;    // the digits after a following `v`; empty when none
};
VersionDigits version_digits(std::string_view version_text);

// The identification reply to ESC mpi for a new program.
struct IdentificationFacts {
  bool mail_notify = false;   // the "Show VESPOST mail notification" setting
  bool with_address = false;  // A low byte non-zero and a TCP transport
  std::string local_address;  // dotted IPv4 of the connection's own end
};
std::string identification_reply(std::string_view version_text, const IdentificationFacts& facts);

class HostReplies {
 public:
  using Sender = std::function<bool(std::uint8_t)>;
  using LevelSource = std::function<int()>;

  HostReplies(Sender sender, LevelSource level)
      : sender_(std::move(sender)), level_(std::move(level)) {}

  void send_byte(std::uint8_t byte) {
    if (sender_) sender_(byte);
  }
  void send(std::string_view bytes);

  // ESC nr value S ^M
  void number_result(long long value);
  // ESC nr ^M: no result, or a failure.
  void no_result();
  // ESC nr [number S] then `;` and the text without carriage returns, or, at
  // protocol level 4 and above when the text holds a control byte other than
  // tab and line feed, `:` and the text in Base64; then ^M.
  void text_result(std::string_view text, long long number = 0);
  // ESC nd field I ; value ^M (ESC mvf)
  void field_value(std::uint32_t field, std::string_view value);
  // ESC nd field I window P [reason] ; text ^M at the end of a field input.
  void field_input(std::uint32_t field, std::uint32_t window, const ExitReason& exit,
                   std::string_view text);
  // ^^: an input request that found no field or window, or a cancelled one.
  void cancel() { send_byte(0x1E); }
  // One digit, no ^M: the result of starting a local program.
  void launch_result(int digit) { send_byte(static_cast<std::uint8_t>('0' + digit)); }
  // ESC nk1S window P ^M: the user closes the current host window.
  void window_close_request(std::uint32_t window);
  // ESC nk0S ^M: the Resequence Server command.
  void resequence() { send("\x1bnk0S\r"); }
  // 0x10: the Send Interrupt command.
  void interrupt() { send_byte(0x10); }

  int level() const { return level_ ? level_() : 0; }

 private:
  Sender sender_;
  LevelSource level_;
};

}  // namespace veslink
