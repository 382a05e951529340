// The screen model's entry for the GUI commands of programs, windows,
// frames, fields, input waits and scrolling areas: one named function per
// command, installed as the interpreter's routes. The program, window,
// caret and frame commands act on a ScreenModel; the field, input and
// scrolling commands on its FieldLayer.
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

// Fields, input waits, scrolling areas and data grids: the model's
// FieldLayer carries them out (field_layer.h).

// Puts every command above into the interpreter's routes, acting on `model`
// and its field layer.
void install(GuiRoutes& routes, ScreenModel& model);
// The same on the process's screen model.
void install(GuiRoutes& routes);

}  // namespace veslink::screen_commands
