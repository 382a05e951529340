// Telnet inside TLS against stunnel in front of the telnet daemon, with
// certificates made by the openssl command for each test: the server's
// certificate (self-signed, or from an issuer the client does not know), the
// session lines on the terminal screen, servers that require a client
// certificate, an encrypted client key, and a certificate file that is not PEM.
#include <gtest/gtest.h>

#include <cstdlib>

#include "client/connection/connection_manager.h"
#include "tests/integration/connection/client_run.h"
#include "tests/integration/connection/peer_harness.h"

namespace veslink::peers {
namespace {

using Strings = std::vector<std::string>;

// The test's certificates, made on first use in its temporary directory.
class Certificates {
 public:
  explicit Certificates(const vestra::test::TempDir& dir) : dir_(dir) {}

  // A self-signed certificate with its key: "<name>.crt", "<name>.key".
  void self_signed(const std::string& name, const std::string& subject) {
    run("req -x509 -newkey rsa:2048 -nodes -days 2 -subj " + subject + " -keyout " + key(name) +
        " -out " + crt(name));
  }
  // A certificate for `name` issued by the certificate authority `ca`.
  void issued(const std::string& name, const std::string& subject, const std::string& ca) {
    run("req -newkey rsa:2048 -nodes -days 2 -subj " + subject +
        " -addext subjectAltName=DNS:localhost,IP:127.0.0.1 -keyout " + key(name) + " -CA " +
        crt(ca) + " -CAkey " + key(ca) + " -out " + crt(name));
  }
  // The key of `name` encrypted with a pass phrase, as "<name>-locked.key".
  void lock_key(const std::string& name, const std::string& phrase) {
    run("pkey -in " + key(name) + " -aes256 -passout pass:" + phrase + " -out " +
        dir_.file(name + "-locked.key"));
  }
  std::string crt(const std::string& name) const { return dir_.file(name + ".crt"); }
  std::string key(const std::string& name) const { return dir_.file(name + ".key"); }
  bool ok() const { return ok_; }

 private:
  void run(const std::string& args) {
    const std::string command =
        "/usr/bin/openssl " + args + " >>" + dir_.file("openssl.log") + " 2>&1";
    ok_ = std::system(command.c_str()) == 0 && ok_;
  }
  const vestra::test::TempDir& dir_;
  bool ok_ = true;
};

class TlsPeerTest : public ::testing::Test {
 protected:
  // telnetd with `scenario`, and stunnel in front of it with this server
  // certificate; `client_ca` set: a client certificate from that authority
  // is required, and refused at the handshake (TLS 1.2).
  void serve(const std::string& scenario, const std::string& server_cert,
             const std::string& client_ca = "") {
    ASSERT_TRUE(certs.ok()) << vestra::test::TempDir::read(dir.file("openssl.log"));
    telnet_port = daemon.start(scenario);
    ASSERT_NE(telnet_port, 0);
    port = vestra::test::start_listening_peer(
        stunnel,
        [&](int tls_port) {
          std::string conf = "foreground = yes\npid = " + dir.file("stunnel.pid") +
                             "\n[telnets]\naccept = 127.0.0.1:" + std::to_string(tls_port) +
                             "\nconnect = 127.0.0.1:" + std::to_string(telnet_port) +
                             "\ncert = " + certs.crt(server_cert) +
                             "\nkey = " + certs.key(server_cert) + "\n";
          if (!client_ca.empty())
            conf += "verify = 2\nCAfile = " + certs.crt(client_ca) + "\nsslVersionMax = TLSv1.2\n";
          return std::vector<std::string>{"/usr/bin/stunnel4", dir.write("stunnel.conf", conf)};
        },
        dir.file("stunnel.log"));
    ASSERT_NE(port, 0) << vestra::test::TempDir::read(dir.file("stunnel.log"));
    host = "127.0.0.1:" + std::to_string(port);
  }

