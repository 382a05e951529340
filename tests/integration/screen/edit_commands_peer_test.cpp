// The main frame's commands on host fields, in the whole client against
// a scripted host: during a field input Cut, Undo and Paste act on the edit
// being input, Copy Field copies the next field clicked, and the edited text
// reaches the host when the user presses Enter; the first close of the main
// window asks the host application to end; the host closing ends the input.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>

#include "client/app/main_frame.h"
#include "client/protocol/interpreter.h"
#include "client/screen/field_controls.h"
#include "client/screen/field_layer.h"
#include "client/screen/screen_model.h"
#include "tests/integration/connection/client_run.h"
#include "tests/integration/connection/peer_harness.h"
#include "tests/support/temp_dir.h"

namespace veslink::peers {
namespace {

#define ESC "\x1b"
namespace msg = vestra::messages;

constexpr int kUndo = 57643, kCut = 57635, kCopyField = 32853, kPaste = 57637;

ScreenField* field_of(std::uint32_t window, std::uint32_t number) {
  ScreenWindow* w = screen_model().find_window(window);
  return w ? ScreenModel::find_field(*w, 0, number) : nullptr;
}

// Starts the client against the scripted host on `port`: the user chooses
// Unix Login and answers Yes to "Do you want to continue with the Unix Login?".
void log_in(ClientRun& client, int port) {
  client.setting("interface", "telnet,127.0.0.1:" + std::to_string(port));
  client.boxes.answer(msg::Answer::Yes);
  client.start({[](LoginDialog& d) { d.press_unix_login(); }});
}

// A field input is a nested event loop: what the user does runs from a
// timer inside it, once, as soon as an input runs.
class WhenEditing {
 public:
  explicit WhenEditing(std::function<void()> action) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this, action = std::move(action)] {
      if (ran_ || !screen_model().fields().editing()) return;
      ran_ = true;
      action();
    });
    timer_.start();
  }
  bool ran() const { return ran_; }

 private:
  QTimer timer_;
  bool ran_ = false;
};

// What the user does during the field input on field 1: Cut, Undo, Copy
// Field on field 2, Paste at the end of the text, Enter.
void user_steps(CMainFrame& frame) {
  ScreenField* first = field_of(10, 1);
  ScreenField* second = field_of(10, 2);
  ASSERT_TRUE(first && second);
  auto* edit = qobject_cast<QLineEdit*>(QtFieldUi::widget_of(*first));
  auto* other = QtFieldUi::widget_of(*second);
  ASSERT_TRUE(edit && other);
  ASSERT_EQ(edit->text(), "alpha");
  EXPECT_TRUE(edit->hasSelectedText()) << "a field input selects the text it starts with";

  EXPECT_TRUE(frame.command_enabled(kUndo));
  EXPECT_TRUE(frame.run_command(kCut));
  EXPECT_EQ(edit->text(), "");
  EXPECT_EQ(QApplication::clipboard()->text(), "alpha");
  EXPECT_TRUE(frame.run_command(kUndo));
  EXPECT_EQ(edit->text(), "alpha");

  // Copy Field: the next click copies the field clicked and does not end
  // the input on the first one.
  EXPECT_TRUE(frame.run_command(kCopyField));
  QTest::mouseClick(other, Qt::LeftButton, {}, QPoint(3, 3));
  EXPECT_EQ(QApplication::clipboard()->text(), "beta");
  EXPECT_TRUE(screen_model().fields().editing());

  edit->deselect();
  edit->end(false);
  QApplication::clipboard()->setText("gamma");
  EXPECT_TRUE(frame.run_command(kPaste));
  QApplication::processEvents();
  EXPECT_EQ(edit->text(), "alphagamma");
  QTest::keyClick(edit, Qt::Key_Return);
}

