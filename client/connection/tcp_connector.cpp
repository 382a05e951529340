// Name look-up on a worker thread, non-blocking connects under a nested loop.
#include "client/connection/tcp_connector.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <thread>

namespace veslink {

// What the look-up thread hands back. Shared, so that a cancelled wait can
// return while the thread is still inside getaddrinfo.
struct TcpConnector::Lookup {
  std::mutex mutex;
  bool done = false;
  int error = 0;
  ResolvedHost host;
};

namespace {

// A scope guard that runs a nested loop and always clears the waiting mark.
class NestedWait {
 public:
  NestedWait(QEventLoop*& slot, QEventLoop& loop) : slot_(slot) { slot_ = &loop; }
  ~NestedWait() { slot_ = nullptr; }

 private:
  QEventLoop*& slot_;
};

}  // namespace

TcpConnector::TcpConnector(QObject* parent) : QObject(parent) {}
TcpConnector::~TcpConnector() {
  cancel();
}

void TcpConnector::cancel() {
  cancelled_ = true;
  if (loop_) loop_->quit();
}

std::string TcpConnector::address_text(const std::vector<unsigned char>& bytes) {
  char text[INET6_ADDRSTRLEN] = "";
  const auto* sa = reinterpret_cast<const sockaddr*>(bytes.data());
  if (sa->sa_family == AF_INET)
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(sa)->sin_addr, text, sizeof text);
  else if (sa->sa_family == AF_INET6)
    inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(sa)->sin6_addr, text, sizeof text);
  return text;
}

TcpConnector::Outcome TcpConnector::resolve(const std::string& name, ResolvedHost& out) {
  cancelled_ = false;
  out = ResolvedHost{};
  // A numeric address needs no look-up.
  sockaddr_in v4{};
  sockaddr_in6 v6{};
  if (inet_pton(AF_INET, name.c_str(), &v4.sin_addr) == 1) {
    v4.sin_family = AF_INET;
    const auto* p = reinterpret_cast<const unsigned char*>(&v4);
    out.addresses.emplace_back(p, p + sizeof v4);
    out.numeric = true;
    out.official_name = name;
    return Outcome::Connected;
  }
  if (inet_pton(AF_INET6, name.c_str(), &v6.sin6_addr) == 1) {
    v6.sin6_family = AF_INET6;
    const auto* p = reinterpret_cast<const unsigned char*>(&v6);
    out.addresses.emplace_back(p, p + sizeof v6);
    out.numeric = true;
    out.official_name = name;
    return Outcome::Connected;
  }

  auto lookup = std::make_shared<Lookup>();
  QEventLoop loop;
  std::thread([lookup, name, wake = QPointer<QEventLoop>(&loop)] {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_CANONNAME | AI_ADDRCONFIG;
    addrinfo* result = nullptr;
    const int error = getaddrinfo(name.c_str(), nullptr, &hints, &result);
    {
      std::lock_guard lock(lookup->mutex);
      lookup->error = error;
      for (addrinfo* a = result; a; a = a->ai_next) {
        const auto* p = reinterpret_cast<const unsigned char*>(a->ai_addr);
        lookup->host.addresses.emplace_back(p, p + a->ai_addrlen);
        if (a->ai_canonname && lookup->host.official_name.empty())
          lookup->host.official_name = std::string(a->ai_canonname).substr(0, 63);
      }
      lookup->done = true;
    }
    if (result) freeaddrinfo(result);
    // Wakes only the wait of this look-up; a cancelled wait is gone by now.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [wake] {
          if (wake) wake->quit();
        },
        Qt::QueuedConnection);
  }).detach();

  {
    NestedWait wait(loop_, loop);
    bool done = false;
    while (!done && !cancelled_) {
      loop.exec();
      std::lock_guard lock(lookup->mutex);
      done = lookup->done;
    }
  }
  if (cancelled_) return Outcome::Cancelled;
  std::lock_guard lock(lookup->mutex);
  if (lookup->error != 0 || lookup->host.addresses.empty()) return Outcome::HostNotFound;
  out = lookup->host;
  if (out.official_name.empty()) out.official_name = name.substr(0, 63);
  return Outcome::Connected;
}

TcpConnector::Outcome TcpConnector::connect(const ResolvedHost& host, int port,
                                            const Message& message, int& fd_out,
                                            std::string& address_text_out,
                                            const std::function<bool(int)>& options) {
  cancelled_ = false;
  fd_out = -1;
  int last_error = 0;
  for (std::size_t i = 0; i < host.addresses.size(); ++i) {
    std::vector<unsigned char> address = host.addresses[i];
    auto* sa = reinterpret_cast<sockaddr*>(address.data());
    if (sa->sa_family == AF_INET)
      reinterpret_cast<sockaddr_in*>(sa)->sin_port = htons(static_cast<uint16_t>(port));
    else
      reinterpret_cast<sockaddr_in6*>(sa)->sin6_port = htons(static_cast<uint16_t>(port));

    const int fd = ::socket(sa->sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
      message("socket error " + std::to_string(errno) + "\n");
      return Outcome::Failed;
    }
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    if (options && !options(fd)) {
      ::close(fd);
      return Outcome::Failed;
    }

    int error = 0;
    if (::connect(fd, sa, static_cast<socklen_t>(address.size())) != 0) {
      error = errno;
      if (error == EINPROGRESS) {
        QEventLoop loop;
        QSocketNotifier writable(fd, QSocketNotifier::Write);
        QObject::connect(&writable, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
        while (true) {
          {
            NestedWait wait(loop_, loop);
            loop.exec();
          }
          if (cancelled_) {
            ::close(fd);
            return Outcome::Cancelled;
          }
          socklen_t length = sizeof error;
          getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
          sockaddr_storage peer{};
          socklen_t peer_length = sizeof peer;
          // Woken before the connect finished: wait on.
          if (error == 0 &&
              getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peer_length) != 0 &&
              errno == ENOTCONN)
            continue;
          break;
        }
      }
    }
    if (error == 0) {
      fd_out = fd;
      address_text_out = address_text(host.addresses[i]);
      return Outcome::Connected;
    }
    ::close(fd);
    last_error = error;
    if (i + 1 < host.addresses.size()) {
      message("Error " + std::to_string(error) + " connecting to address " +
              address_text(host.addresses[i]) + "\n");
    }
  }
  message("Unable to connect to remote host (error=" + std::to_string(last_error) + ")\n");
  return Outcome::Failed;
}

}  // namespace veslink
