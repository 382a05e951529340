// Reading the settings key at start-up and the writers the dialogs call.
#include "client/settings/settings_registry.h"

#include <gtest/gtest.h>

#include <functional>

#include "client/settings/client_texts.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace veslink {
namespace {

using vestra::registry::Hive;
using vestra::registry::Locations;
using vestra::registry::Value;
using vestra::registry::ValueType;
using vestra::test::ScriptedMessages;
using vestra::test::TempDir;

class SettingsRegistryTest : public ::testing::Test {
 protected:
  void put(const std::string& name, const std::string& text) {
    ASSERT_TRUE(reg.set_string(Hive::CurrentUser, kSettingsKey, name, text).ok());
  }
  std::string get(const std::string& name) {
    std::string text;
    EXPECT_TRUE(reg.get_string(Hive::CurrentUser, kSettingsKey, name, text).ok()) << name;
    return text;
  }
  bool has(const std::string& name) {
    std::string text;
    return reg.get_string(Hive::CurrentUser, kSettingsKey, name, text).ok();
  }
  TempDir dir;
  Registry reg{Locations::single(dir.path() + "/registry")};
};

TEST_F(SettingsRegistryTest, MissingKeyMeansAllDefaults) {
  ClientSettings s;
  read_settings(s, reg);
  EXPECT_EQ(s.interface_code, INTERFACE_TELNET);
  EXPECT_EQ(s.baud, 56000);
  EXPECT_EQ(s.slave_type, kSlaveDisabled);
  EXPECT_EQ(s.slave_delay, 10);
  EXPECT_TRUE(s.confirm_close);
  EXPECT_TRUE(s.navigation_control);
  EXPECT_EQ(s.calc_prec, 6);
}

TEST_F(SettingsRegistryTest, ReadsStringValuesAndSkipsTheRest) {
  put("Interface", "com3,19200,7,e,2,,dtrdsr,rtscts");
  put("host_list", "a,b,c,");
  put("def_username", "fred");
  put("login_timeout", "500");
  put("slave_type", "printer");
  put("slave_name", "lp");
  std::string macro;
  for (int i = 0; i < 200; ++i)
    macro += (i ? ",-33" : "-33");  // 799 bytes
  put("macro_csf3", macro);
  put(std::string(50, 'x'), "too long a name");
  ASSERT_TRUE(reg.set_value(Hive::CurrentUser, kSettingsKey, "confirm_close", ValueType::Dword,
                            vestra::registry::dword_bytes(0))
                  .ok());

  ClientSettings s;
  read_settings(s, reg);
  EXPECT_EQ(s.interface_code, 3);
  EXPECT_EQ(s.flow, kFlowDtrDsr | kFlowRtsCts);
  EXPECT_EQ(s.host_list, "a,b,c,");
  EXPECT_EQ(s.def_username, "fred");
  EXPECT_EQ(s.login_timeout, 120);
  EXPECT_EQ(s.slave_type, kSlavePrinter);
  EXPECT_EQ(s.slave_name, "lp");
  EXPECT_TRUE(s.confirm_close);  // a REG_DWORD is not read
  // A full macro reads back whole, however long its text.
  ASSERT_EQ(s.macros.size(), 1u);
  EXPECT_EQ(s.macros[0].codes, std::vector<std::int16_t>(200, -33));
}

TEST_F(SettingsRegistryTest, SecureTelnetChecksTheCertificateFiles) {
  const std::string cert = dir.write("client.pem", "pem");
  struct Case {
    std::string interface_value, cert, key;
    std::vector<std::string> messages;
    bool cert_kept, key_kept;
  } cases[] = {
      {"ssltelnet,h",
       dir.file("none.pem"),
       dir.file("none.key"),
       {"SSL Certificate file not found!", "SSL Certificate key file not found!"},
       false,
       false},
      {"ssltelnet,h",
       cert,
       dir.file("none.key"),
       {"SSL Certificate key file not found!"},
       true,
       false},
      {"ssltelnet,h", cert, cert, {}, true, true},
      {"ssltelnet,h", "", "", {}, false, false},
      {"telnet,h", dir.file("none.pem"), "", {}, true, false},  // only checked for SSL
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.interface_value + " " + c.cert + " " + c.key);
    put("interface", c.interface_value);
    put("sslcert", c.cert);
    put("sslkey", c.key);
    ScriptedMessages boxes;
    ClientSettings s;
    read_settings(s, reg);
    EXPECT_EQ(boxes.texts(), c.messages);
    for (const auto& box : boxes.shown()) {
      EXPECT_EQ(box.caption, "VESTRA-Nu Thin Client");
      EXPECT_EQ(box.owner, nullptr);
    }
    EXPECT_EQ(s.cert_file, c.cert_kept ? c.cert : "");
    EXPECT_EQ(s.key_file, c.key_kept ? c.key : "");
  }
}

