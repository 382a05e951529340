// The real message box: a modal QMessageBox with the request's caption, text,
// icon and buttons.
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>

#include "platform/messages/message_box.h"

namespace vestra::messages {

namespace {

QMessageBox::Icon qt_icon(Icon icon) {
  switch (icon) {
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::Warning:
      return QMessageBox::Warning;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::Error:
      return QMessageBox::Critical;
    case Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton qt_button(Answer answer) {
  switch (answer) {
    case Answer::Ok:
      return QMessageBox::Ok;
    case Answer::Cancel:
      return QMessageBox::Cancel;
    case Answer::Yes:
      return QMessageBox::Yes;
    case Answer::No:
      return QMessageBox::No;
    case Answer::Retry:
      return QMessageBox::Retry;
    case Answer::Abort:
      return QMessageBox::Abort;
    case Answer::Ignore:
      return QMessageBox::Ignore;
  }
  return QMessageBox::Ok;
}

QMessageBox::StandardButtons qt_buttons(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return QMessageBox::Ok;
    case Buttons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::RetryCancel:
      return QMessageBox::Retry | QMessageBox::Cancel;
    case Buttons::AbortRetryIgnore:
      return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
  }
  return QMessageBox::Ok;
}

Answer from_qt(int button, Buttons buttons) {
  switch (button) {
    case QMessageBox::Ok:
      return Answer::Ok;
    case QMessageBox::Cancel:
      return Answer::Cancel;
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Retry:
      return Answer::Retry;
    case QMessageBox::Abort:
      return Answer::Abort;
    case QMessageBox::Ignore:
      return Answer::Ignore;
    default:
      break;
  }
  return dismiss_answer(buttons);
}

class NeedsAnswer : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Close) {
      e->ignore();
      return true;
    }
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape)
      return true;
    return QObject::eventFilter(watched, e);
  }
};

}  // namespace

Answer show_qt_message(const Request& request) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    // Without a widget application (a command-line tool) the text still
    // reaches the user, on standard error, and the box takes its default.
    fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
    return request.preselected.value_or(dismiss_answer(request.buttons));
  }
  QMessageBox box(qt_icon(request.icon), QString::fromLocal8Bit(request.caption),
                  QString::fromLocal8Bit(request.text), qt_buttons(request.buttons), request.owner);
  if (request.preselected) box.setDefaultButton(qt_button(*request.preselected));
  // A box without Cancel must be answered: Escape and the close box would
  // otherwise pick No for the user.
  NeedsAnswer needs_answer;
  if (request.buttons == Buttons::YesNo || request.buttons == Buttons::AbortRetryIgnore)
    box.installEventFilter(&needs_answer);
  return from_qt(box.exec(), request.buttons);
}

}  // namespace vestra::messages
