// The screen model's entry for the GUI commands of programs, windows,
// frames, fields, input waits and scrolling areas: one named function per
// command, installed as the interpreter's routes. Until the screen model
// exists each answers as the client does for a window or field that does
// not exist (input requests ^^, queries ESC nr ^M) and changes nothing; the
// screen model fills them in.
#pragma once

#include "client/protocol/gui_routes.h"

namespace veslink::screen_commands {

// Programs (the interpreter keeps their numbers and levels meanwhile).
void select_program(const GuiCall& call);  // mpi: base window, browser address
void delete_program(const GuiCall& call);  // mpd: windows, frame resets

// Windows, caret and frame services.
void create_window(const GuiCall& call);        // mcw
void show_window(const GuiCall& call);          // maw
void delete_window(const GuiCall& call);        // mdw
void change_window_flags(const GuiCall& call);  // muw
void set_window_tag(const GuiCall& call);       // mtw
void blank_window_area(const GuiCall& call);    // mxw
void show_caret(const GuiCall& call);           // mcc
void hide_caret(const GuiCall& call);           // mdc
void move_caret(const GuiCall& call);           // mmc
void mail_mark(const GuiCall& call);            // mnm
void frame_services(const GuiCall& call);       // mns
void open_help(const GuiCall& call);            // mnh
void query_value(const GuiCall& call);          // mgv

// Fields and input waits.
void create_field(const GuiCall& call);        // mcf
void set_field_contents(const GuiCall& call);  // maf
void delete_field(const GuiCall& call);        // mdf
void change_field(const GuiCall& call);        // muf
void set_field_help(const GuiCall& call);      // mhf
void field_input(const GuiCall& call);         // mif
void grid_cell_input(const GuiCall& call);     // mid
void window_action_wait(const GuiCall& call);  // mib
void button_choice(const GuiCall& call);       // mir
void character_input(const GuiCall& call);     // mic
void field_value(const GuiCall& call);         // mvf

// Scrolling areas and data grids.
void set_current_row(const GuiCall& call);         // mrc
void mark_grid_row(const GuiCall& call);           // mrh
void add_column_separator(const GuiCall& call);    // mrm
void set_position_indicator(const GuiCall& call);  // mrt
void scroll_rows(const GuiCall& call);             // mrs
void clear_rows(const GuiCall& call);              // mrx

// Puts every function above into the interpreter's routes.
void install(GuiRoutes& routes);

}  // namespace veslink::screen_commands
