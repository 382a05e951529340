// CharPage: one page of the character screen of terminal mode (24 rows of 132
// cells, 80 or 132 in use), with its cursor, current attribute and the
// per-row ranges changed since the last refresh, and every operation the
// host's terminal commands perform on it. Plain C++, no Qt.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace veslink {

// Attribute bits of a cell's high byte, as the painter reads them.
namespace cell_bits {
constexpr std::uint16_t kReverse = 0x0100;
constexpr std::uint16_t kReverseAlt = 0x0200;  // also the button bit with kGraphics
constexpr std::uint16_t kFlash = 0x0400;
constexpr std::uint16_t kDim = 0x0800;
constexpr std::uint16_t kRunEnd = 0x2000;  // last cell of a field or button run
constexpr std::uint16_t kField = 0x4000;
constexpr std::uint16_t kGraphics = 0x8000;  // line drawing, or buttons with 0x0200
}  // namespace cell_bits

// The DOS line-drawing code a graphics letter stands for; 0 for letters that
// draw nothing.
std::uint8_t line_drawing_code(std::uint8_t letter);

class CharPage {
 public:
  static constexpr int kRows = 24;
  static constexpr int kCapacity = 132;
  static constexpr std::uint16_t kBlank = 0x0020;

  CharPage();

  int rows() const { return kRows; }
  int columns() const { return columns_; }
  // Switches to 80 or 132 columns without the host's clearing rule (local
  // use: the connection's notices, tests).
  void set_columns(int columns);
  // The host's 80/132 switch: clears the page when the page says so (ESC e/),
  // otherwise keeps the cells and blanks columns 80-131 when widening.
  void change_columns(int columns);
  bool clears_on_width_change() const { return clears_on_width_change_; }
  void set_clears_on_width_change(bool on) { clears_on_width_change_ = on; }

  int cursor_row() const { return cursor_row_; }
  int cursor_column() const { return cursor_column_; }
  // A column outside the line wraps to the previous or next row; a row
  // outside the page refuses the move (false).
  bool move_cursor(int row, int column);
  // Row and column inside the page, else nothing moves (false).
  bool place_cursor(int row, int column);
  void cursor_home() { place_cursor(0, 0); }
  void cursor_up_wrapping();    // from the first row to the last
  void cursor_down_wrapping();  // from the last row to the first
  void tab_forward();           // to the next multiple of 8, at most the last column
  void tab_back();              // to the previous multiple of 8

  std::uint16_t attribute() const { return attribute_; }
  void set_attribute(std::uint16_t attribute);
  bool scrolling() const { return scrolling_; }
  void set_scrolling(bool on) { scrolling_ = on; }

  // One character with the control rules of the screen: BS, CR, TAB and LF
  // move the cursor, NUL does nothing; anything else is stored with the
  // current attribute. A
  // value whose high byte is 0xFF is a plain character. While the attribute
  // selects line drawing, letters of the graphics map become line-drawing
  // codes; other characters are stored without the graphics bit.
  void put_char(std::uint16_t value) {
    // Most host bytes are plain text in the middle of a line: they take
    // this path without a call (host_data_in's throughput rests on it).
    const std::uint16_t ch = value & 0xFF;
    if (ch >= 0x20 && ch != 0x7F && (value >> 8 == 0xFF || value >> 8 == 0) &&
        !(attribute_ & (cell_bits::kGraphics | cell_bits::kField)) && run_row_ < 0 &&
        cursor_column_ + 1 < columns_) {
      cells_[cursor_row_][cursor_column_] = static_cast<std::uint16_t>(ch | attribute_);
      int& first = first_changed_[cursor_row_];
      if (first < 0 || cursor_column_ < first) first = cursor_column_;
      if (cursor_column_ > last_changed_[cursor_row_]) last_changed_[cursor_row_] = cursor_column_;
      ++cursor_column_;
      return;
    }
    put_char_slow(value);
  }
  void put_string(std::string_view text);
  // One character drawn as a line-drawing character whatever the attribute.
  void put_graphic(std::uint8_t letter);
  // Shifts the rest of the line right by one blank at the cursor.
  void insert_char();
  void delete_char();

  // The host's line feed: one row down, scrolling up at the last row; unlike
  // put_char's line feed it leaves the line as it is.
  void cursor_down();

  void clear_page();  // cursor home
  void clear_to_end_of_line();
  void clear_to_end_of_page();
  void clear_line();  // the whole cursor row; the cursor stays
  void insert_line();
  void delete_line();
  void scroll_up();

  // Marks the last cell of a field or button run that is still open.
  void close_attribute_run();

  std::uint16_t cell(int row, int column) const { return cells_[row][column]; }
  // The row's text in use, one byte per cell (the low byte).
  std::string row_text(int row) const;

  // Changed ranges since the last take_changes(): first and last column per
  // row, -1 when unchanged. `whole` asks for a whole repaint.
  struct Changes {
    std::array<int, kRows> first{};
    std::array<int, kRows> last{};
    bool whole = false;
  };
  Changes take_changes();
  bool has_changes() const;
  void repaint_all() { clear_on_refresh_ = true; }

 private:
  void put_char_slow(std::uint16_t value);
  void mark(int row, int first, int last);
  void mark_row(int row) { mark(row, 0, columns_ - 1); }
  void mark_rows_from(int row);
  void line_feed(bool clear_rest);
  void store(std::uint16_t cell);
  void blank_row(int row) { cells_[row].fill(kBlank); }

  std::array<std::array<std::uint16_t, kCapacity>, kRows> cells_{};
  int columns_ = 80;
  bool clears_on_width_change_ = true;
  int cursor_row_ = 0;
  int cursor_column_ = 0;
  std::uint16_t attribute_ = 0;
  bool scrolling_ = true;
  bool clear_on_refresh_ = true;
  // The last cell written with a field or button attribute, until its run ends.
  int run_row_ = -1;
  int run_column_ = -1;
  std::uint16_t run_attribute_ = 0;
  bool run_closed_ = false;  // marked at a block's end; may still go on
  std::array<int, kRows> first_changed_{};
  std::array<int, kRows> last_changed_{};
};

}  // namespace veslink
