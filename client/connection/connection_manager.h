// The one connection between the client and the host: opening it (telnet,
// telnet inside TLS, or a serial line), the processing step that moves bytes
// between the socket, the TLS layer, the telnet engine and the interpreter,
// host_send_byte, the poll timer with the keep-alive count, and closing,
// also when the host closes first. Runs on the GUI thread.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "client/connection/serial_transport.h"
#include "client/connection/tcp_connector.h"
#include "client/connection/telnet_engine.h"
#include "client/connection/tls_layer.h"
#include "client/settings/client_settings.h"
#include "platform/registry/registry.h"

class QSocketNotifier;
class QWidget;

namespace veslink {

class CharScreen;

// What the connection asks of the rest of the client.
struct ConnectionUi {
  // The interpreter's entry for host bytes.
  std::function<void(const std::uint8_t*, std::size_t)> host_data_in;
  // Repaints the terminal window after host data or a notice (the UI leaves
  // it alone while a host application screen is active).
  std::function<void()> refresh_terminal;
  std::function<void()> post_connect;     // Connect (32828) to the terminal window
  std::function<void()> post_main_close;  // WM_CLOSE to the main window
  // The rest of the client forgets the session: GUI mode off, key queue
  // emptied, slave printing ended, interpreter state reset.
  std::function<void()> session_closed;
  // The keep-alive count ran out during an input wait.
  std::function<void()> keep_alive_due;
  // The text caret of the terminal window.
  std::function<void(bool)> show_caret;
  // A condition the process cannot survive: the box was shown; end with code.
  std::function<void(int)> exit_process;
  // Asks for the pass phrase of an encrypted key (dialog 193).
  std::function<std::optional<std::string>()> ask_passphrase;
  // The modem dialler (dialog 191); true when a carrier answered.
  std::function<bool()> run_modem_dialer;
  QWidget* owner = nullptr;  // the main window, owner of the boxes
};

struct ConnectionState {
  int connected = 0;  // 0 closed, 1 open, -1 while the automatic login runs
  int attempt = 0;    // 1 while opening a TCP connection, -1 once cancelled
  bool connect_pending = false;
  int last_error =
      0;  // 0 ok, 1 host not found, 2 connect failed, 3 TLS set-up, 4 handshake, 5 certificate
  bool sending_suspended = false;
  bool close_when_disconnected = false;
  bool dialling = false;
  bool modem_answered = false;
  std::string connection_title;
  std::string connected_host_name;
};

class ConnectionManager : public QObject, private TelnetSink {
  Q_OBJECT
 public:
  enum class OpenResult { Opened, Failed, Cancelled };

  ConnectionManager(ClientSettings& settings, vestra::registry::Registry& reg, CharScreen& screen,
                    ConnectionUi ui, QObject* parent = nullptr);
  ~ConnectionManager() override;

  ConnectionState& state() { return state_; }
  const ConnectionState& state() const { return state_; }
  bool connected() const { return state_.connected != 0; }
  bool is_serial() const;

  OpenResult open_connection();
  void close_connection();
  // The only way bytes reach the host; false when not connected or while
  // sending is suspended (the byte is dropped).
  bool host_send_byte(std::uint8_t byte);
  bool host_send_text(std::string_view text);

  // Cancels a connection attempt that is still resolving, connecting or
  // shaking hands; `restart` posts Connect afterwards for a new attempt.
  void cancel_attempt(bool restart);
  bool attempt_running() const { return state_.attempt == 1; }
  // After an attempt cancelled with restart: the caller opens again with the
  // changed settings. Reading it clears it.
  bool take_restart() { return std::exchange(restart_after_cancel_, false); }

  bool apply_serial_settings();

  // Input waits arm the keep-alive for telnet over TLS; the poll timer counts
  // it down once a second.
  void arm_keep_alive();
  void disarm_keep_alive();
  bool keep_alive_armed() const { return keep_alive_left_ >= 0; }

  TelnetEngine& engine() { return engine_; }
  TlsLayer& tls() { return tls_; }
  SerialTransport& serial() { return serial_; }
  int socket_fd() const { return fd_; }

  // The processing step with the socket event (read 1, write 2, urgent 4,
  // close 32; 0 from the poll timer); -2 for serial data.
  void poll_connection(int event);

 signals:
  void connectionOpened();
  void connectionClosed();

 private:
  // TelnetSink
  void message(std::string_view text) override;
  void fatal(std::string_view text, std::string_view title) override;
  UrgentDataCheck urgent_data_pending() override;

  OpenResult open_tcp();
  OpenResult open_serial();
  bool telnet_open(const std::string& host_text, bool& cancelled);
  bool wait_socket(bool for_write);
  void clear_message_window();
  void write_message(std::string_view text);

  bool process_step(bool read_event);
  int read_socket();  // >0 read, 0 nothing, -1 lost
  bool flush_network_output();
  void schedule_step();
  void close_socket();
  void connection_lost();
  void serial_data();
  void on_poll_timer();

  ClientSettings& settings_;
  vestra::registry::Registry& reg_;
  CharScreen& screen_;
  ConnectionUi ui_;
  ConnectionState state_;
  TelnetEngine engine_;
  TlsLayer tls_;
  TcpConnector connector_;
  SerialTransport serial_;
  int fd_ = -1;
  bool use_ssl_ = false;
  bool restart_after_cancel_ = false;
  QSocketNotifier* read_notifier_ = nullptr;
  QSocketNotifier* write_notifier_ = nullptr;
  QSocketNotifier* urgent_notifier_ = nullptr;
  QTimer poll_timer_;
  bool step_scheduled_ = false;
  int keep_alive_left_ = -1;
  int step_depth_ = 0;
};

}  // namespace veslink
