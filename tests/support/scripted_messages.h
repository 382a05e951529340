// Stands in for the message boxes during a test: records every box and
// answers from a script (or with the box's default), so no test blocks.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/messages/message_box.h"

namespace vestra::test {

class ScriptedMessages {
 public:
  ScriptedMessages();
  ~ScriptedMessages();
  ScriptedMessages(const ScriptedMessages&) = delete;
  ScriptedMessages& operator=(const ScriptedMessages&) = delete;

  // The next boxes get these answers, in order; then each gets its default.
  void answer(messages::Answer a) { answers_.push_back(a); }

  const std::vector<messages::Request>& shown() const { return shown_; }
  std::vector<std::string> texts() const;
  void clear() { shown_.clear(); }

 private:
  messages::Responder previous_;
  std::deque<messages::Answer> answers_;
  std::vector<messages::Request> shown_;
};

}  // namespace vestra::test
