// The Communications dialog.
#include "client/connection/comm_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QVBoxLayout>
#include <filesystem>

#include "client/connection/connection_manager.h"
#include "client/connection/host_address.h"
#include "client/connection/tcp_connector.h"
#include "client/settings/client_settings.h"
#include "client/settings/client_texts.h"
#include "client/settings/ini_file.h"
#include "client/settings/text_rules.h"
#include "platform/messages/message_box.h"

namespace veslink {

namespace {
struct Choice {
  const char* text;
  int value;
};
constexpr Choice kBauds[] = {{"1200", 1200},   {"2400", 2400},   {"4800", 4800},   {"9600", 9600},
                             {"14.4k", 14400}, {"19.2k", 19200}, {"38.4k", 38400}, {"56k", 56000},
                             {"128k", 128000}, {"256k", 256000}};
constexpr Choice kParities[] = {{"None", kParityNone},
                                {"Even", kParityEven},
                                {"Odd", kParityOdd},
                                {"Mark", kParityMark},
                                {"Space", kParitySpace}};
constexpr Choice kStops[] = {{"1", kStopOne}, {"1.5", kStopOneHalf}, {"2", kStopTwo}};

QString local(const std::string& s) {
  return QString::fromLocal8Bit(s.c_str());
}
std::string local(const QString& s) {
  return s.toLocal8Bit().toStdString();
}

void select_value(QComboBox* box, int value) {
  const int i = box->findData(value);
  if (i >= 0) box->setCurrentIndex(i);
}
}  // namespace

CommDialog::CommDialog(Context context, QWidget* owner) : QDialog(owner), c_(std::move(context)) {
  setWindowTitle("VESLINK Communications");
  const ClientSettings& s = c_.settings;
  auto* form = new QFormLayout();
  interface_ = new QComboBox(this);
  interface_->setObjectName("61242");
  interface_->addItem("TCP/IP", INTERFACE_TELNET);
  interface_->addItem("Secure TCP/IP", INTERFACE_SSL_TELNET);
  for (int n = 1; n <= kLastComPort; ++n)
    interface_->addItem(QString("%1%2").arg("COM").arg(n), n);
  select_value(interface_, s.interface_code);
  baud_ = new QComboBox(this);
  baud_->setObjectName("61243");
  for (const Choice& c : kBauds)
    baud_->addItem(c.text, c.value);
  select_value(baud_, s.baud);
  data_bits_ = new QComboBox(this);
  data_bits_->setObjectName("61244");
  data_bits_->addItem("7", 7);
  data_bits_->addItem("8", 8);
  select_value(data_bits_, s.data_bits);
  parity_ = new QComboBox(this);
  parity_->setObjectName("61245");
  for (const Choice& c : kParities)
    parity_->addItem(c.text, c.value);
  select_value(parity_, s.parity);
  stop_bits_ = new QComboBox(this);
  stop_bits_->setObjectName("61246");
  for (const Choice& c : kStops)
    stop_bits_->addItem(c.text, c.value);
  select_value(stop_bits_, s.stop_bits);
  dtr_ = new QCheckBox("DTR/DSR", this);
  dtr_->setObjectName("61247");
  dtr_->setChecked(s.flow & kFlowDtrDsr);
  rts_ = new QCheckBox("RTS/CTS", this);
  rts_->setObjectName("61248");
  rts_->setChecked(s.flow & kFlowRtsCts);
  xon_ = new QCheckBox("XON/XOFF", this);
  xon_->setObjectName("61249");
  xon_->setChecked(s.flow & kFlowXonXoff);
  host_ = new QLineEdit(local(s.default_host), this);
  host_->setObjectName("61250");
  host_->setMaxLength(static_cast<int>(kHostMax));
  cert_ = new QLineEdit(local(s.cert_file), this);
  cert_->setObjectName("61252");
  cert_->setMaxLength(static_cast<int>(kCertPathMax));
  key_ = new QLineEdit(local(s.key_file), this);
  key_->setObjectName("61253");
  key_->setMaxLength(static_cast<int>(kCertPathMax));
  keep_alive_ = new QLineEdit(QString::number(static_cast<unsigned>(s.keep_alive_minutes)), this);
  keep_alive_->setObjectName("1114");
  keep_alive_->setValidator(new QIntValidator(0, 1000000, keep_alive_));

  form->addRow("Port/Interface:", interface_);
  form->addRow("Baud Rate:", baud_);
  form->addRow("Data Bits:", data_bits_);
  form->addRow("Parity:", parity_);
  form->addRow("Stop Bits:", stop_bits_);
  form->addRow("", dtr_);
  form->addRow("", rts_);
  form->addRow("", xon_);
  form->addRow("Default Host Name or Address:", host_);
  form->addRow("Certificate file:", cert_);
  form->addRow("Key file:", key_);
  form->addRow("Keep alive (minutes):", keep_alive_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CommDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CommDialog::reject);
  layout->addWidget(buttons);
  connect(interface_, &QComboBox::currentIndexChanged, this, &CommDialog::update_enabling);
  update_enabling();
}

void CommDialog::update_enabling() {
  const int code = interface_->currentData().toInt();
  const bool com = is_com_interface(code);
  for (QWidget* w :
       std::initializer_list<QWidget*>{baud_, data_bits_, parity_, stop_bits_, dtr_, rts_, xon_})
    w->setEnabled(com);
  host_->setEnabled(is_tcp_interface(code));
  const bool secure = code == INTERFACE_SSL_TELNET;
  cert_->setEnabled(secure);
  key_->setEnabled(secure);
  keep_alive_->setEnabled(secure);
}

void CommDialog::warn(const std::string& text) {
  vestra::messages::show_notice(kClientCaption, text, vestra::messages::Icon::Warning, this);
}

bool CommDialog::check_file(const std::string& typed, std::string& out, const char* missing_text) {
  std::error_code ec;
  if (typed.empty()) {
    out.clear();
    return true;
  }
  if (std::filesystem::exists(typed, ec)) {
    out = typed;
    return true;
  }
  // A relative name may be meant beside the INI file.
  const std::size_t cut_at = c_.ini_path.find_last_of("/\\");
  const std::string beside =
      (cut_at == std::string::npos ? std::string() : c_.ini_path.substr(0, cut_at + 1)) + typed;
  if (beside.size() < 80 && std::filesystem::exists(beside, ec)) {
    out = beside;
    return true;
  }
  warn(missing_text);
  return false;
}

bool CommDialog::apply() {
  ClientSettings& s = c_.settings;
  ClientSettings next = s;
  const int old_interface = s.interface_code;
  next.interface_code = interface_->currentData().toInt();
  next.baud = baud_->currentData().toInt();
  next.data_bits = static_cast<std::uint8_t>(data_bits_->currentIndex() + 7);
  next.parity = static_cast<std::uint8_t>(parity_->currentData().toInt());
  next.stop_bits = static_cast<std::uint8_t>(stop_bits_->currentData().toInt());
  next.flow = static_cast<std::uint8_t>((dtr_->isChecked() ? kFlowDtrDsr : 0) |
                                        (rts_->isChecked() ? kFlowRtsCts : 0) |
                                        (xon_->isChecked() ? kFlowXonXoff : 0));
  next.secure_suffix = next.interface_code == INTERFACE_SSL_TELNET ? kSecureSuffix : "";

  if (!check_file(cut(local(cert_->text()), kCertPathMax), next.cert_file,
                  "Certificate file not found!"))
    return false;
  if (!check_file(cut(local(key_->text()), kCertPathMax), next.key_file,
                  "Certificate key file not found!"))
    return false;
  next.keep_alive_minutes = std::max(0, keep_alive_->text().toInt());

  const std::string host = cut(local(host_->text()), kHostMax);
  ConnectionManager& connection = c_.connection;
  if (is_tcp_interface(next.interface_code) && !host.empty() && !connection.attempt_running()) {
    HostText parts = split_host_text(host);
    TcpConnector lookup;
    ResolvedHost resolved;
    const bool routed = is_source_route(parts.name);
    if (!routed && lookup.resolve(parts.name, resolved) != TcpConnector::Outcome::Connected) {
      warn("Host name not known!");
      return false;
    }
  }
  next.default_host = host;

  if (connection.attempt_running()) connection.cancel_attempt(true);
  if (next.interface_code != old_interface && connection.connected()) connection.close_connection();

  s = next;
  if (!connection.connected()) {
    if (c_.post_connect) c_.post_connect();
  } else if (is_com_interface(s.interface_code) && !connection.apply_serial_settings()) {
    warn("Settings failed!");
  }
  if (c_.ini_read) write_ini_file(s, c_.ini_path);
  if (c_.write_registry) c_.write_registry();
  return true;
}

void CommDialog::accept() {
  if (apply()) QDialog::accept();
}

}  // namespace veslink