TEST(EditCommandsPeer, CutUndoPasteAndCopyFieldDuringAFieldInput) {
  vestra::test::TempDir dir;
  RawPeer peer(dir);
  const int port = peer.start({
      "send " + hex("Welcome\r\n" ESC "mpi1P2F\r"),
      "expect " + hex(ESC "nv10F6.5V1S\r"),
      "send " + hex(ESC "mcw10I40W6H;Customer\r" ESC "mcf10P1I1T20W2X1Y\r" ESC
                        "mcf10P2I1T20W2X3Y\r" ESC "maf10P1I;alpha\r" ESC "maf10P2I;beta\r" ESC
                        "mif10P1I\r"),
      "expect " + hex(";alphagamma\r") + " 30",
      "send " + hex(ESC "mpd1P\r"),
      "drain",
  });
  ASSERT_NE(port, 0);

  ClientRun client(dir);
  log_in(client, port);
  WhenEditing user([&] { user_steps(*client.app->main_frame()); });
  ASSERT_TRUE(pump_until([&] { return user.ran(); }, 20000)) << peer.status();
  ASSERT_TRUE(pump_until([&] { return !interpreter().gui_mode; }, 20000))
      << peer.status() << " received: " << hex(peer.received());
  EXPECT_FALSE(client.app->main_frame()->command_enabled(kUndo)) << "no edit input runs any more";
  ASSERT_TRUE(pump_until([&] { return !peer.status().empty(); }, 20000));
  EXPECT_EQ(peer.status(), "done");
  EXPECT_NE(peer.received().find(";alphagamma\r"), std::string::npos) << peer.received();
  client.app.reset();
  peer.stop();
}

// The host goes away while the user is in a field input: the wait ends, the
// host windows go, and the login dialog comes back for a new login.
TEST(FieldInputPeer, TheHostClosingDuringAFieldInputEndsItCleanly) {
  vestra::test::TempDir dir;
  RawPeer peer(dir);
  const int port = peer.start({
      "send " + hex("Welcome\r\n" ESC "mpi1P2F\r"),
      "expect " + hex(ESC "nv10F6.5V1S\r"),
      "send " + hex(ESC "mcw10I40W6H;Customer\r" ESC "mcw11I30W4H5X8Y;Notes\r" ESC
                        "mcf10P1I1T20W2X1Y\r" ESC "mcf11P1I1T20W2X1Y\r" ESC "maf10P1I;alpha\r" ESC
                        "mif10P1I\r"),
      "pause 1",
      "close",
  });
  ASSERT_NE(port, 0);

  ClientRun client(dir);
  log_in(client, port);
  WhenEditing input_seen([] {});
  ASSERT_TRUE(pump_until([&] { return client.dialogs_opened() >= 2; }, 20000))
      << peer.status() << " received: " << hex(peer.received());
  EXPECT_TRUE(input_seen.ran());
  EXPECT_FALSE(screen_model().fields().editing());
  EXPECT_FALSE(interpreter().gui_mode);
  EXPECT_TRUE(screen_model().root().children.empty());
  client.app.reset();
  peer.stop();
}

// Closing the main window during a field input is first a request to the
// host application (F8's event); once the host has ended and closed the
// connection, the client ends.
TEST(FieldInputPeer, TheFirstCloseDuringAnInputAsksTheHostToEnd) {
  vestra::test::TempDir dir;
  RawPeer peer(dir);
  const int port = peer.start({
      "send " + hex("Welcome\r\n" ESC "mpi1P2F\r"),
      "expect " + hex(ESC "nv10F6.5V1S\r"),
      "send " + hex(ESC "mcw10I40W6H;Customer\r" ESC "mcf10P1I1T20W2X1Y\r" ESC "mif10P1I\r"),
      "expect " + hex("\x01G\r") + " 30",
      "send " + hex(ESC "mpd1P\r"),
      "close",
  });
  ASSERT_NE(port, 0);

  ClientRun client(dir);
  log_in(client, port);
  WhenEditing closed([&] { client.app->main_frame()->close(); });
  ASSERT_TRUE(pump_until([&] { return client.exited(); }, 20000))
      << peer.status() << " received: " << hex(peer.received());
  EXPECT_TRUE(closed.ran());
  for (const std::string& text : client.boxes.texts())
    EXPECT_EQ(text.find("Really Exit?"), std::string::npos) << "the first close asks nothing";
  EXPECT_NE(peer.received().find("\x01G\r"), std::string::npos);
  client.app.reset();
  peer.stop();
}

}  // namespace
}  // namespace veslink::peers
