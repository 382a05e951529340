// The byte loop of host_data_in, GUI mode, set-variable entries and the
// interpreter's start-up.
#include "client/protocol/interpreter.h"

#include <new>

#include "client/connection/login_dialogue.h"
#include "client/protocol/session_trace.h"
#include "client/settings/client_texts.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/function_keys.h"
#include "platform/messages/message_box.h"

namespace veslink {

namespace {
constexpr std::uint8_t kEscape = 0x1B;
constexpr std::uint8_t kEscapeGlyph = 0x9B;  // how monitor mode shows an ESC

// The matcher as byte hook: one binary search per byte of a sequence.
void match_hook(Interpreter& in, std::uint8_t b) {
  const EscapeEntry* entry = nullptr;
  switch (in.matcher.feed(b, entry)) {
    case EscapeMatcher::Step::More:
      return;
    case EscapeMatcher::Step::Dropped:
      // An unknown sequence: everything read so far and this byte are lost.
      in.byte_hook = nullptr;
      return;
    case EscapeMatcher::Step::Complete:
      in.byte_hook = nullptr;
      if (entry->action) {
        entry->action(in, b);
      } else if (entry->target != Variable::None) {
        in.store_variable(entry->target, entry->value);
      }
      return;
  }
}
}  // namespace

Interpreter::Interpreter(CharScreen& s, FunctionKeys& k)
    : screen(s),
      keys(k),
      replies([this](std::uint8_t b) { return send_to_host(b); },
              [this] { return programs.level(); }) {}

bool Interpreter::send_to_host(std::uint8_t byte) {
  if (trace) trace->sent(byte);
  return ui.send_byte ? ui.send_byte(byte) : false;
}

void Interpreter::feed(const std::uint8_t* data, std::size_t count) {
  if (trace) trace->received(data, count);
  if (depth_ > 0) {
    // A command of an outer block runs a nested event loop and new data
    // arrived: what that block still holds comes first.
    while (position_ < block_length_)
      process(block_[position_++]);
  }
  ++depth_;
  block_ = data;
  block_length_ = count;
  position_ = 0;
  while (position_ < block_length_)
    process(block_[position_++]);
  block_ = nullptr;
  block_length_ = 0;
  position_ = 0;
  --depth_;
  end_of_block();
}

void Interpreter::process(std::uint8_t b) {
  // 1, 2: slave printing sees the byte first.
  if (printing.active() && printing.route(b)) return;
  // 3: a sequence or a command's arguments are being read.
  if (byte_hook) {
    byte_hook(*this, b);
    return;
  }
  // 4: monitor mode shows everything.
  if (monitor_mode) {
    monitor(b);
    return;
  }
  // 5: control bytes may start a sequence.
  if (b < 0x20 || b > 0x7E) {
    if (b == kEscape) {
      if (LoginDialogue* login = LoginDialogue::active(); login && login->login_active() != 0)
        login->received_escape();
    }
    const EscapeTable& table = escape_table();
    const EscapeTable::Range group = table.lead_group(b);
    if (group.low <= group.high) {
      matcher.start(table, group);
      byte_hook = match_hook;
      match_hook(*this, b);
      return;
    }
  }
  // 6: the character screen.
  display(b);
}

void Interpreter::display(std::uint8_t b) {
  // NUL is the telnet daemon's padding: it takes no cell, not even in insert mode.
  if (b == 0) return;
  if (gui_mode && b >= 0x20 && b != 0x7F) leave_gui_mode();
  CharPage& p = page();
  if (insert_mode) p.insert_char();
  p.put_char(static_cast<std::uint16_t>(0xFF00 | b));
  screen_touched = true;
  if (LoginDialogue* login = LoginDialogue::active(); login && login->login_active() != 0)
    login->received_byte(b);
}

void Interpreter::monitor(std::uint8_t b) {
  if (monitor_escape_held) {
    monitor_escape_held = false;
    if (b == 'u' || b == 'X') {
      monitor_mode = false;
      return;
    }
    display(kEscapeGlyph);
    display(b);
    return;
  }
  if (b == kEscape) {
    monitor_escape_held = true;
    return;
  }
  display(b);
}

void Interpreter::end_of_block() {
  // Every page, not only the current one: a run left open on a page the
  // host switched away from must end the same whether or not the block
  // ended between the run and the switch.
  for (int n = 0; n < 4; ++n)
    if (CharPage* p = screen.page(n)) p->close_attribute_run();
  if (screen_touched) {
    screen_touched = false;
    if (ui.refresh) ui.refresh();
  }
  if (LoginDialogue* login = LoginDialogue::active()) login->block_received();
}

void Interpreter::begin_command() {
  params.reset();
  message_buffer.clear();
  if (!gui_mode) enter_gui_mode();
}

void Interpreter::enter_gui_mode() {
  CharPage& p = page();
  p.clear_page();
  p.place_cursor(p.rows() - 1, 0);
  screen_touched = true;
  gui_mode = true;
  if (ui.gui_mode_entered) ui.gui_mode_entered();
}

void Interpreter::leave_gui_mode() {
  if (!gui_mode) return;
  gui_mode = false;
  if (ui.cancel_input_requests) ui.cancel_input_requests();
  if (ui.gui_mode_left) ui.gui_mode_left();
}

void Interpreter::set_enhanced_mode(bool on) {
  const bool changed = enhanced_mode != on;
  enhanced_mode = on;
  if (changed && ui.enhanced_mode) ui.enhanced_mode(on);
}

void Interpreter::store_variable(Variable target, std::uint16_t value) {
  switch (target) {
    case Variable::MonitorMode:
      monitor_mode = value != 0;
      monitor_escape_held = false;
      return;
    case Variable::InsertMode:
      insert_mode = value != 0;
      return;
    case Variable::CursorVisible:
      cursor_visible = value != 0;
      if (ui.cursor_visible) ui.cursor_visible(cursor_visible);
      return;
    case Variable::PageClearsOnWidth:
      page().set_clears_on_width_change(value != 0);
      return;
    case Variable::PrintMode:
      printing.set_mode(value);
      return;
    case Variable::None:
      return;
  }
}

void Interpreter::cancel_input_requests() {
  if (ui.cancel_input_requests) ui.cancel_input_requests();
  if (ui.close_progress_window) ui.close_progress_window();
}

void Interpreter::report_out_of_memory() {
  if (out_of_memory_shown) return;
  out_of_memory_shown = true;
  vestra::messages::show_notice(kClientCaption, "Out of memory!", vestra::messages::Icon::Warning);
}

void Interpreter::session_closed() {
  if (trace) trace->flush();
  byte_hook = nullptr;
  gui_mode = false;
  monitor_mode = false;
  monitor_escape_held = false;
  insert_mode = false;
  set_enhanced_mode(false);
  programs.clear();
  events = EventValues{};
  printing.reset();
}

Interpreter& interpreter() {
  static Interpreter instance(char_screen(), function_keys());
  return instance;
}

bool init_interpreter() {
  auto fail = [](const char* text) {
    vestra::messages::show_notice(kClientCaption, text, vestra::messages::Icon::Warning);
    return false;
  };
  Interpreter* in = nullptr;
  try {
    in = &interpreter();
  } catch (const std::bad_alloc&) {
    return fail("Could not allocate memory for initial window");
  }
  if (!in->message_buffer.allocated() && !in->message_buffer.allocate())
    return fail("Could not allocate memory for message buffer");
  in->page().set_columns(80);
  in->keys.restore_defaults();
  if (!escape_table_error().empty()) return fail(escape_table_error().c_str());
  start_session_trace(*in);
  return true;
}

}  // namespace veslink
