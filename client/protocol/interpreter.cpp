// Interpreter start-up: the message buffer first; the escape table, the
// character screen and the function-key strings join it as they are built.
#include "client/protocol/interpreter.h"

#include "client/settings/client_texts.h"
#include "platform/messages/message_box.h"

namespace veslink {

Interpreter& interpreter() {
  static Interpreter instance;
  return instance;
}

bool init_interpreter() {
  if (!interpreter().message_buffer.allocate()) {
    vestra::messages::show_notice(kClientCaption, "Could not allocate memory for message buffer",
                                  vestra::messages::Icon::Warning);
    return false;
  }
  return true;
}

}  // namespace veslink
