// The real message box the host's questions use: a box without Cancel must
// be answered, while one with Cancel takes Escape as Cancel.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "platform/messages/message_box.h"

namespace vestra::messages {
namespace {

// Shows the real box (no responder) and acts on it from the event loop.
Answer ask(Buttons buttons, const std::function<void(QMessageBox&)>& act) {
  Responder previous = set_responder({});
  QTimer::singleShot(0, [act] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) act(*box);
  });
  Request r;
  r.caption = "VESTRA Confirmation";
  r.text = "Post?";
  r.buttons = buttons;
  r.preselected = Answer::No;
  const Answer a = show_message(r);
  set_responder(previous);
  return a;
}

TEST(QtMessageBox, YesNoIgnoresEscapeAndTheCloseBox) {
  bool still_open = false;
  const Answer a = ask(Buttons::YesNo, [&still_open](QMessageBox& box) {
    QTest::keyClick(&box, Qt::Key_Escape);
    box.close();
    still_open = box.isVisible();
    box.button(QMessageBox::Yes)->click();
  });
  EXPECT_TRUE(still_open);
  EXPECT_EQ(a, Answer::Yes);
}

TEST(QtMessageBox, EscapeIsCancelWhenThereIsOne) {
  EXPECT_EQ(
      ask(Buttons::YesNoCancel, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }),
      Answer::Cancel);
  EXPECT_EQ(ask(Buttons::YesNo, [](QMessageBox& box) { box.button(QMessageBox::No)->click(); }),
            Answer::No);
}

}  // namespace
}  // namespace vestra::messages
