// The compiled terminfo description against the client: every string the
// real tput prints for a capability, fed to the interpreter, does what the
// capability promises on the page; every key capability equals the string
// the client sends for that key; and no capability of the entry goes
// untested.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "client/protocol/interpreter.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/function_keys.h"
#include "client/terminal/terminal_charset.h"
#include "client/terminal/terminal_keys.h"

namespace veslink {
namespace {

std::string run(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return out;
  std::array<char, 4096> buffer{};
  std::size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    out.append(buffer.data(), n);
  ::pclose(pipe);
  return out;
}

// What tput prints for a capability of the description (no terminal needed).
std::string tput(const std::string& args) {
  return run(std::string("TERMINFO=") + VESTRA_TERMINFO_DIR + " /usr/bin/tput -T veslink " + args);
}

// The names of the entry's string capabilities.
std::set<std::string> string_capabilities() {
  std::set<std::string> names;
  std::istringstream lines(
      run(std::string("/usr/bin/infocmp -1 -A ") + VESTRA_TERMINFO_DIR + " veslink"));
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t eq = line.find('=');
    if (line.empty() || line[0] != '\t' || eq == std::string::npos) continue;
    names.insert(line.substr(1, eq - 1));
  }
  return names;
}

struct Terminal {
  CharScreen screen;
  FunctionKeys keys;
  Interpreter in{screen, keys};
  int bells = 0;
  bool cursor = true;
  Terminal() {
    in.ui.bell = [this] { ++bells; };
    in.ui.cursor_visible = [this](bool on) { cursor = on; };
  }
  void feed(const std::string& bytes) {
    in.feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  CharPage& page() { return screen.current(); }
  std::string row(int r) {
    std::string s = page().row_text(r);
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
  }
};

// Three rows of text with the cursor at row 1, column 1.
const std::string kRows = "111\r\n222\r\n333\x1e\n\x0c";

struct CapabilityCase {
  std::string capability;  // with its parameters
  std::string before;      // host bytes first
  std::string after;       // host bytes after the capability's string
  std::function<void(Terminal&)> check;
};

TEST(Terminfo, OutputCapabilitiesDoWhatTheySay) {
  ASSERT_FALSE(tput("clear").empty()) << "the description was not compiled";
  const CapabilityCase cases[] = {
      {"cup 5 10", "", "X", [](Terminal& t) { EXPECT_EQ(t.page().cell(5, 10), 'X'); }},
      {"cup 23 79", "", "",
       [](Terminal& t) {
         EXPECT_EQ(t.page().cursor_row(), 23);
         EXPECT_EQ(t.page().cursor_column(), 79);
       }},
      {"home", kRows, "X", [](Terminal& t) { EXPECT_EQ(t.row(0), "X11"); }},
      {"clear", kRows, "",
       [](Terminal& t) {
         EXPECT_EQ(t.row(0), "");
         EXPECT_EQ(t.row(2), "");
         EXPECT_EQ(t.page().cursor_row(), 0);
         EXPECT_EQ(t.page().cursor_column(), 0);
       }},
      {"ed", kRows, "",
       [](Terminal& t) {
         EXPECT_EQ(t.row(0), "111");
         EXPECT_EQ(t.row(1), "2");
         EXPECT_EQ(t.row(2), "");
       }},
      {"el", kRows, "",
       [](Terminal& t) {
         EXPECT_EQ(t.row(1), "2");
         EXPECT_EQ(t.row(2), "333");
       }},
      {"il1", kRows, "",
       [](Terminal& t) {
         EXPECT_EQ(t.row(1), "");
         EXPECT_EQ(t.row(2), "222");
         EXPECT_EQ(t.row(3), "333");
       }},
      {"dl1", kRows, "",
       [](Terminal& t) {
         EXPECT_EQ(t.row(1), "333");
         EXPECT_EQ(t.row(2), "");
       }},
      {"ich1", kRows, "", [](Terminal& t) { EXPECT_EQ(t.row(1), "2 22"); }},
      {"dch1", kRows, "", [](Terminal& t) { EXPECT_EQ(t.row(1), "22"); }},
      {"smir", kRows, "ab", [](Terminal& t) { EXPECT_EQ(t.row(1), "2ab22"); }},
      {"rmir", kRows + tput("smir"), "ab", [](Terminal& t) { EXPECT_EQ(t.row(1), "2ab"); }},
      {"cr", kRows, "X", [](Terminal& t) { EXPECT_EQ(t.row(1), "X22"); }},
      {"cub1", kRows, "X", [](Terminal& t) { EXPECT_EQ(t.row(1), "X22"); }},
      {"cuf1", kRows, "X", [](Terminal& t) { EXPECT_EQ(t.row(1), "22X"); }},
      {"cuu1", kRows, "X", [](Terminal& t) { EXPECT_EQ(t.row(0), "1X1"); }},
      {"cud1", kRows, "X", [](Terminal& t) { EXPECT_EQ(t.row(2), "3X3"); }},
      {"ind", std::string("\x1b=7 ") + "bottom", "",
       [](Terminal& t) {
         EXPECT_EQ(t.row(22), "bottom");
         EXPECT_EQ(t.row(23), "");
       }},
      {"nel", kRows, "X", [](Terminal& t) { EXPECT_EQ(t.row(2), "X33"); }},
      {"ht", "ab", "X", [](Terminal& t) { EXPECT_EQ(t.page().cell(0, 8), 'X'); }},
      {"cbt", "abcdefghij", "X", [](Terminal& t) { EXPECT_EQ(t.row(0), "abcdefghXj"); }},
      {"bel", "", "", [](Terminal& t) { EXPECT_EQ(t.bells, 1); }},
      {"civis", "", "", [](Terminal& t) { EXPECT_FALSE(t.cursor); }},
      {"cnorm", tput("civis"), "", [](Terminal& t) { EXPECT_TRUE(t.cursor); }},
      {"rev", "", "R", [](Terminal& t) { EXPECT_EQ(t.page().cell(0, 0), 0x0200 | 'R'); }},
      {"smso", "", "S", [](Terminal& t) { EXPECT_EQ(t.page().cell(0, 0), 0x0200 | 'S'); }},
      {"rmso", tput("smso"), "N", [](Terminal& t) { EXPECT_EQ(t.page().cell(0, 0), 'N'); }},
      {"blink", "", "B", [](Terminal& t) { EXPECT_EQ(t.page().cell(0, 0), 0x0400 | 'B'); }},
      {"dim", "", "D", [](Terminal& t) { EXPECT_EQ(t.page().cell(0, 0), 0x0800 | 'D'); }},
      {"smacs", "", "q", [](Terminal& t) { EXPECT_EQ(t.page().cell(0, 0), 0x80C4); }},
      {"rmacs", tput("smacs"), "q", [](Terminal& t) { EXPECT_EQ(t.page().cell(0, 0), 'q'); }},
      {"sgr0", tput("rev") + tput("smacs"), "q",
       [](Terminal& t) { EXPECT_EQ(t.page().cell(0, 0), 'q'); }},
      {"sgr 0 0 1 0 0 0 0 0 0", "", "r",
       [](Terminal& t) { EXPECT_EQ(t.page().cell(0, 0), 0x0200 | 'r'); }},
      {"sgr 1 0 0 1 1 0 0 0 0", "", "a",
       [](Terminal& t) { EXPECT_EQ(t.page().cell(0, 0), 0x0E00 | 'a'); }},
      {"sgr 0 0 0 0 0 0 0 0 1", "", "x",
       [](Terminal& t) { EXPECT_EQ(t.page().cell(0, 0), 0x80B3); }},
      {"sgr 0 0 0 0 0 0 0 0 0", tput("smacs") + tput("rev"), "x",
       [](Terminal& t) { EXPECT_EQ(t.page().cell(0, 0), 'x'); }},
      {"smcup", "shell", "app",
       [](Terminal& t) {
         EXPECT_EQ(t.screen.current_index(), 1);
         EXPECT_EQ(t.row(0), "app");
       }},
      {"rmcup", "shell" + tput("smcup") + "app", "",
       [](Terminal& t) {
         EXPECT_EQ(t.screen.current_index(), 0);
         EXPECT_EQ(t.row(0), "shell");
       }},
  };
  std::set<std::string> tested;
  for (const CapabilityCase& c : cases) {
    SCOPED_TRACE(c.capability);
    const std::string bytes = tput(c.capability);
    ASSERT_FALSE(bytes.empty());
    Terminal t;
    t.feed(c.before + bytes + c.after);
    c.check(t);
    tested.insert(c.capability.substr(0, c.capability.find(' ')));
  }

  // The line-drawing pairs: each VT100 letter draws the box character it
  // stands for.
  const std::map<char, char32_t> vt100 = {{'j', U'\u2518'}, {'k', U'\u2510'}, {'l', U'\u250C'},
                                          {'m', U'\u2514'}, {'n', U'\u253C'}, {'q', U'\u2500'},
                                          {'t', U'\u251C'}, {'u', U'\u2524'}, {'v', U'\u2534'},
                                          {'w', U'\u252C'}, {'x', U'\u2502'}};
  const std::string acsc = tput("acsc");
  ASSERT_EQ(acsc.size() % 2, 0u);
  for (std::size_t i = 0; i < acsc.size(); i += 2) {
    Terminal t;
    t.feed(tput("smacs") + acsc[i + 1]);
    ASSERT_TRUE(vt100.count(acsc[i])) << acsc[i];
    EXPECT_EQ(cell_to_unicode(t.page().cell(0, 0)), vt100.at(acsc[i])) << acsc[i];
  }
  tested.insert("acsc");

  for (const std::string& name : string_capabilities()) {
    if (name[0] != 'k') {
      EXPECT_TRUE(tested.count(name)) << name << " has no case";
    }
  }
}

TEST(Terminfo, KeyCapabilitiesAreTheClientsKeyStrings) {
  const FunctionKeys keys;
  struct KeyCase {
    std::string capability;
    std::string bytes;
  };
  std::vector<KeyCase> cases = {
      {"kcuu1", key_bytes(keys, TerminalKey::Up, 0, false, false)},
      {"kcud1", key_bytes(keys, TerminalKey::Down, 0, false, false)},
      {"kcub1", key_bytes(keys, TerminalKey::Left, 0, false, false)},
      {"kcuf1", key_bytes(keys, TerminalKey::Right, 0, false, false)},
      {"khome", key_bytes(keys, TerminalKey::Home, 0, false, false)},
      {"kend", key_bytes(keys, TerminalKey::End, 0, false, false)},
      {"kpp", key_bytes(keys, TerminalKey::PageUp, 0, false, false)},
      {"knp", key_bytes(keys, TerminalKey::PageDown, 0, false, false)},
      {"kich1", key_bytes(keys, TerminalKey::Insert, 0, false, false)},
      {"kil1", key_bytes(keys, TerminalKey::Insert, 0, true, false)},
      {"kdch1", key_bytes(keys, TerminalKey::Delete, 0, false, false)},
      {"kdl1", key_bytes(keys, TerminalKey::Delete, 0, true, false)},
      {"kbs", char_bytes(keys, 0x08, false)},
      {"kcbt", char_bytes(keys, 0x09, true)},
  };
  for (int n = 1; n <= 16; ++n) {
    cases.push_back(
        {"kf" + std::to_string(n), key_bytes(keys, TerminalKey::Function, n, false, false)});
    cases.push_back(
        {"kf" + std::to_string(n + 16), key_bytes(keys, TerminalKey::Function, n, true, false)});
  }
  std::set<std::string> tested;
  for (const KeyCase& c : cases) {
    EXPECT_EQ(tput(c.capability), c.bytes) << c.capability;
    tested.insert(c.capability);
  }
  for (const std::string& name : string_capabilities()) {
    if (name[0] == 'k') {
      EXPECT_TRUE(tested.count(name)) << name << " has no case";
    }
  }
}

}  // namespace
}  // namespace veslink
