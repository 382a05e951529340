// A real peer program for a test (telnet daemon behind socat, stunnel, a pty
// pair, a scripted Python host): started in its own process group, waited for
// until it listens, and killed with everything it spawned when the test ends,
// also when the test fails. Its own file because every peer test needs it.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace vestra::test {

class PeerProcess {
 public:
  PeerProcess() = default;
  ~PeerProcess();
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  // Starts `argv` (argv[0] a full path) as the leader of a new session and
  // process group; its output goes to `log_path` (appended) when given. The
  // peer dies with the test process, so a crashed test leaves no daemon.
  bool start(const std::vector<std::string>& argv, const std::string& log_path = {});

  // Kills the whole group (SIGTERM, then SIGKILL after a grace time) and reaps
  // the leader. Safe to call twice.
  void stop();

  bool running();
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
};

// A loopback port that nothing listens on now. Two tests may still race for
// it: start_listening_peer() retries with another port when the peer could
// not bind.
int pick_free_port();

// True when something listens on 127.0.0.1:port (or on all addresses), read
// from /proc/net/tcp: connecting to find out would start a session.
bool port_listening(int port);

// Polls `done` every 5 ms until it holds or `ms` have passed.
bool wait_for(const std::function<bool()>& done, int ms = 10000);

// Starts the peer that `make_argv(port)` describes on a fresh port and waits
// until it listens; tries other ports when the peer exits early (the port
// was taken meanwhile). Returns the port, or 0 when the peer never listened.
int start_listening_peer(PeerProcess& peer,
                         const std::function<std::vector<std::string>(int port)>& make_argv,
                         const std::string& log_path = {}, int wait_ms = 10000);

}  // namespace vestra::test
