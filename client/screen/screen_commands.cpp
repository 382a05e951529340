// The screen commands' installation, and the field, input and scrolling
// entries that still answer as for missing objects.
#include "client/screen/screen_commands.h"

#include "client/screen/screen_model.h"

namespace veslink::screen_commands {

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

void install(GuiRoutes& routes, ScreenModel& model) {
  using G = GuiCommandId;
  ScreenModel* m = &model;
  auto bind = [m](void (*f)(ScreenModel&, const GuiCall&)) {
    return [m, f](const GuiCall& call) { f(*m, call); };
  };
  routes[G::SelectProgram] = bind(select_program);
  routes[G::DeleteProgram] = bind(delete_program);
  routes[G::CreateWindow] = bind(create_window);
  routes[G::ShowWindow] = bind(show_window);
  routes[G::DeleteWindow] = bind(delete_window);
  routes[G::ChangeWindowFlags] = bind(change_window_flags);
  routes[G::SetWindowTag] = bind(set_window_tag);
  routes[G::BlankWindowArea] = bind(blank_window_area);
  routes[G::ShowCaret] = bind(show_caret);
  routes[G::HideCaret] = bind(hide_caret);
  routes[G::MoveCaret] = bind(move_caret);
  routes[G::MailMark] = bind(mail_mark);
  routes[G::FrameServices] = bind(frame_services);
  routes[G::OpenHelp] = bind(open_help);
  routes[G::QueryValue] = bind(query_value);
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

void install(GuiRoutes& routes) {
  install(routes, screen_model());
}

}  // namespace veslink::screen_commands
