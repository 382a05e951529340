// Dispatch of message boxes to the installed responder or the real box.
#include "platform/messages/message_box.h"

#include <utility>

namespace vestra::messages {

Answer show_qt_message(const Request& request);  // qt_message_box.cpp

namespace {
Responder& current_responder() {
  static Responder responder;
  return responder;
}
}  // namespace

Answer show_message(const Request& request) {
  if (const Responder& r = current_responder()) return r(request);
  return show_qt_message(request);
}

void show_notice(const std::string& caption, const std::string& text, Icon icon, QWidget* owner) {
  Request r;
  r.owner = owner;
  r.caption = caption;
  r.text = text;
  r.icon = icon;
  show_message(r);
}

Responder set_responder(Responder responder) {
  return std::exchange(current_responder(), std::move(responder));
}

Answer dismiss_answer(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
    case Buttons::RetryCancel:
      return Answer::Cancel;
    case Buttons::YesNo:
      return Answer::No;
    case Buttons::AbortRetryIgnore:
      return Answer::Abort;
  }
  return Answer::Cancel;
}

}  // namespace vestra::messages
