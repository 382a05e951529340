// The login dialog and the glue between it and the login dialogue.
#include "client/connection/login_dialog.h"

#include <pwd.h>
#include <unistd.h>

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "client/connection/connection_dialogs.h"
#include "client/connection/connection_manager.h"
#include "client/settings/client_settings.h"
#include "client/settings/client_texts.h"
#include "client/settings/host_list.h"
#include "client/settings/text_rules.h"
#include "platform/events/posted_events.h"
#include "platform/messages/message_box.h"

namespace veslink {

namespace {

constexpr int kBannerHeight = 64;
constexpr const char* kVersionText = "VESTRA Thin Client Version 6.5v1.1";
LoginDialog* g_current = nullptr;

std::string logon_name() {
  if (const passwd* pw = getpwuid(getuid())) return pw->pw_name;
  if (const char* user = std::getenv("USER")) return user;
  return std::string();
}

std::string failure_reason(int last_error, bool secure, bool certificate_in_use) {
  switch (last_error) {
    case 1:
      return "Host name not found.";
    case 3:
      return std::string("SSL could not be initialized.\n") +
             (certificate_in_use ? "Possibly problem with certificate." : "");
    case 5:
      if (certificate_in_use) return "Certificate is not valid.";
      [[fallthrough]];
    case 4:
      return "SSL connection failed.";
    default:
      break;
  }
  return secure ? "Secure TCP/IP may not be available\non this machine/port." : "";
}

}  // namespace

LoginDialog* LoginDialog::current() {
  return g_current;
}

namespace {
std::function<void(LoginDialog&)>& open_hook() {
  static std::function<void(LoginDialog&)> hook;
  return hook;
}
}  // namespace

void LoginDialog::set_open_hook(std::function<void(LoginDialog&)> hook) {
  open_hook() = std::move(hook);
}

void LoginDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (open_hook()) {
    QTimer::singleShot(0, this, [this] {
      if (open_hook()) open_hook()(*this);
    });
  }
}

LoginDialog::Form LoginDialog::form_for(int screen_width, bool autologin) {
  if (autologin) return Form::AutoLogin;
  return screen_width > 399 ? Form::Normal : Form::Compact;
}

LoginDialog::LoginDialog(Context context, Form form, QWidget* owner)
    : QDialog(owner), c_(std::move(context)), form_(form), dialogue_(*this) {
  g_current = this;
  LoginDialogue::set_active(&dialogue_);
  setWindowTitle(form_ == Form::AutoLogin ? "Invoking New Session" : "Thin Client Login");
  step_timer_.setSingleShot(true);
  connect(&step_timer_, &QTimer::timeout, this, [this] { dialogue_.step_timer_expired(); });

  // Banner: logo.bmp beside the program replaces the built-in one and renames
  // the product.
  const QString logo = QString::fromLocal8Bit((c_.program_directory + "/logo.bmp").c_str());
  product_name_ = "VESTRA-Nu";
  if (QFileInfo::exists(logo) && banner_.load(logo)) product_name_ = "CORVID-Nu";

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(12, form_ == Form::Compact ? 12 : kBannerHeight + 12, 12, 12);
  auto* grid = new QGridLayout();
  user_ = new QLineEdit(this);
  user_->setObjectName("61255");
  user_->setMaxLength(static_cast<int>(kLoginTextMax));
  password_ = new QLineEdit(this);
  password_->setObjectName("61254");
  password_->setEchoMode(QLineEdit::Password);
  password_->setMaxLength(static_cast<int>(kLoginTextMax));
  host_ = new QComboBox(this);
  host_->setObjectName("1112");
  host_->setEditable(true);
  host_->lineEdit()->setMaxLength(static_cast<int>(kHostMax));
  host_label_ = new QLabel("Host:", this);
  host_label_->setObjectName("1113");
  grid->addWidget(new QLabel("User name:", this), 0, 0);
  grid->addWidget(user_, 0, 1);
  grid->addWidget(new QLabel("Password:", this), 1, 0);
  grid->addWidget(password_, 1, 1);
  grid->addWidget(host_label_, 2, 0);
  grid->addWidget(host_, 2, 1);
  outer->addLayout(grid);
  auto* buttons = new QHBoxLayout();
  login_button_ = new QPushButton("&Login", this);
  login_button_->setObjectName("1");
  login_button_->setDefault(true);
  exit_button_ = new QPushButton("E&xit", this);
  exit_button_->setObjectName("61256");
  unix_button_ = new QPushButton("&Unix Login", this);
  unix_button_->setObjectName("1137");
  buttons->addWidget(login_button_);
  buttons->addWidget(exit_button_);
  buttons->addWidget(unix_button_);
  outer->addLayout(buttons);
  connect(login_button_, &QPushButton::clicked, this, &LoginDialog::press_login);
  connect(exit_button_, &QPushButton::clicked, this, &LoginDialog::press_exit);
  connect(unix_button_, &QPushButton::clicked, this, &LoginDialog::press_unix_login);
  connect(user_, &QLineEdit::textChanged, this, &LoginDialog::update_login_enabled);
  connect(host_, &QComboBox::editTextChanged, this, &LoginDialog::update_login_enabled);

  // Initial contents.
  dialogue_.dialog_opened();
  ClientSettings& s = c_.settings;
  std::string user = c_.login.user_name;
  if (user.empty())
    user = !s.def_username.empty() ? s.def_username : cut(logon_name(), kLoginTextMax);
  user_->setText(QString::fromLocal8Bit(to_lower(user).c_str()));
  password_->setText(QString::fromLocal8Bit(s.def_password.c_str()));
  if (tcp()) {
    for (const std::string& entry : host_list_entries(s.host_list, 98))
      host_->addItem(QString::fromLocal8Bit(entry.c_str()));
    if (!s.default_host.empty()) {
      s.current_host = s.default_host;
    } else if (s.current_host.empty()) {
      const std::string first = s.host_list.substr(0, s.host_list.find_first_of(",;"));
      s.current_host = cut(first, kHostMax);
    }
    const QString current = QString::fromLocal8Bit(s.current_host.c_str());
    if (host_->findText(current) < 0 && !current.isEmpty()) host_->insertItem(0, current);
    host_->setCurrentText(current);
  } else {
    host_->addItem(QString("COM%1").arg(s.interface_code));
    host_->setEnabled(false);
    host_label_->setEnabled(false);
  }
  update_login_enabled();

  if (form_ == Form::AutoLogin) {
    for (QWidget* w : findChildren<QWidget*>())
      w->hide();
    setAttribute(Qt::WA_DontShowOnScreen, true);
    exit_button_->setEnabled(false);
    unix_button_->setEnabled(false);
    vestra::events::post_command(this, login_ids::kLogin);
  }
}

