// The main window and its private messages.
#include "client/app/main_frame.h"

#include <QMdiArea>
#include <QMdiSubWindow>

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
