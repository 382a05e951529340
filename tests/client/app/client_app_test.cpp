// Client start-up, in-process under offscreen Qt: settings from the registry,
// then the INI file or the stored login, and the Connect command queued to the
// terminal window once client_init has run.
#include "client/app/client_app.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

#include "client/app/main_frame.h"
#include "client/connection/login_dialog.h"
#include "client/settings/client_texts.h"
#include "client/terminal/terminal_win.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace veslink {
namespace {

using vestra::registry::Hive;

bool wait_until(const std::function<bool()>& done, int ms = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

class ClientStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_path_ = std::getenv("PATH");
    reg.set_string(Hive::CurrentUser, kSettingsKey, "interface", "telnet,RegHost");
    reg.set_string(Hive::CurrentUser, kSettingsKey, "host_list", "old,");
    reg.set_string(Hive::CurrentUser, kSettingsKey, "confirm_close", "false");
  }
  void TearDown() override {
    setenv("PATH", saved_path_.c_str(), 1);
    LoginDialog::set_open_hook(nullptr);
  }

  // Starts a client with these arguments after the program path and runs it
  // until its Connect command has been carried out.
  std::unique_ptr<ClientApp> start(std::vector<std::string> args) {
    std::vector<std::string> words{dir.file("veslink")};
    words.insert(words.end(), args.begin(), args.end());
    auto app = std::make_unique<ClientApp>(reg, words);
    app->set_update_hooks({[](const std::string&) { return std::optional<std::time_t>(); },
                           [](const std::string&) {}});
    exit_codes.clear();
    login_forms.clear();
    app->set_exit_handler([this](int code) { exit_codes.push_back(code); });
    // Nobody types into the login dialog here: note how it came up and leave
    // (an automatic login goes on by itself).
    LoginDialog::set_open_hook([this](LoginDialog& dialog) {
      login_forms.push_back(dialog.form());
      if (dialog.form() != LoginDialog::Form::AutoLogin) dialog.press_exit();
    });
    QObject::connect(app.get(), &ClientApp::startupFinished, [this, a = app.get()] {
      connects_when_init_ended = a->state().connect_commands;
    });
    EXPECT_TRUE(app->init_instance());
    // The registry is read in the first phase; the rest waits for the loop.
    EXPECT_EQ(app->settings().current_host, "reghost");
    EXPECT_FALSE(app->settings().confirm_close);
    EXPECT_EQ(app->terminal_window(), nullptr);
    EXPECT_TRUE(wait_until([&] { return app->state().last_login_result != 0; }));
    return app;
  }

  std::string stored_host_list() {
    std::string text;
    reg.get_string(Hive::CurrentUser, kSettingsKey, "host_list", text);
    return text;
  }

  vestra::test::TempDir dir;
  vestra::registry::Registry reg{vestra::registry::Locations::single(dir.path() + "/reg")};
  int connects_when_init_ended = -1;
  std::vector<int> exit_codes;
  std::vector<LoginDialog::Form> login_forms;
  std::string saved_path_;
};

TEST_F(ClientStartTest, DefaultStartReadsTheIniBesideTheProgramAndConnects) {
  dir.write("veslink.INI", "host=IniHost\ndef_password=pw\n");
  auto app = start({});
  const StartupState& st = app->state();
  EXPECT_EQ(connects_when_init_ended, 0);  // posted, not called
  EXPECT_EQ(st.connect_commands, 1);
  EXPECT_EQ(st.program_directory, dir.path());
  EXPECT_TRUE(st.ini_read);
  EXPECT_EQ(st.ini_path, dir.file("veslink.INI"));
  EXPECT_FALSE(st.autologin);
  EXPECT_FALSE(st.close_when_disconnected);
  EXPECT_EQ(st.utility_base_directory, "../");
  EXPECT_TRUE(st.serial_events != nullptr);
  EXPECT_TRUE(st.serial_events->data_consumed.is_set());
  EXPECT_FALSE(st.serial_events->read_done.is_set());

  EXPECT_EQ(app->settings().current_host, "IniHost");  // the INI file wins
  EXPECT_EQ(app->settings().def_password, "pw");
  EXPECT_EQ(st.connection_title, "IniHost - VESTRA-Nu Thin Client ");
  EXPECT_EQ(stored_host_list(), "inihost,old,");

  const std::string path = std::getenv("PATH");
  EXPECT_EQ(path, saved_path_ + ":" + dir.path());

  ASSERT_NE(app->terminal_window(), nullptr);
  EXPECT_EQ(app->terminal_window()->windowTitle(), "Terminal Mode");
  // The Connect command opened the login dialog; Exit there ends the client.
  EXPECT_EQ(login_forms, std::vector<LoginDialog::Form>{LoginDialog::Form::Normal});
  EXPECT_EQ(st.last_login_result, login_ids::kExit);
  EXPECT_TRUE(wait_until([&] { return !exit_codes.empty(); }));
  EXPECT_EQ(exit_codes, std::vector<int>{0});
  EXPECT_FALSE(app->main_frame()->isVisible());
}

