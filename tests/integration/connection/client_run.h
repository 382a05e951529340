// The whole client in-process against a real peer: a ClientApp with a private
// registry, the login dialog driven by one action per opening, the
// connection dialogs answered from a script, boxes recorded, the exit
// recorded instead of ending the test. Shared by the telnet, TLS and serial
// tests.
#pragma once

#include <QLineEdit>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "client/app/client_app.h"
#include "client/connection/login_dialog.h"
#include "platform/registry/registry.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace veslink::peers {

class ClientRun {
 public:
  using DialogAction = std::function<void(LoginDialog&)>;

  explicit ClientRun(const vestra::test::TempDir& dir);
  ~ClientRun();

  // A registry value under HKCU "Software\VESTRA\Settings".
  void setting(const std::string& name, const std::string& value);

  // Starts the client with these arguments after the program path. Each
  // opening of the login dialog runs the next action; openings beyond the
  // list press Exit.
  void start(std::vector<DialogAction> actions, std::vector<std::string> args = {});

  // The connection dialogs (pass phrase "193", connection password "194"):
  // answered in order from this list; nothing is Cancel.
  std::vector<std::optional<std::string>> dialog_answers;
  std::vector<std::string> dialogs_asked;

  vestra::registry::Registry reg;
  vestra::test::ScriptedMessages boxes;
  std::unique_ptr<ClientApp> app;
  std::vector<int> exit_codes;
  std::vector<LoginDialog::Form> forms;  // each opening of the login dialog
  int dialogs_opened() const { return static_cast<int>(forms.size()); }

  bool exited() const { return !exit_codes.empty(); }
  bool connected() const;
  int last_login_result() const { return app ? app->state().last_login_result : 0; }
  // The current page of the character screen, row by row, right blanks removed.
  static std::vector<std::string> screen_rows();
  static bool screen_shows(const std::string& text);

 private:
  const vestra::test::TempDir& dir_;
  std::vector<DialogAction> actions_;
};

// Dialog helpers for the actions.
QLineEdit* dialog_field(LoginDialog& dialog, const char* id);  // "61255" user, "61254" password
void fill_login(LoginDialog& dialog, const std::string& user, const std::string& password);
bool control_enabled(LoginDialog& dialog, const char* id);

}  // namespace veslink::peers
