// Character page operations where their rules are sharpest: cursor wraps,
// insertion and deletion at the line ends, the clear-or-blank rule of the
// column switch, field runs and the graphics map, and the page pool.
#include <gtest/gtest.h>

#include "client/terminal/char_page.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/function_keys.h"

namespace veslink {
namespace {

std::string trimmed(const CharPage& p, int row) {
  std::string s = p.row_text(row);
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

TEST(CharPage, CursorColumnsWrapRowsRefuse) {
  CharPage p;
  EXPECT_TRUE(p.move_cursor(0, 80));
  EXPECT_EQ(p.cursor_row(), 1);
  EXPECT_EQ(p.cursor_column(), 0);
  EXPECT_TRUE(p.move_cursor(1, -1));
  EXPECT_EQ(p.cursor_row(), 0);
  EXPECT_EQ(p.cursor_column(), 79);
  EXPECT_FALSE(p.move_cursor(0, -81));  // would leave the page upwards
  EXPECT_FALSE(p.move_cursor(23, 80));
  EXPECT_EQ(p.cursor_row(), 0);
  EXPECT_FALSE(p.place_cursor(3, 80));
  p.place_cursor(0, 0);
  p.cursor_up_wrapping();
  EXPECT_EQ(p.cursor_row(), 23);
  p.cursor_down_wrapping();
  EXPECT_EQ(p.cursor_row(), 0);
  p.place_cursor(0, 77);
  p.tab_forward();
  EXPECT_EQ(p.cursor_column(), 79);  // no tab stop beyond the last column
  p.tab_back();
  EXPECT_EQ(p.cursor_column(), 72);
  p.place_cursor(0, 0);
  p.tab_back();
  EXPECT_EQ(p.cursor_column(), 0);
}

TEST(CharPage, InsertAndDeleteKeepTheLineEnds) {
  CharPage p;
  p.put_string("abcdef");
  p.place_cursor(0, 79);
  p.put_char(0xFF00 | 'Z');  // the last column, then the next row
  EXPECT_EQ(p.cursor_row(), 1);
  p.place_cursor(0, 2);
  p.insert_char();
  EXPECT_EQ(trimmed(p, 0).substr(0, 7), "ab cdef");
  EXPECT_EQ(p.cell(0, 79) & 0xFF, ' ');  // Z fell off the end
  p.delete_char();
  p.delete_char();
  EXPECT_EQ(trimmed(p, 0), "abdef");
  p.place_cursor(1, 0);
  p.put_string("second");
  p.place_cursor(0, 3);
  p.insert_line();
  EXPECT_EQ(trimmed(p, 0), "");
  EXPECT_EQ(trimmed(p, 1), "abdef");
  EXPECT_EQ(trimmed(p, 2), "second");
  EXPECT_EQ(p.cursor_column(), 3);
  p.delete_line();
  EXPECT_EQ(trimmed(p, 0), "abdef");
  EXPECT_EQ(trimmed(p, 23), "");
}

// A tab in the last tab stop's columns used to write blanks forever: each
// blank in the last column wrapped the cursor back to column 0.
TEST(CharPage, TabNearTheRightEdgeEnds) {
  CharPage p;
  p.place_cursor(0, 75);
  p.put_char(0xFF09);
  EXPECT_EQ(p.cursor_row(), 1);
  EXPECT_EQ(p.cursor_column(), 0);
  p.put_string("ab\t");
  EXPECT_EQ(p.cursor_column(), 8);
}

TEST(CharPage, ClearsFromTheCursor) {
  CharPage p;
  for (int r = 0; r < 24; ++r) {
    p.place_cursor(r, 0);
    p.put_string("xxxxxxxxxx");
  }
  p.place_cursor(5, 4);
  p.clear_to_end_of_page();
  EXPECT_EQ(trimmed(p, 4), "xxxxxxxxxx");
  EXPECT_EQ(trimmed(p, 5), "xxxx");
  EXPECT_EQ(trimmed(p, 6), "");
  p.place_cursor(2, 3);
  p.clear_line();
  EXPECT_EQ(trimmed(p, 2), "");
  EXPECT_EQ(p.cursor_column(), 3);
}

TEST(CharPage, ColumnSwitchClearsOrBlanks) {
  CharPage cleared;
  cleared.put_string("keep?");
  cleared.change_columns(132);
  EXPECT_EQ(cleared.columns(), 132);
  EXPECT_EQ(trimmed(cleared, 0), "");

  CharPage kept;
  kept.set_clears_on_width_change(false);
  kept.change_columns(132);
  kept.place_cursor(0, 120);
  kept.put_string("wide");
  kept.change_columns(80);
  kept.place_cursor(0, 0);
  kept.put_string("narrow");
  // Widening again blanks what columns 80-131 held.
  kept.change_columns(132);
  EXPECT_EQ(trimmed(kept, 0), "narrow");
  EXPECT_EQ(kept.row_text(0).size(), 132u);
}

TEST(CharPage, FieldRunsEndWhereTheAttributeChanges) {
  CharPage p;
  p.set_attribute(cell_bits::kField);
  p.put_string("abc");
  p.set_attribute(0);
  p.put_string("d");
  EXPECT_EQ(p.cell(0, 1) & cell_bits::kRunEnd, 0);
  EXPECT_EQ(p.cell(0, 2), cell_bits::kField | cell_bits::kRunEnd | 'c');
  EXPECT_EQ(p.cell(0, 3), 'd');

  // A run closed at the end of a block and continued in the next one ends
  // only once, at its real end.
  CharPage q;
  q.set_attribute(cell_bits::kField);
  q.put_string("ab");
  q.close_attribute_run();
  EXPECT_NE(q.cell(0, 1) & cell_bits::kRunEnd, 0);
  q.put_string("cd");
  q.close_attribute_run();
  EXPECT_EQ(q.cell(0, 1) & cell_bits::kRunEnd, 0);
  EXPECT_NE(q.cell(0, 3) & cell_bits::kRunEnd, 0);

  // Plain and line-drawing cells form no runs.
  CharPage r;
  r.set_attribute(cell_bits::kDim);
  r.put_string("ab");
  r.close_attribute_run();
  EXPECT_EQ(r.cell(0, 1), cell_bits::kDim | 'b');
}

TEST(CharPage, GraphicsLettersBecomeLineDrawingCodes) {
  CharPage p;
  p.set_attribute(cell_bits::kGraphics);
  p.put_string("lqk2");
  EXPECT_EQ(p.cell(0, 0), 0x8000 | 0xDA);
  EXPECT_EQ(p.cell(0, 1), 0x8000 | 0xC4);
  EXPECT_EQ(p.cell(0, 2), 0x8000 | 0xBF);
  EXPECT_EQ(p.cell(0, 3), '2');  // no line drawing for it: a plain character
  p.set_attribute(0);
  p.put_graphic('X');
  EXPECT_EQ(p.cell(0, 4), 0x8000 | 0xBA);
  EXPECT_EQ(line_drawing_code('I'), 0xD3);
  EXPECT_EQ(line_drawing_code('z'), 0);
}

TEST(CharScreen, PagesAreMadeOnFirstUse) {
  CharScreen s;
  EXPECT_EQ(s.page(1), nullptr);
  s.current().put_string("zero");
  EXPECT_TRUE(s.switch_page(3));
  EXPECT_NE(s.page(3), nullptr);
  EXPECT_EQ(s.page(1), nullptr);
  EXPECT_EQ(trimmed(s.current(), 0), "");
  EXPECT_FALSE(s.switch_page(4));
  EXPECT_EQ(s.current_index(), 3);
  s.switch_page(0);
  EXPECT_EQ(trimmed(s.current(), 0), "zero");
}

TEST(FunctionKeys, DefaultsProgrammingAndReset) {
  FunctionKeys k;
  EXPECT_EQ(k.key_string('+'), "\x0b");
  EXPECT_EQ(k.key_string('A'),
            "\x01"
            "A\r");
  EXPECT_EQ(k.key_string('a'),
            "\x01"
            "a\r");
  EXPECT_EQ(k.key_string('r'), "\x1bK");
  EXPECT_EQ(k.key_string(2), "");  // Ctrl+F8 sends only what the host programmed
  k.program('+', "xyz");
  k.program(2, "ctrl");
  EXPECT_EQ(k.key_string('+'), "xyz");
  EXPECT_EQ(k.key_string(2), "ctrl");
  k.program('+', "");
  EXPECT_EQ(k.key_string('+'), "\x0b");
  k.program('A', std::string(300, 'q'));
  EXPECT_EQ(k.key_string('A').size(), FunctionKeys::kMaxText);
  EXPECT_FALSE(k.program(0x80, "x"));
  k.restore_defaults();
  EXPECT_EQ(k.key_string(2), "");
  EXPECT_EQ(k.key_string('A'),
            "\x01"
            "A\r");
}

}  // namespace
}  // namespace veslink
