// Event types of the posted messages, registered once per process.
#include "platform/events/posted_events.h"

#include <QCoreApplication>

namespace vestra::events {

QEvent::Type CommandEvent::type() {
  static const QEvent::Type t = static_cast<QEvent::Type>(QEvent::registerEventType());
  return t;
}

QEvent::Type UserMessageEvent::type() {
  static const QEvent::Type t = static_cast<QEvent::Type>(QEvent::registerEventType());
  return t;
}

void post_command(QObject* target, int command_id) {
  QCoreApplication::postEvent(target, new CommandEvent(command_id));
}

void post_user_message(QObject* target, int number) {
  QCoreApplication::postEvent(target, new UserMessageEvent(number));
}

}  // namespace vestra::events
