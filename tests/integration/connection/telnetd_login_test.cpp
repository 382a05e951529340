// Whole logins through the client against a real telnet daemon running the
// scripted host: the terminal type the host sees, the automatic login with
// its prompts, refusals and time-outs, Unix Login by hand, -autologin, and a
// host that closes the connection.
#include <gtest/gtest.h>

#include <QTest>

#include "client/app/main_frame.h"
#include "client/connection/connection_manager.h"
#include "client/connection/stored_login.h"
#include "client/settings/client_texts.h"
#include "client/terminal/terminal_win.h"
#include "tests/integration/connection/client_run.h"
#include "tests/integration/connection/peer_harness.h"

namespace veslink::peers {
namespace {

using vestra::registry::Hive;
using Strings = std::vector<std::string>;

class TelnetLoginTest : public ::testing::Test {
 protected:
  // Starts the daemon with `scenario` and points the client at it.
  void serve(const std::string& scenario) {
    port = daemon.start(scenario);
    ASSERT_NE(port, 0) << "telnetd never listened";
    client.setting("interface", "telnet,127.0.0.1:" + std::to_string(port));
  }
  static ClientRun::DialogAction log_in(const std::string& user, const std::string& password) {
    return [=](LoginDialog& d) {
      fill_login(d, user, password);
      d.press_login();
    };
  }

