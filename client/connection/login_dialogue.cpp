// The login dialogue's steps, decisions and prompt matcher.
#include "client/connection/login_dialogue.h"

#include <cstring>

namespace veslink {

namespace {
constexpr int kPasswordWaitMs = 6000;
constexpr int kRetryWaitMs = 2000;
constexpr int kSettleMs = 1000;
constexpr int kApplicationWaitMs = 4000;
constexpr int kAskingConnectionPassword = 98;
}  // namespace

namespace {
LoginDialogue* g_active = nullptr;
}

LoginDialogue* LoginDialogue::active() {
  return g_active;
}
void LoginDialogue::set_active(LoginDialogue* dialogue) {
  g_active = dialogue;
}

LoginDialogue::LoginDialogue(LoginDialogueHost& host) : host_(host) {
  window_.fill(' ');
}

void LoginDialogue::dialog_opened() {
  login_active_ = -1;
  step_ = -1;
}

void LoginDialogue::connection_opening() {
  window_.fill(' ');
  printable_count_ = printable_snapshot_ = 0;
  sought_ = terminal_type_ = connection_password_ = nullptr;
  match_ = kNone;
}

int LoginDialogue::start(const Credentials& credentials, int login_timeout) {
  credentials_ = credentials;
  login_active_ = 1;
  step_ = 0;
  sought_ = kLoginPrompt;
  terminal_type_ = connection_password_ = nullptr;
  access_denied_ = false;
  retry_count_ = 0;
  escape_pending_ = false;
  if (login_timeout <= 1) login_timeout = 12;
  if (login_timeout < 10) login_timeout = 10;
  if (login_timeout > 120) login_timeout = 120;

  host_.stop_step_timer();
  printable_snapshot_ = printable_count_;
  match_ = kNone;
  go_to(1, login_timeout * 1000 - 6000);
  run_matcher();  // the prompt may have arrived already
  return login_timeout;
}

void LoginDialogue::received_byte(std::uint8_t byte) {
  std::memmove(window_.data(), window_.data() + 1, kWindowSize - 1);
  window_[kWindowSize - 1] =
      static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte);
  if (byte > 0x20 && byte != 0x7F) ++printable_count_;
}

void LoginDialogue::received_escape() {
  if (login_active_ != 1) return;
  if (deciding_) {
    // The host application started while a question is open; it ends the
    // dialogue as soon as that question is answered.
    escape_pending_ = true;
    return;
  }
  step_ = -1;
  decide();
}

void LoginDialogue::block_received() {
  if (login_active_ == 1 && (sought_ || terminal_type_ || connection_password_)) run_matcher();
}

void LoginDialogue::step_timer_expired() {
  if (login_active_ != 1 || step_ <= 0) return;
  decide();
}

void LoginDialogue::give_up() {
  if (login_active_ == 0 && step_ == -2) return;
  step_ = -1;
  if (deciding_) {
    escape_pending_ = true;
    return;
  }
  decide();
}

void LoginDialogue::go_to(int next_step, int time_limit_ms) {
  step_ = next_step;
  time_limit_ms_ = time_limit_ms;
  if (next_step > 0) host_.start_step_timer(time_limit_ms);
}

void LoginDialogue::finish() {
  login_active_ = 0;
  step_ = -2;
  host_.dialogue_finished();
}

void LoginDialogue::run_matcher() {
  if (match_ != kNone) return;
  const std::string_view w(window_.data(), window_.size());
  auto blanks_from = [&](std::size_t from) {
    for (std::size_t j = from; j < w.size(); ++j)
      if (w[j] != ' ') return false;
    return true;
  };
  auto take = [&](Match m, std::size_t end) {
    match_ = m;
    std::memset(window_.data(), ' ', end);
    decide();
  };
  for (std::size_t i = 0; i < w.size(); ++i) {
    const std::string_view here = w.substr(i);
    if (!access_denied_ && here.starts_with(kAccessDenied)) access_denied_ = true;
    if (sought_ && here.starts_with(sought_)) {
      const std::size_t end = i + std::strlen(sought_);
      if (blanks_from(end)) {
        sought_ = nullptr;
        return take(kSought, end);
      }
    } else if (terminal_type_ && here.starts_with(terminal_type_)) {
      const std::size_t end = i + std::strlen(terminal_type_);
      const bool ends_with_colon = terminal_type_[std::strlen(terminal_type_) - 1] == ':';
      if (end == w.size() || !ends_with_colon || blanks_from(end)) {
        terminal_type_ = nullptr;
        return take(kTerminalType, end);
      }
    } else if (connection_password_ && here.starts_with(connection_password_)) {
      const std::size_t end = i + std::strlen(connection_password_);
      if (blanks_from(end)) {
        connection_password_ = nullptr;
        return take(kConnectionPassword, end);
      }
    }
  }
}

