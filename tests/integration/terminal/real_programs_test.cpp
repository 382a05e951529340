// Real programs in terminal mode: the whole client logs in by hand to a shell
// behind the real telnet daemon, TERM set to the client's terminal type and
// the compiled description in reach; the user types through the terminal
// window, and printf, clear, tput, vi and less leave their cells on the page
// as a terminal of this dialect must show them. Copy, Paste and closing at
// the prompt work against the same shell.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QTest>

#include "client/app/main_frame.h"
#include "client/connection/connection_manager.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/terminal_win.h"
#include "tests/integration/connection/client_run.h"
#include "tests/integration/connection/peer_harness.h"

namespace veslink::peers {
namespace {

using Rows = std::vector<std::string>;

class RealProgramsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home = dir.path() + "/home";
    ::mkdir(home.c_str(), 0755);
    const std::string wrapper =
        dir.write("telnetd-shell.sh", "#!/bin/sh\nexec /usr/sbin/telnetd -h -E \"" +
                                          std::string(VESTRA_SHELL_HOST) + " " +
                                          VESTRA_TERMINFO_DIR + " " + home + "\"\n");
    ::chmod(wrapper.c_str(), 0755);
    port = vestra::test::start_listening_peer(
        daemon,
        [&](int p) {
          return std::vector<std::string>{
              "/usr/bin/socat",
              "TCP-LISTEN:" + std::to_string(p) + ",bind=127.0.0.1,reuseaddr,fork",
              "EXEC:" + wrapper + ",nofork"};
        },
        dir.file("telnetd.log"));
    ASSERT_NE(port, 0) << "telnetd never listened";
    client.setting("interface", "telnet,127.0.0.1:" + std::to_string(port));
    // Unix Login: no automatic login, the user types to the host in
    // terminal mode.
    client.boxes.answer(vestra::messages::Answer::Yes);
    client.start({[](LoginDialog& d) { d.press_unix_login(); }});
    ASSERT_TRUE(pump_until([&] { return client.last_login_result() != 0; }, 20000));
    terminal = client.app->terminal_window();
    ASSERT_NE(terminal, nullptr);
    ASSERT_TRUE(pump_until([&] { return prompt_waiting(); }, 15000)) << dump();
    ASSERT_TRUE(terminal->isVisible());
  }

  void TearDown() override {
    client.app.reset();
    daemon.stop();
  }

  static CharPage& page() { return char_screen().current(); }
  static std::string row(int r) {
    std::string s = page().row_text(r);
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
  }
  static Rows rows() {
    Rows out;
    for (int r = 0; r < page().rows(); ++r)
      out.push_back(row(r));
    return out;
  }
  static std::string dump() {
    std::string out = "\npage " + std::to_string(char_screen().current_index()) + ":\n";
    for (const std::string& r : rows())
      out += "|" + r + "\n";
    return out;
  }
  // The shell's prompt, with the cursor right after it.
  static bool prompt_waiting() {
    const CharPage& p = page();
    return p.cursor_column() == 2 && row(p.cursor_row()) == "$";
  }
  static int find_row(const std::string& text) {
    for (int r = 0; r < page().rows(); ++r)
      if (row(r) == text) return r;
    return -1;
  }

  // Types a line as the user would, Return included.
  void type_line(const std::string& text) {
    QTest::keyClicks(terminal, QString::fromStdString(text));
    QTest::keyClick(terminal, Qt::Key_Return);
  }
  void type_keys(const std::string& text) {
    QTest::keyClicks(terminal, QString::fromStdString(text));
  }

  // Runs a command and waits for a marker line it prints last; the marker
  // is typed split by quotes so the echoed command line never matches it.
  bool run(const std::string& command) {
    const std::string marker = "@@" + std::to_string(++commands);
    type_line(command + "; echo @@\"\"" + std::to_string(commands));
    return pump_until([&] { return find_row(marker) >= 0 && prompt_waiting(); }, 15000);
  }

