// ScreenModel: the host's programs, windows and fields as the client keeps
// them, and the rules that tie them to the screen: the top-level root
// window and its growth, finding windows and fields, creating, showing,
// hiding and destroying windows (children first), the visible count, the
// current window, the caret, the key queue and the frame's texts. Core code:
// the native windows are reached only through ScreenUi.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "client/protocol/host_commands.h"
#include "client/screen/frame_texts.h"
#include "client/screen/key_queue.h"
#include "client/screen/screen_types.h"
#include "client/screen/screen_ui.h"

namespace vestra::registry {
class Registry;
}

namespace veslink {

class Interpreter;
class HostReplies;
class FieldLayer;

// What the frame commands hand to modules that own them: the menu tree, the
// browser pane, the data grid and the colour sets. Each may be left empty
// until its module exists; the command then does only its own part.
struct ScreenServices {
  std::function<void(std::string_view)> set_root_label;          // the main tree's root
  std::function<void()> reset_menu_tree;                         // the last program went
  std::function<void(std::string_view)> set_home_or_background;  // browser home or picture
  std::function<void(int kind)> progress_window;                 // 0 closes it
  std::function<void(std::string_view)> data_area_changed;       // load that area's colours
  std::function<void(ScreenWindow&)> open_secondary_tree;
  // Function key 6: the local utility program.
  std::function<void()> start_local_utility;
  // The browser pane's address, nothing while there is no pane; and showing
  // the pane at an address (empty: cleared).
  std::function<std::optional<std::string>()> browser_address;
  std::function<void(std::string_view)> show_browser_at;
  // The data grid of a window answers the view query with its filter and
  // sort replies; false when it has nothing to send.
  std::function<bool(ScreenWindow&, HostReplies&)> send_grid_view;
};

// The one block caret of the host windows.
struct Caret {
  ScreenWindow* window = nullptr;
  int column = 0;
  int row = 0;
};

class ScreenModel {
 public:
  explicit ScreenModel(Interpreter& in);
  ~ScreenModel();
  ScreenModel(const ScreenModel&) = delete;
  ScreenModel& operator=(const ScreenModel&) = delete;

  Interpreter& interpreter() { return in_; }
  // The window layer; without one the model keeps its state alone.
  void set_ui(ScreenUi* ui) { ui_ = ui ? ui : &no_ui_; }
  ScreenUi& ui() { return *ui_; }
  // Where saved window sizes and the help directory are read.
  void set_registry(vestra::registry::Registry* reg) { registry_ = reg; }
  vestra::registry::Registry* registry() { return registry_; }
  ScreenServices services;
  // The client's bell.
  void bell();

  // Programs.
  HostProgram* current_program();
  static HostProgram* host(ProgramRecord* record);
  // The program whose base window is shown; ESC mpi keeps this in step.
  void program_became_current(HostProgram& program);

  // The top-level root window: outside all programs, never shown, grows to
  // cover every shown window.
  ScreenWindow& root() { return *root_; }
  // Its columns and rows (and scroll-bar flag): the base work size.
  void enlarge_root(ScreenWindow& shown);

  // Window 1 is the base window; 10 and above are searched in the current
  // program; other numbers name no window.
  ScreenWindow* find_window(std::uint32_t number);
  // As find_window, with 0 meaning the current window.
  ScreenWindow* window_or_current(std::uint32_t number);
  static ScreenField* find_field(ScreenWindow& window, int type, std::uint32_t number);

  // The parent ESC mcw gives a new window of `program` for its P value.
  ScreenWindow* choose_parent(HostProgram& program, std::uint32_t p);
  // Adds a window at the head of the program's list, below `parent`.
  ScreenWindow& add_window(HostProgram& program, ScreenWindow* parent,
                           std::unique_ptr<ScreenWindow> window);
  // The base window of a level 0 or 1 program: one row of 80 cells at row 22.
  ScreenWindow& add_base_window(HostProgram& program);

  // Creates the native window on first use (hidden), and shows it unless it
  // is hidden; an existing native window only takes the title. False when
  // the native window could not be made.
  bool show_window(ScreenWindow& window, std::optional<std::string_view> title);
  bool ensure_native(ScreenWindow& window);
  // Shows a hidden window: root growth, visible count, the terminal window
  // gives way, the current window takes the focus, the main window's first
  // show.
  void reveal(ScreenWindow& window);
  // Hides a shown window (the flag is set, the old-style flag cleared).
  void hide(ScreenWindow& window);
  // Destroys the window's children, its fields and native window, and
  // unlinks it from its program (a base window is only cleared).
  void destroy_window(ScreenWindow& window);
  // Removes one field; a data grid takes its columns with it.
  void delete_field(ScreenField& field);
  // ESC muw: set or clear flag bits with their side effects.
  void change_window_flags(ScreenWindow& window, std::uint32_t bits, bool set);

  // Everything below the root hidden (the browser pane in front) and shown
  // again, parents before children; the current window's frame is minimised
  // instead of hidden.
  void hide_all_windows();
  void show_all_windows();

  // The shown windows, the terminal window counted when it is shown.
  int visible_count() const;

  // The window that receives the next input wait, and the last one with input.
  ScreenWindow* current_window() const { return current_window_; }
  void set_current_window(ScreenWindow* window);
  ScreenWindow* last_input_window() const { return last_input_window_; }
  void set_last_input_window(ScreenWindow* window) { last_input_window_ = window; }

  // The user closes a host window's frame: the host is asked, the window is
  // closed at once (a hidden one), or the bell refuses.
  CloseDecision close_requested(ScreenWindow& window);

  // The caret: shown in one window at a time.
  Caret caret;
  void show_caret(ScreenWindow& window);
  void destroy_caret();
  void move_caret(int column, int row);

  KeyQueue keys;
  // The fields of the windows and the input waits on them.
  FieldLayer& fields() { return *fields_; }
  FrameTexts frame;
  void frame_changed() { ui_->frame_changed(frame); }

  // The help directory, read once per run.
  const std::string& help_directory();

  // GUI mode ended: the caret goes and typed-ahead keys are forgotten.
  void gui_mode_left();

  // Every window of every program below the root, for tests and layout.
  template <class F>
  void for_each_window(F f) {
    walk(*root_, f);
  }

 private:
  void program_leaving(HostProgram& program);
  void unlink(ScreenWindow& window);
  void forget(ScreenWindow& window);
  template <class F>
  static void walk(ScreenWindow& w, F& f) {
    for (ScreenWindow* c : std::vector<ScreenWindow*>(w.children)) {
      f(*c);
      walk(*c, f);
    }
  }

  Interpreter& in_;
  std::unique_ptr<FieldLayer> fields_;
  ScreenUi no_ui_;
  ScreenUi* ui_ = &no_ui_;
  vestra::registry::Registry* registry_ = nullptr;
  std::unique_ptr<ScreenWindow> root_;
  HostProgram* base_program_ = nullptr;  // whose base window is shown
  ScreenWindow* current_window_ = nullptr;
  ScreenWindow* last_input_window_ = nullptr;
  int visible_windows_ = 0;
  int full_screen_windows_ = 0;
  std::optional<std::string> help_directory_;
  std::vector<ScreenWindow*> hidden_for_pane_;  // visible before hide_all_windows
};

// The screen model of the process, on the process's interpreter.
ScreenModel& screen_model();

}  // namespace veslink
