// The screen protocol interpreter: its state (byte hook, matcher, command
// parameters, modes, the program list, the values the event replies read)
// and the operations shared by the reader and the handlers: GUI mode,
// set-variable entries, begin_command, the one-time memory message. One
// Interpreter serves the process; tests build their own around a private
// character screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "client/protocol/command_params.h"
#include "client/protocol/escape_matcher.h"
#include "client/protocol/event_values.h"
#include "client/protocol/gui_routes.h"
#include "client/protocol/interpreter_ui.h"
#include "client/protocol/message_buffer.h"
#include "client/protocol/print_routing.h"
#include "client/protocol/program_record.h"
#include "client/protocol/replies.h"
#include "client/terminal/char_screen.h"

namespace veslink {

class FunctionKeys;
class SessionTrace;

// Receives the next host byte while a sequence is matched or a command
// reads its arguments.
using ByteHook = void (*)(Interpreter&, std::uint8_t);

// What the argument-reading handlers keep between bytes.
struct ArgumentState {
  int stage = 0;
  int count = 0;
  int row = 0;  // ESC a
  int column = 0;
  std::uint8_t bytes[4] = {};
  std::uint8_t key = 0;
  bool keep = false;  // the text is stored (a function key), not discarded
  std::string text;
  // Message and confirmation boxes.
  char default_answer = 0;  // 0, 'Y' or 'N'
  bool cancel_option = false;
  // ESC vx.
  bool wait = false;
  std::string directory;
};

class Interpreter {
 public:
  Interpreter(CharScreen& screen, FunctionKeys& keys);
  Interpreter(const Interpreter&) = delete;
  Interpreter& operator=(const Interpreter&) = delete;

  // host_data_in for this interpreter: every step of the byte loop, then
  // the end-of-block work. Data that arrives while a command runs a nested
  // event loop (a message box, a wait for a local program) is processed in
  // order after what the current block still holds.
  void feed(const std::uint8_t* data, std::size_t count);

  CharPage& page() { return screen.current(); }
  CharScreen& screen;
  FunctionKeys& keys;
  InterpreterUi ui;
  GuiRoutes routes;
  HostReplies replies;
  SessionTrace* trace = nullptr;  // none unless tracing is on

  MessageBuffer message_buffer;
  CommandParams params;
  EscapeMatcher matcher;
  ByteHook byte_hook = nullptr;
  ArgumentState args;
  GuiCommandId pending_command = GuiCommandId::SelectProgram;

  ProgramList programs;
  EventValues events;
  PrintRouting printing;

  bool gui_mode = false;
  bool monitor_mode = false;
  bool monitor_escape_held = false;
  bool insert_mode = false;
  bool cursor_visible = true;
  bool enhanced_mode = false;
  std::uint8_t alternate_set[2] = {0, 0};  // remembered by ESC cB and ESC cC
  bool screen_touched = false;             // refresh at the end of the block
  bool out_of_memory_shown = false;

  // A byte to the host, through the trace when it is on.
  bool send_to_host(std::uint8_t byte);

  // Every GUI command starts here: resets the parameters and enters GUI mode
  // when it is off.
  void begin_command();
  void enter_gui_mode();
  void leave_gui_mode();
  void set_enhanced_mode(bool on);
  // A set-variable entry.
  void store_variable(Variable target, std::uint16_t value);
  // Commands that create or activate something drop queued input requests.
  void cancel_input_requests();
  // "Out of memory!" once per run; the command concerned is dropped.
  void report_out_of_memory();
  // The connection closed: forget the session's state.
  void session_closed();

 private:
  void process(std::uint8_t byte);
  void display(std::uint8_t byte);
  void monitor(std::uint8_t byte);
  void end_of_block();

  const std::uint8_t* block_ = nullptr;
  std::size_t block_length_ = 0;
  std::size_t position_ = 0;
  int depth_ = 0;
};

// The interpreter of the process, on the process's character screen and
// function keys.
Interpreter& interpreter();

// Start-up of the interpreter, once, before the first host byte. False
// (after telling the user why) when the client cannot run: the caller ends
// it.
bool init_interpreter();

}  // namespace veslink
