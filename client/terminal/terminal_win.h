// TerminalWin: the terminal-mode window, an MDI child of the main window's
// work area. It is created hidden at start-up, lives until exit and is the
// target of the transport notifications, the Connect command and the posted
// input-wait requests: commands and private messages posted to it run the
// handlers registered for their ids. Shown (terminal mode) it paints the
// current page of the character screen, repainting only the cells that
// changed, and turns keys, mouse actions, Copy, Paste and its close box into
// what the host's terminal dialect expects.
#pragma once

#include <QFont>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <string_view>

#include "client/terminal/terminal_mouse.h"
#include "client/terminal/terminal_painter.h"

class QMdiSubWindow;

namespace veslink {

class CharScreen;
class FunctionKeys;

class TerminalWin : public QWidget {
  Q_OBJECT
 public:
  TerminalWin(const QString& title, CharScreen& screen, QWidget* parent = nullptr);

  using CommandHandler = std::function<void()>;
  // WM_COMMAND ids (Connect) and WM_USER + n messages (the input waits).
  void set_command_handler(int command_id, CommandHandler handler);
  void set_user_message_handler(int number, CommandHandler handler);

  // What the window needs from the rest of the client. Empty members do
  // without: no sender sends nothing, no `connected` reads as connected.
  struct Hooks {
    // host_send_byte: false when the byte was dropped (not connected).
    std::function<bool(unsigned char)> send_byte;
    std::function<bool()> connected;
    std::function<bool()> gui_mode;
    // WM_CLOSE posted to the main window (closing while not connected).
    std::function<void()> close_main;
    std::function<void()> beep;
    // Selection mode began (true) or ended (false): the main window's title.
    std::function<void(bool)> selection_mode;
    // Milliseconds of a steady clock (tests give their own).
    std::function<std::int64_t()> now_ms;
  };
  void set_hooks(Hooks hooks);
  void set_byte_sender(std::function<bool(unsigned char)> sender) {
    hooks_.send_byte = std::move(sender);
  }
  // Where the key strings come from (the process's tables by default).
  void set_function_keys(const FunctionKeys& keys) { keys_ = &keys; }

  // Enhanced mode: the host program understands the client's terminal
  // extensions (mouse reports, the close key).
  bool enhanced_mode() const { return enhanced_mode_; }
  void set_enhanced_mode(bool on);

  void set_terminal_font(const QFont& font, int char_width, int line_height);
  const CellGeometry& cell_geometry() const { return cells_; }

  // Invalidates what changed on the current page since the last refresh,
  // and the caret's old and new cells.
  void refresh();
  // Repaints everything (colours or fonts changed).
  void repaint_all();

  // Terminal mode: the window in its frame, sized to the page and centred in
  // the work area (the main window grows when the work area is too small),
  // then activated. GUI mode hides it.
  void show_terminal();
  void hide_terminal();
  // The page is 80 or 132 columns wide: the window follows.
  void columns_changed();

  // The host's cursor on or off (ESC GRAVE 1 and 0); the connection's caret.
  void set_cursor_visible(bool on);
  void set_caret_enabled(bool on);
  CaretShape caret_shape() const;

  // Edit -> Copy: selection mode until a rectangle is copied or dropped.
  void start_selection();
  bool selecting() const { return selection_mode_; }
  // Edit -> Paste: the clipboard's text typed to the host, line feeds left out.
  void paste();
  // The close box, the system menu, and the main window's first close.
  void request_close();

  // The cell a window position stands for (mouse reports).
  CellPos cell_at(QPoint pos) const;

  QSize sizeHint() const override;

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool focusNextPrevChild(bool next) override;

 private:
  bool connected() const { return !hooks_.connected || hooks_.connected(); }
  bool gui_mode() const { return hooks_.gui_mode && hooks_.gui_mode(); }
  std::int64_t now() const;
  void beep();
  void send(std::string_view bytes);
  void mouse_button(QMouseEvent* e, bool double_click);
  CellPos pointer_cell(QPoint pos) const;  // the cell under the pointer, not shifted
  void press_button_run(CellPos cell);
  void release_button_run();
  void end_selection(bool copy);
  void update_cells(int row, int first, int last);
  void update_caret();
  QMdiSubWindow* frame() const;

  CharScreen& screen_;
  const FunctionKeys* keys_;
  std::map<int, CommandHandler> handlers_;
  std::map<int, CommandHandler> user_handlers_;
  Hooks hooks_;
  bool enhanced_mode_ = false;
  QFont font_;
  CellGeometry cells_;
  TerminalMouse mouse_;

  bool cursor_visible_ = true;  // the host's choice
  bool caret_enabled_ = true;   // the connection's
  CellPos caret_cell_{-1, -1};  // where the caret was last painted

  bool selection_mode_ = false;
  bool selection_dragging_ = false;
  CellPos selection_anchor_;
  CellRect selection_;

  int pressed_row_ = -1;  // the button run drawn pressed
  int pressed_first_ = -1;
  int pressed_last_ = -1;
};

}  // namespace veslink
