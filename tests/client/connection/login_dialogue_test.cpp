// The automatic login dialogue, driven by host text and step time-outs; every
// thing it does is recorded as one line.
#include "client/connection/login_dialogue.h"

#include <gtest/gtest.h>

#include <deque>

namespace veslink {
namespace {

class RecordingHost : public LoginDialogueHost {
 public:
  void send_text(std::string_view text) override { lines.push_back("send " + visible(text)); }
  void start_step_timer(int ms) override { lines.push_back("timer " + std::to_string(ms)); }
  void stop_step_timer() override {}
  void send_break() override { lines.push_back("break"); }
  void show_warning(const std::string& text) override { lines.push_back("warn " + visible(text)); }
  std::optional<std::string> ask_connection_password(const std::string& preset) override {
    lines.push_back("ask " + preset);
    std::optional<std::string> a = answers.empty() ? std::nullopt : answers.front();
    if (!answers.empty()) answers.pop_front();
    return a;
  }
  void login_refused() override { lines.push_back("refused"); }
  void dialogue_finished() override { lines.push_back("finished"); }

  std::vector<std::string> take() { return std::exchange(lines, {}); }
  static std::string visible(std::string_view text) {
    std::string out;
    for (char c : text) {
      if (c == '\r')
        out += "\\r";
      else if (c == '\n')
        out += "\\n";
      else if (static_cast<unsigned char>(c) < 0x20)
        out += "^" + std::string(1, char(c + '@'));
      else
        out += c;
    }
    return out;
  }