TEST_F(ClientStartTest, TwoArgumentsAreIgnoredForTheDefaultIni) {
  dir.write("veslink.INI", "host=default\n");
  dir.write("a.INI", "host=wrong\n");
  auto app = start({dir.file("a"), dir.file("b")});
  EXPECT_EQ(app->settings().current_host, "default");
}

TEST_F(ClientStartTest, ExplicitIniWithAndWithoutExtension) {
  dir.write("site.INI", "l=com2\nb=9600\n");
  for (const char* arg : {"site", "site.cfg"}) {
    auto app = start({dir.file(arg)});
    EXPECT_EQ(app->settings().interface_code, 2) << arg;
    EXPECT_EQ(app->settings().baud, 9600);
    EXPECT_EQ(app->state().connection_title, "VESTRA-Nu Thin Client");
    EXPECT_EQ(app->state().ini_path, dir.file("site.INI"));
  }
}

TEST_F(ClientStartTest, MissingExplicitIniIsReportedAndStartUpGoesOn) {
  vestra::test::ScriptedMessages boxes;
  auto app = start({dir.file("nosuch")});
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, "Can't open '" + dir.file("nosuch.INI") + "'");
  EXPECT_FALSE(app->state().ini_read);
  EXPECT_EQ(app->settings().current_host, "reghost");
  EXPECT_EQ(app->state().connect_commands, 1);
}

TEST_F(ClientStartTest, AutoLoginTakesTheStoredDetailsAndNotTheIni) {
  dir.write("veslink.INI", "host=inihost\ndef_password=inipw\n");
  // Nothing listens on port 1: the automatic login fails at once and, with
  // no dialog to fall back on, the new session ends.
  ASSERT_TRUE(save_stored_login({"fred", "Secret", "conn"}, "127.0.0.1:1", INTERFACE_TELNET, reg));
  vestra::test::ScriptedMessages boxes;
  auto app = start({"-autologin"});
  const StartupState& st = app->state();
  EXPECT_TRUE(st.close_when_disconnected);
  EXPECT_FALSE(st.ini_read);
  EXPECT_EQ(app->settings().def_username, "fred");
  EXPECT_EQ(app->settings().def_password, "Secret");
  EXPECT_EQ(app->settings().def_conn_password, "conn");
  EXPECT_EQ(app->settings().default_host, "127.0.0.1:1");
  EXPECT_EQ(app->settings().interface_code, INTERFACE_TELNET);
  EXPECT_EQ(login_forms, std::vector<LoginDialog::Form>{LoginDialog::Form::AutoLogin});
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Connection Failed!\n\n"});
  EXPECT_EQ(st.last_login_result, login_ids::kExit);
  EXPECT_TRUE(wait_until([&] { return !exit_codes.empty(); }));
  EXPECT_EQ(exit_codes, std::vector<int>{0});
  std::vector<vestra::registry::Value> left;
  reg.list_values(Hive::CurrentUser, kTempKey, left);
  EXPECT_TRUE(left.empty());
}

TEST_F(ClientStartTest, AutoLoginWithoutCompleteDetailsFallsBackToTheDialog) {
  dir.write("veslink.INI", "def_password=inipw\n");
  reg.set_string(Hive::CurrentUser, kSettingsKey, "def_username", "regular");
  ASSERT_TRUE(save_stored_login({"fred", "Secret", ""}, "storedhost", INTERFACE_TELNET, reg));
  reg.delete_value(Hive::CurrentUser, kTempKey, "tmp_conn");
  auto app = start({"-autologin"});
  EXPECT_FALSE(app->state().autologin);
  EXPECT_FALSE(app->state().close_when_disconnected);
  EXPECT_FALSE(app->state().ini_read);
  EXPECT_EQ(app->settings().def_username, "");
  EXPECT_EQ(app->settings().def_password, "");
  EXPECT_EQ(app->settings().default_host, "");
  EXPECT_EQ(login_forms, std::vector<LoginDialog::Form>{LoginDialog::Form::Normal});

  // With no stored details at all, the same.
  auto again = start({"-autologin"});
  EXPECT_FALSE(again->state().autologin);
  EXPECT_EQ(again->settings().def_username, "");
}

}  // namespace
}  // namespace veslink
