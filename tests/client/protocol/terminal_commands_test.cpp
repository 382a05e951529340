// The character-terminal commands through the reader: what each leaves on
// the page and where the cursor ends, every case also split at each
// position; attributes, pages, columns and the function-key programming.
#include <gtest/gtest.h>

#include "tests/client/protocol/protocol_harness.h"

namespace veslink::test {
namespace {

#define ESC "\x1b"

struct ScreenCase {
  std::string name;
  std::string input;
  std::vector<std::string> rows;
  int row;
  int column;
};

void expect_screen(const ScreenCase& c) {
  SCOPED_TRACE(c.name);
  ProtocolHarness h;
  h.feed(c.input);
  EXPECT_EQ(h.rows(), c.rows);
  EXPECT_EQ(h.page().cursor_row(), c.row);
  EXPECT_EQ(h.page().cursor_column(), c.column);
  // Split anywhere, the page ends the same and nothing else happens.
  expect_case({c.name, c.input, {}});
  for (std::size_t k = 1; k < c.input.size(); ++k) {
    ProtocolHarness s;
    s.feed(std::string_view(c.input).substr(0, k));
    s.feed(std::string_view(c.input).substr(k));
    EXPECT_EQ(s.page().cursor_row(), c.row) << "split at " << k;
    EXPECT_EQ(s.page().cursor_column(), c.column) << "split at " << k;
  }
}

TEST(TerminalCommands, CursorMoves) {
  const ScreenCase cases[] = {
      {"CR, LF and text", "ab\r\ncd", {"ab", "cd"}, 1, 2},
      {"LF keeps the column and the line", "abc\nd", {"abc", "   d"}, 1, 4},
      {"backspace and cursor right", "abc\x08\x08X\x0cY", {"aXcY"}, 0, 4},
      {"cursor left wraps to the row above", "\n\x08X", {std::string(79, ' ') + "X"}, 1, 0},
      {"tab stops every 8", "a\tb" ESC "ic" ESC "Id", {"a       b       d"}, 0, 17},
      {"up from the first row goes to the last",
       "\x0bX",
       {"", "", "", "", "", "", "", "", "", "", "", "",
        "", "", "", "", "", "", "", "", "", "", "", "X"},
       23,
       1},
      {"^V from the last row to the first", ESC "=7 \x16Z", {"Z"}, 0, 1},
      {"home", "abc\n" ESC "{X\x1eY", {"Ybc"}, 0, 1},
      {"ESC = row and column from 32", ESC "=\"%Q", {"", "", "     Q"}, 2, 6},
      {"ESC = out of range is ignored", "ab" ESC "=x Q", {"abQ"}, 0, 3},
      {"ESC a in decimal, 1-based", ESC "a3R5CQ", {"", "", "    Q"}, 2, 5},
      {"ESC a with a stray byte moves nothing", "ab" ESC "a3X5CQ", {"ab5CQ"}, 0, 5},
      {"at most three digits count", ESC "a0012R2CQ", {" Q"}, 0, 2},
      {"line feed on the last row scrolls",
       ESC "=7 top\n" ESC "=  x" ESC "=7 \nend",
       {"", "", "", "", "", "", "", "", "", "",    "", "",
        "", "", "", "", "", "", "", "", "", "top", "", "end"},
       23,
       3},
  };
  for (const ScreenCase& c : cases)
    expect_screen(c);
}

TEST(TerminalCommands, ClearsAndEditing) {
  const std::string three = "line1\r\nline2\r\nline3";
  const ScreenCase cases[] = {
      {"clear page, every form", three + ESC "*", {}, 0, 0},
      {"^Z clears too",
       three + "\x1a"
               "x",
       {"x"},
       0,
       1},
      {"ESC ; and ESC : clear", "a" ESC ";b" ESC ":", {}, 0, 0},
      {"clear to end of page", three + ESC "=!\"" ESC "Y", {"line1", "li"}, 1, 2},
      {"clear to end of line, four forms",
       "abcdef\r\x0c\x0c" ESC "T\rwxyz\r\x0c\x0c\x0c" ESC "cO\r\x0c\x0c" ESC "cL\r\x0c" ESC "t",
       {"w"},
       0,
       1},
      {"clear the whole line, the cursor stays", "abc\x08" ESC "cRz", {"  z"}, 0, 3},
      {"insert and delete a line",
       three + ESC "=! " ESC "E" ESC "=\" " ESC "R",
       {"line1", "", "line3"},
       2,
       0},
      {"insert and delete a character",
       "abcd\r\x0c" ESC "Q" ESC "Q\x0c\x0c" ESC "W",
       {"a  cd"},
       0,
       3},
      {"repeat a blank and a character", "a" ESC "f#b" ESC "o-$c", {"a    b-----c"}, 0, 12},
      {"repeat counts below 32 do nothing",
       "a" ESC "f\x1f" ESC "o-\x10"
       "b",
       {"ab"},
       0,
       2},
      {"repeat counts use 7 bits",
       "a" ESC "f\xa1"
       "b",
       {"a  b"},
       0,
       4},
      {"insert mode shifts the line", "abc\r" ESC "qXY" ESC "rZ", {"XYZbc"}, 0, 3},
      {"NUL padding takes no cell, in insert mode either",
       std::string("ab\0\0c\r", 6) + ESC "q" + std::string("\0", 1) + "X",
       {"Xabc"},
       0,
       1},
      {"status line text and argument bytes are read and dropped",
       "a" ESC "Fstatus text\rb" ESC "Axyc" ESC "c81234d",
       {"abcd"},
       0,
       4},
  };
  for (const ScreenCase& c : cases)
    expect_screen(c);
}

TEST(TerminalCommands, Attributes) {
  ProtocolHarness h;
  // ESC G: 0x04 reverse (0x200), 0x08 (0x100), 0x02 flashing, 0x40 dim.
  h.feed(ESC
         "G\x04"
         "a" ESC
         "G\x4a"
         "b" ESC "G0c");
  EXPECT_EQ(h.page().cell(0, 0), 0x0200 | 'a');
  EXPECT_EQ(h.page().cell(0, 1), 0x0D00 | 'b');
  EXPECT_EQ(h.page().cell(0, 2), 'c');
  // ESC ( and ESC ) clear and set 0x200; graphics keeps only its own bit
  // through ESC G, where 0x200 would make a push button.
  h.feed(ESC ")d" ESC "(e" ESC "H2" ESC "G\x04lq" ESC
             "H3"
             "f");
  EXPECT_EQ(h.page().cell(0, 3), 0x0200 | 'd');
  EXPECT_EQ(h.page().cell(0, 4), 'e');
  EXPECT_EQ(h.page().cell(0, 5), 0x8000 | 0xDA);
  EXPECT_EQ(h.page().cell(0, 6), 0x8000 | 0xC4);
  EXPECT_EQ(h.page().cell(0, 7), 'f');
  // ESC H with another byte draws it once.
  h.feed(ESC "Hkg");
  EXPECT_EQ(h.page().cell(0, 8), 0x8000 | 0xBF);
  EXPECT_EQ(h.page().cell(0, 9), 'g');
  // Alternate sets: remembered values, selected later.
  h.feed(ESC "cB1" ESC "cC0" ESC "cDx" ESC "cEx");
  EXPECT_EQ(h.page().cell(0, 10), 0x8000 | 0xB3);
  EXPECT_EQ(h.page().cell(0, 11), 'x');
  // ESC g: the whole attribute; a field run ends where it changes, even
  // when the host's bytes arrive one by one.
  ProtocolHarness f;
  for (char c : std::string(ESC "g$@abc" ESC "g@@d"))
    f.feed(std::string_view(&c, 1));
  EXPECT_EQ(f.page().cell(0, 0), 0x4000 | 'a');
  EXPECT_EQ(f.page().cell(0, 1), 0x4000 | 'b');
  EXPECT_EQ(f.page().cell(0, 2), 0x6000 | 'c');
  EXPECT_EQ(f.page().cell(0, 3), 'd');
  EXPECT_TRUE(f.in.enhanced_mode);
}

// Found by the fuzz target: a field run left open on a page the host
// switched away from ended differently when the block ended between the
// run and the switch.
TEST(TerminalCommands, FieldRunOnAPageLeftBehindEndsAlike) {
  expect_case({"a field on page 1, then back to page 0",
               ESC "w1" ESC "g$@field" ESC "w0x",
               {"enhanced on"}});
}

TEST(TerminalCommands, PagesAndColumns) {
  ProtocolHarness h;
  h.feed("zero" ESC "w1one" ESC "/");
  EXPECT_EQ(h.rows(), std::vector<std::string>{"one"});
  h.feed(ESC "J" ESC "/");
  EXPECT_EQ(h.rows(), std::vector<std::string>{"zero"});
  h.feed(ESC "K" ESC "wB" ESC "wC" ESC "w3" ESC "/" ESC "J" ESC "/");
  EXPECT_EQ(h.take(), (std::vector<std::string>{"reply 1030"}));
  // 132 columns clear the page unless ESC e. said otherwise.
  h.feed("text" ESC "`;");
  EXPECT_EQ(h.page().columns(), 132);
  EXPECT_TRUE(h.rows().empty());
  h.feed("kept" ESC "e." ESC "`:" ESC "`;");
  EXPECT_EQ(h.rows(), std::vector<std::string>{"kept"});
  EXPECT_EQ(h.take(), (std::vector<std::string>{"columns 132", "columns 80", "columns 132"}));
  // The rule belongs to the page.
  h.feed(ESC "w1" ESC "`;");
  EXPECT_TRUE(h.rows().empty());
  h.feed(ESC "`0" ESC "`1");
  EXPECT_EQ(h.take(), (std::vector<std::string>{"columns 132", "cursor off", "cursor on"}));
}

TEST(TerminalCommands, FunctionKeyProgramming) {
  ProtocolHarness h;
  const ByteCase cases[] = {
      {"ESC Z stores a key's string up to DEL", ESC "Z0+xyz\x7f", {}},
      {"ESC z with an F-key code stores up to DEL", ESC "zAhello\x7f", {}},
      {"ESC z with another key reads up to CR and drops it", ESC "z+dropped\r", {}},
  };
  for (const ByteCase& c : cases)
    expect_case(c);

  h.feed(ESC "Z0+xyz\x7f" ESC "zAhello\x7f" ESC "z+dropped\r");
  EXPECT_EQ(h.keys.key_string('+'), "xyz");
  EXPECT_EQ(h.keys.key_string('A'), "hello");
  h.feed(ESC "zA\x7f");  // an empty text restores the default
  EXPECT_EQ(h.keys.key_string('A'),
            "\x01"
            "A\r");
  h.feed(ESC "Z2+ignored\x7f" ESC
             "Z1\x02"
             "x" ESC "Z9+y");
  EXPECT_EQ(h.keys.key_string('+'), "xyz");
  // Set 1 with a control key byte ended the command: "x" was shown, and so
  // was everything after the bad set byte 9.
  EXPECT_EQ(h.rows(), std::vector<std::string>{"x+y"});
  h.feed(ESC "cU");
  EXPECT_EQ(h.keys.key_string('+'), "\x0b");
  // Only 255 bytes of a text are kept; the rest is still read.
  h.feed(ESC "Z0+" + std::string(300, 'k') +
         "\x7f"
         "after");
  EXPECT_EQ(h.keys.key_string('+').size(), 255u);
  // A key code beyond the tables is read and dropped.
  h.feed(ESC
         "Z0\xc1"
         "zz\x7f");
  EXPECT_EQ(h.rows(), std::vector<std::string>{"x+yafter"});
}

}  // namespace
}  // namespace veslink::test