TEST_F(SettingsRegistryTest, EachWriterWritesItsOwnValues) {
  ClientSettings s;
  s.interface_code = 2;
  s.baud = 9600;
  s.cert_file = "/c.pem";
  s.key_file = "";
  s.keep_alive_minutes = 5;
  s.confirm_close = false;
  s.mail_notify = true;
  s.login_timeout = 45;
  s.navigation_control = false;
  s.calc_prec = 3;
  s.fixed_font = {"Courier New", 16, 400, 1, 0x31, 8};
  s.normal_font = {"Arial", 15, 700, 1, 2, 0};
  s.slave_type = kSlaveFile;
  s.slave_name = "/dev/lp0";
  s.slave_delay = 12;
  s.def_username = "fred";

  ASSERT_TRUE(write_comm_settings(s, reg));
  EXPECT_EQ(get("interface"), "com2,9600,8,n,1,xonxoff,,");
  EXPECT_EQ(get("sslcert"), "/c.pem");
  EXPECT_EQ(get("sslkey"), "");
  EXPECT_EQ(get("keep_alive_time"), "5");
  EXPECT_FALSE(has("confirm_close"));

  ASSERT_TRUE(write_general_settings(s, reg));
  EXPECT_EQ(get("confirm_close"), "false");
  EXPECT_EQ(get("mail_notify"), "true");
  EXPECT_EQ(get("login_timeout"), "45");
  EXPECT_EQ(get("vestra_vscroll"), "false");
  EXPECT_EQ(get("calc_prec"), "3");

  ASSERT_TRUE(write_font_setting(s, true, reg));
  EXPECT_EQ(get("font_fixed"), "Courier New,16,400,1,49,8");
  EXPECT_FALSE(has("font_norm"));
  ASSERT_TRUE(write_font_setting(s, false, reg));
  EXPECT_EQ(get("font_norm"), "Arial,15,700,1,2,0");

  ASSERT_TRUE(write_slave_settings(s, reg));
  EXPECT_EQ(get("slave_type"), "file");
  EXPECT_EQ(get("slave_name"), "/dev/lp0");
  EXPECT_EQ(get("slave_delay"), "12");

  ASSERT_TRUE(write_def_username(s, reg));
  EXPECT_EQ(get("def_username"), "fred");

  ASSERT_TRUE(write_macro({116, 3, {97, 98, 99, 0, -3}}, reg));
  EXPECT_EQ(get("macro_csf5"), "97,98,99,0,-3");
  ASSERT_TRUE(delete_macro(116, 3, reg));
  EXPECT_FALSE(has("macro_csf5"));
  EXPECT_TRUE(delete_macro(116, 3, reg));  // nothing stored is not a failure

  // Everything written reads back into the same settings.
  ClientSettings back;
  read_settings(back, reg);
  EXPECT_EQ(back.interface_code, 2);
  EXPECT_EQ(back.baud, 9600);
  EXPECT_EQ(back.keep_alive_minutes, 5);
  EXPECT_FALSE(back.confirm_close);
  EXPECT_TRUE(back.mail_notify);
  EXPECT_EQ(back.login_timeout, 45);
  EXPECT_FALSE(back.navigation_control);
  EXPECT_EQ(back.calc_prec, 3);
  EXPECT_EQ(back.fixed_font, s.fixed_font);
  EXPECT_EQ(back.normal_font, s.normal_font);
  EXPECT_EQ(back.slave_type, kSlaveFile);
  EXPECT_EQ(back.slave_name, "/dev/lp0");
  EXPECT_EQ(back.slave_delay, 12);
  EXPECT_EQ(back.def_username, "fred");
}

TEST_F(SettingsRegistryTest, HostListIsWrittenOnlyWhenItChanges) {
  ClientSettings s;
  s.host_list = "a,b,c,";
  ASSERT_TRUE(add_to_host_list(s, "b", reg));
  EXPECT_EQ(s.host_list, "b,a,c,");
  EXPECT_EQ(get("host_list"), "b,a,c,");

  put("host_list", "marker");
  ASSERT_TRUE(add_to_host_list(s, "B", reg));
  EXPECT_EQ(get("host_list"), "marker");  // no write at all
}

TEST_F(SettingsRegistryTest, WritersReportAKeyThatCannotBeWritten) {
  reg.set_read_only(Hive::CurrentUser, true);
  ClientSettings s;
  struct Case {
    const char* what;
    std::function<bool()> write;
    const char* message;
  } cases[] = {
      {"comm", [&] { return write_comm_settings(s, reg); },
       "Can't create/open settings registry key"},
      {"general", [&] { return write_general_settings(s, reg); },
       "Can't create/open settings registry key"},
      {"font", [&] { return write_font_setting(s, false, reg); }, "Can't create registry sub key"},
      {"macro",
       [&] {
         return write_macro({112, 1, {1}}, reg);
       },
       "Can't create/open settings registry key"},
      {"delete macro", [&] { return delete_macro(112, 1, reg); },
       "Can't create/open settings registry key"},
      {"slave", [&] { return write_slave_settings(s, reg); },
       "Can't create/open settings registry key"},
      {"user", [&] { return write_def_username(s, reg); },
       "Can't create/open settings registry key"},
      {"hosts", [&] { return add_to_host_list(s, "h", reg); },
       "Can't create/open settings registry key"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedMessages boxes;
    EXPECT_FALSE(c.write());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, c.message);
    EXPECT_EQ(boxes.shown()[0].caption, "VESTRA");
    EXPECT_EQ(boxes.shown()[0].icon, vestra::messages::Icon::Warning);
  }
  // The new value stays in effect for this run.
  EXPECT_EQ(s.host_list, "h,");
}

}  // namespace
}  // namespace veslink
