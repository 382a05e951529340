// Command dispatch of the terminal window.
#include "client/terminal/terminal_win.h"

#include "platform/events/posted_events.h"

namespace veslink {

TerminalWin::TerminalWin(const QString& title, QWidget* parent) : QWidget(parent) {
  setObjectName("TerminalWin");
  setWindowTitle(title);
  hide();
}

void TerminalWin::set_command_handler(int command_id, CommandHandler handler) {
  handlers_[command_id] = std::move(handler);
}

bool TerminalWin::event(QEvent* e) {
  if (e->type() == vestra::events::CommandEvent::type()) {
    auto* command = static_cast<vestra::events::CommandEvent*>(e);
    if (auto it = handlers_.find(command->command_id()); it != handlers_.end() && it->second)
      it->second();
    return true;
  }
  return QWidget::event(e);
}

}  // namespace veslink