LoginDialog::~LoginDialog() {
  if (g_current == this) g_current = nullptr;
  if (LoginDialogue::active() == &dialogue_) LoginDialogue::set_active(nullptr);
}

bool LoginDialog::tcp() const {
  return is_tcp_interface(c_.settings.interface_code);
}

void LoginDialog::update_login_enabled() {
  const bool ok = !user_->text().isEmpty() && (!tcp() || !host_->currentText().isEmpty());
  login_button_->setEnabled(ok && form_ != Form::AutoLogin && !logging_in_ &&
                            dialogue_.login_active() != 1);
}

void LoginDialog::set_controls_enabled(bool on) {
  user_->setEnabled(on);
  password_->setEnabled(on);
  host_->setEnabled(on && tcp());
  if (on) {
    update_login_enabled();
  } else {
    login_button_->setEnabled(false);
  }
}

void LoginDialog::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  if (form_ == Form::Compact) return;
  const bool rich = QPixmap::defaultDepth() >= 15;
  p.fillRect(QRect(0, 0, width(), kBannerHeight), rich ? QColor(244, 244, 232) : QColor(Qt::white));
  p.setPen(QColor(192, 192, 192));
  p.drawLine(0, kBannerHeight - 2, width(), kBannerHeight - 2);
  p.setPen(QColor(128, 128, 128));
  p.drawLine(0, kBannerHeight - 1, width(), kBannerHeight - 1);
  if (!banner_.isNull()) {
    p.drawPixmap((width() - banner_.width()) / 2, (kBannerHeight - 2 - banner_.height()) / 2,
                 banner_);
  } else {
    QFont f = font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(40, 60, 110));
    const bool beta = std::string(kVersionText).find("BETA") != std::string::npos;
    p.drawText(QRect(0, 0, width(), kBannerHeight - 2), Qt::AlignCenter,
               beta ? "VESTRA-Nu Thin Client BETA" : "VESTRA-Nu Thin Client");
  }
}

bool LoginDialog::event(QEvent* e) {
  if (e->type() == vestra::events::CommandEvent::type()) {
    const int id = static_cast<vestra::events::CommandEvent*>(e)->command_id();
    if (id == login_ids::kLogin) press_login();
    if (id == login_ids::kUnixLogin) press_unix_login();
    return true;
  }
  return QDialog::event(e);
}

