// Posted window messages on Qt: a command id (WM_COMMAND) or a private message
// number (WM_USER + n) delivered to a QObject after the current event, in the
// order posted, as the platform's message queue would deliver them.
#pragma once

#include <QEvent>
#include <QObject>

namespace vestra::events {

class CommandEvent : public QEvent {
 public:
  explicit CommandEvent(int command_id) : QEvent(type()), command_id_(command_id) {}
  int command_id() const { return command_id_; }
  static QEvent::Type type();

 private:
  int command_id_;
};

class UserMessageEvent : public QEvent {
 public:
  explicit UserMessageEvent(int number) : QEvent(type()), number_(number) {}
  int number() const { return number_; }  // n of WM_USER + n
  static QEvent::Type type();

 private:
  int number_;
};

void post_command(QObject* target, int command_id);
void post_user_message(QObject* target, int number);

}  // namespace vestra::events
