// The scripted message-box responder.
#include "tests/support/scripted_messages.h"

namespace vestra::test {

ScriptedMessages::ScriptedMessages() {
  previous_ = messages::set_responder([this](const messages::Request& r) {
    shown_.push_back(r);
    if (!answers_.empty()) {
      messages::Answer a = answers_.front();
      answers_.pop_front();
      return a;
    }
    return r.preselected.value_or(r.buttons == messages::Buttons::Ok
                                      ? messages::Answer::Ok
                                      : messages::dismiss_answer(r.buttons));
  });
}

ScriptedMessages::~ScriptedMessages() {
  messages::set_responder(previous_);
}

std::vector<std::string> ScriptedMessages::texts() const {
  std::vector<std::string> t;
  for (const auto& r : shown_)
    t.push_back(r.text);
  return t;
}

}  // namespace vestra::test
