// What the telnet engine cannot do itself and asks its owner for: writing on
// the message window, ending the process on a fatal condition, and looking at
// the socket for urgent data. Its own header so the connection manager and
// the tests implement it without pulling in the engine's internals.
#pragma once

#include <cstdint>
#include <string_view>

namespace veslink {

inline constexpr std::string_view kTelnetFatalTitle = "VESTRA TELNET";

// The answer to "is urgent data still pending at the socket?" (a select with
// zero time-out on the exceptional set, or sockatmark).
struct UrgentDataCheck {
  bool pending = false;
  int error = 0;  // non-zero: the check itself failed with this error code
};

class TelnetSink {
 public:
  virtual ~TelnetSink() = default;
  // Text for the message window (the current character page); texts carry
  // their own line feeds.
  virtual void message(std::string_view text) = 0;
  // A condition the connection cannot survive: show `text` in a box titled
  // `title` (always kTelnetFatalTitle) and end the process with exit code 1.
  // If it returns (tests), the engine stops processing until the next reset.
  virtual void fatal(std::string_view text, std::string_view title) = 0;
  // Asked at each Data Mark: whether the receiver stays in discard mode.
  virtual UrgentDataCheck urgent_data_pending() = 0;
  // Every negotiation command received or sent, for the session trace
  // (telnet::describe names it). Optional.
  virtual void negotiation(bool sent, std::uint8_t command, std::uint8_t option) {}
};

}  // namespace veslink
