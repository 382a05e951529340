// CMainFrame: the client's main window. It holds the work area (an MDI area)
// in which the terminal window and the host windows live, and receives the
// private messages posted to the main window (WM_USER + n).
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>

class QMdiArea;
class QMdiSubWindow;

namespace veslink {

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  CMainFrame();

  using MessageHandler = std::function<void()>;
  void set_user_message_handler(int number, MessageHandler handler);

  QMdiArea* work_area() const { return work_area_; }
  // Puts a window into the work area as a hidden MDI child.
  QMdiSubWindow* add_work_window(QWidget* window);

  // Shows the main window when the first login dialog ends.
  void first_show();
  // Hides the main window while the login dialog runs.
  void hide_main_window();

 protected:
  bool event(QEvent* e) override;

 private:
  QMdiArea* work_area_;
  std::map<int, MessageHandler> handlers_;
};

}  // namespace veslink
