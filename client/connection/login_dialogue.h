// The automatic login dialogue: after the connection opens, watch the host's
// text for the login prompts and type the answers, step by step with time
// limits, and give up into terminal mode when the host does not behave as
// expected. Plain C++: the login dialog supplies sending, the step timer and
// the boxes through LoginDialogueHost.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veslink {

class LoginDialogueHost {
 public:
  virtual ~LoginDialogueHost() = default;
  virtual void send_text(std::string_view text) = 0;  // through host_send_byte
  // The step timer: a new start replaces the old one; stop also drops a
  // time-out that is already waiting to be delivered.
  virtual void start_step_timer(int ms) = 0;
  virtual void stop_step_timer() = 0;
  virtual void send_break() = 0;  // the Send Break command (it does nothing)
  virtual void show_warning(const std::string& text) = 0;  // caption "VESTRA-Nu Thin Client"
  // The Remote Connection Password dialog, pre-filled; nothing on Cancel.
  virtual std::optional<std::string> ask_connection_password(const std::string& preset) = 0;
  // The login was refused and the user was told: the dialog takes over again
  // (or, for -autologin, ends as Exit).
  virtual void login_refused() = 0;
  // The dialogue gave up or the host application started: the dialog closes
  // with Unix Login, which continues in terminal mode or in the host's screens.
  virtual void dialogue_finished() = 0;
};

class LoginDialogue {
 public:
  static constexpr std::size_t kWindowSize = 79;
  static constexpr const char* kLoginPrompt = "ogin:";
  static constexpr const char* kPasswordPrompt = "word:";
  static constexpr const char* kTerminalTypePrompt = "enter terminal type";
  static constexpr const char* kConnectionPasswordPrompt = "connection password:";
  static constexpr const char* kAccessDenied = "access to system denied!";

  explicit LoginDialogue(LoginDialogueHost& host);

  struct Credentials {
    std::string user_name;
    std::string password;
    std::string connection_password;  // the default the dialog is pre-filled with
    bool autologin = false;
  };

  // The dialog is open but not yet logging in (login active = -1).
  void dialog_opened();
  // Login was pressed: what the next connection sends is watched afresh.
  void connection_opening();
  // Step 0: the connection is open. `login_timeout` is the setting; it is
  // clamped (<= 1 gives 12, then 10..120) and the clamped value returned so the
  // caller keeps it in the setting.
  int start(const Credentials& credentials, int login_timeout);

  // The interpreter's hooks, for every received byte while login_active() != 0
  // and after each received block.
  void received_byte(std::uint8_t byte);
  void received_escape();
  void block_received();

  void step_timer_expired();

  // The user cancelled the running dialogue (close box, Exit): give up.
  void give_up();

  int step() const { return step_; }
  int login_active() const { return login_active_; }
  bool access_denied() const { return access_denied_; }
  std::string_view received_window() const { return {window_.data(), window_.size()}; }

  // The dialogue of the open login dialog, which the interpreter feeds with
  // what the host sends; null while no login dialog is open.
  static LoginDialogue* active();
  static void set_active(LoginDialogue* dialogue);

  // The failure text for a refused login, judged by the password typed.
  static std::string failure_text(bool access_denied, std::string_view password);

 private:
  enum Match { kNone = 0, kSought = 1, kTerminalType = 2, kConnectionPassword = 3 };
  void run_matcher();
  void decide();
  void go_to(int next_step, int time_limit_ms);
  void finish();  // step -1

  LoginDialogueHost& host_;
  Credentials credentials_;
  int step_ = -1;
  int login_active_ = 0;
  int time_limit_ms_ = 0;
  const char* sought_ = nullptr;
  const char* terminal_type_ = nullptr;
  const char* connection_password_ = nullptr;
  Match match_ = kNone;
  bool access_denied_ = false;
  std::array<char, kWindowSize> window_{};
  long printable_count_ = 0;
  long printable_snapshot_ = 0;
  int retry_count_ = 0;
  bool deciding_ = false;
  bool escape_pending_ = false;
};

}  // namespace veslink
