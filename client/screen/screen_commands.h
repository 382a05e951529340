// The screen model's entry for the GUI commands of programs, windows,
// frames, fields, input waits and scrolling areas: one named function per
// command, installed as the interpreter's routes. The program, window,
// caret and frame commands act on a ScreenModel; the field, input and
// scrolling commands still answer as the client does for a window or field
// that does not exist (input requests ^^, queries ESC nr ^M) until the field
// controls fill them in.
#pragma once

#include "client/protocol/gui_routes.h"

namespace veslink {
class ScreenModel;
}

namespace veslink::screen_commands {

// Programs: the interpreter has already updated the program list (and sent
// the identification); these look after base windows and the frame.
void select_program(ScreenModel& m, const GuiCall& call);  // mpi
void delete_program(ScreenModel& m, const GuiCall& call);  // mpd

// Windows and the caret.
void create_window(ScreenModel& m, const GuiCall& call);        // mcw
void show_window(ScreenModel& m, const GuiCall& call);          // maw
void delete_window(ScreenModel& m, const GuiCall& call);        // mdw
void change_window_flags(ScreenModel& m, const GuiCall& call);  // muw
void set_window_tag(ScreenModel& m, const GuiCall& call);       // mtw
void blank_window_area(ScreenModel& m, const GuiCall& call);    // mxw
void show_caret(ScreenModel& m, const GuiCall& call);           // mcc
void hide_caret(ScreenModel& m, const GuiCall& call);           // mdc
void move_caret(ScreenModel& m, const GuiCall& call);           // mmc

// Frame services, help and queries.
void mail_mark(ScreenModel& m, const GuiCall& call);       // mnm
void frame_services(ScreenModel& m, const GuiCall& call);  // mns
void open_help(ScreenModel& m, const GuiCall& call);       // mnh
void query_value(ScreenModel& m, const GuiCall& call);     // mgv

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

// Puts every function above into the interpreter's routes, the program,
// window and frame commands acting on `model`.
void install(GuiRoutes& routes, ScreenModel& model);
// The same on the process's screen model.
void install(GuiRoutes& routes);

}  // namespace veslink::screen_commands
