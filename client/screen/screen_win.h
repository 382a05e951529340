// ScreenWin: the native face of one host window. It paints the window's
// background and the caret, turns keys, clicks, the middle button and the
// wheel on its background into event codes for the key queue, and keeps the
// focus rules of the input waits. It fills its frame (VestraMDIWin), or sits
// in the work area itself for a window without a frame.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

class QScrollBar;

namespace veslink {

class ScreenModel;
struct ScreenWindow;

class ScreenWin : public QWidget {
  Q_OBJECT
 public:
  ScreenWin(ScreenModel& model, ScreenWindow& window, QWidget* parent = nullptr);

  // The host window shown; null once the model has let go of it (the widget
  // itself goes a moment later).
  ScreenWindow* host_window() const { return window_; }
  void detach();
  ScreenModel& model() const { return model_; }

  // Outside GUI mode a host window that gets the focus gives it back here.
  std::function<void()> focus_terminal;

  // The caret came, moved or went: repaint its cell and blink while it is here.
  void caret_changed();
  // The window's own vertical scroll bar (window flag 0x40), shown or not.
  void set_scroll_bar(bool shown, int width);
  QScrollBar* scroll_bar() const { return scroll_bar_; }

  // The key path of the window, also for keys its frame receives.
  void handle_key(QKeyEvent* e);

  // The window's own commands: Cancel (32783) and Back (32788) act as Esc,
  // OK/Finish (32784) as F4, only for the current window during an input
  // wait; Close (61216) is the close request. False when the command may
  // not run now.
  bool command_enabled(int id) const;
  bool run_command(int id);

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void push(std::int16_t code, bool auto_repeat = false, bool shift = false);
  // Sets the click values the replies read: the window's cell plus the
  // pointer's cell, no target.
  void set_click(QPoint pos);
  bool middle_enter(QMouseEvent* e);
  void scroll_action(int action);
  QRect caret_rect() const;

  ScreenModel& model_;
  ScreenWindow* window_;
  QScrollBar* scroll_bar_ = nullptr;
  QTimer blink_;
  bool blink_on_ = true;
  int wheel_rest_ = 0;
};

}  // namespace veslink
