// Replies that start on the workstation rather than in an input wait: the
// user closes a host window, or chooses Resequence Server or Send Interrupt
// from the main menu. Each checks GUI mode as the host expects.
#pragma once

#include <cstdint>

namespace veslink {

class Interpreter;

enum class CloseDecision {
  AskedHost,    // ESC nk1S window P ^M went to the host; it decides
  CloseAtOnce,  // a hidden window: closed without asking
  Refused,      // not the current window, or outside GUI mode: the bell
};

CloseDecision request_window_close(Interpreter& in, std::uint32_t window, bool is_current,
                                   bool is_hidden);

// ESC nk0S ^M in GUI mode (queued input requests and the key queue are
// dropped first); outside GUI mode only the bell. True when sent.
bool resequence_server(Interpreter& in);

// The byte 0x10; in GUI mode queued input requests and the key queue are
// dropped first.
void send_interrupt(Interpreter& in);

}  // namespace veslink
