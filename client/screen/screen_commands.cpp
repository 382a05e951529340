// The screen model's command entries and their installation.
#include "client/screen/screen_commands.h"

namespace veslink::screen_commands {

void select_program(const GuiCall& call) {
  answer_as_missing(call);
}
void delete_program(const GuiCall& call) {
  answer_as_missing(call);
}
void create_window(const GuiCall& call) {
  answer_as_missing(call);
}
void show_window(const GuiCall& call) {
  answer_as_missing(call);
}
void delete_window(const GuiCall& call) {
  answer_as_missing(call);
}
void change_window_flags(const GuiCall& call) {
  answer_as_missing(call);
}
void set_window_tag(const GuiCall& call) {
  answer_as_missing(call);
}
void blank_window_area(const GuiCall& call) {
  answer_as_missing(call);
}
void show_caret(const GuiCall& call) {
  answer_as_missing(call);
}
void hide_caret(const GuiCall& call) {
  answer_as_missing(call);
}
void move_caret(const GuiCall& call) {
  answer_as_missing(call);
}
void mail_mark(const GuiCall& call) {
  answer_as_missing(call);
}
void frame_services(const GuiCall& call) {
  answer_as_missing(call);
}
void open_help(const GuiCall& call) {
  answer_as_missing(call);
}
void query_value(const GuiCall& call) {
  answer_as_missing(call);
}
void create_field(const GuiCall& call) {
  answer_as_missing(call);
}
void set_field_contents(const GuiCall& call) {
  answer_as_missing(call);
}
void delete_field(const GuiCall& call) {
  answer_as_missing(call);
}
void change_field(const GuiCall& call) {
  answer_as_missing(call);
}
void set_field_help(const GuiCall& call) {
  answer_as_missing(call);
}
void field_input(const GuiCall& call) {
  answer_as_missing(call);
}
void grid_cell_input(const GuiCall& call) {
  answer_as_missing(call);
}
void window_action_wait(const GuiCall& call) {
  answer_as_missing(call);
}
void button_choice(const GuiCall& call) {
  answer_as_missing(call);
}
void character_input(const GuiCall& call) {
  answer_as_missing(call);
}
void field_value(const GuiCall& call) {
  answer_as_missing(call);
}
void set_current_row(const GuiCall& call) {
  answer_as_missing(call);
}
void mark_grid_row(const GuiCall& call) {
  answer_as_missing(call);
}
void add_column_separator(const GuiCall& call) {
  answer_as_missing(call);
}
void set_position_indicator(const GuiCall& call) {
  answer_as_missing(call);
}
void scroll_rows(const GuiCall& call) {
  answer_as_missing(call);
}
void clear_rows(const GuiCall& call) {
  answer_as_missing(call);
}

void install(GuiRoutes& routes) {
  using G = GuiCommandId;
  routes[G::SelectProgram] = select_program;
  routes[G::DeleteProgram] = delete_program;
  routes[G::CreateWindow] = create_window;
  routes[G::ShowWindow] = show_window;
  routes[G::DeleteWindow] = delete_window;
  routes[G::ChangeWindowFlags] = change_window_flags;
  routes[G::SetWindowTag] = set_window_tag;
  routes[G::BlankWindowArea] = blank_window_area;
  routes[G::ShowCaret] = show_caret;
  routes[G::HideCaret] = hide_caret;
  routes[G::MoveCaret] = move_caret;
  routes[G::MailMark] = mail_mark;
  routes[G::FrameServices] = frame_services;
  routes[G::OpenHelp] = open_help;
  routes[G::QueryValue] = query_value;
  routes[G::CreateField] = create_field;
  routes[G::SetFieldContents] = set_field_contents;
  routes[G::DeleteField] = delete_field;
  routes[G::ChangeField] = change_field;
  routes[G::SetFieldHelp] = set_field_help;
  routes[G::FieldInput] = field_input;
  routes[G::GridCellInput] = grid_cell_input;
  routes[G::WindowActionWait] = window_action_wait;
  routes[G::ButtonChoice] = button_choice;
  routes[G::CharacterInput] = character_input;
  routes[G::FieldValue] = field_value;
  routes[G::SetCurrentRow] = set_current_row;
  routes[G::MarkGridRow] = mark_grid_row;
  routes[G::AddColumnSeparator] = add_column_separator;
  routes[G::SetPositionIndicator] = set_position_indicator;
  routes[G::ScrollRows] = scroll_rows;
  routes[G::ClearRows] = clear_rows;
}

}  // namespace veslink::screen_commands
