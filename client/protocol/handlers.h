// The handler routines the EscapeTable names. Each is called with the last
// byte of its sequence; one that reads arguments sets the byte hook to its
// own reader and finishes when the reader clears it.
#pragma once

#include <cstdint>

#include "client/protocol/gui_routes.h"

namespace veslink {

class Interpreter;

namespace handlers {

// Character-terminal commands on the current page (terminal_handlers.cpp).
void bell(Interpreter&, std::uint8_t);
void cursor_left(Interpreter&, std::uint8_t);
void tab(Interpreter&, std::uint8_t);
void back_tab(Interpreter&, std::uint8_t);
void line_feed(Interpreter&, std::uint8_t);
void cursor_up(Interpreter&, std::uint8_t);
void cursor_right(Interpreter&, std::uint8_t);
void carriage_return(Interpreter&, std::uint8_t);
void cursor_down_wrapping(Interpreter&, std::uint8_t);
void cursor_home(Interpreter&, std::uint8_t);
void clear_page(Interpreter&, std::uint8_t);
void clear_to_end_of_page(Interpreter&, std::uint8_t);
void clear_to_end_of_line(Interpreter&, std::uint8_t);
void clear_line(Interpreter&, std::uint8_t);
void insert_line(Interpreter&, std::uint8_t);
void delete_line(Interpreter&, std::uint8_t);
void insert_char(Interpreter&, std::uint8_t);
void delete_char(Interpreter&, std::uint8_t);
void attribute_bit_off(Interpreter&, std::uint8_t);
void attribute_bit_on(Interpreter&, std::uint8_t);
void select_alternate_set(Interpreter&, std::uint8_t);
void columns(Interpreter&, std::uint8_t);
void show_page(Interpreter&, std::uint8_t);
void toggle_page(Interpreter&, std::uint8_t);
void answer_page(Interpreter&, std::uint8_t);
void restore_keys(Interpreter&, std::uint8_t);

// Character-terminal commands that read arguments (terminal_arguments.cpp).
void cursor_address(Interpreter&, std::uint8_t);          // ESC = r c
void cursor_decimal(Interpreter&, std::uint8_t);          // ESC a rows R cols C
void set_attribute(Interpreter&, std::uint8_t);           // ESC G attr
void extended_attribute(Interpreter&, std::uint8_t);      // ESC g b1 b2
void graphics(Interpreter&, std::uint8_t);                // ESC H byte
void repeat_blank(Interpreter&, std::uint8_t);            // ESC f count
void repeat_char(Interpreter&, std::uint8_t);             // ESC o char count
void remember_alternate_set(Interpreter&, std::uint8_t);  // ESC cB n, ESC cC n
void program_key(Interpreter&, std::uint8_t);             // ESC z key text terminator
void program_key_set(Interpreter&, std::uint8_t);         // ESC Z set key text DEL
void discard_to_return(Interpreter&, std::uint8_t);       // ESC F text ^M
void discard_two(Interpreter&, std::uint8_t);             // ESC A b1 b2
void discard_four(Interpreter&, std::uint8_t);            // ESC c8 b1 b2 b3 b4

// The GUI family outside ESC m (local_commands.cpp, message_box_commands.cpp).
void identify(Interpreter&, std::uint8_t);          // ESC space
void enhanced_on(Interpreter&, std::uint8_t);       // ESC ~P
void enhanced_off(Interpreter&, std::uint8_t);      // ESC ~4
void answer_zero(Interpreter&, std::uint8_t);       // ESC vf
void launch_program(Interpreter&, std::uint8_t);    // ESC vx
void send_local_file(Interpreter&, std::uint8_t);   // ESC dG
void print_to_file(Interpreter&, std::uint8_t);     // ESC dP
void message_box(Interpreter&, std::uint8_t);       // ESC vA
void confirmation_box(Interpreter&, std::uint8_t);  // ESC vC

// ESC m commands (gui_commands.cpp): read the parameters, then run.
void start_gui_command(Interpreter& in, GuiCommandId id);
template <GuiCommandId Id>
void gui_command(Interpreter& in, std::uint8_t) {
  start_gui_command(in, Id);
}

}  // namespace handlers
}  // namespace veslink
