// CMainFrame: the client's main window. It holds the work area (an MDI area)
// in which the terminal window and the host windows live, and receives the
// private messages posted to the main window (WM_USER + n).
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <vector>

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

  // A main-menu command: its text, its handler and when it is enabled (the
  // enabling is checked whenever the menu opens and before the command runs).
  struct Command {
    int id;
    QString text;
    std::function<void()> run;
    std::function<bool()> enabled;
  };
  void add_menu(const QString& title, const std::vector<Command>& commands);
  // Runs a command as the menu would: nothing when it is disabled.
  bool run_command(int id);
  bool command_enabled(int id) const;

  // The close box and Exit end here (WM_CLOSE).
  void set_close_handler(std::function<bool()> handler) { close_handler_ = std::move(handler); }
  // Puts a window into the work area as a hidden MDI child.
  QMdiSubWindow* add_work_window(QWidget* window);

  // Shows the main window when the first login dialog ends.
  void first_show();
  // Hides the main window while the login dialog runs.
  void hide_main_window();

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  QMdiArea* work_area_;
  std::map<int, MessageHandler> handlers_;
  std::map<int, Command> commands_;
  std::map<int, QAction*> actions_;
  std::function<bool()> close_handler_;
};

}  // namespace veslink
