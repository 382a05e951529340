// CMainFrame: the viewer window. Menu 128 and its accelerators, the five
// toolbar bands (with the page number box), the status panes, and the page,
// zoom, hold-heading, Go To, Delete and Close commands around the web view.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <map>
#include <string>

#include "platform/registry/registry.h"

namespace repscope::app {

class CMfcieView;
class PageNumberBox;
class ViewerSession;

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  CMainFrame(ViewerSession& session, vestra::registry::Registry& registry);

  CMfcieView* view() const { return view_; }
  PageNumberBox* page_box() const { return page_box_; }
  QAction* action(int command) const;
  QLabel* pane(int index) const { return panes_[index]; }

  // Runs a command of the menu, the toolbars or the accelerators.
  void run_command(int command);

  // Shows page `page` (file mode): make it, put its number in the box,
  // navigate. A failure keeps the previous page and shows the message.
  void show_page(int page);

  void widen_range(int known_pages);
  // Pane 3 "Page: %s of %d" (with "+" while the report grows), pane 0
  // "Done" or "Spooling report", pane 1 the stylesheet kind once known.
  void update_status(const QString& extra = QString());
  void update_command_states();
  void show_error(const std::string& text);

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QAction* add_command(int command, const QString& text, const QKeySequence& key = {},
                       const QString& label = {});
  void build_menus();
  void build_toolbars();
  void build_status_bar();
  void on_page_enter();
  void on_updown_released();
  void on_goto();
  void on_zoom(int percent);
  void on_hold_heading();
  void on_delete();
  void on_about();
  void reload_current_page();

  ViewerSession& session_;
  vestra::registry::Registry& registry_;
  CMfcieView* view_ = nullptr;
  PageNumberBox* page_box_ = nullptr;
  QLabel* panes_[4] = {};
  std::map<int, QAction*> actions_;
  bool deleting_ = false;
  bool closed_ = false;  // the clean-up has run
  bool kind_shown_ = false;
};

}  // namespace repscope::app
