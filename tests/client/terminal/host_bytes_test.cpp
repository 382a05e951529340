// Host bytes to page cells, as tables: what each sequence of the terminal
// dialect (the ones the terminfo description uses among them) leaves in the
// cells, their attributes and the cursor, whole and split at every byte;
// programmed key strings; local text; and the painter's reading of cells.
#include <gtest/gtest.h>

#include <vector>

#include "client/protocol/interpreter.h"
#include "client/terminal/cell_style.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/function_keys.h"
#include "client/terminal/line_drawing.h"
#include "client/terminal/terminal_painter.h"

namespace veslink {
namespace {

#define ESC "\x1b"

struct Terminal {
  CharScreen screen;
  FunctionKeys keys;
  Interpreter in{screen, keys};
  std::string replies;
  Terminal() {
    in.ui.send_byte = [this](std::uint8_t b) {
      replies += static_cast<char>(b);
      return true;
    };
  }
  void feed(std::string_view bytes) {
    in.feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  CharPage& page() { return screen.current(); }
};

struct Cell {
  int row;
  int column;
  std::uint16_t value;
};

struct CellCase {
  const char* name;
  std::string input;
  std::vector<Cell> cells;
  int row;
  int column;
};

void expect_cells(const CellCase& c) {
  // Whole, then split in two at every position: the same cells and cursor.
  for (std::size_t split = 0; split < c.input.size(); ++split) {
    Terminal t;
    if (split == 0) {
      t.feed(c.input);
    } else {
      t.feed(std::string_view(c.input).substr(0, split));
      t.feed(std::string_view(c.input).substr(split));
    }
    SCOPED_TRACE(std::string(c.name) + ", split at " + std::to_string(split));
    for (const Cell& cell : c.cells)
      EXPECT_EQ(t.page().cell(cell.row, cell.column), cell.value)
          << "cell " << cell.row << "," << cell.column;
    EXPECT_EQ(t.page().cursor_row(), c.row);
    EXPECT_EQ(t.page().cursor_column(), c.column);
  }
}

TEST(HostBytes, AttributesAndGraphics) {
  const CellCase cases[] = {
      {"ESC G: reverse, flashing, dim, plain",
       "a" ESC "G4b" ESC "G2c" ESC "Gpd" ESC "G0e",
       {{0, 0, 'a'}, {0, 1, 0x0200 | 'b'}, {0, 2, 0x0400 | 'c'}, {0, 3, 0x0800 | 'd'}, {0, 4, 'e'}},
       0,
       5},
      {"ESC G 8 is the other reverse bit", ESC "G8r", {{0, 0, 0x0100 | 'r'}}, 0, 1},
      // Telnet daemons pad with NUL; shown, it would shift the line.
      {"NUL is no character", std::string("$\0\0 x", 5), {{0, 0, '$'}, {0, 2, 'x'}}, 0, 3},
      {"graphics on, letters become box codes, off",
       ESC "H\x02lqkx?" ESC "H\x03q",
       {{0, 0, 0x8000 | 0xDA},
        {0, 1, 0x8000 | 0xC4},
        {0, 2, 0x8000 | 0xBF},
        {0, 3, 0x8000 | 0xB3},
        {0, 4, '?'},  // no box code: a plain character
        {0, 5, 'q'}},
       0,
       6},
      {"one graphic character", "a" ESC "HJb", {{0, 1, 0x8000 | 0xBC}, {0, 2, 'b'}}, 0, 3},
      {"ESC G inside graphics keeps graphics, drops reverse",
       ESC "H\x02" ESC "G4q",
       {{0, 0, 0x8000 | 0xC4}},
       0,
       1},
      {"button run keeps its access character in one run",
       ESC "g82O" ESC "g8:K" ESC "g00 ",
       {{0, 0, 0x8200 | 'O'}, {0, 1, 0xAA00 | 'K'}, {0, 2, ' '}},
       0,
       3},
      {"two fields side by side end where each ends",
       ESC "g40ab" ESC "g4"
           "1cd" ESC "g00",
       {{0, 0, 0x4000 | 'a'}, {0, 1, 0x6000 | 'b'}, {0, 2, 0x4100 | 'c'}, {0, 3, 0x6100 | 'd'}},
       0,
       4},
  };
  for (const CellCase& c : cases)
    expect_cells(c);
}

// The sequences the terminfo description names, one per capability.
TEST(HostBytes, TerminfoCapabilities) {
  const std::string rows3 = "111\r\n222\r\n333";
  const CellCase cases[] = {
      {"cup", ESC "=%*X", {{5, 10, 'X'}}, 5, 11},
      {"home",
       "ab\r\n"
       "\x1e"
       "X",
       {{0, 0, 'X'}, {1, 0, ' '}},
       0,
       1},
      {"clear", rows3 + ESC "*", {{0, 0, ' '}, {2, 2, ' '}}, 0, 0},
      {"ed", rows3 + ESC "=!!" ESC "Y", {{0, 2, '1'}, {1, 0, '2'}, {1, 1, ' '}, {2, 0, ' '}}, 1, 1},
      {"el", rows3 + ESC "=!!" ESC "T", {{1, 0, '2'}, {1, 1, ' '}, {2, 0, '3'}}, 1, 1},
      {"il1", rows3 + ESC "=! " ESC "E", {{1, 0, ' '}, {2, 0, '2'}, {3, 0, '3'}}, 1, 0},
      {"dl1", rows3 + ESC "=! " ESC "R", {{1, 0, '3'}, {2, 0, ' '}}, 1, 0},
      {"ich1", "abc\r" ESC "Q", {{0, 0, ' '}, {0, 1, 'a'}, {0, 3, 'c'}}, 0, 0},
      {"dch1", "abc\r" ESC "W", {{0, 0, 'b'}, {0, 1, 'c'}, {0, 2, ' '}}, 0, 0},
      {"smir text rmir",
       "abc\r" ESC "qXY" ESC "rZ",
       {{0, 0, 'X'}, {0, 1, 'Y'}, {0, 2, 'Z'}, {0, 3, 'b'}},
       0,
       3},
      {"cub1 cuf1 cuu1 cud1",
       "ab\x08X\x0c\x0cY\n\x0bZ",
       {{0, 1, 'X'}, {0, 4, 'Y'}, {0, 5, 'Z'}},
       0,
       6},
      {"ind on the last row scrolls", ESC "=7 a\nb", {{22, 0, 'a'}, {23, 1, 'b'}}, 23, 2},
      {"nel", "ab\r\nc", {{1, 0, 'c'}}, 1, 1},
      {"ht and cbt", "a\tb" ESC "Ic", {{0, 8, 'c'}}, 0, 9},
      {"am: the last column wraps at once",
       ESC "= o"
           "ab",
       {{0, 79, 'a'}, {1, 0, 'b'}},
       1,
       1},
      {"sgr: standout with line drawing",
       ESC "H\x02" ESC "G4q" ESC "H\x03" ESC "G0q",
       {{0, 0, 0x8000 | 0xC4}, {0, 1, 'q'}},
       0,
       2},
      {"sgr: reverse, flashing and dim together", ESC "Gvx", {{0, 0, 0x0E00 | 'x'}}, 0, 1},
  };
  for (const CellCase& c : cases)
    expect_cells(c);

  // The bottom-right cell scrolls the page: curses avoids it, and so the
  // description claims automatic margins without the delayed wrap.
  Terminal t;
  t.feed("top" ESC "=7oZ");
  EXPECT_EQ(t.page().cell(22, 79), 'Z');
  EXPECT_EQ(t.page().row_text(0).substr(0, 3), "   ");

  // Pages for full-screen programs: ESC w1 and back with ESC w0.
  Terminal pages;
  pages.feed("shell$ " ESC "w1" ESC "*vi screen" ESC "w0");
  EXPECT_EQ(pages.page().row_text(0).substr(0, 7), "shell$ ");
  EXPECT_EQ(pages.page().cursor_column(), 7);
  ASSERT_NE(pages.screen.page(1), nullptr);
  EXPECT_EQ(pages.screen.page(1)->row_text(0).substr(0, 9), "vi screen");

  // Cursor off and on reach the window.
  Terminal cursor;
  std::vector<bool> shown;
  cursor.in.ui.cursor_visible = [&](bool on) { shown.push_back(on); };
  cursor.feed(ESC "`0" ESC "`1");
  EXPECT_EQ(shown, (std::vector<bool>{false, true}));
}

TEST(HostBytes, ProgrammedKeyStrings) {
  Terminal t;
  // ESC Z set 0, key "+", the text, DEL: Up sends xyz until ESC cU.
  t.feed(ESC "Z0+xyz\x7f");
  EXPECT_EQ(t.keys.key_string('+'), "xyz");
  t.feed(ESC "cU");
  EXPECT_EQ(t.keys.key_string('+'), "\x0b");
  // ESC z on a function key ends at DEL; an empty text restores the default.
  t.feed(ESC "zAhello\x7f");
  EXPECT_EQ(t.keys.key_string('A'), "hello");
  t.feed(ESC "zA\x7f");
  EXPECT_EQ(t.keys.key_string('A'),
            "\x01"
            "A\r");
  // ESC z on another key reads its text up to CR and keeps nothing; the
  // text is not shown.
  t.feed(ESC "z!dropped\rshown");
  EXPECT_EQ(t.keys.key_string('!'), "\x09");
  EXPECT_EQ(t.page().row_text(0).substr(0, 5), "shown");
  // ESC Z set 2 reads and discards; Ctrl-key codes below 0x20 end it at once.
  t.feed(ESC "Z2Bgone\x7f" ESC "Z0\x02");
  EXPECT_EQ(t.keys.key_string('B'),
            "\x01"
            "B\r");
  // Split anywhere, a programming command works the same.
  const std::string program = ESC
      "Z1"
      "8"
      "insert-line\x7f";
  for (std::size_t k = 1; k < program.size(); ++k) {
    Terminal s;
    s.feed(std::string_view(program).substr(0, k));
    s.feed(std::string_view(program).substr(k));
    EXPECT_EQ(s.keys.key_string('8'), "insert-line") << k;
  }
}

TEST(HostBytes, LocalTextClearsTheRestOfTheLineAtALineFeed) {
  CharPage p;
  p.put_string("abcdefgh");
  p.place_cursor(1, 0);
  p.put_string("12345678");
  p.place_cursor(0, 3);
  p.put_string("X\nY");
  EXPECT_EQ(p.row_text(0).substr(0, 8), "abcX    ");
  EXPECT_EQ(p.row_text(1).substr(0, 8), "Y2345678");
  // The host's line feed moves down and leaves the line as it is.
  Terminal t;
  t.feed("abcdefgh" ESC
         "=  "
         "X\nY");
  EXPECT_EQ(t.page().row_text(0).substr(0, 8), "Xbcdefgh");
  EXPECT_EQ(t.page().row_text(1).substr(0, 2), " Y");
}

TEST(CellStyle, ClassesInTheirOrder) {
  struct Case {
    std::uint16_t cell;
    CellClass expected;
  };
  const Case cases[] = {
      {0x0041, CellClass::Normal},
      {0x2041, CellClass::Normal},  // the run end alone changes nothing
      {0x0141, CellClass::Reverse},
      {0x0241, CellClass::Reverse},
      {0x0441, CellClass::Flashing},
      {0x1041, CellClass::Flashing},
      {0x0841, CellClass::Dim},
      {0x0C41, CellClass::Flashing},  // flashing is checked before dim
      {0x0341, CellClass::Reverse},
      {0x4041, CellClass::DataField},
      {0x6041, CellClass::DataField},
      {0xC041, CellClass::StaticField},
      {0xE041, CellClass::StaticField},
      {0xC141, CellClass::InputArea},
      {0x4841, CellClass::Dim},      // another field attribute: read without 0xC000
      {0xC241, CellClass::Reverse},  // likewise
      {0x80C4, CellClass::LineDrawing},
      {0x88C4, CellClass::LineDrawing},
      {0x8241, CellClass::Button},
      {0x8A41, CellClass::Button},
      {0xA241, CellClass::Button},
      {0x8341, CellClass::DefaultButton},
      {0x8141, CellClass::DefaultButton},
      {0x9241, CellClass::DefaultButton},
  };
  for (const Case& c : cases)
    EXPECT_EQ(classify_cell(c.cell), c.expected) << std::hex << c.cell;
}

TEST(CellStyle, EveryGraphicsLetterHasArmsOfItsKind) {
  const std::string single = "jklmnqtuvwx";
  const std::string twin = "JKLMNQTUVWX";
  const std::string mixed = "abcdefghiABCDEFGHI";
  auto weights = [](LineArms a) {
    int ones = 0, twos = 0;
    for (std::uint8_t w : {a.up, a.down, a.left, a.right}) {
      ones += w == 1;
      twos += w == 2;
    }
    return std::pair(ones, twos);
  };
  for (char ch : single) {
    const auto [ones, twos] = weights(line_arms(line_drawing_code(ch)));
    EXPECT_GE(ones, 2) << ch;
    EXPECT_EQ(twos, 0) << ch;
  }
  for (char ch : twin) {
    const auto [ones, twos] = weights(line_arms(line_drawing_code(ch)));
    EXPECT_EQ(ones, 0) << ch;
    EXPECT_GE(twos, 2) << ch;
  }
  for (char ch : mixed) {
    const auto [ones, twos] = weights(line_arms(line_drawing_code(ch)));
    EXPECT_GE(ones, 1) << ch;
    EXPECT_GE(twos, 1) << ch;
  }
  // Corners join the edges their letters name.
  const LineArms l = line_arms(line_drawing_code('l'));  // top-left corner
  EXPECT_TRUE(l.down == 1 && l.right == 1 && l.up == 0 && l.left == 0);
  const LineArms J = line_arms(line_drawing_code('J'));  // double bottom-right
  EXPECT_TRUE(J.up == 2 && J.left == 2 && J.down == 0 && J.right == 0);
  EXPECT_FALSE(line_arms('A').any());
}

TEST(CellStyle, ButtonRunsEndAtTheirMark) {
  Terminal t;
  // Two buttons side by side, each ended by its run mark, then a default
  // button right after them.
  t.feed(ESC "g82OK" ESC "g00" ESC "g82No" ESC "g83Go" ESC "g00 x");
  int first = -1, last = -1;
  ASSERT_TRUE(button_run_at(t.page(), 0, 1, first, last));
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 1);
  ASSERT_TRUE(button_run_at(t.page(), 0, 2, first, last));
  EXPECT_EQ(first, 2);
  EXPECT_EQ(last, 3);
  ASSERT_TRUE(button_run_at(t.page(), 0, 5, first, last));
  EXPECT_EQ(first, 4);
  EXPECT_EQ(last, 5);
  EXPECT_EQ(classify_cell(t.page().cell(0, 4)), CellClass::DefaultButton);
  EXPECT_FALSE(button_run_at(t.page(), 0, 6, first, last));
}

}  // namespace
}  // namespace veslink
