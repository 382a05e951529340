// The whole client against the demo host, as a newcomer would use it: the
// host behind a real telnet daemon (or speaking telnet itself), the login
// from the INI file that scripts/run writes, and then the sample order
// application driven by keys and clicks on the real field controls. The host
// logs every reply it received; the tests compare that log byte for byte.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <regex>

#include "client/protocol/interpreter.h"
#include "client/screen/field_layer.h"
#include "client/screen/qt_screen_ui.h"
#include "client/screen/screen_model.h"
#include "client/screen/screen_win.h"
#include "tests/integration/connection/client_run.h"
#include "tests/integration/connection/peer_harness.h"
#include "tests/support/peer_process.h"
#include "tests/support/temp_dir.h"

namespace veslink::peers {
namespace {

using Strings = std::vector<std::string>;
namespace msg = vestra::messages;

constexpr std::uint32_t kMenu = 10, kForm = 20, kList = 30;

// The demo host, behind telnetd on its pty or listening by itself.
class DemoHost {
 public:
  explicit DemoHost(const vestra::test::TempDir& dir) : dir_(dir), log_(dir.file("replies.log")) {}

  int start_behind_telnetd() {
    // telnetd -E splits its argument at blanks: the command goes into a
    // wrapper script rather than through socat's quoting.
    const std::string wrapper = dir_.write(
        "telnetd-demo.sh", "#!/bin/sh\nexec /usr/sbin/telnetd -h -E \"/usr/bin/python3 " +
                               std::string(VESTRA_DEMO_HOST) + " --pty --log " + log_ + "\"\n");
    ::chmod(wrapper.c_str(), 0755);
    return vestra::test::start_listening_peer(
        process_,
        [&](int port) {
          return Strings{"/usr/bin/socat",
                         "TCP-LISTEN:" + std::to_string(port) + ",bind=127.0.0.1,reuseaddr,fork",
                         "EXEC:" + wrapper + ",nofork"};
        },
        dir_.file("telnetd.log"));
  }

  int start_alone() {
    const std::string port_file = dir_.file("demo.port");
    if (!process_.start({"/usr/bin/python3", VESTRA_DEMO_HOST, "--listen", "0", "--port-file",
                         port_file, "--log", log_},
                        dir_.file("demo-host.out")))
      return 0;
    std::string port;
    vestra::test::wait_for([&] {
      port = vestra::test::TempDir::read(port_file);
      return !port.empty() || !process_.running();
    });
    return port.empty() ? 0 : std::stoi(port);
  }

  // The log's lines: "reply <bytes>" and "event <what the host did>".
  Strings lines() const {
    Strings out;
    std::string text = vestra::test::TempDir::read(log_);
    std::size_t at = 0;
    while (at < text.size()) {
      const std::size_t end = text.find('\n', at);
      if (end == std::string::npos) break;  // a line still being written
      out.push_back(text.substr(at, end - at));
      at = end + 1;
    }
    return out;
  }
  Strings with_prefix(const std::string& prefix) const {
    Strings out;
    for (const std::string& l : lines())
      if (l.rfind(prefix, 0) == 0) out.push_back(l.substr(prefix.size()));
    return out;
  }
  Strings replies() const { return with_prefix("reply "); }
  Strings events() const { return with_prefix("event "); }
  bool has_event(const std::string& e) const {
    for (const std::string& l : events())
      if (l == e) return true;
    return false;
  }
  std::string log_text() const { return vestra::test::TempDir::read(log_); }
  void stop() { process_.stop(); }

