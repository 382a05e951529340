// The message-box stand-in: every box the programs show goes through
// `show_message`, so tests can install a responder that records each box and
// answers it instead of blocking on a dialog. No Qt in this header.
#pragma once

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace vestra::messages {

enum class Icon { None, Information, Warning, Question, Error };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class Answer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

struct Request {
  QWidget* owner = nullptr;  // no owner: the box belongs to no window
  std::string caption;
  std::string text;  // the program's own byte text; "\n" breaks lines
  Icon icon = Icon::None;
  Buttons buttons = Buttons::Ok;
  std::optional<Answer> preselected;  // the first button when empty
};

using Responder = std::function<Answer(const Request&)>;

// Shows the box (or hands it to the installed responder) and returns the answer.
Answer show_message(const Request& request);

// Shorthand for the common box with one OK button.
void show_notice(const std::string& caption, const std::string& text, Icon icon,
                 QWidget* owner = nullptr);

// Installs a responder in place of the real boxes; returns the previous one.
// An empty responder restores the real boxes.
Responder set_responder(Responder responder);

// The answer a box gets when it is closed without a choice (Escape, close box).
Answer dismiss_answer(Buttons buttons);

}  // namespace vestra::messages