  vestra::test::TempDir dir;
  TelnetDaemon daemon{dir};
  ClientRun client{dir};
  int port = 0;
};

TEST_F(TelnetLoginTest, LoginEndsWhenTheHostApplicationStartsAndReturnsWhenTheHostCloses) {
  serve("normal");
  Strings second_screen;
  client.start({log_in("fred", "Secret1"), [&](LoginDialog& d) {
                  second_screen = ClientRun::screen_rows();
                  d.press_exit();
                }});
  // The escape sequence of the host application closes the dialog itself.
  ASSERT_TRUE(pump_until([&] { return client.last_login_result() != 0; }, 20000));
  EXPECT_EQ(client.last_login_result(), login_ids::kUnixLogin);
  EXPECT_EQ(client.app->connection()->state().connected, 1);
  const Record r = daemon.record();
  EXPECT_EQ(record_values(r, "TERM"), Strings{"veslink"});
  EXPECT_EQ(record_values(r, "user"), Strings{"fred"});
  EXPECT_EQ(record_values(r, "password"), Strings{"Secret1"});
  EXPECT_EQ(record_values(r, "terminal_type"), Strings{"veslink"});
  std::string stored;
  client.reg.get_string(Hive::CurrentUser, kSettingsKey, "def_username", stored);
  EXPECT_EQ(stored, "fred");  // the last user who logged in becomes the default

  // The host ends the session: the login dialog comes back over "Connection
  // closed."; Exit there ends the client.
  ASSERT_TRUE(pump_until([&] { return client.exited(); }, 15000));
  EXPECT_EQ(client.dialogs_opened(), 2);
  ASSERT_FALSE(second_screen.empty());
  EXPECT_EQ(second_screen[0], "Connection closed.");
  EXPECT_EQ(client.exit_codes, std::vector<int>{0});
  EXPECT_TRUE(client.boxes.shown().empty()) << client.boxes.shown()[0].text;
}

TEST_F(TelnetLoginTest, ConnectionPasswordIsAskedAndSent) {
  serve("connpw");
  client.dialog_answers = {std::string("hush")};
  client.start({log_in("fred", "Secret1")});
  ASSERT_TRUE(pump_until([&] { return client.last_login_result() != 0; }, 20000));
  EXPECT_EQ(client.last_login_result(), login_ids::kUnixLogin);
  EXPECT_EQ(client.dialogs_asked, Strings{"194"});
  const Record r = daemon.record();
  EXPECT_EQ(record_values(r, "connection_password"), Strings{"hush"});
  EXPECT_EQ(record_values(r, "terminal_type"), Strings{"veslink"});
  EXPECT_TRUE(client.boxes.shown().empty());
}

TEST_F(TelnetLoginTest, CancelledConnectionPasswordLeavesTheDialogFinished) {
  serve("connpw");
  client.dialog_answers = {std::nullopt};
  bool finished = false, still_open = false;
  client.start({[&](LoginDialog& d) {
    fill_login(d, "fred", "Secret1");
    d.press_login();
    finished = pump_until(
        [&] { return d.dialogue().step() == -2 && d.dialogue().login_active() == 0; }, 15000);
    still_open = d.isVisible();
    d.press_exit();
  }});
  ASSERT_TRUE(pump_until([&] { return client.last_login_result() != 0; }, 20000));
  EXPECT_TRUE(finished);
  EXPECT_TRUE(still_open);
  EXPECT_EQ(client.dialogs_asked, Strings{"194"});
  EXPECT_EQ(client.last_login_result(), login_ids::kExit);
  // Nothing answered the host's question; closing the client while connected
  // first asks the host to log out ("exit" reaches the open question), and a
  // second close ends the client.
  ASSERT_TRUE(
      pump_until([&] { return !record_values(daemon.record(), "connection_password").empty(); }));
  EXPECT_EQ(record_values(daemon.record(), "connection_password"), Strings{"exit"});
  EXPECT_FALSE(client.exited());
  client.app->main_frame()->close();
  ASSERT_TRUE(pump_until([&] { return client.exited(); }));
  EXPECT_FALSE(client.connected());
  EXPECT_EQ(client.exit_codes, std::vector<int>{0});
  EXPECT_TRUE(client.boxes.shown().empty());
}

struct Refusal {
  const char* name;
  const char* scenario;
  const char* password;
  const char* text;
};

class RefusedLoginTest : public TelnetLoginTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedLoginTest, ShowsWhyClosesTheConnectionAndOffersTheDialogAgain) {
  const Refusal& x = GetParam();
  serve(x.scenario);
  bool told = false, closed = false, ready = false, selected = false;
  int login_active = 0;
  client.start({[&](LoginDialog& d) {
    fill_login(d, "fred", x.password);
    d.press_login();
    told = pump_until([&] { return !client.boxes.shown().empty(); }, 20000);
    closed = !client.connected();
    ready = control_enabled(d, "1") && control_enabled(d, "61255") && control_enabled(d, "61254") &&
            control_enabled(d, "1112") && d.isVisible();
    QLineEdit* password = dialog_field(d, "61254");
    selected = password->selectedText() == password->text();
    login_active = d.dialogue().login_active();
    d.press_exit();
  }});
  ASSERT_TRUE(pump_until([&] { return client.exited(); }, 25000));
  ASSERT_TRUE(told);
  ASSERT_EQ(client.boxes.shown().size(), 1u);
  EXPECT_EQ(client.boxes.shown()[0].text, x.text);
  EXPECT_EQ(client.boxes.shown()[0].caption, "VESTRA-Nu Thin Client");
  EXPECT_TRUE(closed);
  EXPECT_TRUE(ready);
  EXPECT_TRUE(selected);
  EXPECT_EQ(login_active, -1);
  EXPECT_EQ(client.last_login_result(), login_ids::kExit);
  EXPECT_EQ(record_values(daemon.record(), "password"), Strings{x.password});
}

INSTANTIATE_TEST_SUITE_P(
    Telnetd, RefusedLoginTest,
    ::testing::Values(
        Refusal{"LowerCasePassword", "refuse", "Secret1",
                "Login failed!  The most likely cause is the\nUsername or Password being "
                "incorrect."},
        Refusal{"DigitsOnlyPassword", "refuse", "12345",
                "Login failed!  The most likely cause is the\nUsername or Password being "
                "incorrect."},
        Refusal{"UpperCasePassword", "refuse", "SECRET1",
                "Username or Password was incorrect!\nWARNING: Check CAPS LOCK key."},
        Refusal{"AccessDenied", "denied", "Secret1", "Access to system denied!"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

struct NoLoginPrompt {
  const char* name;
  const char* scenario;
  Strings passwords;  // what the host took as a password answer
  Strings nudges;     // the bytes that came after, in hex
};

class NoLoginPromptTest : public TelnetLoginTest,
                          public ::testing::WithParamInterface<NoLoginPrompt> {};

TEST_P(NoLoginPromptTest, NudgesTheHostThenGivesUpIntoTerminalMode) {
  const NoLoginPrompt& x = GetParam();
  serve(x.scenario);
  client.start({log_in("fred", "Secret1")});
  // CR after the first period, 0x04 after the second, nothing for the Send
  // Break of the third, then the message and terminal mode.
  ASSERT_TRUE(pump_until([&] { return client.last_login_result() != 0; }, 25000));
  EXPECT_EQ(client.boxes.texts(), Strings{"Could not find Login prompt"});
  EXPECT_EQ(client.last_login_result(), login_ids::kUnixLogin);
  EXPECT_TRUE(client.connected());
  EXPECT_TRUE(client.app->terminal_window()->isVisible());
  const Record r = daemon.record();
  EXPECT_EQ(record_values(r, "password"), x.passwords);
  EXPECT_EQ(record_values(r, "nudge"), x.nudges);
  EXPECT_TRUE(record_values(r, "user").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Telnetd, NoLoginPromptTest,
    ::testing::Values(NoLoginPrompt{"NeverPrompts", "silent", {}, {"0d", "04"}},
                      NoLoginPrompt{"OnlyAPasswordPrompt", "password-only", {""}, {"04"}}),
    [](const ::testing::TestParamInfo<NoLoginPrompt>& info) {
      return std::string(info.param.name);
    });

TEST_F(TelnetLoginTest, UnixLoginByHandThenTheHostClosesAndTheDialogReturns) {
  serve("shell");
  client.boxes.answer(vestra::messages::Answer::Yes);
  client.start({[](LoginDialog& d) { d.press_unix_login(); }});
  ASSERT_TRUE(pump_until([&] { return client.last_login_result() != 0; }));
  EXPECT_EQ(client.last_login_result(), login_ids::kUnixLogin);
  ASSERT_EQ(client.boxes.shown().size(), 1u);
  EXPECT_EQ(client.boxes.shown()[0].buttons, vestra::messages::Buttons::YesNo);
  // Nothing is typed for the user: the login prompt waits in terminal mode.
  TerminalWin* terminal = client.app->terminal_window();
  ASSERT_TRUE(pump_until([&] { return ClientRun::screen_shows("scripted login:"); }));
  EXPECT_TRUE(terminal->isVisible());
  auto type = [&](const char* text, const char* next_prompt) {
    QTest::keyClicks(terminal, text);
    QTest::keyClick(terminal, Qt::Key_Return);
    return pump_until([&] { return ClientRun::screen_shows(next_prompt); });
  };
  ASSERT_TRUE(type("fred", "Password:"));
  ASSERT_TRUE(type("pw", "Enter terminal type:"));
  ASSERT_TRUE(type("vt100", "$"));
  ASSERT_TRUE(type("hello", "you typed: hello"));
  const Record r = daemon.record();
  EXPECT_EQ(record_values(r, "user"), Strings{"fred"});
  EXPECT_EQ(record_values(r, "password"), Strings{"pw"});
  EXPECT_EQ(record_values(r, "terminal_type"), Strings{"vt100"});
  EXPECT_EQ(record_values(r, "typed"), Strings{"hello"});

  // The user logs out: the host closes, the login dialog returns.
  QTest::keyClicks(terminal, "exit");
  QTest::keyClick(terminal, Qt::Key_Return);
  ASSERT_TRUE(pump_until([&] { return client.exited(); }));
  EXPECT_EQ(client.dialogs_opened(), 2);
  EXPECT_EQ(client.exit_codes, std::vector<int>{0});
}

TEST_F(TelnetLoginTest, AutoLoginNeedsNoDialogAndEndsWhenTheHostCloses) {
  serve("normal");
  ASSERT_TRUE(save_stored_login({"fred", "Secret1", ""}, "127.0.0.1:" + std::to_string(port),
                                INTERFACE_TELNET, client.reg));
  bool on_screen = true;
  client.start({[&](LoginDialog& d) {
                 bool any_child_shown = false;
                 for (QWidget* w : d.findChildren<QWidget*>())
                   any_child_shown = any_child_shown || w->isVisible();
                 on_screen = !d.testAttribute(Qt::WA_DontShowOnScreen) || any_child_shown;
               }},
               {"-autologin"});
  ASSERT_TRUE(pump_until([&] { return client.exited(); }, 20000));
  EXPECT_EQ(client.forms, std::vector<LoginDialog::Form>{LoginDialog::Form::AutoLogin});
  EXPECT_FALSE(on_screen);
  EXPECT_EQ(client.last_login_result(), login_ids::kUnixLogin);
  const Record r = daemon.record();
  EXPECT_EQ(record_values(r, "user"), Strings{"fred"});
  EXPECT_EQ(record_values(r, "password"), Strings{"Secret1"});
  EXPECT_EQ(client.exit_codes, std::vector<int>{0});
  EXPECT_TRUE(client.boxes.shown().empty());
}

}  // namespace
}  // namespace veslink::peers