 private:
  const vestra::test::TempDir& dir_;
  std::string log_;
  vestra::test::PeerProcess process_;
};

ScreenWindow* window_of(std::uint32_t number) {
  HostProgram* p = ScreenModel::host(interpreter().programs.find(1));
  if (!p) return nullptr;
  for (auto& w : p->windows)
    if (w->number == number) return w.get();
  return nullptr;
}

// A control of a host window by its object name ("edit 101", "button 31").
QWidget* control(std::uint32_t window, const std::string& name) {
  ScreenWindow* w = window_of(window);
  ScreenWin* view = w ? QtScreenUi::view_of(*w) : nullptr;
  return view ? view->findChild<QWidget*>(QString::fromStdString(name)) : nullptr;
}

ScreenField* field_of(std::uint32_t window, std::uint32_t number) {
  ScreenWindow* w = window_of(window);
  return w ? ScreenModel::find_field(*w, 0, number) : nullptr;
}

// The client waits for input in this field of this window.
bool input_in(std::uint32_t window, std::uint32_t field) {
  const ScreenField* f = screen_model().fields().input_field();
  return f && f->number == field && f->window && f->window->number == window &&
         screen_model().keys.waiting();
}

// The client waits for an action (a button, a key) on this window.
bool action_wait_on(std::uint32_t window) {
  const ScreenWindow* w = screen_model().current_window();
  return w && w->number == window && screen_model().keys.mode() == wait_mode::kWindowAction;
}

// Input waits are nested event loops: the test cannot wait outside them
// and act afterwards. A timer inside the loops takes the steps instead, each
// once the host has answered the previous one and the client waits where
// the step expects it.
class Driver {
 public:
  struct Step {
    std::string name;
    std::function<bool()> ready;
    std::function<void()> act;
  };
  explicit Driver(const DemoHost& host) : host_(host) {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
  }
  void run(std::vector<Step> steps) {
    steps_ = std::move(steps);
    since_last_act_.start();
    timer_.start();
  }
  bool stuck() const { return !done() && since_last_act_.elapsed() > 30000; }
  bool done() const { return next_ == steps_.size(); }
  // The step the script stands at, for a failure message.
  std::string at() const { return done() ? "done" : steps_[next_].name; }

 private:
  void tick() {
    if (stuck()) {
      // A step that never comes would leave the client in its wait for
      // good: abandon the waits so the test ends and says where it stood.
      screen_model().fields().cancel_requests();
      return;
    }
    if (busy_ || done()) return;
    const std::size_t replies = host_.replies().size();
    if (replies <= replies_at_last_act_ && next_ > 0) return;  // the host has not heard yet
    if (!steps_[next_].ready()) return;
    busy_ = true;
    replies_at_last_act_ = replies;
    since_last_act_.restart();
    steps_[next_++].act();
    busy_ = false;
  }

  const DemoHost& host_;
  QTimer timer_;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  std::size_t replies_at_last_act_ = 0;
  bool busy_ = false;
  QElapsedTimer since_last_act_;
};

void key(std::uint32_t window, const std::string& name, Qt::Key k) {
  QWidget* w = control(window, name);
  ASSERT_TRUE(w) << name;
  QTest::keyClick(w, k);
}

void type(std::uint32_t window, const std::string& name, const std::string& text) {
  QWidget* w = control(window, name);
  ASSERT_TRUE(w) << name;
  QTest::keyClicks(w, QString::fromStdString(text));
}

void click(std::uint32_t window, const std::string& name) {
  QWidget* w = control(window, name);
  ASSERT_TRUE(w) << name;
  QTest::mouseClick(w, Qt::LeftButton);
}

std::string edit_text(std::uint32_t window, std::uint32_t field) {
  auto* e = qobject_cast<QLineEdit*>(control(window, "edit " + std::to_string(field)));
  return e ? e->text().toStdString() : "<no edit>";
}

class DemoHostTest : public ::testing::Test {
 protected:
  // The INI file scripts/run writes: veslink logs in as the demo user.
  void start_client(int port) {
    ASSERT_NE(port, 0) << "the demo host never listened";
    const std::string ini =
        dir.write("demo.INI", "l=telnet\nhost=127.0.0.1:" + std::to_string(port) +
                                  "\ndef_username=demo\ndef_password=demo\n");
    client.start({[](LoginDialog& d) { d.press_login(); }}, {ini});
  }
  bool run_to_the_end(Driver& driver) {
    return pump_until([&] { return driver.stuck() || (driver.done() && host.has_event("end")); },
                      90000) &&
           !driver.stuck();
  }

