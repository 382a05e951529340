// The whole receive path on loopback: a peer sends 64 MiB of host data (text
// lines with, on average once per 100 bytes, a telnet sequence) through a real
// socket into the real ConnectionManager (notifiers, reads into the ring, the
// telnet receiver, the flush to a host_data_in that only counts), timed from
// the first byte handed on to the last. Beside it in the same run, socat
// copies the same bytes from a loopback port to /dev/null: the figure of a
// plain copy with no protocol at all. Build in Release with -DVESTRA_BENCH=ON
// and run by hand; it prints MB/s for both and their ratio.
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "client/connection/connection_manager.h"
#include "client/connection/telnet_codes.h"
#include "client/terminal/char_screen.h"
#include "platform/registry/registry.h"

namespace {

using namespace veslink;
using namespace veslink::telnet;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kStreamSize = 64u << 20;

// The same mix as the telnet receiver benchmark, so the figures compare.
std::string make_stream() {
  const std::string sequences[] = {
      std::string{char(kIac), char(kIac)},
      std::string{char(kIac), char(kDo), char(kTimingMark)},
      std::string{char(kIac), char(kWill), char(kEcho)},
      std::string{char(kIac), char(kDo), char(kTtype)},
      std::string{char(kIac), char(kSb), char(kTtype), char(kSend), char(kIac), char(kSe)},
      std::string{char(kIac), char(kSb), char(kLinemode), char(kLmSlc), 3, 0x62, 3, 5, 3, 0x14,
                  char(kIac), char(kSe)},
      std::string{char(kIac), char(kSb), char(kLinemode), char(kLmMode), 3, char(kIac), char(kSe)},
      std::string{char(kIac), char(kNop)},
  };
  std::string stream;
  stream.reserve(kStreamSize + 64);
  std::uint32_t rng = 12345;
  const auto next = [&rng] {
    rng = rng * 1103515245u + 12345u;
    return rng >> 8;
  };
  std::size_t column = 0;
  while (stream.size() < kStreamSize) {
    const std::uint32_t r = next();
    if (r % 100 < 1) {
      stream += sequences[(r / 100) % std::size(sequences)];
    } else if (column >= 60 + r % 20) {
      stream += (r & 0x100) ? std::string("\r\n") : std::string("\r\0", 2);
      column = 0;
    } else {
      stream += static_cast<char>(' ' + r % 95);
      ++column;
    }
  }
  return stream;
}

int listen_loopback(int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof a;
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      ::listen(fd, 1) != 0 || ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) != 0)
    return -1;
  port = ntohs(a.sin_port);
  return fd;
}

bool send_all(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

// The client: the real connection manager, host data counted.
double client_path(const std::string& stream, std::size_t& delivered) {
  int port = 0;
  const int listener = listen_loopback(port);
  if (listener < 0) return 0;
  // The peer sends everything and closes; the client's answers to the
  // negotiations are read and dropped on another thread, as a host would.
  std::thread peer([&] {
    const int fd = ::accept(listener, nullptr, nullptr);
    std::thread drain([fd] {
      char sink[65536];
      while (::recv(fd, sink, sizeof sink, 0) > 0) {
      }
    });
    send_all(fd, stream);
    ::shutdown(fd, SHUT_WR);
    drain.join();
    ::close(fd);
  });

  ClientSettings settings;
  settings.interface_code = INTERFACE_TELNET;
  settings.current_host = "127.0.0.1:" + std::to_string(port);
  char reg_dir[] = "/tmp/receive-path-bench-XXXXXX";
  if (!::mkdtemp(reg_dir)) return 0;
  vestra::registry::Registry reg(vestra::registry::Locations::single(reg_dir));
  CharScreen screen;
  Clock::time_point first{}, last{};
  bool closed = false;
  ConnectionUi ui;
  ui.host_data_in = [&](const std::uint8_t*, std::size_t n) {
    if (delivered == 0) first = Clock::now();
    delivered += n;
    last = Clock::now();
  };
  ui.post_connect = [&] { closed = true; };
  ui.post_main_close = [&] { closed = true; };
  ui.exit_process = [](int code) {
    std::fprintf(stderr, "the client would exit with code %d\n", code);
    std::exit(code);
  };
  ConnectionManager connection(settings, reg, screen, std::move(ui));
  if (connection.open_connection() != ConnectionManager::OpenResult::Opened) {
    std::fprintf(stderr, "cannot connect to the peer\n");
    std::exit(1);
  }
  while (!closed)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
  peer.join();
  ::close(listener);
  std::string remove = std::string("rm -rf ") + reg_dir;
  std::system(remove.c_str());
  return std::chrono::duration<double>(last - first).count();
}

// socat copying the same bytes from a loopback port to /dev/null.
double socat_copy(const std::string& stream) {
  int port = 0;
  const int probe = listen_loopback(port);
  ::close(probe);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const std::string listen = "TCP-LISTEN:" + std::to_string(port) + ",bind=127.0.0.1,reuseaddr";
    ::execl("/usr/bin/socat", "socat", "-u", listen.c_str(), "OPEN:/dev/null,wronly",
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // Wait until socat listens, then connect and time the copy until socat
  // has taken the last byte and ended.
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  bool connected = false;
  for (int i = 0; i < 400 && !connected; ++i) {
    connected = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    if (!connected) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!connected) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return 0;
  }
  const Clock::time_point start = Clock::now();
  send_all(fd, stream);
  ::shutdown(fd, SHUT_WR);
  int status = 0;
  ::waitpid(pid, &status, 0);
  const Clock::time_point end = Clock::now();
  ::close(fd);
  return std::chrono::duration<double>(end - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  const std::string stream = make_stream();
  const double mib = static_cast<double>(stream.size()) / (1 << 20);
  std::printf("host stream: %.1f MiB, about 1%% telnet sequences\n", mib);
  constexpr int kRounds = 3;
  double best_client = 0, best_socat = 0;
  for (int round = 1; round <= kRounds; ++round) {
    std::size_t delivered = 0;
    const double client_s = client_path(stream, delivered);
    const double socat_s = socat_copy(stream);
    const double client_rate = client_s > 0 ? mib / client_s : 0;
    const double socat_rate = socat_s > 0 ? mib / socat_s : 0;
    std::printf(
        "round %d: connection manager %.1f MiB/s (%zu bytes to host_data_in), "
        "socat to /dev/null %.1f MiB/s\n",
        round, client_rate, delivered, socat_rate);
    std::fflush(stdout);
    best_client = std::max(best_client, client_rate);
    best_socat = std::max(best_socat, socat_rate);
  }
  std::printf("best of %d: connection manager %.1f MiB/s, socat %.1f MiB/s, ratio %.2f\n", kRounds,
              best_client, best_socat, best_socat > 0 ? best_client / best_socat : 0);
  return 0;
}
