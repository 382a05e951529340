// Opening a TCP connection without freezing the user interface: the name is
// looked up on a worker thread and each address is connected without
// blocking, while the caller waits in a nested event loop that keeps the
// windows alive; the attempt can be cancelled from inside that loop.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "client/connection/host_address.h"

class QEventLoop;

namespace veslink {

struct ResolvedHost {
  std::vector<std::vector<unsigned char>> addresses;  // sockaddr bytes, in order
  std::string official_name;                          // at most 63 characters
  bool numeric = false;
};

class TcpConnector : public QObject {
  Q_OBJECT
 public:
  enum class Outcome { Connected, HostNotFound, Failed, Cancelled };
  using Message = std::function<void(std::string_view)>;  // lines for the message window

  explicit TcpConnector(QObject* parent = nullptr);
  ~TcpConnector() override;

  // Looks `name` up (a numeric address is used as it is). Waits in a nested
  // event loop; Cancelled when cancel() was called meanwhile.
  Outcome resolve(const std::string& name, ResolvedHost& out);

  // Connects to each address in turn on `port`, writing "Error %d connecting
  // to address %s" between addresses and "Unable to connect to remote host
  // (error=%d)" at the end. `options` may add socket options (source route).
  Outcome connect(const ResolvedHost& host, int port, const Message& message, int& fd_out,
                  std::string& address_text, const std::function<bool(int fd)>& options = {});

  // Ends a resolve or connect that is waiting, with Outcome::Cancelled.
  void cancel();
  bool waiting() const { return loop_ != nullptr; }

  static std::string address_text(const std::vector<unsigned char>& sockaddr_bytes);

 private:
  struct Lookup;
  QEventLoop* loop_ = nullptr;
  bool cancelled_ = false;
};

}  // namespace veslink
