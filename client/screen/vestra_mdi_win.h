// VestraMDIWin: the frame of a host window in the main window's work area.
// It carries the caption, icon and sizing border, refuses a size below the
// window's computed one, turns its close box into the host's close request,
// passes keys to its ScreenWin, and remembers the size the user gives a
// tagged window.
#pragma once

#include <QMdiSubWindow>
#include <QPointer>
#include <functional>

namespace veslink {

class ScreenWin;
class ScreenModel;
struct ScreenWindow;

class VestraMDIWin : public QMdiSubWindow {
  Q_OBJECT
 public:
  VestraMDIWin(ScreenModel& model, ScreenWindow& window, ScreenWin* view,
               QWidget* parent = nullptr);

  ScreenWin* view() const { return view_; }
  // Null once the model has let go of the window.
  ScreenWindow* host_window() const { return window_; }
  void detach();

  // The frame size the host's geometry gives (the smallest the user may
  // make it), and the size after a saved size enlarged it.
  void set_computed_size(QSize computed) { computed_ = computed; }
  QSize computed_size() const { return computed_; }

  // Moves and sizes the frame for the host; not a user's resize.
  void place(const QRect& rect);

  // A user resize of a tagged window: store or drop its "WindowSize".
  std::function<void(VestraMDIWin&, QSize)> user_resized;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  ScreenModel& model_;
  ScreenWindow* window_;
  QPointer<ScreenWin> view_;
  QSize computed_;
  bool placing_ = false;
};

}  // namespace veslink
