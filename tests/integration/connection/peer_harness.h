// What the real-peer tests of the connection share: the peers themselves (a
// telnet daemon running the scripted host, the raw byte peer, stunnel, pty
// pairs), the files they record into, an event pump for waiting, and a
// connection manager wired to recording stand-ins instead of the client's
// windows. Its own file so that each test binary stays about its peer.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "client/connection/connection_manager.h"
#include "client/settings/client_settings.h"
#include "client/terminal/char_screen.h"
#include "platform/registry/registry.h"
#include "tests/support/peer_process.h"
#include "tests/support/temp_dir.h"

namespace veslink::peers {

// Runs the Qt event loop until `done` holds or `ms` have passed.
bool pump_until(const std::function<bool()>& done, int ms = 10000);

// The folder with the peer scripts (scripted_host.py, raw_peer.py).
std::string peer_script(const std::string& name);

// key=value lines that a scripted host wrote, in order.
using Record = std::vector<std::pair<std::string, std::string>>;
Record read_record(const std::string& path);
std::vector<std::string> record_values(const Record& record, const std::string& key);

// A real telnet daemon (inetutils telnetd -h -E) behind socat on a loopback
// port, each connection running scripted_host.py SCENARIO RECORD.
class TelnetDaemon {
 public:
  explicit TelnetDaemon(const vestra::test::TempDir& dir) : dir_(dir) {}
  // Returns the port, 0 when the daemon never listened.
  int start(const std::string& scenario);
  const std::string& record_path() const { return record_; }
  Record record() const { return read_record(record_); }
  void stop() { process_.stop(); }

 private:
  const vestra::test::TempDir& dir_;
  vestra::test::PeerProcess process_;
  std::string record_;
};

// raw_peer.py with a script: one connection, bytes both ways recorded.
class RawPeer {
 public:
  explicit RawPeer(const vestra::test::TempDir& dir) : dir_(dir) {}
  // Writes the script, starts the peer and returns its port (0 on failure).
  int start(const std::vector<std::string>& script_lines);
  // Every byte the client sent so far.
  std::string received() const;
  // "done", "failed: ..." or "" while the script runs.
  std::string status() const;
  void stop() { process_.stop(); }

 private:
  const vestra::test::TempDir& dir_;
  vestra::test::PeerProcess process_;
  std::string record_;
  int serial_ = 0;
};

// Hex of bytes, for peer scripts ("ff fd 18" -> "fffd18" with no blanks).
std::string hex(std::string_view bytes);

// A ConnectionManager as the client builds it, with recording stand-ins for
// the windows: host data, every screen state after a refresh, posted
// Connect and close requests, exits.
class DirectClient {
 public:
  DirectClient(const vestra::test::TempDir& dir, int interface_code, const std::string& host);
  ~DirectClient();

  ClientSettings settings;
  vestra::registry::Registry reg;
  CharScreen screen;
  std::unique_ptr<ConnectionManager> connection;

  std::string host_data;             // what reached host_data_in
  std::vector<std::string> screens;  // the page's text after each refresh
  int connects_posted = 0;
  int closes_posted = 0;
  std::vector<int> exits;
  std::function<std::optional<std::string>()> passphrase;  // nothing: Cancel

  // The page as one text: rows in order, each as wide as the page, so text
  // that wrapped reads on.
  std::string page_text();
  // True when some screen state after a refresh contained `text`.
  bool seen(const std::string& text) const;
  // The row texts of the current page, right blanks removed.
  std::vector<std::string> rows();
};

}  // namespace veslink::peers
