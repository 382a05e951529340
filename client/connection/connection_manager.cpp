// Opening, running and closing the connection to the host.
#include "client/connection/connection_manager.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>

#include "client/connection/host_address.h"
#include "client/settings/client_texts.h"
#include "client/settings/settings_registry.h"
#include "client/terminal/char_screen.h"
#include "platform/messages/message_box.h"

namespace veslink {

using vestra::registry::Hive;

namespace {
constexpr int kReadEvent = 1;
constexpr int kWriteEvent = 2;
constexpr int kUrgentEvent = 4;
constexpr int kCloseEvent = 32;
constexpr int kSerialEvent = -2;
constexpr std::size_t kSendPiece = 512;
constexpr std::size_t kSendRoom = 10;

bool would_block(int error) {
  return error == EAGAIN || error == EWOULDBLOCK || error == EINTR || error == ENOBUFS;
}
}  // namespace

ConnectionManager::ConnectionManager(ClientSettings& settings, vestra::registry::Registry& reg,
                                     CharScreen& screen, ConnectionUi ui, QObject* parent)
    : QObject(parent),
      settings_(settings),
      reg_(reg),
      screen_(screen),
      ui_(std::move(ui)),
      engine_(*this),
      tls_([this](std::string_view text) { write_message(text); },
           [this]() -> std::optional<std::string> {
             return ui_.ask_passphrase ? ui_.ask_passphrase() : std::nullopt;
           }),
      connector_(this),
      serial_(this) {
  poll_timer_.setInterval(1000);
  connect(&poll_timer_, &QTimer::timeout, this, &ConnectionManager::on_poll_timer);
  connect(&serial_, &SerialTransport::dataArrived, this, [this] { poll_connection(kSerialEvent); });
  connect(&serial_, &SerialTransport::lineLost, this, [this] {
    if (!serial_.is_open()) return;
    const std::string why = serial_.error_text();
    connection_lost();
    // Below "Connection closed.", as closing clears the page first.
    write_message("Serial line lost: " + why + "\n");
  });
}

ConnectionManager::~ConnectionManager() {
  close_socket();
  serial_.close();
}

bool ConnectionManager::is_serial() const {
  return is_com_interface(settings_.interface_code);
}

void ConnectionManager::write_message(std::string_view text) {
  // On the character page a line feed clears from the cursor to the end of
  // the line, so a CR LF line end would wipe the line it ends (the session
  // lines "[SSL cipher=...]\r\n" and the like were never seen). LF alone ends
  // the line and keeps it.
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) shown += text[i];
  screen_.current().put_string(shown);
  if (ui_.refresh_terminal) ui_.refresh_terminal();
}

void ConnectionManager::clear_message_window() {
  screen_.current().clear_page();
  if (ui_.refresh_terminal) ui_.refresh_terminal();
}

// TelnetSink -----------------------------------------------------------------

void ConnectionManager::message(std::string_view text) {
  write_message(text);
}

void ConnectionManager::fatal(std::string_view text, std::string_view title) {
  vestra::messages::show_notice(std::string(title), std::string(text),
                                vestra::messages::Icon::Error, ui_.owner);
  if (ui_.exit_process) ui_.exit_process(1);
}

UrgentDataCheck ConnectionManager::urgent_data_pending() {
  UrgentDataCheck check;
  if (fd_ < 0) return check;
  pollfd p{fd_, POLLPRI, 0};
  const int r = ::poll(&p, 1, 0);
  if (r < 0) {
    check.error = errno;
  } else {
    check.pending = r > 0 && (p.revents & POLLPRI);
  }
  return check;
}

// Opening ----------------------------------------------------------------------

ConnectionManager::OpenResult ConnectionManager::open_connection() {
  return is_serial() ? open_serial() : open_tcp();
}

ConnectionManager::OpenResult ConnectionManager::open_tcp() {
  if (settings_.current_host.empty()) {
    vestra::messages::show_notice(kClientCaption, "Host name not defined!",
                                  vestra::messages::Icon::Warning, ui_.owner);
    return OpenResult::Failed;
  }
  QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  use_ssl_ = settings_.interface_code == INTERFACE_SSL_TELNET;
  state_.attempt = 1;
  restart_after_cancel_ = false;
  engine_.reset(process_environment());
  bool cancelled = false;
  const bool ok = telnet_open(settings_.current_host, cancelled);
  QGuiApplication::restoreOverrideCursor();
  if (!ok) {
    const bool was_cancelled = cancelled || state_.attempt == -1;
    state_.attempt = 0;
    close_socket();
    if (was_cancelled) return OpenResult::Cancelled;
    return OpenResult::Failed;
  }
  state_.attempt = 0;
  state_.connected = 1;
  if (ui_.show_caret) ui_.show_caret(true);
  add_to_host_list(settings_, settings_.current_host, reg_);

  read_notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
  connect(read_notifier_, &QSocketNotifier::activated, this,
          [this] { poll_connection(kReadEvent); });
  write_notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Write, this);
  write_notifier_->setEnabled(false);
  connect(write_notifier_, &QSocketNotifier::activated, this, [this] {
    write_notifier_->setEnabled(false);
    poll_connection(kWriteEvent);
  });
  urgent_notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Exception, this);
  connect(urgent_notifier_, &QSocketNotifier::activated, this,
          [this] { poll_connection(kUrgentEvent); });
  poll_timer_.start();
  // What arrived during the handshake is taken at once.
  schedule_step();
  emit connectionOpened();
  return OpenResult::Opened;
}

