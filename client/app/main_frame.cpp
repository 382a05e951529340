// The main window and its private messages.
#include "client/app/main_frame.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

#include "platform/events/posted_events.h"

namespace veslink {

CMainFrame::CMainFrame() : work_area_(new QMdiArea(this)) {
  setObjectName("CMainFrame");
  setWindowTitle("VESTRA-Nu");
  setCentralWidget(work_area_);
  resize(800, 600);
}

void CMainFrame::set_user_message_handler(int number, MessageHandler handler) {
  handlers_[number] = std::move(handler);
}

QMdiSubWindow* CMainFrame::add_work_window(QWidget* window) {
  QMdiSubWindow* sub = work_area_->addSubWindow(window);
  sub->hide();
  return sub;
}

void CMainFrame::add_menu(const QString& title, const std::vector<Command>& commands) {
  QMenu* menu = menuBar()->addMenu(title);
  for (const Command& c : commands) {
    if (c.id == 0) {
      menu->addSeparator();
      continue;
    }
    commands_[c.id] = c;
    QAction* action = menu->addAction(c.text);
    action->setData(c.id);
    actions_[c.id] = action;
    connect(action, &QAction::triggered, this, [this, id = c.id] { run_command(id); });
  }
  connect(menu, &QMenu::aboutToShow, this, [this, menu] {
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) a->setEnabled(command_enabled(a->data().toInt()));
  });
}

bool CMainFrame::command_enabled(int id) const {
  auto it = commands_.find(id);
  return it != commands_.end() && (!it->second.enabled || it->second.enabled());
}

bool CMainFrame::run_command(int id) {
  if (!command_enabled(id)) return false;
  const Command& c = commands_.at(id);
  if (c.run) c.run();
  return true;
}

void CMainFrame::closeEvent(QCloseEvent* e) {
  if (close_handler_ && !close_handler_()) {
    e->ignore();
    return;
  }
  QMainWindow::closeEvent(e);
}

void CMainFrame::first_show() {
  show();
  raise();
  activateWindow();
}

void CMainFrame::hide_main_window() {
  hide();
}

bool CMainFrame::event(QEvent* e) {
  if (e->type() == vestra::events::UserMessageEvent::type()) {
    auto* message = static_cast<vestra::events::UserMessageEvent*>(e);
    if (auto it = handlers_.find(message->number()); it != handlers_.end() && it->second)
      it->second();
    return true;
  }
  return QMainWindow::event(e);
}

}  // namespace veslink
