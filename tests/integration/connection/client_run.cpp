// The in-process client for the real-peer tests.
#include "tests/integration/connection/client_run.h"

#include <QAbstractButton>

#include "client/connection/connection_dialogs.h"
#include "client/connection/connection_manager.h"
#include "client/settings/client_texts.h"
#include "client/terminal/char_screen.h"

namespace veslink::peers {

using vestra::registry::Hive;

ClientRun::ClientRun(const vestra::test::TempDir& dir)
    : reg(vestra::registry::Locations::single(dir.path() + "/client-reg")), dir_(dir) {
  setting("confirm_close", "false");
  setting("login_timeout", "10");  // the shortest the login accepts
  set_connection_dialog_script([this](const std::string& dialog) -> std::optional<std::string> {
    dialogs_asked.push_back(dialog);
    if (dialog_answers.empty()) return std::nullopt;
    std::optional<std::string> answer = dialog_answers.front();
    dialog_answers.erase(dialog_answers.begin());
    return answer;
  });
}

ClientRun::~ClientRun() {
  app.reset();
  LoginDialog::set_open_hook(nullptr);
  set_connection_dialog_script(nullptr);
}

void ClientRun::setting(const std::string& name, const std::string& value) {
  reg.set_string(Hive::CurrentUser, kSettingsKey, name, value);
}

void ClientRun::start(std::vector<DialogAction> actions, std::vector<std::string> args) {
  actions_ = std::move(actions);
  std::vector<std::string> words{dir_.file("veslink")};
  words.insert(words.end(), args.begin(), args.end());
  app = std::make_unique<ClientApp>(reg, words);
  app->set_update_hooks(
      {[](const std::string&) { return std::optional<std::time_t>(); }, [](const std::string&) {}});
  app->set_exit_handler([this](int code) { exit_codes.push_back(code); });
  LoginDialog::set_open_hook([this](LoginDialog& dialog) {
    const std::size_t n = forms.size();
    forms.push_back(dialog.form());
    if (n < actions_.size()) {
      actions_[n](dialog);
    } else if (dialog.form() != LoginDialog::Form::AutoLogin) {
      dialog.press_exit();
    }
  });
  app->init_instance();
}

bool ClientRun::connected() const {
  return app && app->connection() && app->connection()->connected();
}

std::vector<std::string> ClientRun::screen_rows() {
  std::vector<std::string> out;
  CharPage& page = char_screen().current();
  for (int r = 0; r < page.rows(); ++r) {
    std::string row = page.row_text(r);
    row.erase(row.find_last_not_of(' ') + 1);
    out.push_back(row);
  }
  return out;
}

bool ClientRun::screen_shows(const std::string& text) {
  for (const std::string& row : screen_rows())
    if (row.find(text) != std::string::npos) return true;
  return false;
}

QLineEdit* dialog_field(LoginDialog& dialog, const char* id) {
  return dialog.findChild<QLineEdit*>(id);
}

void fill_login(LoginDialog& dialog, const std::string& user, const std::string& password) {
  dialog_field(dialog, "61255")->setText(QString::fromStdString(user));
  dialog_field(dialog, "61254")->setText(QString::fromStdString(password));
}

bool control_enabled(LoginDialog& dialog, const char* id) {
  QWidget* w = dialog.findChild<QWidget*>(id);
  return w && w->isEnabled();
}

}  // namespace veslink::peers
