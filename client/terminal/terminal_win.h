// TerminalWin: the terminal-mode window. It is created hidden at start-up and
// is the target of every transport notification and of the Connect command;
// commands posted to it run the handlers registered for their ids.
#pragma once

#include <QWidget>
#include <functional>
#include <map>

namespace veslink {

class TerminalWin : public QWidget {
  Q_OBJECT
 public:
  explicit TerminalWin(const QString& title, QWidget* parent = nullptr);

  using CommandHandler = std::function<void()>;
  void set_command_handler(int command_id, CommandHandler handler);

 protected:
  bool event(QEvent* e) override;

 private:
  std::map<int, CommandHandler> handlers_;
};

}  // namespace veslink
