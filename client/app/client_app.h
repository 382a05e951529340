// ClientApp: the thin client's start-up. The instance initialisation reads the
// settings and creates the hidden main window, then posts it WM_USER+1; that
// message runs client_init, which reads the command line and the INI file,
// creates the hidden terminal window and posts it the Connect command.
#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
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
class RootDisplayWindow;
class TerminalWin;

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
  bool connect_pending = false;
  bool connected = false;
  int connect_commands = 0;  // Connect commands carried out, for support and tests
  UpdateOutcome update_outcome = UpdateOutcome::NoCheck;
  std::string dde_error;  // why the DDE service is not available, if it is not
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

  // The New Session command (32866).
  bool new_session_enabled(std::int64_t now_ms) const;
  void new_session(std::int64_t now_ms);

  ClientSettings& settings() { return settings_; }
  StartupState& state() { return state_; }
  LoginDetails& login() { return login_; }
  CMainFrame* main_frame() const { return main_frame_.get(); }
  TerminalWin* terminal_window() const;

 signals:
  // client_init has run to its end (the Connect command is queued).
  void startupFinished();
  // The process must end with this code (a failure in client_init).
  void exitRequested(int code);

 private:
  void on_client_init_message();
  void client_init();
  void connect_command();
  void fail_start(const char* text);

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
};

}  // namespace veslink
