// Pass phrase, remote connection password and modem dialler dialogs.
#include "client/connection/connection_dialogs.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/events/posted_events.h"

namespace veslink {

namespace {

PassphraseScript& script() {
  static PassphraseScript s;
  return s;
}

std::optional<std::string> ask_hidden_text(QWidget* owner, const QString& title,
                                           const QString& text, const std::string& preset,
                                           int max_length, bool confirm_at_once) {
  QDialog dialog(owner);
  dialog.setWindowTitle(title);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(text, &dialog));
  auto* edit = new QLineEdit(&dialog);
  edit->setEchoMode(QLineEdit::Password);
  edit->setMaxLength(max_length);
  edit->setText(QString::fromLocal8Bit(preset.c_str()));
  layout->addWidget(edit);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  if (confirm_at_once) return preset;
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return edit->text().left(max_length).toLocal8Bit().toStdString();
}

}  // namespace

void set_connection_dialog_script(PassphraseScript s) {
  script() = std::move(s);
}

std::optional<std::string> ask_certificate_passphrase(QWidget* owner) {
  if (script()) return script()("193");
  return ask_hidden_text(owner, "Certificate password entry",
                         "Enter pass phrase for certificate:", std::string(), 28, false);
}

std::optional<std::string> ask_remote_connection_password(QWidget* owner, const std::string& preset,
                                                          bool confirm_at_once) {
  if (confirm_at_once) return preset;
  if (script()) return script()("194");
  return ask_hidden_text(owner, "Remote Connection Password", "Connection password:", preset, 29,
                         false);
}

namespace {
constexpr int kDialMessage = 11;  // WM_USER + 11
}

ModemDialer::ModemDialer(QWidget* owner, const std::string& phone_number,
                         const std::string& init_string, std::function<bool(std::string_view)> send,
                         std::function<bool()> carrier)
    : QDialog(owner),
      phone_(phone_number),
      init_(init_string),
      send_(std::move(send)),
      carrier_(std::move(carrier)) {
  setWindowTitle("Modem Dialer");
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(QString::fromLocal8Bit(("Dialing " + phone_).c_str()), this);
  label->setObjectName("61257");
  layout->addWidget(label);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &ModemDialer::reject);
  layout->addWidget(buttons);
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &ModemDialer::timer_expired);
  carrier_watch_.setInterval(250);
  connect(&carrier_watch_, &QTimer::timeout, this, [this] {
    const bool now = carrier_ && carrier_();
    if (now != last_carrier_) {
      last_carrier_ = now;
      line_event(true);
    }
  });
  vestra::events::post_user_message(this, kDialMessage);
}

bool ModemDialer::event(QEvent* e) {
  if (e->type() == vestra::events::UserMessageEvent::type()) {
    if (static_cast<vestra::events::UserMessageEvent*>(e)->number() == kDialMessage) dial();
    return true;
  }
  return QDialog::event(e);
}

void ModemDialer::pause(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

void ModemDialer::dial() {
  pause(1000);
  if (!init_.empty()) send_(init_ + "\r");
  send_("ate0\r");
  pause(1000);
  if (phone_.empty() || (phone_[0] != 'a' && phone_[0] != 'A')) send_("atd");
  send_(phone_ + "\r");
  pause(1000);
  last_carrier_ = carrier_ && carrier_();
  dialling_ = true;
  timer_.start(40000);
  carrier_watch_.start();
}

void ModemDialer::line_event(bool carrier_change) {
  if (!dialling_) return;
  dialling_ = false;
  timer_.start(carrier_change ? 2000 : 4000);
}

void ModemDialer::timer_expired() {
  if (carrier_ && carrier_()) {
    answered_ = true;
    dialling_ = false;
    accept();
  }
}

void ModemDialer::reject() {
  dialling_ = false;
  timer_.stop();
  carrier_watch_.stop();
  QDialog::reject();
}

}  // namespace veslink
