// The character-terminal commands that act at once on the current page:
// cursor moves, clears, line and character insertion, attribute bits,
// pages, column switching and the function-key reset.
#include "client/protocol/handlers.h"
#include "client/protocol/interpreter.h"
#include "client/settings/client_texts.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/function_keys.h"
#include "platform/messages/message_box.h"

namespace veslink::handlers {

namespace {
CharPage& touched_page(Interpreter& in) {
  in.screen_touched = true;
  return in.page();
}
}  // namespace

void bell(Interpreter& in, std::uint8_t) {
  if (in.ui.bell) in.ui.bell();
}

void cursor_left(Interpreter& in, std::uint8_t) {
  CharPage& p = touched_page(in);
  p.move_cursor(p.cursor_row(), p.cursor_column() - 1);
}

void cursor_right(Interpreter& in, std::uint8_t) {
  CharPage& p = touched_page(in);
  p.move_cursor(p.cursor_row(), p.cursor_column() + 1);
}

void tab(Interpreter& in, std::uint8_t) {
  touched_page(in).tab_forward();
}

void back_tab(Interpreter& in, std::uint8_t) {
  touched_page(in).tab_back();
}

void line_feed(Interpreter& in, std::uint8_t) {
  touched_page(in).cursor_down();
}

void cursor_up(Interpreter& in, std::uint8_t) {
  touched_page(in).cursor_up_wrapping();
}

void cursor_down_wrapping(Interpreter& in, std::uint8_t) {
  touched_page(in).cursor_down_wrapping();
}

void carriage_return(Interpreter& in, std::uint8_t) {
  CharPage& p = touched_page(in);
  p.place_cursor(p.cursor_row(), 0);
}

void cursor_home(Interpreter& in, std::uint8_t) {
  touched_page(in).cursor_home();
}

void clear_page(Interpreter& in, std::uint8_t) {
  touched_page(in).clear_page();
}

void clear_to_end_of_page(Interpreter& in, std::uint8_t) {
  touched_page(in).clear_to_end_of_page();
}

void clear_to_end_of_line(Interpreter& in, std::uint8_t) {
  touched_page(in).clear_to_end_of_line();
}

void clear_line(Interpreter& in, std::uint8_t) {
  touched_page(in).clear_line();
}

void insert_line(Interpreter& in, std::uint8_t) {
  touched_page(in).insert_line();
}

void delete_line(Interpreter& in, std::uint8_t) {
  touched_page(in).delete_line();
}

void insert_char(Interpreter& in, std::uint8_t) {
  touched_page(in).insert_char();
}

void delete_char(Interpreter& in, std::uint8_t) {
  touched_page(in).delete_char();
}

void attribute_bit_off(Interpreter& in, std::uint8_t) {
  CharPage& p = in.page();
  p.set_attribute(static_cast<std::uint16_t>(p.attribute() & ~cell_bits::kReverseAlt));
}

void attribute_bit_on(Interpreter& in, std::uint8_t) {
  CharPage& p = in.page();
  p.set_attribute(static_cast<std::uint16_t>(p.attribute() | cell_bits::kReverseAlt));
}

void select_alternate_set(Interpreter& in, std::uint8_t last) {
  // The remembered value 1 selects the line-drawing set, 0 the normal one.
  const bool graphics = in.alternate_set[last == 'D' ? 0 : 1] != 0;
  CharPage& p = in.page();
  const std::uint16_t a = p.attribute();
  p.set_attribute(
      static_cast<std::uint16_t>(graphics ? a | cell_bits::kGraphics : a & ~cell_bits::kGraphics));
}

void columns(Interpreter& in, std::uint8_t last) {
  const int wanted = last == ';' ? 132 : 80;
  CharPage& p = touched_page(in);
  p.change_columns(wanted);
  if (in.ui.columns_changed) in.ui.columns_changed(wanted);
}

void show_page(Interpreter& in, std::uint8_t last) {
  if (!in.screen.switch_page(last - '0')) {
    vestra::messages::show_notice(kClientCaption, "Can't allocate memory for new screen",
                                  vestra::messages::Icon::Warning);
    return;
  }
  in.screen_touched = true;
}

void toggle_page(Interpreter& in, std::uint8_t) {
  const int next = in.screen.current_index() == 0 ? 1 : 0;
  if (!in.screen.switch_page(next)) {
    vestra::messages::show_notice(kClientCaption, "Can't allocate memory for new screen",
                                  vestra::messages::Icon::Warning);
    return;
  }
  in.screen_touched = true;
}

void answer_page(Interpreter& in, std::uint8_t) {
  in.replies.send_byte(static_cast<std::uint8_t>('0' + in.screen.current_index()));
}

void restore_keys(Interpreter& in, std::uint8_t) {
  in.keys.restore_defaults();
}

}  // namespace veslink::handlers
