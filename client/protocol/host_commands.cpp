// Window close, Resequence Server and Send Interrupt.
#include "client/protocol/host_commands.h"

#include "client/protocol/interpreter.h"

namespace veslink {

namespace {
void drop_queued_input(Interpreter& in) {
  if (in.ui.cancel_input_requests) in.ui.cancel_input_requests();
  if (in.ui.empty_key_queue) in.ui.empty_key_queue();
}
}  // namespace

CloseDecision request_window_close(Interpreter& in, std::uint32_t window, bool is_current,
                                   bool is_hidden) {
  if (is_hidden) return CloseDecision::CloseAtOnce;
  if (!is_current || !in.gui_mode) {
    if (in.ui.bell) in.ui.bell();
    return CloseDecision::Refused;
  }
  if (in.ui.cancel_input_requests) in.ui.cancel_input_requests();
  in.replies.window_close_request(window);
  return CloseDecision::AskedHost;
}

bool resequence_server(Interpreter& in) {
  if (!in.gui_mode) {
    if (in.ui.bell) in.ui.bell();
    return false;
  }
  drop_queued_input(in);
  in.replies.resequence();
  return true;
}

void send_interrupt(Interpreter& in) {
  if (in.gui_mode) drop_queued_input(in);
  in.replies.interrupt();
}

}  // namespace veslink
