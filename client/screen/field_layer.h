// FieldLayer: the fields of the host windows and the input waits on them.
// It carries out the field, input and scrolling-area commands on the screen
// model (creation and reuse, contents, changes, values, rows), lays fields
// out and hands them to their controls, queues the input requests and runs
// each as a nested wait on the key queue, turning how it ends into the
// replies the host expects. Controls report focus changes, button presses,
// area clicks and pastes here. Core code: the controls are reached only
// through FieldUi, the event loop through `wait_for_events`.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "client/protocol/gui_routes.h"
#include "client/screen/field_ui.h"
#include "client/screen/input_result.h"
#include "client/screen/screen_types.h"

namespace veslink {

class ScreenModel;
class Interpreter;

// The data grid's part of the commands; each stays empty until the grid
// exists, and the commands then answer as for a missing grid.
struct GridRoutes {
  // A grid (type 10) or column (11) was created, changed or is going.
  std::function<void(ScreenField&)> field_shown;
  std::function<void(ScreenField&)> field_removed;
  // ESC mid: the column's in-place editor runs the input on `row` and sends
  // the reply; false when there is no grid to run it.
  std::function<bool(ScreenField& column, int row, std::uint32_t flags, std::uint32_t limit)>
      cell_input;
  std::function<void(ScreenField& grid, int row)> current_row;                 // ESC mrc
  std::function<void(ScreenField& grid, int row, bool marked)> mark_row;       // ESC mrh
  std::function<void(ScreenField& grid, int percent)> indicator;               // ESC mrt
  std::function<void(ScreenField& grid, int from, int to, bool down)> scroll;  // ESC mrs
  std::function<void(ScreenField& grid, int from, int to)> clear_rows;         // ESC mrx
  std::function<void(ScreenField& column, bool ascending)> sort_indicator;     // ESC muf S
};

// One posted input request (the private messages WM_USER to WM_USER+4).
struct InputRequest {
  enum class Kind {
    FieldInput = 0,
    WindowAction = 1,
    Character = 2,
    GridCell = 3,
    ButtonChoice = 4
  };
  Kind kind = Kind::FieldInput;
  std::uint32_t window = 0;  // resolved at the command: 1 or 10 and above
  std::uint32_t field = 0;   // I (0: the window's focused field)
  std::uint32_t flags = 0;   // F
  std::uint32_t limit = 0;   // M
  int row = 0;               // Y of ESC mid
};

// What a control must do with a focus it received.
struct FocusVerdict {
  bool keep = true;                     // the field keeps the focus
  ScreenField* back_to = nullptr;       // else the focus goes back here,
  ScreenWindow* back_window = nullptr;  // or onto this window
};

class FieldLayer {
 public:
  explicit FieldLayer(ScreenModel& model);
  FieldLayer(const FieldLayer&) = delete;
  FieldLayer& operator=(const FieldLayer&) = delete;

  ScreenModel& model() { return model_; }
  void set_ui(FieldUi* ui) { ui_ = ui ? ui : &no_ui_; }
  FieldUi& ui() { return *ui_; }
  GridRoutes grid;

  // Posts one input request's message (WM_USER + n) to the terminal window;
  // its handler calls run_requests. Unset: the request runs at once.
  std::function<void(int message)> post_request;
  // Runs the event loop until the key queue changed or the wait was
  // abandoned; false when the application is quitting. Unset: an empty
  // queue ends the wait as a quit would.
  std::function<bool()> wait_for_events;

  // The commands (routes of the interpreter).
  void create_field(const GuiCall& call);            // mcf
  void set_field_contents(const GuiCall& call);      // maf
  void delete_field(const GuiCall& call);            // mdf
  void change_field(const GuiCall& call);            // muf
  void set_field_help(const GuiCall& call);          // mhf
  void field_value(const GuiCall& call);             // mvf
  void field_input(const GuiCall& call);             // mif
  void grid_cell_input(const GuiCall& call);         // mid
  void window_action_wait(const GuiCall& call);      // mib
  void button_choice(const GuiCall& call);           // mir
  void character_input(const GuiCall& call);         // mic
  void set_current_row(const GuiCall& call);         // mrc
  void mark_grid_row(const GuiCall& call);           // mrh
  void add_column_separator(const GuiCall& call);    // mrm
  void set_position_indicator(const GuiCall& call);  // mrt
  void scroll_rows(const GuiCall& call);             // mrs
  void clear_rows(const GuiCall& call);              // mrx

