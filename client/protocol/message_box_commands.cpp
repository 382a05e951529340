// ESC vA and ESC vC: the host's message, acknowledgement and confirmation
// boxes, with their option letters, and the confirmation's answer.
#include <string>

#include "client/protocol/handlers.h"
#include "client/protocol/interpreter.h"
#include "client/terminal/function_keys.h"
#include "platform/messages/message_box.h"

namespace veslink::handlers {

namespace {
namespace msg = vestra::messages;

void show_message_box(Interpreter& in, const std::string& text, char default_answer) {
  if (text.empty()) return;
  if (default_answer == 'Y') {
    msg::Request r;
    r.caption = "VESTRA Message";
    r.text = text;
    r.icon = msg::Icon::Warning;
    r.buttons = msg::Buttons::Ok;
    msg::show_message(r);
    return;
  }
  msg::Request r;
  r.caption = "VESTRA Acknowledgement";
  r.text = text;
  r.icon = msg::Icon::Warning;
  r.buttons = msg::Buttons::YesNo;
  r.preselected = msg::Answer::No;
  // The host wants the message acknowledged: only Yes lets it go on.
  while (msg::show_message(r) != msg::Answer::Yes) {
  }
}

void show_confirmation(Interpreter& in, std::string text, char default_answer, bool cancel_option) {
  if (text.empty()) text = "Confirm?";
  if (cancel_option) text += "\n\n(CANCEL returns to the last field)";
  msg::Request r;
  r.caption = "VESTRA Confirmation";
  r.text = text;
  r.icon = msg::Icon::Question;
  const bool two_buttons = default_answer != 0 && !cancel_option;
  r.buttons = two_buttons ? msg::Buttons::YesNo : msg::Buttons::YesNoCancel;
  r.preselected = default_answer == 'Y'   ? msg::Answer::Yes
                  : default_answer == 'N' ? msg::Answer::No
                                          : msg::Answer::Cancel;
  for (;;) {
    const msg::Answer answer = msg::show_message(r);
    if (answer == msg::Answer::Yes) {
      in.replies.send("Y\r");
      return;
    }
    if (answer == msg::Answer::No) {
      in.replies.send("N\r");
      return;
    }
    if (cancel_option) {
      // The terminal's Up key takes the host back to the previous field.
      in.replies.send(in.keys.key_string('+'));
      return;
    }
  }
}

void box_hook(Interpreter& in, std::uint8_t b) {
  ArgumentState& a = in.args;
  if (a.stage == 0) {
    switch (b) {
      case 'Y':
      case 'N':
        a.default_answer = static_cast<char>(b);
        return;
      case 'B':
        a.cancel_option = true;
        return;
      case '\n':
      case 0x1B:
        in.byte_hook = nullptr;  // abandoned: nothing is shown
        return;
      case ';':
        a.stage = 1;
        return;
      case '\r':
        break;  // no text
      default:
        return;
    }
  } else if (b != '\r') {
    // The text fills the buffer up to its size less one; the rest is lost.
    if (b != 0) in.message_buffer.append_fixed(static_cast<char>(b));
    return;
  }
  in.byte_hook = nullptr;
  // The screen is brought up to date before the box covers it.
  if (in.ui.refresh) in.ui.refresh();
  const std::string text(in.message_buffer.view());
  const char default_answer = a.default_answer;
  const bool cancel_option = a.cancel_option;
  if (a.key == 'A') {
    show_message_box(in, text, default_answer);
  } else {
    show_confirmation(in, text, default_answer, cancel_option);
  }
}

void begin_box(Interpreter& in, std::uint8_t kind) {
  in.args = ArgumentState{};
  in.args.key = kind;
  in.message_buffer.clear();
  in.byte_hook = box_hook;
}
}  // namespace

void message_box(Interpreter& in, std::uint8_t) {
  begin_box(in, 'A');
}

void confirmation_box(Interpreter& in, std::uint8_t) {
  begin_box(in, 'C');
}

}  // namespace veslink::handlers