  std::vector<std::string> lines;
  std::deque<std::optional<std::string>> answers;
};

using Lines = std::vector<std::string>;

class LoginDialogueTest : public ::testing::Test {
 protected:
  void start(const std::string& password = "secret", int timeout = 30) {
    dialogue.dialog_opened();
    dialogue.connection_opening();
    dialogue.start({"fred", password, "remote", false}, timeout);
  }
  void host_says(std::string_view text) {
    for (char c : text) {
      dialogue.received_byte(static_cast<std::uint8_t>(c));
      if (c == 0x1B) dialogue.received_escape();
    }
    dialogue.block_received();
  }
  RecordingHost host;
  LoginDialogue dialogue{host};
};

TEST_F(LoginDialogueTest, TypesUserPasswordAndTerminalTypeThenTheApplicationTakesOver) {
  start("secret", 30);
  EXPECT_EQ(host.take(), Lines{"timer 24000"});
  host_says("Debian GNU/Linux 12\r\n\r\nunixhost LOGIN: ");
  EXPECT_EQ(host.take(), (Lines{"send fred\\r", "timer 6000"}));
  host_says("Password: ");
  EXPECT_EQ(host.take(), (Lines{"send secret\\r", "timer 6000"}));
  host_says("\r\nLast login: Fri Dec 11\r\nEnter Terminal Type (vt100): ");
  EXPECT_EQ(host.take(), (Lines{"send veslink\\r", "timer 4000"}));
  EXPECT_EQ(dialogue.login_active(), 1);
  host_says(
      "\x1b"
      "mpi");
  EXPECT_EQ(host.take(), Lines{"finished"});
  EXPECT_EQ(dialogue.step(), -2);
  EXPECT_EQ(dialogue.login_active(), 0);
}

TEST_F(LoginDialogueTest, APromptMustBeTheLastThingReceived) {
  start();
  host.take();
  host_says("login: is how you start\r\n");
  EXPECT_TRUE(host.take().empty());
  host_says("login:    ");  // trailing blanks are allowed
  EXPECT_EQ(host.take(), (Lines{"send fred\\r", "timer 6000"}));
  // The matched text is blanked: the same prompt cannot answer twice.
  dialogue.block_received();
  EXPECT_TRUE(host.take().empty());
}

TEST_F(LoginDialogueTest, PromptAlreadyReceivedBeforeStartIsAnswered) {
  dialogue.dialog_opened();
  dialogue.connection_opening();
  for (char c : std::string("login: "))
    dialogue.received_byte(static_cast<std::uint8_t>(c));
  dialogue.start({"fred", "pw", "", false}, 0);
  EXPECT_EQ(host.take(), (Lines{"timer 6000", "send fred\\r", "timer 6000"}));
}

TEST_F(LoginDialogueTest, MissingLoginPromptIsNudgedThreeTimesThenGivenUp) {
  start();
  host.take();
  host_says("Password: ");  // a host that only asks for a password
  EXPECT_TRUE(host.take().empty());
  dialogue.step_timer_expired();
  EXPECT_EQ(host.take(), (Lines{"send \\r", "timer 2000"}));
  dialogue.step_timer_expired();
  EXPECT_EQ(host.take(), (Lines{"send ^D", "timer 2000"}));
  dialogue.step_timer_expired();
  EXPECT_EQ(host.take(), (Lines{"break", "timer 2000"}));
  dialogue.step_timer_expired();
  EXPECT_EQ(host.take(), (Lines{"warn Could not find Login prompt", "finished"}));
}

TEST_F(LoginDialogueTest, RefusedLoginIsReportedAfterOneQuietSecond) {
  struct Case {
    std::string password;
    std::string host_text;
    std::string warning;
  } cases[] = {
      {"secret", "\r\nLogin incorrect\r\nlogin: ",
       "warn Login failed!  The most likely cause is the\\nUsername or Password being incorrect."},
      {"12345", "\r\nLogin incorrect\r\nlogin: ",
       "warn Login failed!  The most likely cause is the\\nUsername or Password being incorrect."},
      {"SECRET1", "\r\nLogin incorrect\r\nlogin: ",
       "warn Username or Password was incorrect!\\nWARNING: Check CAPS LOCK key."},
      {"secret", "\r\nAccess to system DENIED!\r\nlogin: ", "warn Access to system denied!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.password + c.host_text);
    start(c.password);
    host_says("login: ");
    host_says("Password: ");
    host.take();
    host_says(c.host_text);
    EXPECT_EQ(host.take(), Lines{"timer 1000"});
    dialogue.step_timer_expired();
    EXPECT_EQ(host.take(), (Lines{c.warning, "refused"}));
    EXPECT_EQ(dialogue.step(), -2);
  }
}

TEST_F(LoginDialogueTest, MoreTextAfterASecondLoginPromptMeansNoRefusal) {
  start();
  host_says("login: ");
  host_says("Password: ");
  host.take();
  // The greeting's "Last login:" arrives at the end of a piece, like a prompt.
  host_says("\r\nLast login:");
  EXPECT_EQ(host.take(), Lines{"timer 1000"});
  host_says(" Fri Dec 11 10:00 from desk\r\n$ ");
  dialogue.step_timer_expired();
  EXPECT_EQ(host.take(), Lines{"timer 4000"});
  dialogue.step_timer_expired();  // no host application within 4 s
  EXPECT_EQ(host.take(), Lines{"finished"});
}

TEST_F(LoginDialogueTest, ConnectionPasswordIsAskedAndSent) {
  start();
  host_says("login: ");
  host_says("Password: ");
  host.take();
  host_says("\r\nConnection Password: ");
  EXPECT_EQ(host.take(), Lines{"timer 1000"});
  host.answers.push_back(std::string("remote-pw"));
  dialogue.step_timer_expired();
  EXPECT_EQ(host.take(), (Lines{"ask remote", "send remote-pw\\r", "timer 6000"}));
  host_says("\r\nenter terminal type");
  EXPECT_EQ(host.take(), (Lines{"send veslink\\r", "timer 4000"}));
}

TEST_F(LoginDialogueTest, CancelledConnectionPasswordLeavesTheDialogueFinished) {
  start();
  host_says("login: ");
  host_says("Password: ");
  host_says("\r\nconnection password:");
  host.take();
  host.answers.push_back(std::nullopt);
  dialogue.step_timer_expired();
  EXPECT_EQ(host.take(), Lines{"ask remote"});
  EXPECT_EQ(dialogue.step(), -2);
  EXPECT_EQ(dialogue.login_active(), 0);
}

TEST_F(LoginDialogueTest, HostApplicationEndsTheDialogueAtAnyStep) {
  start();
  host_says("login: ");
  host.take();
  host_says("\x1b");
  EXPECT_EQ(host.take(), Lines{"finished"});
}

TEST_F(LoginDialogueTest, PasswordPromptThatNeverComesGivesUp) {
  start();
  host_says("login: ");
  host.take();
  dialogue.step_timer_expired();
  EXPECT_EQ(host.take(), Lines{"finished"});
}

TEST_F(LoginDialogueTest, LoginTimeoutIsClamped) {
  struct Case {
    int setting;
    int used;
  } cases[] = {{0, 12}, {1, 12}, {5, 10}, {45, 45}, {500, 120}, {-3, 12}};
  for (const Case& c : cases) {
    RecordingHost h;
    LoginDialogue d(h);
    EXPECT_EQ(d.start({"u", "p", "", false}, c.setting), c.used) << c.setting;
    EXPECT_EQ(h.lines, Lines{"timer " + std::to_string(c.used * 1000 - 6000)});
  }
}

TEST_F(LoginDialogueTest, ReceivedWindowKeepsTheLast79CharactersInLowerCase) {
  start();
  host_says(std::string(200, 'x') + "ABC");
  const std::string_view w = dialogue.received_window();
  EXPECT_EQ(w.size(), 79u);
  EXPECT_EQ(w.substr(76), "abc");
  EXPECT_EQ(w.substr(0, 76), std::string(76, 'x'));
}

}  // namespace
}  // namespace veslink