  vestra::test::TempDir dir;
  Certificates certs{dir};
  TelnetDaemon daemon{dir};
  vestra::test::PeerProcess stunnel;
  int telnet_port = 0;
  int port = 0;
  std::string host;
};

// The session as the connection manager writes it on the terminal screen.
class TlsScreenTest : public TlsPeerTest {
 protected:
  void connect() {
    client = std::make_unique<DirectClient>(dir, INTERFACE_SSL_TELNET, host);
    ASSERT_EQ(client->connection->open_connection(), ConnectionManager::OpenResult::Opened)
        << (client->screens.empty() ? "" : client->screens.back());
    EXPECT_EQ(client->connection->state().last_error, 0);
    // The daemon starts the host program only once the client answered its
    // negotiation: the login prompt proves bytes flow both ways inside TLS.
    EXPECT_TRUE(pump_until([&] {
      return client->host_data.find("scripted login: ") != std::string::npos;
    })) << client->host_data;
  }
  // The "[SSL cipher=...]" line from the last screen, wrapped rows joined.
  std::string cipher_line() {
    const std::string& text = client->screens.back();
    const std::size_t start = text.find("[SSL cipher=");
    if (start == std::string::npos) return std::string();
    const std::size_t end = text.find(']', start);
    return end == std::string::npos ? std::string() : text.substr(start, end + 1 - start);
  }
  std::unique_ptr<DirectClient> client;
};

TEST_F(TlsScreenTest, SelfSignedServerIsAcceptedWithoutAnyMessage) {
  vestra::test::ScriptedMessages boxes;
  certs.self_signed("self", "/CN=localhost");
  serve("normal", "self");
  connect();
  EXPECT_FALSE(client->seen("SSL: unknown issuer")) << client->screens.back();
  EXPECT_FALSE(client->seen("error"));
  EXPECT_TRUE(client->seen("[SSL subject=/CN=localhost]"));
  EXPECT_TRUE(client->seen("[SSL issuer=/CN=localhost]"));
  EXPECT_TRUE(boxes.shown().empty());

  // The offered ciphers, whole names joined by ':', cut to fit 1,024 bytes
  // with its line end.
  const std::string line = cipher_line();
  ASSERT_FALSE(line.empty()) << client->screens.back();
  EXPECT_LE(line.size() + 2, 1023u);
  const std::string names = line.substr(12, line.size() - 13);
  EXPECT_FALSE(names.empty());
  EXPECT_NE(names.back(), ':');
  EXPECT_NE(names.find("TLS_AES_256_GCM_SHA384"), std::string::npos) << names;
}

TEST_F(TlsScreenTest, UnknownIssuerIsShownAndTheConnectionGoesOn) {
  certs.self_signed("ca", "/CN=Vestra-Test-CA");
  certs.issued("server", "/CN=localhost", "ca");
  serve("normal", "server");
  connect();
  EXPECT_TRUE(client->seen("SSL: unknown issuer: /CN=Vestra-Test-CA")) << client->screens.back();
  EXPECT_TRUE(client->seen("[SSL subject=/CN=localhost]"));
  EXPECT_TRUE(client->seen("[SSL issuer=/CN=Vestra-Test-CA]"));
}

// Whole logins through the client and its login dialog.
class TlsLoginTest : public TlsPeerTest {
 protected:
  void SetUp() override {
    certs.self_signed("ca", "/CN=Vestra-Test-CA");
    certs.issued("server", "/CN=localhost", "ca");
    certs.issued("client", "/CN=fred", "ca");
  }
  // Logs in through the dialog; the result of the first login attempt.
  void log_in(const std::string& cert, const std::string& key, bool secure = true) {
    client.setting("interface", std::string(secure ? "ssltelnet," : "telnet,") + host);
    if (!cert.empty()) client.setting("sslcert", cert);
    if (!key.empty()) client.setting("sslkey", key);
    client.start({[&](LoginDialog& d) {
      fill_login(d, "fred", "Secret1");
      d.press_login();
      // A failed attempt leaves the dialog open for another try.
      if (!client.connected()) d.press_exit();
    }});
    ASSERT_TRUE(pump_until([&] { return client.last_login_result() != 0; }, 20000));
  }
  void expect_logged_in() {
    EXPECT_EQ(client.last_login_result(), login_ids::kUnixLogin);
    EXPECT_EQ(record_values(daemon.record(), "user"), Strings{"fred"});
    EXPECT_TRUE(client.boxes.shown().empty()) << client.boxes.shown()[0].text;
  }
  void expect_failure(int last_error, const std::string& reason) {
    EXPECT_EQ(client.app->connection()->state().last_error, last_error);
    EXPECT_EQ(client.boxes.texts(), Strings{"Connection Failed!\n\n" + reason});
    EXPECT_EQ(client.last_login_result(), login_ids::kExit);
    EXPECT_FALSE(client.connected());
    EXPECT_TRUE(daemon.record().empty());  // the host program never started
  }

