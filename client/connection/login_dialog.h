// The login dialog: user name, password and host; it opens the connection and
// runs the automatic login dialogue, or hands over to terminal mode (Unix
// Login). Three forms: the normal one, a compact one for narrow screens, and
// an invisible one that logs a new session in at once (-autologin).
#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>
#include <string>

#include "client/connection/login_dialogue.h"
#include "client/connection/stored_login.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace veslink {

class ConnectionManager;
struct ClientSettings;

namespace login_ids {
constexpr int kLogin = 1;
constexpr int kExit = 61256;
constexpr int kUnixLogin = 1137;
}  // namespace login_ids

class LoginDialog : public QDialog, private LoginDialogueHost {
  Q_OBJECT
 public:
  enum class Form { Normal = 192, Compact = 218, AutoLogin = 235 };

  struct Context {
    ClientSettings& settings;
    LoginDetails& login;  // the current login, kept for New Session
    ConnectionManager& connection;
    std::string program_directory;  // for "logo.bmp"
    std::function<void()> show_main_window;
    std::function<void()> post_main_close;
    std::function<void(const std::string&)> show_user_name;  // the main window's user pane
    std::function<bool()> write_def_username;
  };

  LoginDialog(Context context, Form form, QWidget* owner);
  ~LoginDialog() override;

  static Form form_for(int screen_width, bool autologin);

  // The dialogue the interpreter feeds while this dialog lives.
  LoginDialogue& dialogue() { return dialogue_; }
  static LoginDialog* current();

  // Called once the dialog is up (its event loop runs): tests drive the
  // dialog from here instead of a user.
  static void set_open_hook(std::function<void(LoginDialog&)> hook);
  Form form() const { return form_; }

  // "CORVID-Nu" when logo.bmp replaced the banner, else the usual name.
  const std::string& product_name() const { return product_name_; }

  // For tests and the interpreter.
  void press_login();
  void press_unix_login();
  void press_exit();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void reject() override;
  void paintEvent(QPaintEvent* e) override;
  void showEvent(QShowEvent* e) override;
  bool event(QEvent* e) override;

 private:
  // LoginDialogueHost
  void send_text(std::string_view text) override;
  void start_step_timer(int ms) override;
  void stop_step_timer() override;
  void send_break() override {}
  void show_warning(const std::string& text) override;
  std::optional<std::string> ask_connection_password(const std::string& preset) override;
  void login_refused() override;
  void dialogue_finished() override;

  void update_login_enabled();
  void set_controls_enabled(bool on);
  bool tcp() const;
  void end_with(int result);
  void store_user_name_if_new();

  Context c_;
  Form form_;
  LoginDialogue dialogue_;
  QTimer step_timer_;
  QLineEdit* user_ = nullptr;
  QLineEdit* password_ = nullptr;
  QComboBox* host_ = nullptr;
  QLabel* host_label_ = nullptr;
  QPushButton* login_button_ = nullptr;
  QPushButton* exit_button_ = nullptr;
  QPushButton* unix_button_ = nullptr;
  QPixmap banner_;
  std::string product_name_;
  bool logging_in_ = false;
  bool ended_ = false;
};

}  // namespace veslink