  // A row of cells, for comparing attributes.
  static bool cells_in_a_row(const std::vector<std::uint16_t>& wanted) {
    const CharPage& p = page();
    for (int r = 0; r < p.rows(); ++r)
      for (int c = 0; c + static_cast<int>(wanted.size()) <= p.columns(); ++c) {
        bool all = true;
        for (std::size_t i = 0; i < wanted.size() && all; ++i)
          all = p.cell(r, c + static_cast<int>(i)) == wanted[i];
        if (all) return true;
      }
    return false;
  }

  vestra::test::TempDir dir;
  vestra::test::PeerProcess daemon;
  ClientRun client{dir};
  TerminalWin* terminal = nullptr;
  std::string home;
  int port = 0;
  int commands = 0;
};

TEST_F(RealProgramsTest, ShellToolsLeaveTheirCells) {
  ASSERT_TRUE(run("printf 'one\\ttwo\\n'")) << dump();
  EXPECT_GE(find_row("one     two"), 0) << dump();

  ASSERT_TRUE(run("echo $TERM")) << dump();
  EXPECT_GE(find_row("veslink"), 0) << dump();

  // clear: the marker on the first row, the prompt below it, nothing else.
  ASSERT_TRUE(run("clear")) << dump();
  Rows expected(24);
  expected[0] = "@@3";
  expected[1] = "$";
  EXPECT_EQ(rows(), expected) << dump();

  ASSERT_TRUE(run("tput cup 5 10; echo X")) << dump();
  EXPECT_EQ(row(5), "          X") << dump();
  EXPECT_EQ(page().cell(5, 10), 'X');

  ASSERT_TRUE(run("tput smacs; printf lqwk; tput rmacs; echo")) << dump();
  EXPECT_TRUE(cells_in_a_row({0x80DA, 0x80C4, 0x80C2, 0x80BF})) << dump();

  ASSERT_TRUE(
      run("tput rev; printf A; tput blink; printf B; tput dim; printf C; tput sgr0; "
          "printf D; echo"))
      << dump();
  EXPECT_TRUE(cells_in_a_row({0x0200 | 'A', 0x0400 | 'B', 0x0800 | 'C', 'D'})) << dump();

  ASSERT_TRUE(run("tput civis")) << dump();
  EXPECT_EQ(terminal->caret_shape(), CaretShape::Hidden);
  ASSERT_TRUE(run("tput cnorm")) << dump();
  EXPECT_NE(terminal->caret_shape(), CaretShape::Hidden);

  // A function key from the keyboard reaches the program as the
  // description says: read takes Shift+F2 and the Return that ends it.
  type_line("read k; printf '%s' \"$k\" | od -An -tx1");
  QTest::keyClick(terminal, Qt::Key_F2, Qt::ShiftModifier);
  ASSERT_TRUE(pump_until([&] { return find_row(" 01 61") >= 0 && prompt_waiting(); })) << dump();
}

TEST_F(RealProgramsTest, ViEditsAFile) {
  dir.write("home/notes.txt", "first line\nsecond line\nthird line\n");
  type_line("vi -u NONE notes.txt");
  ASSERT_TRUE(pump_until([&] {
    return row(0) == "first line" && row(2) == "third line" && row(3) == "~" &&
           row(23).find("notes.txt") != std::string::npos;
  })) << dump();
  // The editor has a page of its own.
  EXPECT_EQ(char_screen().current_index(), 1);
  for (int r = 3; r < 23; ++r)
    EXPECT_EQ(row(r), "~") << r << dump();

  type_keys("x");  // delete a character
  ASSERT_TRUE(pump_until([&] { return row(0) == "irst line"; })) << dump();
  type_keys("jdd");  // delete a line: the rest moves up
  ASSERT_TRUE(pump_until([&] { return row(1) == "third line" && row(2) == "~"; })) << dump();
  type_keys("Onew line");  // open a line above: the rest moves down
  QTest::keyClick(terminal, Qt::Key_Escape);
  ASSERT_TRUE(pump_until([&] {
    return row(0) == "irst line" && row(1) == "new line" && row(2) == "third line";
  })) << dump();
  EXPECT_EQ(page().cursor_row(), 1);
  type_line(":wq");

  // Back on the shell's page, the file written.
  ASSERT_TRUE(pump_until([&] { return char_screen().current_index() == 0 && prompt_waiting(); }))
      << dump();
  EXPECT_EQ(vestra::test::TempDir::read(home + "/notes.txt"), "irst line\nnew line\nthird line\n");
  ASSERT_TRUE(run("cat notes.txt")) << dump();
  EXPECT_GE(find_row("new line"), 0);
}