void LoginDialogue::decide() {
  host_.stop_step_timer();
  deciding_ = true;
  const long previous_snapshot = printable_snapshot_;
  printable_snapshot_ = printable_count_;
  const Match match = match_;

  switch (step_) {
    case 1:
      if (match == kSought) {
        host_.send_text(credentials_.user_name + "\r");
        sought_ = kPasswordPrompt;
        go_to(2, kPasswordWaitMs);
      } else {
        ++retry_count_;
        if (retry_count_ == 1) host_.send_text("\r");
        if (retry_count_ == 2) host_.send_text("\x04");
        if (retry_count_ == 3) host_.send_break();
        if (retry_count_ < 4) {
          go_to(1, kRetryWaitMs);
        } else {
          host_.show_warning("Could not find Login prompt");
          finish();
        }
      }
      break;
    case 2:
      if (match == kSought) {
        host_.send_text(credentials_.password + "\r");
        sought_ = kLoginPrompt;
        terminal_type_ = kTerminalTypePrompt;
        connection_password_ = kConnectionPasswordPrompt;
        go_to(3, kPasswordWaitMs);
      } else {
        finish();
      }
      break;
    case 3:
      if (match == kTerminalType) {
        host_.send_text("veslink\r");
        go_to(99, kApplicationWaitMs);
      } else if (match == kConnectionPassword) {
        connection_password_ = kConnectionPasswordPrompt;  // let the prompt settle
        go_to(5, kSettleMs);
      } else if (match == kSought) {
        go_to(4, kSettleMs);
      } else {
        finish();
      }
      break;
    case 4:
      if (printable_count_ > previous_snapshot) {
        go_to(99, kApplicationWaitMs);
      } else {
        host_.show_warning(failure_text(access_denied_, credentials_.password));
        step_ = -2;
        login_active_ = -1;
        host_.login_refused();
      }
      break;
    case 5: {
      if (printable_count_ > previous_snapshot) {
        terminal_type_ = kTerminalTypePrompt;
        connection_password_ = kConnectionPasswordPrompt;
      }
      step_ = kAskingConnectionPassword;
      std::optional<std::string> answer =
          host_.ask_connection_password(credentials_.connection_password);
      if (escape_pending_) break;
      if (answer) {
        host_.send_text(*answer + "\r");
        sought_ = kLoginPrompt;
        terminal_type_ = kTerminalTypePrompt;
        go_to(33, kPasswordWaitMs);
      } else {
        step_ = -2;
        login_active_ = 0;
      }
      break;
    }
    case kAskingConnectionPassword:
      break;  // the question is open
    case 33:
      if (match == kTerminalType) {
        host_.send_text("veslink\r");
        go_to(99, kApplicationWaitMs);
      } else if (match == kSought) {
        go_to(4, kSettleMs);
      } else {
        finish();
      }
      break;
    default:  // 99 timed out, or -1: give up into terminal mode
      finish();
      break;
  }
  match_ = kNone;
  deciding_ = false;
  if (escape_pending_ && login_active_ != 0) {
    escape_pending_ = false;
    step_ = -1;
    decide();
  }
  escape_pending_ = false;
}

std::string LoginDialogue::failure_text(bool access_denied, std::string_view password) {
  if (access_denied) return "Access to system denied!";
  bool lower = false, upper = false;
  for (char c : password) {
    lower = lower || (c >= 'a' && c <= 'z');
    upper = upper || (c >= 'A' && c <= 'Z');
  }
  if (upper && !lower) return "Username or Password was incorrect!\nWARNING: Check CAPS LOCK key.";
  return "Login failed!  The most likely cause is the\nUsername or Password being incorrect.";
}

}  // namespace veslink
