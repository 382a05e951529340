// Character page operations.
#include "client/terminal/char_page.h"

#include <string>

namespace veslink {

CharPage::CharPage() {
  for (auto& row : cells_)
    row.fill(kBlank);
  first_changed_.fill(-1);
  last_changed_.fill(-1);
}

void CharPage::set_columns(int columns) {
  columns_ = columns == 132 ? 132 : 80;
  if (cursor_column_ >= columns_) cursor_column_ = columns_ - 1;
  clear_on_refresh_ = true;
}

bool CharPage::move_cursor(int row, int column) {
  while (column < 0) {
    column += columns_;
    --row;
  }
  while (column >= columns_) {
    column -= columns_;
    ++row;
  }
  if (row < 0 || row >= kRows) return false;
  cursor_row_ = row;
  cursor_column_ = column;
  return true;
}

void CharPage::mark(int row, int first, int last) {
  if (first_changed_[row] < 0 || first < first_changed_[row]) first_changed_[row] = first;
  if (last > last_changed_[row]) last_changed_[row] = last;
}

void CharPage::line_feed(bool clear_rest) {
  if (clear_rest) clear_to_end_of_line();
  cursor_column_ = 0;
  if (cursor_row_ + 1 < kRows) {
    ++cursor_row_;
  } else if (scrolling_) {
    scroll_up();
  } else {
    cursor_row_ = 0;
  }
}

void CharPage::put_char(std::uint16_t value) {
  if ((value & 0xFF00) == 0xFF00) value &= 0x00FF;
  switch (value) {
    case 0x08:
      if (cursor_column_ > 0) --cursor_column_;
      return;
    case 0x0D:
      cursor_column_ = 0;
      return;
    case 0x09: {
      const int next = (cursor_column_ / 8 + 1) * 8;
      while (cursor_column_ < next && cursor_column_ < columns_)
        put_char(0xFF20);
      return;
    }
    case 0x0A:
      line_feed(true);
      return;
    default:
      break;
  }
  cells_[cursor_row_][cursor_column_] = static_cast<std::uint16_t>((value & 0xFF) | attribute_);
  mark(cursor_row_, cursor_column_, cursor_column_);
  if (++cursor_column_ >= columns_) line_feed(false);
}

void CharPage::put_string(std::string_view text) {
  for (char c : text)
    put_char(static_cast<std::uint16_t>(0xFF00 | static_cast<unsigned char>(c)));
}

void CharPage::cursor_down() {
  if (cursor_row_ + 1 < kRows) {
    ++cursor_row_;
  } else {
    scroll_up();
  }
}

void CharPage::clear_page() {
  for (int r = 0; r < kRows; ++r) {
    cells_[r].fill(kBlank);
    mark_row(r);
  }
  cursor_row_ = cursor_column_ = 0;
}

void CharPage::clear_to_end_of_line() {
  for (int c = cursor_column_; c < columns_; ++c)
    cells_[cursor_row_][c] = kBlank;
  mark(cursor_row_, cursor_column_, columns_ - 1);
}

void CharPage::scroll_up() {
  for (int r = 1; r < kRows; ++r)
    cells_[r - 1] = cells_[r];
  cells_[kRows - 1].fill(kBlank);
  for (int r = 0; r < kRows; ++r)
    mark_row(r);
}

std::string CharPage::row_text(int row) const {
  std::string text;
  for (int c = 0; c < columns_; ++c)
    text += static_cast<char>(cells_[row][c] & 0xFF);
  return text;
}

CharPage::Changes CharPage::take_changes() {
  Changes changes{first_changed_, last_changed_, clear_on_refresh_};
  first_changed_.fill(-1);
  last_changed_.fill(-1);
  clear_on_refresh_ = false;
  return changes;
}

bool CharPage::has_changes() const {
  if (clear_on_refresh_) return true;
  for (int f : first_changed_)
    if (f >= 0) return true;
  return false;
}

}  // namespace veslink