  vestra::test::TempDir dir;
  DemoHost host{dir};
  ClientRun client{dir};
};

TEST_F(DemoHostTest, OrderEnteredListScrolledAndLogoutThroughTelnetd) {
  start_client(host.start_behind_telnetd());
  // OK to the message, Yes to "Save order 1013 for Acme Ltd?".
  client.boxes.answer(msg::Answer::Ok);
  client.boxes.answer(msg::Answer::Yes);
  std::string opened_customer, double_clicked_customer;
  Driver d(host);
  d.run({
      // Menu: Tab is the host's key, not a move to the next button (which
      // would have pressed it); then a click on "New order".
      {"tab in the menu", [] { return action_wait_on(kMenu); },
       [] { key(kMenu, "button 31", Qt::Key_Tab); }},
      {"new order", [] { return action_wait_on(kMenu); }, [] { click(kMenu, "button 31"); }},
      // The form: Enter leaves the empty customer, F4 asks to save.
      {"enter on customer", [] { return input_in(kForm, 101); },
       [] { key(kForm, "edit 101", Qt::Key_Return); }},
      {"F4 on item", [] { return input_in(kForm, 102); },
       [] { key(kForm, "edit 102", Qt::Key_F4); }},
      // The message, then the input is back in the customer field.
      {"customer", [] { return input_in(kForm, 101); },
       [] {
         type(kForm, "edit 101", "Acme Ltd");
         key(kForm, "edit 101", Qt::Key_Tab);
       }},
      {"item", [] { return input_in(kForm, 102); },
       [] {
         type(kForm, "edit 102", "Rope");
         key(kForm, "edit 102", Qt::Key_Tab);
       }},
      {"quantity", [] { return input_in(kForm, 103); },
       [] {
         type(kForm, "edit 103", "25");  // replaces the selected 1
         key(kForm, "edit 103", Qt::Key_Tab);
       }},
      {"click Express", [] { return input_in(kForm, 111); }, [] { click(kForm, "radio 112"); }},
      {"tab from the delivery", [] { return input_in(kForm, 112); },
       [] { key(kForm, "radio 112", Qt::Key_Tab); }},
      {"space on gift wrap", [] { return input_in(kForm, 121); },
       [] { key(kForm, "check 121", Qt::Key_Space); }},
      {"tab from gift wrap", [] { return input_in(kForm, 121); },
       [] { key(kForm, "check 121", Qt::Key_Tab); }},
      {"tab from invoice", [] { return input_in(kForm, 122); },
       [] { key(kForm, "check 122", Qt::Key_Tab); }},
      {"notes and OK", [] { return input_in(kForm, 104); },
       [] {
         type(kForm, "edit 104", "Ring first");
         click(kForm, "button 131");
       }},
      // Back in the menu: L opens the order list.
      {"order list", [] { return action_wait_on(kMenu); },
       [] { key(kMenu, "button 31", Qt::Key_L); }},
      // Nine rows down: the eight visible rows end, the area scrolls by one.
      {"down 1", [] { return action_wait_on(kList); },
       [] { key(kList, "button 61", Qt::Key_Down); }},
      {"down 2", [] { return action_wait_on(kList); },
       [] { key(kList, "button 61", Qt::Key_Down); }},
      {"down 3", [] { return action_wait_on(kList); },
       [] { key(kList, "button 61", Qt::Key_Down); }},
      {"down 4", [] { return action_wait_on(kList); },
       [] { key(kList, "button 61", Qt::Key_Down); }},
      {"down 5", [] { return action_wait_on(kList); },
       [] { key(kList, "button 61", Qt::Key_Down); }},
      {"down 6", [] { return action_wait_on(kList); },
       [] { key(kList, "button 61", Qt::Key_Down); }},
      {"down 7", [] { return action_wait_on(kList); },
       [] { key(kList, "button 61", Qt::Key_Down); }},
      {"down 8", [] { return action_wait_on(kList); },
       [] { key(kList, "button 61", Qt::Key_Down); }},
      {"down 9", [] { return action_wait_on(kList); },
       [] { key(kList, "button 61", Qt::Key_Down); }},
      // A click on the row that shows order 1005 makes it current; Enter opens it.
      {"click a row", [] { return action_wait_on(kList); },
       [] {
         // After two scrolls the rows' fields have moved up by two: the
         // fields first made for window row 6 now show row 4.
         click(kList, "prompt 241");
       }},
      {"open", [] { return action_wait_on(kList); },
       [] { key(kList, "button 61", Qt::Key_Return); }},
      {"leave the order", [] { return input_in(kForm, 101); },
       [&] {
         opened_customer = edit_text(kForm, 101);
         key(kForm, "edit 101", Qt::Key_Escape);
       }},
      // A double click on the row of order 1007 (window row 6) opens it.
      {"double-click a row", [] { return action_wait_on(kList); },
       [] {
         QWidget* row = control(kList, "prompt 261");
         ASSERT_TRUE(row);
         QTest::mouseDClick(row, Qt::LeftButton);
       }},
      {"leave the second order", [] { return input_in(kForm, 101); },
       [&] {
         double_clicked_customer = edit_text(kForm, 101);
         key(kForm, "edit 101", Qt::Key_Escape);
       }},
      {"close the list", [] { return action_wait_on(kList); },
       [] { key(kList, "button 61", Qt::Key_Escape); }},
      {"exit", [] { return action_wait_on(kMenu); }, [] { key(kMenu, "button 31", Qt::Key_X); }},
  });
  ASSERT_TRUE(run_to_the_end(d)) << "stopped at: " << d.at() << "\n" << host.log_text();

  Strings expected{
      "\\env10F6.5V1S\\r",
      "\\x09",
      "\\enb31I2X3Y\\r",
      "\\end101I20P;\\r",
      "\\end102I20P1S;\\r",
      "\\end101I20P;Acme Ltd\\r",
      "\\end102I20P;Rope\\r",
      "\\end103I20P;25\\r",
      "\\enmp112I4X9Y\\r",
      "\\enr9S\\r",
      "\\enr32S\\r",
      "\\enr9S\\r",
      "\\enr9S\\r",
      "\\end104I20P128S131F;Ring first\\r",
      "Y\\r",
      "l",
  };
  for (int i = 0; i < 9; ++i)
    expected.push_back("\\x0a");
  const Strings got = host.replies();
  ASSERT_GT(got.size(), expected.size()) << host.log_text();
  EXPECT_EQ(Strings(got.begin(), got.begin() + static_cast<long>(expected.size())), expected);
  // Then the list's clicks, whose columns depend on where in the cell the
  // pointer was: a click on row 4, Enter, Esc in the form; a double click
  // on row 6 (any press before it is a click on the same row), Esc twice, X.
  std::string rest;
  for (std::size_t i = expected.size(); i < got.size(); ++i)
    rest += got[i] + "\n";
  EXPECT_TRUE(
      std::regex_match(rest, std::regex(R"(\\enmr50I\d+X4Y\\r\n\\r\n\\x1e\n(\\enmr50I\d+X6Y\\r\n)*)"
                                        R"(\\enmR50I\d+X6Y\\r\n\\x1e\n\\x1e\nx\n)")))
      << rest;

  EXPECT_TRUE(host.has_event("invalid Please enter the customer's name."));
  EXPECT_TRUE(host.has_event(
      "saved 1013 customer=Acme Ltd item=Rope quantity=25 delivery=Express gift_wrap=True "
      "invoice_mail=False notes=Ring first"));
  EXPECT_EQ(opened_customer, "Atlas Books");           // order 1005
  EXPECT_EQ(double_clicked_customer, "City Council");  // order 1007
  // The boxes the user saw: the message, then the question.
  ASSERT_EQ(client.boxes.shown().size(), 2u);
  EXPECT_EQ(client.boxes.shown()[0].caption, "VESTRA Message");
  EXPECT_EQ(client.boxes.shown()[0].text, "Please enter the customer's name.");
  EXPECT_EQ(client.boxes.shown()[1].caption, "VESTRA Confirmation");
  EXPECT_EQ(client.boxes.shown()[1].text,
            "Save order 1013 for Acme Ltd?\n\n(CANCEL returns to the last field)");

  // The last program went: GUI mode ends, and the host closes the line.
  ASSERT_TRUE(pump_until([&] { return !interpreter().gui_mode && !client.connected(); }, 20000));
  host.stop();
}

TEST_F(DemoHostTest, ValidationPutsTheInputBackIntoTheFaultyFieldOnItsOwnTelnet) {
  start_client(host.start_alone());
  // OK to the three messages, Yes to "Discard the changes to this order?".
  for (int i = 0; i < 3; ++i)
    client.boxes.answer(msg::Answer::Ok);
  client.boxes.answer(msg::Answer::Yes);
  std::vector<bool> focused_after_message;
  auto focused = [&](std::uint32_t field) {
    QWidget* e = control(kForm, "edit " + std::to_string(field));
    focused_after_message.push_back(e && e->hasFocus());
  };
  Driver d(host);
  d.run({
      {"new order", [] { return action_wait_on(kMenu); },
       [] { key(kMenu, "button 31", Qt::Key_N); }},
      {"F4 at once", [] { return input_in(kForm, 101); },
       [] { key(kForm, "edit 101", Qt::Key_F4); }},
      {"customer again", [] { return input_in(kForm, 101); },
       [&] {
         focused(101);
         type(kForm, "edit 101", "Acme");
         key(kForm, "edit 101", Qt::Key_F4);
       }},
      {"item", [] { return input_in(kForm, 102); },
       [&] {
         focused(102);
         type(kForm, "edit 102", "Rope");
         key(kForm, "edit 102", Qt::Key_Tab);
       }},
      {"quantity 0", [] { return input_in(kForm, 103); },
       [] {
         type(kForm, "edit 103", "0");
         key(kForm, "edit 103", Qt::Key_F4);
       }},
      {"quantity again", [] { return input_in(kForm, 103); },
       [&] {
         focused(103);
         // Shift+Tab goes back with the text (window flag 0x40000).
         type(kForm, "edit 103", "x");
         QTest::keyClick(control(kForm, "edit 103"), Qt::Key_Backtab, Qt::ShiftModifier);
       }},
      {"cancel", [] { return input_in(kForm, 102); },
       [] { key(kForm, "edit 102", Qt::Key_Escape); }},
      {"exit", [] { return action_wait_on(kMenu); },
       [] { key(kMenu, "button 31", Qt::Key_Escape); }},
  });
  ASSERT_TRUE(run_to_the_end(d)) << "stopped at: " << d.at() << "\n" << host.log_text();

  EXPECT_EQ(host.replies(), (Strings{
                                "\\env10F6.5V1S\\r",
                                "n",
                                "\\end101I20P1S;\\r",
                                "\\end101I20P1S;Acme\\r",
                                "\\end102I20P;Rope\\r",
                                "\\end103I20P1S;0\\r",
                                "\\end103I20P256S;x\\r",
                                "\\x1e",
                                "Y\\r",
                                "\\x1e",
                            }));
  EXPECT_EQ(client.boxes.texts(),
            (Strings{"Please enter the customer's name.", "Please enter the item ordered.",
                     "The quantity must be a whole number from 1 to 999.",
                     "Discard the changes to this order?"}));
  EXPECT_EQ(focused_after_message, (std::vector<bool>{true, true, true}));
  EXPECT_TRUE(host.has_event("order 1013 cancelled"));
  ASSERT_TRUE(pump_until([&] { return !client.connected(); }, 20000));
  host.stop();
}

}  // namespace
}  // namespace veslink::peers
