// The stored login details that carry a login to a new session.
#include "client/connection/stored_login.h"

#include <gtest/gtest.h>

#include "client/connection/login_scrambler.h"
#include "client/settings/client_texts.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace veslink {
namespace {

using vestra::registry::Hive;
using vestra::registry::Locations;
using vestra::registry::Registry;

class StoredLoginTest : public ::testing::Test {
 protected:
  std::vector<vestra::registry::Value> stored() {
    std::vector<vestra::registry::Value> values;
    reg.list_values(Hive::CurrentUser, kTempKey, values);
    return values;
  }
  vestra::test::TempDir dir;
  Registry reg{Locations::single(dir.path())};
};

TEST_F(StoredLoginTest, SavedDetailsLogTheNextClientInOnce) {
  ASSERT_TRUE(save_stored_login({"fred", "Secret12", "remote pw"}, "unixhost:2001",
                                INTERFACE_SSL_TELNET, reg));
  // The secrets are not in clear text; host and interface are.
  std::string text;
  reg.get_string(Hive::CurrentUser, kTempKey, "tmp_log_2", text);
  EXPECT_EQ(text, scramble_login_text("Secret12"));
  EXPECT_NE(text, "Secret12");
  reg.get_string(Hive::CurrentUser, kTempKey, "tmp_host", text);
  EXPECT_EQ(text, "unixhost:2001");
  reg.get_string(Hive::CurrentUser, kTempKey, "tmp_conn", text);
  EXPECT_EQ(text, "ssltelnet");

  ClientSettings s;
  s.def_username = "someone else";
  EXPECT_TRUE(load_stored_login(s, reg));
  EXPECT_EQ(s.def_username, "fred");
  EXPECT_EQ(s.def_password, "Secret12");
  EXPECT_EQ(s.def_conn_password, "remote pw");
  EXPECT_EQ(s.default_host, "unixhost:2001");
  EXPECT_EQ(s.interface_code, INTERFACE_SSL_TELNET);
  EXPECT_TRUE(stored().empty());

  // Read once: a second start finds nothing.
  ClientSettings again;
  again.def_password = "from the INI";
  EXPECT_FALSE(load_stored_login(again, reg));
  EXPECT_EQ(again.def_password, "");
}

TEST_F(StoredLoginTest, AnyMissingValueMeansNoAutomaticLogin) {
  const char* names[] = {"tmp_log_1", "tmp_log_2", "tmp_log_3", "tmp_host", "tmp_conn"};
  for (const char* missing : names) {
    SCOPED_TRACE(missing);
    ASSERT_TRUE(save_stored_login({"fred", "pw", ""}, "h", INTERFACE_TELNET, reg));
    reg.delete_value(Hive::CurrentUser, kTempKey, missing);
    ClientSettings s;
    s.def_username = "x";
    s.def_password = "y";
    s.def_conn_password = "z";
    s.default_host = "w";
    EXPECT_FALSE(load_stored_login(s, reg));
    EXPECT_EQ(s.def_username, "");
    EXPECT_EQ(s.def_password, "");
    EXPECT_EQ(s.def_conn_password, "");
    EXPECT_EQ(s.default_host, "");
    EXPECT_TRUE(stored().empty());  // deleted either way
  }
}

TEST_F(StoredLoginTest, PlainTelnetAndLongValuesAreCut) {
  ASSERT_TRUE(save_stored_login({std::string(40, 'u'), "p", "c"}, std::string(80, 'h'),
                                INTERFACE_TELNET, reg));
  ClientSettings s;
  s.interface_code = 3;
  EXPECT_TRUE(load_stored_login(s, reg));
  EXPECT_EQ(s.interface_code, INTERFACE_TELNET);
  EXPECT_EQ(s.def_username, std::string(29, 'u'));
  EXPECT_EQ(s.default_host, std::string(49, 'h'));
}

TEST_F(StoredLoginTest, KeyThatCannotBeWrittenIsReported) {
  reg.set_read_only(Hive::CurrentUser, true);
  vestra::test::ScriptedMessages boxes;
  EXPECT_FALSE(save_stored_login({"fred", "pw", ""}, "h", INTERFACE_TELNET, reg));
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, "Can't create/open temp registry key for login info");
  EXPECT_EQ(boxes.shown()[0].caption, "VESTRA");
}

}  // namespace
}  // namespace veslink
