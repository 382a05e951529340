// InterpreterUi: what the interpreter asks of the rest of the client (the
// connection, the terminal window, the main frame, the input waits). Every
// member may be left empty; the interpreter then does without. Tests record
// the calls; the application wires them to the real windows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace veslink {

struct InterpreterUi {
  // host_send_byte: the only way a byte reaches the host.
  std::function<bool(std::uint8_t)> send_byte;
  std::function<void()> bell;
  // The character screen changed during the block: refresh the terminal
  // window once.
  std::function<void()> refresh;
  // The terminal window shows 80 or 132 columns.
  std::function<void(int)> columns_changed;
  // The terminal window's text cursor on or off (ESC GRAVE 0 and 1).
  std::function<void(bool)> cursor_visible;
  // Enhanced mode changed (ESC ~P, ESC g, ESC ~4).
  std::function<void(bool)> enhanced_mode;
  // GUI mode began: hide the terminal window when the frame holds other
  // child windows, give the focus back to the current host window.
  std::function<void()> gui_mode_entered;
  // GUI mode ended: empty the key queue, tell the menu tree, clear the status
  // text, bring back the caret, show the terminal window, rebuild the title.
  std::function<void()> gui_mode_left;
  // Removes queued input requests and ends a running input wait.
  std::function<void()> cancel_input_requests;
  // Empties the key queue (Resequence Server, Send Interrupt).
  std::function<void()> empty_key_queue;
  std::function<void()> close_progress_window;
  // For the identification reply: the transport is TCP, the connection's
  // own IPv4 address, the mail notification setting.
  std::function<bool()> tcp_transport;
  std::function<std::string()> local_address;
  std::function<bool()> mail_notify;
  // A condition the client cannot run on (the message was shown): close the
  // connection and end the program.
  std::function<void()> fatal;
};

}  // namespace veslink
