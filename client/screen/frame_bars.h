// The main window's toolbar and status bar with the panes the host writes
// (message, user, connection, 103, 104, mail), the menu-bar switch, and the
// title. The host's frame texts arrive here from the screen model; the
// commands behind the toolbar's buttons stay the main window's.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <map>
#include <string>

#include "client/screen/frame_texts.h"

class QLabel;
class QMainWindow;
class QStatusBar;
class QToolBar;

namespace veslink {

class FrameBars : public QObject {
  Q_OBJECT
 public:
  struct Commands {
    std::function<bool(int)> enabled;  // whether a command may run now
    std::function<void(int)> run;
  };
  // `mail_pane`: the "MAIL" pane exists (the mail notification setting).
  FrameBars(QMainWindow& main, bool mail_pane, Commands commands);

  // Shows the host's texts: panes, status message and its style, the mail
  // mark, and the three bars' switches.
  void apply(const FrameTexts& texts);

  QToolBar* toolbar() const { return toolbar_; }
  QStatusBar* status_bar() const;
  // A pane by its id (0 is the message pane); null when it does not exist.
  QLabel* pane(int id) const;
  bool menu_bar_shown() const { return menu_bar_shown_; }
  // Enables the buttons whose commands may run now.
  void refresh_enabled();

 private:
  void build_toolbar();
  void build_status_bar(bool mail_pane);
  void set_menu_bar_shown(bool shown);

  QMainWindow& main_;
  Commands commands_;
  QPointer<QToolBar> toolbar_;
  std::map<int, QPointer<QLabel>> panes_;
  bool menu_bar_shown_ = true;
  bool message_raised_ = false;
  QTimer idle_;  // the buttons follow their commands' enabling
};

}  // namespace veslink
