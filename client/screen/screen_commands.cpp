// The screen commands' installation.
#include "client/screen/screen_commands.h"

#include "client/screen/field_layer.h"
#include "client/screen/screen_model.h"

namespace veslink::screen_commands {

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
  FieldLayer* fields = &model.fields();
  auto field = [fields](void (FieldLayer::*f)(const GuiCall&)) {
    return [fields, f](const GuiCall& call) { (fields->*f)(call); };
  };
  routes[G::CreateField] = field(&FieldLayer::create_field);
  routes[G::SetFieldContents] = field(&FieldLayer::set_field_contents);
  routes[G::DeleteField] = field(&FieldLayer::delete_field);
  routes[G::ChangeField] = field(&FieldLayer::change_field);
  routes[G::SetFieldHelp] = field(&FieldLayer::set_field_help);
  routes[G::FieldInput] = field(&FieldLayer::field_input);
  routes[G::GridCellInput] = field(&FieldLayer::grid_cell_input);
  routes[G::WindowActionWait] = field(&FieldLayer::window_action_wait);
  routes[G::ButtonChoice] = field(&FieldLayer::button_choice);
  routes[G::CharacterInput] = field(&FieldLayer::character_input);
  routes[G::FieldValue] = field(&FieldLayer::field_value);
  routes[G::SetCurrentRow] = field(&FieldLayer::set_current_row);
  routes[G::MarkGridRow] = field(&FieldLayer::mark_grid_row);
  routes[G::AddColumnSeparator] = field(&FieldLayer::add_column_separator);
  routes[G::SetPositionIndicator] = field(&FieldLayer::set_position_indicator);
  routes[G::ScrollRows] = field(&FieldLayer::scroll_rows);
  routes[G::ClearRows] = field(&FieldLayer::clear_rows);
}

void install(GuiRoutes& routes) {
  install(routes, screen_model());
}

}  // namespace veslink::screen_commands