void LoginDialog::press_login() {
  if (logging_in_ || ended_ || dialogue_.login_active() == 1) return;
  ClientSettings& s = c_.settings;
  const std::string user = cut(user_->text().toLocal8Bit().toStdString(), kLoginTextMax);
  const std::string password = cut(password_->text().toLocal8Bit().toStdString(), kLoginTextMax);
  if (tcp()) {
    const std::string host = cut(host_->currentText().toLocal8Bit().toStdString(), kHostMax);
    if (host.empty()) return;
    s.current_host = host;
  }
  c_.login.user_name = user;
  c_.login.password = password;
  c_.login.connection_password = s.def_conn_password;

  set_controls_enabled(false);
  dialogue_.connection_opening();
  c_.connection.state().last_error = 0;
  logging_in_ = true;
  const ConnectionManager::OpenResult result = c_.connection.open_connection();
  logging_in_ = false;
  if (ended_) return;

  if (result == ConnectionManager::OpenResult::Opened) {
    c_.connection.state().connected = -1;
    if (c_.connection.state().modem_answered) c_.connection.host_send_text("\r");
    s.login_timeout = dialogue_.start(
        {user, password, s.def_conn_password, form_ == Form::AutoLogin}, s.login_timeout);
    return;
  }
  if (result == ConnectionManager::OpenResult::Cancelled) {
    if (c_.connection.take_restart()) {
      vestra::events::post_command(this, login_ids::kLogin);
    } else {
      set_controls_enabled(true);
    }
    return;
  }
  const int error = c_.connection.state().last_error;
  const std::string text =
      "Connection Failed!\n\n" +
      failure_reason(error, s.interface_code == INTERFACE_SSL_TELNET, !s.cert_file.empty());
  vestra::messages::show_notice("VESTRA Thin Client", text, vestra::messages::Icon::Warning, this);
  if (form_ == Form::AutoLogin) {
    // Nobody can use an invisible dialog: the new session ends.
    end_with(login_ids::kExit);
    if (c_.post_main_close) c_.post_main_close();
    return;
  }
  if (tcp()) set_controls_enabled(true);
}

void LoginDialog::press_exit() {
  if (ended_) return;
  if (logging_in_) {
    // The connection attempt is still running: stop it; the client stays open
    // without a connection.
    c_.connection.cancel_attempt(false);
    ended_ = true;
    end_with(login_ids::kExit);
    return;
  }
  if (dialogue_.login_active() == 1) {
    dialogue_.give_up();
    if (c_.post_main_close) c_.post_main_close();
    return;
  }
  end_with(login_ids::kExit);
  if (c_.post_main_close) c_.post_main_close();
}

void LoginDialog::reject() {
  press_exit();
}

void LoginDialog::closeEvent(QCloseEvent* e) {
  if (!ended_) {
    e->ignore();
    press_exit();
    return;
  }
  QDialog::closeEvent(e);
}

void LoginDialog::end_with(int result) {
  ended_ = true;
  step_timer_.stop();
  done(result);
}

void LoginDialog::store_user_name_if_new() {
  ClientSettings& s = c_.settings;
  if (c_.connection.connected() && c_.login.user_name != s.def_username &&
      !c_.login.user_name.empty()) {
    s.def_username = c_.login.user_name;
    if (c_.write_def_username) c_.write_def_username();
  }
}

void LoginDialog::press_unix_login() {
  if (ended_) return;
  const bool asked_by_dialogue = dialogue_.step() == -2 && dialogue_.login_active() == 0;
  if (!asked_by_dialogue) {
    vestra::messages::Request ask;
    ask.owner = this;
    ask.caption = kClientCaption;
    ask.text =
        "You have selected Unix Login which will launch a Terminal Mode interface. This function "
        "is intended for technical support use only. Do you want to continue with the Unix Login?";
    ask.icon = vestra::messages::Icon::Warning;
    ask.buttons = vestra::messages::Buttons::YesNo;
    if (vestra::messages::show_message(ask) != vestra::messages::Answer::Yes) return;
  }
  ClientSettings& s = c_.settings;
  if (tcp()) {
    const std::string host = cut(host_->currentText().toLocal8Bit().toStdString(), kHostMax);
    if (host.empty()) return;
    if (!c_.connection.connected()) s.current_host = host;
  }
  c_.login.user_name = cut(user_->text().toLocal8Bit().toStdString(), kLoginTextMax);
  end_with(login_ids::kUnixLogin);
  if (!c_.connection.connected()) {
    if (c_.show_main_window) c_.show_main_window();
    c_.connection.open_connection();  // the user logs in by hand
  } else if (c_.show_user_name) {
    c_.show_user_name(c_.login.user_name);
  }
  store_user_name_if_new();
}

// LoginDialogueHost --------------------------------------------------------------

void LoginDialog::send_text(std::string_view text) {
  c_.connection.host_send_text(text);
}
void LoginDialog::start_step_timer(int ms) {
  step_timer_.start(ms);
}
void LoginDialog::stop_step_timer() {
  step_timer_.stop();
}

void LoginDialog::show_warning(const std::string& text) {
  vestra::messages::show_notice(kClientCaption, text, vestra::messages::Icon::Warning, this);
}

std::optional<std::string> LoginDialog::ask_connection_password(const std::string& preset) {
  return ask_remote_connection_password(this, preset, form_ == Form::AutoLogin);
}

void LoginDialog::login_refused() {
  if (form_ == Form::AutoLogin) {
    end_with(login_ids::kExit);
    if (c_.post_main_close) c_.post_main_close();
    return;
  }
  set_controls_enabled(true);
  password_->setFocus();
  password_->selectAll();
  if (tcp()) c_.connection.close_connection();
  dialogue_.dialog_opened();
}

void LoginDialog::dialogue_finished() {
  vestra::events::post_command(this, login_ids::kUnixLogin);
}

}  // namespace veslink
