// CharPage: one page of the character screen of terminal mode (24 rows of 132
// cells, 80 or 132 in use), with its cursor, current attribute and the
// per-row ranges changed since the last refresh. Plain C++, no Qt.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace veslink {

class CharPage {
 public:
  static constexpr int kRows = 24;
  static constexpr int kCapacity = 132;
  static constexpr std::uint16_t kBlank = 0x0020;

  CharPage();

  int rows() const { return kRows; }
  int columns() const { return columns_; }
  void set_columns(int columns);  // 80 or 132

  int cursor_row() const { return cursor_row_; }
  int cursor_column() const { return cursor_column_; }
  // A column outside the line wraps to the previous or next row; a row
  // outside the page refuses the move (false).
  bool move_cursor(int row, int column);

  std::uint16_t attribute() const { return attribute_; }
  void set_attribute(std::uint16_t attribute) { attribute_ = attribute; }
  bool scrolling() const { return scrolling_; }
  void set_scrolling(bool on) { scrolling_ = on; }

  // One character with the control rules of the screen: BS, CR, TAB and LF
  // move the cursor; anything else is stored with the current attribute. A
  // value whose high byte is 0xFF is a plain character.
  void put_char(std::uint16_t value);
  void put_string(std::string_view text);

  // The host's line feed: one row down, scrolling up at the last row; unlike
  // put_char's line feed it leaves the line as it is.
  void cursor_down();

  void clear_page();
  void clear_to_end_of_line();
  void scroll_up();

  std::uint16_t cell(int row, int column) const { return cells_[row][column]; }
  // The row's text in use, one byte per cell (the low byte).
  std::string row_text(int row) const;

  // Changed ranges since the last take_changes(): first and last column per
  // row, -1 when unchanged. clear_on_refresh asks for a whole repaint.
  struct Changes {
    std::array<int, kRows> first{};
    std::array<int, kRows> last{};
    bool whole = false;
  };
  Changes take_changes();
  bool has_changes() const;

 private:
  void mark(int row, int first, int last);
  void mark_row(int row) { mark(row, 0, columns_ - 1); }
  void line_feed(bool clear_rest);

  std::array<std::array<std::uint16_t, kCapacity>, kRows> cells_{};
  int columns_ = 80;
  int cursor_row_ = 0;
  int cursor_column_ = 0;
  std::uint16_t attribute_ = 0;
  bool scrolling_ = true;
  bool clear_on_refresh_ = true;
  std::array<int, kRows> first_changed_{};
  std::array<int, kRows> last_changed_{};
};

}  // namespace veslink
