// The New Session command.
#include "client/app/new_session.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "client/connection/login_scrambler.h"
#include "client/settings/client_settings.h"
#include "client/settings/client_texts.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace veslink {
namespace {

using vestra::registry::Hive;
using vestra::test::ScriptedMessages;

struct Launch {
  std::string program;
  std::vector<std::string> args;
};

class NewSessionTest : public ::testing::Test {
 protected:
  NewSessionCommand command{[this](const std::string& p, const std::vector<std::string>& a) {
    launches.push_back({p, a});
    return launch_works;
  }};
  vestra::test::TempDir dir;
  vestra::registry::Registry reg{vestra::registry::Locations::single(dir.path() + "/reg")};
  std::vector<Launch> launches;
  bool launch_works = true;
};

TEST_F(NewSessionTest, EnabledOnlyOverTcpAndNotWithinTenSecondsOfALaunch) {
  EXPECT_TRUE(command.enabled(true, INTERFACE_TELNET, 0));
  EXPECT_TRUE(command.enabled(true, INTERFACE_SSL_TELNET, 0));
  EXPECT_FALSE(command.enabled(true, 2, 0));
  EXPECT_FALSE(command.enabled(false, INTERFACE_TELNET, 0));

  reg.set_string(Hive::LocalMachine, kInstallKey, "DirPath", "/opt/vestra");
  ASSERT_TRUE(command.run({"u", "p", ""}, "h", INTERFACE_TELNET, reg, 50'000));
  EXPECT_FALSE(command.enabled(true, INTERFACE_TELNET, 50'000 + 9'999));
  EXPECT_TRUE(command.enabled(true, INTERFACE_TELNET, 50'000 + 10'000));
}

TEST_F(NewSessionTest, StoresTheLoginAndStartsTheInstalledClient) {
  ScriptedMessages boxes;
  reg.set_string(Hive::LocalMachine, kInstallKey, "DirPath", "/opt/vestra/");
  ASSERT_TRUE(command.run({"fred", "Secret", "conn"}, "unixhost", INTERFACE_SSL_TELNET, reg, 1));
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].program, "/opt/vestra/veslink/veslink");
  EXPECT_EQ(launches[0].args, std::vector<std::string>{"-autologin"});
  std::string text;
  ASSERT_TRUE(reg.get_string(Hive::CurrentUser, kTempKey, "tmp_log_1", text).ok());
  EXPECT_EQ(scramble_login_text(text), "fred");
  reg.get_string(Hive::CurrentUser, kTempKey, "tmp_conn", text);
  EXPECT_EQ(text, "ssltelnet");
  EXPECT_TRUE(boxes.shown().empty());
  EXPECT_EQ(command.last_launch_ms(), 1);
}

TEST_F(NewSessionTest, UpperCaseInstallationIsAccepted) {
  const std::string program = dir.file("inst/VESLINK/VESLINK");
  dir.write("inst/VESLINK/VESLINK", "#!/bin/sh\n");
  chmod(program.c_str(), 0755);
  reg.set_string(Hive::LocalMachine, kInstallKey, "DirPath", dir.file("inst"));
  ASSERT_TRUE(command.run({"u", "p", ""}, "h", INTERFACE_TELNET, reg, 1));
  EXPECT_EQ(launches.at(0).program, program);
}

TEST_F(NewSessionTest, FailuresAreExplained) {
  struct Case {
    std::function<void()> prepare;
    std::string caption;
    std::string text;
  } cases[] = {
      {[] {}, "VESTRA", "Can't open registry key HKEY_LOCAL_MACHINE\\Software\\VESTRA\\Veslink"},
      {[&] { reg.create_key(Hive::LocalMachine, kInstallKey); }, "VESTRA",
       "Can't read registry value HKEY_LOCAL_MACHINE\\Software\\VESTRA\\Veslink\\DirPath"},
      {[&] { reg.set_string(Hive::LocalMachine, kInstallKey, "DirPath", "/"); }, "VESTRA",
       "Unknown Veslink DirPath value"},
      {[&] {
         reg.set_string(Hive::LocalMachine, kInstallKey, "DirPath", "/opt/v");
         launch_works = false;
       },
       "Could not launch new session", "Can't run '/opt/v/veslink/veslink'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    c.prepare();
    ScriptedMessages boxes;
    EXPECT_FALSE(command.run({"u", "p", ""}, "h", INTERFACE_TELNET, reg, 1));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, c.caption);
    EXPECT_EQ(boxes.shown()[0].text, c.text);
    EXPECT_FALSE(command.last_launch_ms().has_value());
  }
}

}  // namespace
}  // namespace veslink
