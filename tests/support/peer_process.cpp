// Peer processes: process groups, listening ports, clean teardown.
#include "tests/support/peer_process.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace vestra::test {

namespace {

bool reap(pid_t pid, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (true) {
    int status = 0;
    const pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid || (r < 0 && errno == ECHILD)) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

bool group_alive(pid_t group) {
  return ::kill(-group, 0) == 0;
}

}  // namespace

PeerProcess::~PeerProcess() {
  stop();
}

bool PeerProcess::start(const std::vector<std::string>& argv, const std::string& log_path) {
  stop();
  if (argv.empty()) return false;
  std::vector<char*> args;
  for (const std::string& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid < 0) return false;
  if (pid == 0) {
    ::setsid();  // its own session and process group: one kill ends it all
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);  // the test died before we got here
    const int null_in = ::open("/dev/null", O_RDONLY);
    if (null_in >= 0) ::dup2(null_in, 0);
    if (!log_path.empty()) {
      const int log = ::open(log_path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
      if (log >= 0) {
        ::dup2(log, 1);
        ::dup2(log, 2);
      }
    }
    ::execv(args[0], args.data());
    std::fprintf(stderr, "cannot start %s: %s\n", args[0], std::strerror(errno));
    ::_exit(127);
  }
  pid_ = pid;
  return true;
}

bool PeerProcess::running() {
  if (pid_ < 0) return false;
  int status = 0;
  return ::waitpid(pid_, &status, WNOHANG) == 0;
}

void PeerProcess::stop() {
  if (pid_ < 0) return;
  const pid_t group = pid_;
  ::kill(-group, SIGTERM);
  if (!reap(pid_, 2000)) {
    ::kill(-group, SIGKILL);
    reap(pid_, 2000);
  }
  // Per-connection children (telnetd sessions) share the group; make sure
  // none of them outlives the test.
  if (group_alive(group)) {
    ::kill(-group, SIGKILL);
    for (int i = 0; i < 200 && group_alive(group); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  pid_ = -1;
}

int pick_free_port() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return 0;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  int port = 0;
  socklen_t length = sizeof a;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) == 0)
    port = ntohs(a.sin_port);
  ::close(fd);
  return port;
}

bool port_listening(int port) {
  // Lines: "sl local_address rem_address st ..."; addresses as hex IP:PORT,
  // state 0A is LISTEN.
  std::ifstream in("/proc/net/tcp");
  std::string line;
  std::getline(in, line);
  char wanted_port[8];
  std::snprintf(wanted_port, sizeof wanted_port, "%04X", port);
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string slot, local, remote, state;
    fields >> slot >> local >> remote >> state;
    if (state != "0A") continue;
    const std::size_t colon = local.find(':');
    if (colon == std::string::npos || local.substr(colon + 1) != wanted_port) continue;
    const std::string address = local.substr(0, colon);
    if (address == "0100007F" || address == "00000000") return true;
  }
  return false;
}

bool wait_for(const std::function<bool()>& done, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return done();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

int start_listening_peer(PeerProcess& peer,
                         const std::function<std::vector<std::string>(int)>& make_argv,
                         const std::string& log_path, int wait_ms) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    const int port = pick_free_port();
    if (port == 0 || !peer.start(make_argv(port), log_path)) continue;
    bool exited = false;
    const bool listening = wait_for(
        [&] {
          if (port_listening(port)) return true;
          exited = !peer.running();
          return exited;
        },
        wait_ms);
    if (listening && !exited) return port;
    peer.stop();
  }
  return 0;
}

}  // namespace vestra::test