bool ConnectionManager::wait_socket(bool for_write) {
  QEventLoop loop;
  QSocketNotifier notifier(fd_, for_write ? QSocketNotifier::Write : QSocketNotifier::Read);
  connect(&notifier, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
  QTimer cancel_check;
  cancel_check.setInterval(50);
  connect(&cancel_check, &QTimer::timeout, &loop, [&] {
    if (state_.attempt == -1) loop.quit();
  });
  cancel_check.start();
  loop.exec();
  return state_.attempt != -1;
}

bool ConnectionManager::telnet_open(const std::string& host_text, bool& cancelled) {
  clear_message_window();
  state_.last_error = 2;
  const HostText host = split_host_text(host_text);
  if (fd_ >= 0) {
    write_message("?Already connected to " + state_.connected_host_name + "\n");
    return false;
  }

  ResolvedHost target;
  std::vector<std::uint8_t> route_option;
  if (is_source_route(host.name)) {
    std::optional<SourceRoute> route = parse_source_route(host.name);
    if (!route) {
      write_message("Bad source route : " + host.name + "\n");
      return false;
    }
    std::vector<std::uint32_t> addresses;
    for (const std::string& hop : route->hops) {
      ResolvedHost resolved;
      const TcpConnector::Outcome o = connector_.resolve(hop, resolved);
      if (o == TcpConnector::Outcome::Cancelled) {
        cancelled = true;
        return false;
      }
      const auto* sa = o == TcpConnector::Outcome::Connected && !resolved.addresses.empty()
                           ? reinterpret_cast<const sockaddr*>(resolved.addresses[0].data())
                           : nullptr;
      if (!sa || sa->sa_family != AF_INET) {
        write_message("Bad source route : " + hop + "\n");
        return false;
      }
      addresses.push_back(reinterpret_cast<const sockaddr_in*>(sa)->sin_addr.s_addr);
      target = resolved;
    }
    route_option = source_route_option(route->strict, addresses);
  } else {
    const TcpConnector::Outcome o = connector_.resolve(host.name, target);
    if (o == TcpConnector::Outcome::Cancelled) {
      cancelled = true;
      return false;
    }
    if (o != TcpConnector::Outcome::Connected) {
      write_message("Unknown host name '" + host.name + "'\n");
      state_.last_error = 1;
      return false;
    }
  }
  state_.connected_host_name = target.numeric ? host.name : target.official_name.substr(0, 63);

  const std::optional<PortChoice> port = choose_port(host.port_text, use_ssl_, system_service_port);
  if (!port) {
    write_message(host.port_text + ": bad port number\n");
    return false;
  }

  std::string notice =
      "Attempting connection to " + TcpConnector::address_text(target.addresses[0]);
  if (!target.numeric) notice += " (" + host.name + ")";
  write_message(notice + "...\n\n");

  int fd = -1;
  std::string address_used;
  const TcpConnector::Outcome o = connector_.connect(
      target, port->port, [this](std::string_view text) { write_message(text); }, fd, address_used,
      [&](int socket_fd) {
        if (route_option.empty()) return true;
        if (setsockopt(socket_fd, IPPROTO_IP, IP_OPTIONS, route_option.data(),
                       static_cast<socklen_t>(route_option.size())) != 0) {
          write_message("setsockopt (OP_OPTIONS) error " + std::to_string(errno) + "\n");
          return false;
        }
        return true;
      });
  if (o == TcpConnector::Outcome::Cancelled) {
    cancelled = true;
    return false;
  }
  if (o != TcpConnector::Outcome::Connected) return false;
  fd_ = fd;

  tls_.set_files(settings_.cert_file, settings_.key_file);
  if (!tls_.init()) {
    state_.last_error = 3;
    tls_.print_errors();
    write_message("\n\nSSL initialization failed!\n");
    return false;
  }
  tls_.attach(fd_);
  if (use_ssl_) {
    while (true) {
      const TlsLayer::Step step = tls_.handshake_step();
      if (step == TlsLayer::Step::Done) break;
      if (step == TlsLayer::Step::Failed) {
        state_.last_error = tls_.handshake_error();
        return false;
      }
      if (!wait_socket(step == TlsLayer::Step::WantWrite)) {
        tls_.abandon();  // a half-open TLS connection is shut down
        cancelled = true;
        return false;
      }
    }
  }

  const std::string title_host = target.numeric ? address_used : state_.connected_host_name;
  state_.connection_title = title_host + " - " + kProductName + " " + settings_.secure_suffix;
  state_.last_error = 0;
  const int on = 1;
  if (setsockopt(fd_, SOL_SOCKET, SO_OOBINLINE, &on, sizeof on) != 0)
    write_message("SetSockOpt error " + std::to_string(errno) + "\n");
  engine_.start(port->initial_offers);
  return true;
}

ConnectionManager::OpenResult ConnectionManager::open_serial() {
  const int n = settings_.interface_code;
  std::string device;
  if (!reg_.get_string(Hive::CurrentUser, kSettingsKey, "com" + std::to_string(n) + "_device",
                       device)
           .ok() ||
      device.empty())
    device = SerialTransport::default_device(n);
  if (!serial_.open(device)) {
    write_message("Cannot open COM" + std::to_string(n) + " (" + device +
                  "): " + serial_.error_text() + "\n");
    return OpenResult::Failed;
  }
  state_.connection_title = "COM" + std::to_string(n) + " - " + kProductName;
  if (!apply_serial_settings()) {
    write_message("COM" + std::to_string(n) + " (" + device + ") refuses the line settings\n");
    serial_.close();
    return OpenResult::Failed;
  }
  state_.connected = 1;
  serial_.set_dtr(true);
  if (ui_.show_caret) ui_.show_caret(true);
  clear_message_window();
  if (!settings_.phone_number.empty()) {
    state_.modem_answered = ui_.run_modem_dialer && ui_.run_modem_dialer();
    if (!state_.modem_answered)
      vestra::messages::show_notice(kClientCaption, "Modem connection unsuccessful",
                                    vestra::messages::Icon::Warning, ui_.owner);
  }
  emit connectionOpened();
  // Bytes that came before the notifier was watched.
  schedule_step();
  return OpenResult::Opened;
}

bool ConnectionManager::apply_serial_settings() {
  return serial_.is_open() && serial_.apply_settings(settings_);
}

void ConnectionManager::cancel_attempt(bool restart) {
  if (state_.attempt != 1) return;
  state_.attempt = -1;
  restart_after_cancel_ = restart;
  connector_.cancel();
}

// Running ----------------------------------------------------------------------

void ConnectionManager::schedule_step() {
  if (step_scheduled_) return;
  step_scheduled_ = true;
  QTimer::singleShot(0, this, [this] {
    step_scheduled_ = false;
    poll_connection(0);
  });
}

void ConnectionManager::poll_connection(int event) {
  if (is_serial()) {
    if (event == kSerialEvent || event == -1 || event == 0) serial_data();
    return;
  }
  if (fd_ < 0 || state_.attempt == 1) return;
  if (event & kCloseEvent) return connection_lost();
  // Urgent data is judged by the socket, not by which notifier fired first:
  // the read notifier is often served before the urgent one, and a read stops
  // just before the urgent byte. Discarding starts while the Data Mark is
  // still ahead (so the stale bytes before it are dropped, not shown), and a
  // late urgent notice after the mark was read starts nothing (it would drop
  // every later byte, as no further mark comes to end it).
  if ((event & (kUrgentEvent | kReadEvent)) && urgent_data_pending().pending)
    engine_.urgent_data_arrived();
  if (!process_step(event & kReadEvent)) connection_lost();
}

int ConnectionManager::read_socket() {
  ByteRing& in = engine_.network_input();
  if (!in.empty()) {
    // The receiver has not caught up: read again once it has.
    schedule_step();
    return 0;
  }
  const std::span<std::uint8_t> room = in.free_segment();
  if (room.empty()) return 0;
  long n;
  if (tls_.active()) {
    n = tls_.read(room.data(), room.size());
    if (n > 0) in.commit(static_cast<std::size_t>(n));
    return n < 0 ? -1 : static_cast<int>(n);
  }
  n = ::recv(fd_, room.data(), room.size(), MSG_DONTWAIT);
  if (n > 0) {
    in.commit(static_cast<std::size_t>(n));
    return static_cast<int>(n);
  }
  if (n == 0) return -1;  // the host closed the connection
  return would_block(errno) ? 0 : -1;
}

bool ConnectionManager::flush_network_output() {
  ByteRing& out = engine_.network_output();
  while (!out.empty() && fd_ >= 0) {
    const std::span<const std::uint8_t> piece = out.filled_segment();
    const std::size_t n = std::min(piece.size(), kSendPiece);
    long sent;
    if (tls_.active()) {
      sent = tls_.write(piece.data(), n);
      if (sent < 0) {
        out.clear();
        return false;
      }
    } else {
      sent = ::send(fd_, piece.data(), n, MSG_DONTWAIT | MSG_NOSIGNAL);
      if (sent < 0) {
        if (!would_block(errno)) return false;
        sent = 0;
      }
    }
    if (sent == 0) {
      if (write_notifier_) write_notifier_->setEnabled(true);
      break;
    }
    out.consume(static_cast<std::size_t>(sent));
  }
  return true;
}

bool ConnectionManager::process_step(bool read_event) {
  ++step_depth_;
  bool ok = true;
  do {
    if (read_event && read_socket() < 0) {
      ok = false;
      break;
    }
    engine_.run_sender();
    engine_.run_receiver();
    engine_.flush_host_data([this](const std::uint8_t* data, std::size_t n) {
      if (ui_.host_data_in) ui_.host_data_in(data, n);
    });
    if (ui_.refresh_terminal) ui_.refresh_terminal();
    if (fd_ < 0) break;  // the interpreter closed the connection meanwhile
    if (!flush_network_output()) {
      ok = false;
      break;
    }
    read_event = tls_.pending();
  } while (read_event);
  --step_depth_;
  if (ok && fd_ >= 0) {
    ByteRing& in = engine_.network_input();
    if (read_notifier_) read_notifier_->setEnabled(in.empty());
    if (!in.empty() && !engine_.waiting_for_output_room()) schedule_step();
  }
  return ok;
}

bool ConnectionManager::host_send_byte(std::uint8_t byte) {
  if (state_.connected == 0 || state_.sending_suspended) return false;
  if (is_serial()) return serial_.write_byte(byte);
  if (fd_ < 0) return false;
  // A full output ring is flushed first; the windows stay alive meanwhile.
  while (engine_.network_output().free() <= kSendRoom) {
    if (!flush_network_output()) {
      connection_lost();
      return false;
    }
    if (engine_.network_output().free() > kSendRoom) break;
    pollfd p{fd_, POLLOUT, 0};
    ::poll(&p, 1, 50);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (fd_ < 0) return false;
  }
  if (!engine_.queue_client_byte(byte)) return false;
  schedule_step();
  return true;
}

bool ConnectionManager::host_send_text(std::string_view text) {
  bool ok = true;
  for (char c : text)
    ok = host_send_byte(static_cast<std::uint8_t>(c)) && ok;
  return ok;
}

void ConnectionManager::serial_data() {
  while (serial_.is_open()) {
    const std::string bytes = serial_.read_available(1024);
    if (bytes.empty()) break;
    if (ui_.host_data_in)
      ui_.host_data_in(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (ui_.refresh_terminal) ui_.refresh_terminal();
  }
}

void ConnectionManager::on_poll_timer() {
  if (keep_alive_left_ >= 0 && --keep_alive_left_ <= 0) {
    keep_alive_left_ = settings_.keep_alive_minutes * 60;
    if (ui_.keep_alive_due) ui_.keep_alive_due();
  }
  poll_connection(0);
}

void ConnectionManager::arm_keep_alive() {
  if (settings_.interface_code == INTERFACE_SSL_TELNET && settings_.keep_alive_minutes > 0)
    keep_alive_left_ = settings_.keep_alive_minutes * 60;
}

void ConnectionManager::disarm_keep_alive() {
  keep_alive_left_ = -1;
}

// Closing ----------------------------------------------------------------------

void ConnectionManager::close_socket() {
  delete read_notifier_;
  delete write_notifier_;
  delete urgent_notifier_;
  read_notifier_ = write_notifier_ = urgent_notifier_ = nullptr;
  poll_timer_.stop();
  if (fd_ >= 0) {
    tls_.shutdown();
    ::shutdown(fd_, SHUT_RDWR);
    ::close(fd_);
    fd_ = -1;
  }
  engine_.reset(process_environment());
}

void ConnectionManager::close_connection() {
  state_.connected = 0;
  if (ui_.session_closed) ui_.session_closed();
  close_socket();
  if (serial_.is_open()) serial_.close();
  disarm_keep_alive();
  CharPage& page = screen_.current();
  page.clear_page();
  page.put_string("Connection closed.");
  page.move_cursor(1, 0);
  if (ui_.refresh_terminal) ui_.refresh_terminal();
  if (ui_.show_caret) ui_.show_caret(false);
  emit connectionClosed();
}

void ConnectionManager::connection_lost() {
  if (state_.connected != 0) {
    close_connection();
  } else {
    close_socket();
    if (serial_.is_open()) serial_.close();
  }
  if (state_.close_when_disconnected) {
    state_.close_when_disconnected = false;
    if (ui_.post_main_close) ui_.post_main_close();
  } else if (!state_.connect_pending) {
    if (ui_.post_connect) ui_.post_connect();
  }
}

}  // namespace veslink