TEST_F(RealProgramsTest, LessPagesThroughAFile) {
  std::string text;
  for (int i = 1; i <= 60; ++i)
    text += "line " + std::to_string(100 + i) + "\n";
  dir.write("home/lines.txt", text);
  type_line("less lines.txt");
  ASSERT_TRUE(pump_until([&] { return row(0) == "line 101" && row(22) == "line 123"; })) << dump();
  // The first prompt names the file, in standout.
  EXPECT_EQ(row(23), "lines.txt") << dump();
  EXPECT_EQ(page().cell(23, 0), 0x0200 | 'l');
  type_keys(" ");
  ASSERT_TRUE(pump_until([&] { return row(0) == "line 124" && row(22) == "line 146"; })) << dump();
  EXPECT_EQ(row(23), ":") << dump();
  type_keys("G");
  ASSERT_TRUE(pump_until([&] { return row(22) == "line 160"; })) << dump();
  // The end is shown in standout.
  EXPECT_NE(row(23).find("(END)"), std::string::npos) << dump();
  EXPECT_EQ(page().cell(23, 0), 0x0200 | '(') << dump();
  type_keys("q");
  ASSERT_TRUE(pump_until([&] { return char_screen().current_index() == 0 && prompt_waiting(); }))
      << dump();
}

TEST_F(RealProgramsTest, CopyPasteAndCloseAtThePrompt) {
  ASSERT_TRUE(run("echo alpha; echo beta")) << dump();
  const int alpha = find_row("alpha");
  ASSERT_GE(alpha, 0) << dump();
  // Copy: Edit -> Copy, then a rectangle dragged over both words.
  ASSERT_TRUE(client.app->main_frame()->run_command(57634));
  ASSERT_TRUE(terminal->selecting());
  const CellGeometry g = terminal->cell_geometry();
  auto send_mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), terminal->mapToGlobal(QPointF(at)),
                  type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(terminal, &e);
  };
  send_mouse(QEvent::MouseButtonPress, g.cell_rect(alpha, 0).center(), Qt::LeftButton);
  send_mouse(QEvent::MouseMove, g.cell_rect(alpha + 1, 9).center(), Qt::LeftButton);
  send_mouse(QEvent::MouseButtonRelease, g.cell_rect(alpha + 1, 9).center(), Qt::NoButton);
  EXPECT_FALSE(terminal->selecting());
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("alpha\r\nbeta"));

  // Paste: the clipboard is typed; CR LF line ends arrive as CR.
  QGuiApplication::clipboard()->setText("echo pasted\r\n");
  ASSERT_TRUE(client.app->main_frame()->run_command(57637));
  ASSERT_TRUE(pump_until([&] { return find_row("pasted") >= 0 && prompt_waiting(); })) << dump();

  // Closing the terminal window at the prompt logs the shell out; the host
  // closes and the login dialog returns (Exit there ends the client).
  terminal->close();
  ASSERT_TRUE(pump_until([&] { return client.exited(); }, 15000)) << dump();
  EXPECT_EQ(client.dialogs_opened(), 2);
  EXPECT_EQ(client.exit_codes, std::vector<int>{0});
}

}  // namespace
}  // namespace veslink::peers
