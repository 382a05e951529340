// The Communications dialog: what it shows, what it refuses, and what it
// writes to the registry and the INI file.
#include "client/connection/comm_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <filesystem>

#include "client/connection/connection_manager.h"
#include "client/settings/client_texts.h"
#include "client/settings/settings_registry.h"
#include "client/terminal/char_screen.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace veslink {
namespace {

using vestra::registry::Hive;

class CommDialogTest : public ::testing::Test {
 protected:
  CommDialogTest() {
    settings.interface_code = 2;
    settings.baud = 9600;
    settings.default_host = "unixhost";
  }
  std::unique_ptr<CommDialog> open(bool ini_read = true) {
    return std::make_unique<CommDialog>(
        CommDialog::Context{settings, connection, dir.file("site.INI"), ini_read,
                            [this] { return write_comm_settings(settings, reg); },
                            [this] { ++connects_posted; }},
        nullptr);
  }
  std::string stored(const char* name) {
    std::string text;
    reg.get_string(Hive::CurrentUser, kSettingsKey, name, text);
    return text;
  }
  static void choose(QComboBox* box, const QString& text) {
    box->setCurrentIndex(box->findText(text));
  }

  vestra::test::TempDir dir;
  vestra::registry::Registry reg{vestra::registry::Locations::single(dir.path() + "/reg")};
  ClientSettings settings;
  CharScreen screen;
  ConnectionManager connection{settings, reg, screen, ConnectionUi{}};
  int connects_posted = 0;
};

TEST_F(CommDialogTest, ShowsTheSettingsAndEnablesWhatTheInterfaceUses) {
  auto d = open();
  EXPECT_EQ(d->interface_box()->currentText(), "COM2");
  EXPECT_EQ(d->baud_box()->currentText(), "9600");
  EXPECT_TRUE(d->xon_box()->isChecked());
  struct Case {
    const char* interface_text;
    bool serial, host, secure;
  } cases[] = {{"COM2", true, false, false},
               {"TCP/IP", false, true, false},
               {"Secure TCP/IP", false, true, true}};
  for (const Case& c : cases) {
    choose(d->interface_box(), c.interface_text);
    EXPECT_EQ(d->baud_box()->isEnabled(), c.serial) << c.interface_text;
    EXPECT_EQ(d->host_edit()->isEnabled(), c.host) << c.interface_text;
    EXPECT_EQ(d->cert_edit()->isEnabled(), c.secure) << c.interface_text;
    EXPECT_EQ(d->keep_alive_edit()->isEnabled(), c.secure) << c.interface_text;
  }
}

TEST_F(CommDialogTest, OkWritesTheRegistryAndRewritesTheIniFile) {
  dir.write("site.INI", "host=old\ndef_password=secret\n");
  const std::string cert = dir.write("client.pem", "pem");
  auto d = open(true);
  choose(d->interface_box(), "Secure TCP/IP");
  d->host_edit()->setText("127.0.0.1:992");
  d->cert_edit()->setText("client.pem");  // found beside the INI file
  d->keep_alive_edit()->setText("15");
  vestra::test::ScriptedMessages boxes;
  ASSERT_TRUE(d->apply());
  EXPECT_TRUE(boxes.shown().empty());
  EXPECT_EQ(settings.interface_code, INTERFACE_SSL_TELNET);
  EXPECT_EQ(settings.secure_suffix, "(Secure connection)");
  EXPECT_EQ(settings.default_host, "127.0.0.1:992");
  EXPECT_EQ(settings.cert_file, cert);
  EXPECT_EQ(settings.keep_alive_minutes, 15);
  EXPECT_EQ(stored("interface"), "ssltelnet,127.0.0.1:992");
  EXPECT_EQ(stored("sslcert"), cert);
  EXPECT_EQ(stored("keep_alive_time"), "15");
  const std::string ini = vestra::test::TempDir::read(dir.file("site.INI"));
  EXPECT_NE(ini.find("l=ssltelnet\n"), std::string::npos);
  EXPECT_NE(ini.find("host=127.0.0.1:992\n"), std::string::npos);
  EXPECT_EQ(ini.find("def_password"), std::string::npos);
  EXPECT_EQ(connects_posted, 1);  // not connected: a new Connect starts
}

TEST_F(CommDialogTest, SerialSettingsAreTakenFromTheControls) {
  auto d = open(false);
  choose(d->interface_box(), "COM3");
  choose(d->baud_box(), "19.2k");
  d->xon_box()->setChecked(false);
  ASSERT_TRUE(d->apply());
  EXPECT_EQ(settings.interface_code, 3);
  EXPECT_EQ(settings.baud, 19200);
  EXPECT_EQ(settings.flow, 0);
  EXPECT_EQ(stored("interface"), "com3,19200,8,n,1,,,");
  EXPECT_FALSE(std::filesystem::exists(dir.file("site.INI")));  // none was read
}

TEST_F(CommDialogTest, RefusalsKeepTheDialogOpenAndChangeNothing) {
  struct Case {
    const char* interface_text;
    const char* host;
    const char* cert;
    const char* key;
    const char* message;
  } cases[] = {
      {"Secure TCP/IP", "127.0.0.1", "missing.pem", "", "Certificate file not found!"},
      {"Secure TCP/IP", "127.0.0.1", "", "missing.key", "Certificate key file not found!"},
      {"TCP/IP", "no-such-host.invalid", "", "", "Host name not known!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    auto d = open();
    choose(d->interface_box(), c.interface_text);
    d->host_edit()->setText(c.host);
    d->cert_edit()->setText(c.cert);
    d->key_edit()->setText(c.key);
    vestra::test::ScriptedMessages boxes;
    EXPECT_FALSE(d->apply());
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{c.message});
    EXPECT_EQ(settings.interface_code, 2);
    EXPECT_EQ(stored("interface"), "");
  }
}

}  // namespace
}  // namespace veslink