  ClientRun client{dir};
};

TEST_F(TlsLoginTest, ServerRequiringAClientCertificateRefusesAMissingOne) {
  serve("normal", "server", "ca");
  log_in("", "");
  expect_failure(4, "SSL connection failed.");
  EXPECT_TRUE(ClientRun::screen_shows("SSL connection error!"));
}

TEST_F(TlsLoginTest, ClientCertificateOfAnUnknownAuthorityIsNotValid) {
  certs.self_signed("rogue-ca", "/CN=Rogue-CA");
  certs.issued("rogue", "/CN=fred", "rogue-ca");
  serve("normal", "server", "ca");
  log_in(certs.crt("rogue"), certs.key("rogue"));
  expect_failure(5, "Certificate is not valid.");
  EXPECT_TRUE(ClientRun::screen_shows("Certificate is not valid."));
}

TEST_F(TlsLoginTest, GoodClientCertificateLogsIn) {
  serve("normal", "server", "ca");
  log_in(certs.crt("client"), certs.key("client"));
  expect_logged_in();
}

TEST_F(TlsLoginTest, KeyInTheCertificateFileLogsIn) {
  // Without a key file the key is read from the certificate file.
  serve("normal", "server", "ca");
  const std::string both =
      dir.write("both.pem", vestra::test::TempDir::read(certs.crt("client")) +
                                vestra::test::TempDir::read(certs.key("client")));
  log_in(both, "");
  expect_logged_in();
}

TEST_F(TlsLoginTest, EncryptedKeyAsksForThePassPhrase) {
  certs.lock_key("client", "open-sesame");
  serve("normal", "server", "ca");
  client.dialog_answers = {std::string("open-sesame")};
  log_in(certs.crt("client"), dir.file("client-locked.key"));
  expect_logged_in();
  EXPECT_EQ(client.dialogs_asked, Strings{"193"});
}

class PassPhraseRefusedTest : public TlsLoginTest,
                              public ::testing::WithParamInterface<std::optional<std::string>> {};

TEST_P(PassPhraseRefusedTest, StopsTheAttemptAfterAskingOnce) {
  // The library tries several key formats; the user is asked once all the
  // same, and Cancel or a wrong phrase ends the attempt with error 3.
  certs.lock_key("client", "open-sesame");
  serve("normal", "server", "ca");
  client.dialog_answers = {GetParam(), std::string("open-sesame")};
  log_in(certs.crt("client"), dir.file("client-locked.key"));
  EXPECT_EQ(client.dialogs_asked, Strings{"193"});
  expect_failure(3, "SSL could not be initialized.\nPossibly problem with certificate.");
  EXPECT_TRUE(ClientRun::screen_shows("SSL initialization failed!"));
}

INSTANTIATE_TEST_SUITE_P(Tls, PassPhraseRefusedTest,
                         ::testing::Values(std::nullopt, std::string("wrong")),
                         [](const ::testing::TestParamInfo<std::optional<std::string>>& info) {
                           return std::string(info.param ? "WrongPhrase" : "Cancel");
                         });

class NotPemTest : public TlsLoginTest, public ::testing::WithParamInterface<bool> {};

TEST_P(NotPemTest, CertificateThatIsNotPemStopsTheConnection) {
  // The certificate is loaded for plain telnet as well, so a bad one stops
  // both kinds of connection before any host data.
  const bool secure = GetParam();
  serve("normal", "server");
  if (!secure) host = "127.0.0.1:" + std::to_string(telnet_port);
  const std::string bad = dir.write("bad.crt", "this is not a certificate\n");
  log_in(bad, "", secure);
  expect_failure(3, "SSL could not be initialized.\nPossibly problem with certificate.");
  EXPECT_TRUE(ClientRun::screen_shows("Error loading " + bad + ": "));
  EXPECT_TRUE(ClientRun::screen_shows("SSL initialization failed!"));
}

INSTANTIATE_TEST_SUITE_P(Tls, NotPemTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "SecureTelnet" : "PlainTelnet");
                         });

}  // namespace
}  // namespace veslink::peers
