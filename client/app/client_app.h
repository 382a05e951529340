// ClientApp: the thin client's start-up and its application commands. The
// instance initialisation reads the settings and creates the hidden main
// window, then posts it WM_USER+1; that message runs client_init, which reads
// the command line and the INI file, creates the hidden terminal window and
// the connection, and posts the Connect command to the terminal window.
#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "client/app/new_session.h"
#include "client/app/update_check.h"
#include "client/connection/serial_events.h"
#include "client/connection/stored_login.h"
#include "client/settings/client_settings.h"
#include "platform/registry/registry.h"

class QMdiSubWindow;

namespace veslink {

class CMainFrame;
class ConnectionManager;
class RootDisplayWindow;
class QtScreenUi;
class QtFieldUi;
class TerminalWin;
class SlavePrintJob;

// What start-up keeps for the life of the process.
struct StartupState {
  std::string program_path;
  std::string program_directory;
  std::string ini_path;
  bool ini_read = false;
  bool autologin = false;  // complete stored details: log in without a dialog
  bool close_when_disconnected = false;
  std::string connection_title;
  std::string utility_base_directory;
  std::unique_ptr<SerialEvents> serial_events;
  int connect_commands = 0;   // Connect commands carried out, for support and tests
  int last_login_result = 0;  // how the last login dialog ended (Exit, Unix Login)
  UpdateOutcome update_outcome = UpdateOutcome::NoCheck;
  std::string dde_error;  // why the DDE service is not available, if it is not
  std::string product_name = "VESTRA-Nu";
  bool first_close = true;
  bool exiting = false;
};

class ClientApp : public QObject {
  Q_OBJECT
 public:
  // `words`: the command line, the first word being the program path.
  ClientApp(vestra::registry::Registry& reg, std::vector<std::string> words);
  ~ClientApp() override;

  // The instance initialisation; false when the process must end.
  bool init_instance();

  void set_update_hooks(UpdateHooks hooks) { update_hooks_ = std::move(hooks); }
  void set_new_session_launcher(NewSessionCommand::Launcher launcher);
  // How the process ends (tests record it instead).
  void set_exit_handler(std::function<void(int)> handler) { exit_handler_ = std::move(handler); }

  // The New Session command (32866).
  bool new_session_enabled(std::int64_t now_ms) const;
  void new_session(std::int64_t now_ms);

  // The connection commands of the main menu.
  void disconnect_command();
  void communications_command();
  void resequence_server_command();
  void send_interrupt_command();

  ClientSettings& settings() { return settings_; }
  StartupState& state() { return state_; }
  LoginDetails& login() { return login_; }
  CMainFrame* main_frame() const { return main_frame_.get(); }
  TerminalWin* terminal_window() const;
  ConnectionManager* connection() const { return connection_.get(); }
  vestra::registry::Registry& registry() { return reg_; }

 signals:
  // client_init has run to its end (the Connect command is queued).
  void startupFinished();
  // The process must end with this code.
  void exitRequested(int code);

 private:
  void on_client_init_message();
  void client_init();
  void connect_command();
  bool create_connection();
  // The interpreter's window calls, replies, routes and print job.
  void wire_interpreter();
  void unwire_interpreter();
  void build_menus();
  // The host windows' layer on the main window, and its release while Qt
  // still runs.
  void create_screen_ui();
  void release_screen_ui();
  bool main_close_requested();
  void terminal_close_requested();
  void show_terminal_mode();
  void exit_process(int code);
  void fail_start(const char* text);
  bool host_screen_active() const;

  vestra::registry::Registry& reg_;
  std::vector<std::string> words_;
  ClientSettings settings_;
  StartupState state_;
  LoginDetails login_;
  UpdateHooks update_hooks_;
  NewSessionCommand new_session_;
  std::unique_ptr<CMainFrame> main_frame_;
  QPointer<RootDisplayWindow> root_window_;
  QPointer<TerminalWin> terminal_;
  QPointer<QMdiSubWindow> terminal_frame_;
  std::unique_ptr<QtScreenUi> screen_ui_;
  std::unique_ptr<QtFieldUi> field_ui_;  // after screen_ui_: goes first
  std::unique_ptr<ConnectionManager> connection_;
  std::unique_ptr<SlavePrintJob> print_job_;
  std::function<void(int)> exit_handler_;
};

}  // namespace veslink