  // The model's notices.
  // The field's contents, flags or colours changed: show it again.
  void field_changed(ScreenField& f);
  // The field is about to go (also with its window).
  void field_removed(ScreenField& f);
  void window_destroyed(ScreenWindow& w);
  // The window's native window exists now, or its cell metrics changed:
  // every field is laid out and shown.
  void window_ready(ScreenWindow& w);
  // GUI mode ended: a pending paste is dropped.
  void gui_mode_left() { pending_paste_.clear(); }

  // Input requests: the posted message's handler runs the queued requests
  // in order, one wait at a time (a request that arrives during a wait runs
  // once it has ended). Cancelling drops the queued ones and abandons the
  // running wait, which then sends nothing.
  void run_requests();
  void cancel_requests();
  bool wait_running() const { return running_ != nullptr; }
  std::size_t requests_queued() const { return requests_.size(); }
  // The field whose control runs its own input (an edit, a radio button or
  // check box), if any.
  ScreenField* input_field() const { return input_field_; }
  bool editing() const;  // an edit's field input runs

  // From the controls.
  // A field's control received the focus from the user.
  FocusVerdict focus_arrived(ScreenField& n);
  // A push button was pressed (mouse down and up inside it, or its
  // shortcut-menu command).
  void push_button_pressed(ScreenField& button);
  // A radio button or check box was clicked.
  void choice_button_clicked(ScreenField& button);
  // A click or double click in a scrolling area at a cell of its window.
  void area_clicked(ScreenField& area, int window_column, int window_row, bool double_click);
  // The area's scroll bar: 1 line up, 2 line down, 3 page up, 4 page down.
  void area_scrolled(ScreenField& area, int selector);
  // The wheel over the area: `notches` up (positive) or down, at most 4.
  void area_wheel(ScreenField& area, int notches);
  // The pointer moves over the window's background with the left button
  // held: a focused push button that looks pressed looks focused again.
  void background_dragged(ScreenWindow& w);
  // The clipboard's text typed into the edit being input (the Paste command).
  void paste(std::string_view text);
  bool paste_pending() const { return !pending_paste_.empty(); }
  // The field's value as ESC mvf sends it.
  std::string value_of(const ScreenField& f);

  // Every field of a window laid out again (a neighbour or metrics changed).
  void lay_out(ScreenWindow& w, ScreenField& f);

 private:
  Interpreter& in();
  void queue(const InputRequest& r);
  void run(const InputRequest& r);
  void run_field_input(const InputRequest& r);
  void run_edit_input(ScreenWindow& w, ScreenField& f, std::uint32_t flags, std::uint32_t limit);
  void run_window_action(const InputRequest& r);
  void run_button_choice(ScreenWindow& w, ScreenField& f);
  void run_character_input(const InputRequest& r);
  // Pops the next code of the running wait: -28 when abandoned, F4's finish
  // as Page Down on a window without OK/Finish.
  std::int16_t next_code(ScreenWindow& w);
  void prepare_window(ScreenWindow& w, bool show_second_icon_window);
  void replay_paste(ScreenField& f);
  void set_click_target(const ScreenField& f);
  // A push button with the default flag was created or updated.
  void default_button_shown(ScreenField& b);
  void show(ScreenField& f);
  bool shows_window(const ScreenWindow& w, const ScreenField& f) const;
  // Field I of the window, or its focused field when I is 0; none without a window.
  static ScreenField* named_or_focused(ScreenWindow* w, std::uint32_t number);
  ScreenField* area_for(ScreenWindow& w, std::uint32_t number, bool grids_too);
  void set_row_flags(ScreenWindow& w, ScreenField& area, int row);

  ScreenModel& model_;
  FieldUi no_ui_;
  FieldUi* ui_ = &no_ui_;
  std::deque<InputRequest> requests_;
  const InputRequest* running_ = nullptr;
  ScreenField* input_field_ = nullptr;
  ScreenWindow* wait_window_ = nullptr;
  std::string pending_paste_;
  std::uint32_t button_counter_ = 0;  // numbers push buttons created with number 0
  bool quit_seen_ = false;            // the running wait's event loop saw the quit
};

}  // namespace veslink
