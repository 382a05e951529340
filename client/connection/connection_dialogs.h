// The small dialogs of the connection: the pass phrase of an encrypted key
// (193), the remote connection password (194) and the modem dialler (191).
// Each can be replaced by a scripted answer in tests.
#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QWidget;

namespace veslink {

class SerialTransport;

// Dialog 193, "Certificate password entry": at most 28 characters; nothing on
// Cancel. The pass phrase is asked anew at every connection.
std::optional<std::string> ask_certificate_passphrase(QWidget* owner);

// Dialog 194, the Remote Connection Password: pre-filled; confirmed at once
// when `confirm_at_once` (an -autologin login). Nothing on Cancel.
std::optional<std::string> ask_remote_connection_password(QWidget* owner, const std::string& preset,
                                                          bool confirm_at_once);

// Scripted answers for tests: while set, the dialogs above are not shown.
using PassphraseScript = std::function<std::optional<std::string>(const std::string& dialog)>;
void set_connection_dialog_script(PassphraseScript script);

// Dialog 191, "Modem Dialer": sends the modem init string, "ate0", the dial
// command and the number, then waits for the carrier (40 s, or 2 s after a
// carrier change and 4 s after a received character). True when the modem
// reports a carrier.
class ModemDialer : public QDialog {
  Q_OBJECT
 public:
  ModemDialer(QWidget* owner, const std::string& phone_number, const std::string& init_string,
              std::function<bool(std::string_view)> send, std::function<bool()> carrier);
  bool answered() const { return answered_; }
  // The line saw a received character or a carrier change while dialling.
  void line_event(bool carrier_change);
  bool dialling() const { return dialling_; }

 protected:
  bool event(QEvent* e) override;
  void reject() override;

 private:
  void dial();
  void pause(int ms);
  void timer_expired();

  std::string phone_;
  std::string init_;
  std::function<bool(std::string_view)> send_;
  std::function<bool()> carrier_;
  QTimer timer_;
  QTimer carrier_watch_;  // a carrier change cannot be waited for on a tty: it is polled
  bool last_carrier_ = false;
  bool dialling_ = false;
  bool answered_ = false;
};

}  // namespace veslink
