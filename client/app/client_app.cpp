// Client start-up in its two phases, in the order the rest of the client
// relies on: settings before any window, the terminal window before Connect.
#include "client/app/client_app.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QScreen>
#include <cstdlib>

#include "client/app/ini_lookup.h"
#include "client/app/main_frame.h"
#include "client/app/startup_rules.h"
#include "client/prefs/fonts.h"
#include "client/protocol/interpreter.h"
#include "client/screen/root_window.h"
#include "client/services/dde_service.h"
#include "client/settings/client_texts.h"
#include "client/settings/settings_registry.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/terminal_win.h"
#include "platform/events/posted_events.h"
#include "platform/messages/message_box.h"
#include "resources/command_ids.h"

namespace veslink {

namespace ids = vestra::ids;

ClientApp::ClientApp(vestra::registry::Registry& reg, std::vector<std::string> words)
    : reg_(reg), words_(std::move(words)), update_hooks_(default_update_hooks()) {
  if (words_.empty()) words_.push_back(std::string());
}

ClientApp::~ClientApp() {
  delete root_window_.data();
  main_frame_.reset();  // owns the terminal window through the work area
}

TerminalWin* ClientApp::terminal_window() const {
  return terminal_.data();
}

void ClientApp::set_new_session_launcher(NewSessionCommand::Launcher launcher) {
  new_session_ = NewSessionCommand(std::move(launcher));
}

bool ClientApp::init_instance() {
  // The framework's profile data (the toolbar state) is kept by the main frame
  // under HKEY_CURRENT_USER\Software\VESTRA in our own registry.
  QCoreApplication::setApplicationName("veslink");

  const QScreen* screen = QGuiApplication::primaryScreen();
  set_default_fonts(settings_, screen ? screen->geometry().width() : 1024);
  read_settings(settings_, reg_);
  cell_metrics() = compute_cell_metrics(settings_.normal_font, settings_.fixed_font);

  main_frame_ = std::make_unique<CMainFrame>();
  main_frame_->set_user_message_handler(ids::WM_USER_CLIENT_INIT,
                                        [this] { on_client_init_message(); });
  // The main window stays hidden until the first login dialog ends.
  vestra::events::post_user_message(main_frame_.get(), ids::WM_USER_CLIENT_INIT);
  return true;
}

void ClientApp::on_client_init_message() {
  client_init();
}

void ClientApp::fail_start(const char* text) {
  vestra::messages::show_notice(kClientCaption, text, vestra::messages::Icon::Warning);
  emit exitRequested(1);
  QCoreApplication::exit(1);
}

void ClientApp::client_init() {
  state_.program_path = words_[0];
  state_.program_directory = program_directory(state_.program_path);

  state_.update_outcome = check_for_update(state_.program_path, reg_, update_hooks_);

  if (!state_.program_directory.empty()) {
    const char* path = std::getenv("PATH");
    const std::string extended = extended_path(path ? path : "", state_.program_directory);
    ::setenv("PATH", extended.c_str(), 1);
  }
  state_.utility_base_directory = "../";

  if (!init_interpreter()) {
    emit exitRequested(1);
    QCoreApplication::exit(1);
    return;
  }
  state_.connected = false;

  const StartChoice choice = classify_command_line(words_);
  if (choice.mode == StartMode::AutoLogin) {
    state_.autologin = load_stored_login(settings_, reg_);
    state_.close_when_disconnected = state_.autologin;
  } else {
    const IniLookup ini =
        read_ini_file(settings_, choice.ini_name, choice.mode == StartMode::ExplicitIni);
    state_.ini_path = ini.ini_path;
    state_.ini_read = ini.ini_read;
  }

  state_.connection_title = connection_title(settings_);
  if (is_tcp_interface(settings_.interface_code) && !settings_.current_host.empty())
    add_to_host_list(settings_, settings_.current_host, reg_);

  state_.serial_events = std::make_unique<SerialEvents>();

  root_window_ = new RootDisplayWindow();
  if (!root_window_) return fail_start("ERROR: Could not initialise display interface!");
  root_window_->hide();

  terminal_ = new TerminalWin(QString::fromLatin1(ids::IDS_TERMINAL_MODE), char_screen());
  if (!terminal_) return fail_start("ERROR: Could not create terminal window!");
  terminal_frame_ = main_frame_->add_work_window(terminal_);
  terminal_->set_command_handler(ids::ID_CONNECT, [this] { connect_command(); });

  if (!register_dde_service("veslink_dde", state_.dde_error))
    std::fprintf(stderr, "veslink: DDE service not available: %s\n", state_.dde_error.c_str());

  vestra::events::post_command(terminal_, ids::ID_CONNECT);
  emit startupFinished();
}

void ClientApp::connect_command() {
  if (state_.connect_pending) return;
  state_.connect_pending = true;
  state_.connected = false;
  ++state_.connect_commands;
  // The login dialog runs here once the connection layer is built; until then
  // the command goes on as after a dialog that did not end with Exit: terminal
  // mode is shown and the main window appears.
  state_.connect_pending = false;
  if (terminal_frame_) terminal_frame_->showMaximized();
  if (terminal_) terminal_->show();
  main_frame_->setWindowTitle(QString::fromLocal8Bit(state_.connection_title.c_str()));
  main_frame_->first_show();
}

bool ClientApp::new_session_enabled(std::int64_t now_ms) const {
  return new_session_.enabled(state_.connected, settings_.interface_code, now_ms);
}

void ClientApp::new_session(std::int64_t now_ms) {
  if (!new_session_enabled(now_ms)) return;
  new_session_.run(login_, settings_.current_host, settings_.interface_code, reg_, now_ms);
}

}  // namespace veslink
