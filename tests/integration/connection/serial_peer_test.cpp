// The client on a serial line: COM1 is one end of a socat pty pair (its device
// comes from "com1_device" in the settings key) with the scripted host on the
// other end; a fake modem on a pty answers the dialler; and a line that
// disappears in the middle of a session.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include "client/connection/connection_dialogs.h"
#include "client/connection/connection_manager.h"
#include "tests/integration/connection/client_run.h"
#include "tests/integration/connection/peer_harness.h"

namespace veslink::peers {
namespace {

using Strings = std::vector<std::string>;

bool exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

class SerialPeerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    client.setting("interface", "com1,9600,8,n,1");
    client.setting("com1_device", dir.file("ttyA"));
  }
  // A pty pair: the client opens ttyA, the host runs on ttyB.
  void start_line() {
    ASSERT_TRUE(line.start({"/usr/bin/socat", "pty,raw,echo=0,link=" + dir.file("ttyA"),
                            "pty,raw,echo=0,link=" + dir.file("ttyB")},
                           dir.file("socat.log")));
    ASSERT_TRUE(vestra::test::wait_for([&] {
      return exists(dir.file("ttyA")) && exists(dir.file("ttyB"));
    })) << vestra::test::TempDir::read(dir.file("socat.log"));
  }
  // The scripted host on the far end of the line, started once the client
  // holds its end, so that nothing it says is lost before anyone listens.
  void start_host(const std::string& scenario) {
    record = dir.file("record-" + scenario);
    const std::string tty = dir.file("ttyB");
    host.start({"/bin/sh", "-c",
                "exec /usr/bin/python3 " + peer_script("scripted_host.py") + " " + scenario + " " +
                    record + " <" + tty + " >" + tty},
               dir.file("host.log"));
  }

  vestra::test::TempDir dir;
  vestra::test::PeerProcess line;
  vestra::test::PeerProcess host;
  ClientRun client{dir};
  std::string record;
};

TEST_F(SerialPeerTest, LogsInOverTheLineAndReportsALineThatDisappears) {
  start_line();
  bool host_disabled = false;
  Strings after_loss;
  client.start({[&](LoginDialog& d) {
                  host_disabled = !control_enabled(d, "1112") && !control_enabled(d, "1113");
                  fill_login(d, "fred", "Secret1");
                  d.press_login();
                  start_host("normal");
                },
                [&](LoginDialog& d) {
                  after_loss = ClientRun::screen_rows();
                  d.press_exit();
                }});
  ASSERT_TRUE(pump_until([&] { return client.last_login_result() != 0; }, 20000));
  EXPECT_TRUE(host_disabled);
  EXPECT_EQ(client.last_login_result(), login_ids::kUnixLogin);
  EXPECT_TRUE(client.connected());
  EXPECT_EQ(client.app->connection()->state().connection_title, "COM1 - VESTRA-Nu Thin Client");
  const Record r = read_record(record);
  EXPECT_EQ(record_values(r, "user"), Strings{"fred"});
  EXPECT_EQ(record_values(r, "password"), Strings{"Secret1"});
  EXPECT_EQ(record_values(r, "terminal_type"), Strings{"veslink"});
  EXPECT_TRUE(client.boxes.shown().empty());

  // The line goes away: the client says why, closes, and offers the login
  // dialog again instead of hanging.
  host.stop();
  line.stop();
  ASSERT_TRUE(pump_until([&] { return client.exited(); }, 10000));
  EXPECT_FALSE(client.connected());
  ASSERT_GE(after_loss.size(), 2u);
  EXPECT_EQ(after_loss[0], "Connection closed.");
  EXPECT_EQ(after_loss[1].rfind("Serial line lost: ", 0), 0u) << after_loss[1];
  EXPECT_EQ(client.exit_codes, std::vector<int>{0});
}

TEST_F(SerialPeerTest, DiallerSendsTheModemCommandsAndFindsNoCarrierOnAPty) {
  vestra::test::PeerProcess modem;
  const std::string modem_record = dir.file("modem-record");
  ASSERT_TRUE(modem.start(
      {"/usr/bin/python3", peer_script("fake_modem.py"), dir.file("ttyA"), modem_record},
      dir.file("modem.log")));
  ASSERT_TRUE(vestra::test::wait_for([&] { return exists(dir.file("ttyA")); }));
  client.start({[&](LoginDialog& d) {
    fill_login(d, "fred", "Secret1");
    // The dialler runs modally inside Login; the user cancels it once the
    // modem has answered the dial command and the 4-second wait after that
    // answer has passed without a carrier.
    bool dialer_open_after_wait = false;
    QTimer watch;
    QElapsedTimer since_dial;
    watch.setInterval(50);
    QObject::connect(&watch, &QTimer::timeout, [&] {
      ModemDialer* dialer = nullptr;
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<ModemDialer*>(w); m && m->isVisible()) dialer = m;
      if (!dialer) return;
      const Record r = read_record(modem_record);
      if (record_values(r, "command").size() < 3) return;
      if (!since_dial.isValid()) since_dial.start();
      if (since_dial.elapsed() < 4500) return;
      dialer_open_after_wait = true;
      dialer->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    watch.start();
    d.press_login();
    watch.stop();
    EXPECT_TRUE(dialer_open_after_wait);
    EXPECT_TRUE(client.connected());  // the port stays open without a carrier
    d.press_exit();
  }});
  client.app->settings().phone_number = "5551234";
  client.app->settings().modem_init = "ATZ";
  ASSERT_TRUE(pump_until([&] { return client.last_login_result() != 0; }, 30000));
  EXPECT_EQ(client.boxes.texts(), Strings{"Modem connection unsuccessful"});
  const Record r = read_record(modem_record);
  EXPECT_EQ(record_values(r, "command"), (Strings{"ATZ", "ate0", "atd5551234"}));
  EXPECT_EQ(record_values(r, "speed"), (Strings{"9600", "9600", "9600"}));
}

}  // namespace
}  // namespace veslink::peers
