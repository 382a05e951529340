// The screen protocol interpreter's process-wide state and its start-up.
#pragma once

#include "client/protocol/message_buffer.h"

namespace veslink {

struct Interpreter {
  MessageBuffer message_buffer;
  // GUI mode: the host drives windows and fields instead of the character
  // screen. Entered on the first GUI command.
  bool gui_mode = false;
};

Interpreter& interpreter();

// Start-up of the interpreter, once, before the first host byte. False (after
// telling the user why) when the client cannot run: the caller ends it.
bool init_interpreter();

}  // namespace veslink
