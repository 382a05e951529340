// Character page operations: cursor rules, clears, line and character
// insertion, the graphics map, column switching and field-run marking.
#include "client/terminal/char_page.h"

#include <algorithm>
#include <string>

namespace veslink {

namespace {
// Cells written with these attributes form runs whose last cell carries
// kRunEnd: field cells, and the push-button cells of the graphics class.
bool run_attribute(std::uint16_t attribute) {
  if (attribute & cell_bits::kField) return true;
  return (attribute & cell_bits::kGraphics) && (attribute & 0x0300);
}

bool line_drawing_attribute(std::uint16_t attribute) {
  return (attribute & 0xC300) == cell_bits::kGraphics;
}

// Cells written one after another with these attributes stay one run. A push
// button's caption marks its access character by leaving out the dim bit,
// so for buttons that bit does not split the run: otherwise every access
// character would end a button of its own.
bool same_run(std::uint16_t a, std::uint16_t b) {
  if (a == b) return true;
  const bool buttons = !(a & cell_bits::kField) && (a & cell_bits::kGraphics) && (a & 0x0300);
  return buttons && ((a ^ b) & static_cast<std::uint16_t>(~cell_bits::kDim)) == 0;
}
}  // namespace

std::uint8_t line_drawing_code(std::uint8_t letter) {
  switch (letter) {
    // single lines
    case 'j':
      return 0xD9;
    case 'k':
      return 0xBF;
    case 'l':
      return 0xDA;
    case 'm':
      return 0xC0;
    case 'n':
      return 0xC5;
    case 'q':
      return 0xC4;
    case 't':
      return 0xC3;
    case 'u':
      return 0xB4;
    case 'v':
      return 0xC1;
    case 'w':
      return 0xC2;
    case 'x':
      return 0xB3;
    // double lines
    case 'J':
      return 0xBC;
    case 'K':
      return 0xBB;
    case 'L':
      return 0xC9;
    case 'M':
      return 0xC8;
    case 'N':
      return 0xCE;
    case 'Q':
      return 0xCD;
    case 'T':
      return 0xCC;
    case 'U':
      return 0xB9;
    case 'V':
      return 0xCA;
    case 'W':
      return 0xCB;
    case 'X':
      return 0xBA;
    // single and double mixed
    case 'a':
      return 0xD7;
    case 'b':
      return 0xC6;
    case 'c':
      return 0xB5;
    case 'd':
      return 0xCF;
    case 'e':
      return 0xD1;
    case 'f':
      return 0xBE;
    case 'g':
      return 0xB8;
    case 'h':
      return 0xD5;
    case 'i':
      return 0xD4;
    case 'A':
      return 0xD8;
    case 'B':
      return 0xC7;
    case 'C':
      return 0xB6;
    case 'D':
      return 0xD0;
    case 'E':
      return 0xD2;
    case 'F':
      return 0xBD;
    case 'G':
      return 0xB7;
    case 'H':
      return 0xD6;
    case 'I':
      return 0xD3;
    default:
      return 0;
  }
}

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

void CharPage::change_columns(int columns) {
  const int wanted = columns == 132 ? 132 : 80;
  if (clears_on_width_change_) {
    set_columns(wanted);
    clear_page();
    return;
  }
  if (wanted == 132 && columns_ != 132) {
    close_attribute_run();
    for (auto& row : cells_)
      std::fill(row.begin() + 80, row.end(), kBlank);
  }
  set_columns(wanted);
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

bool CharPage::place_cursor(int row, int column) {
  if (row < 0 || row >= kRows || column < 0 || column >= columns_) return false;
  cursor_row_ = row;
  cursor_column_ = column;
  return true;
}

void CharPage::cursor_up_wrapping() {
  cursor_row_ = cursor_row_ > 0 ? cursor_row_ - 1 : kRows - 1;
}

void CharPage::cursor_down_wrapping() {
  cursor_row_ = cursor_row_ + 1 < kRows ? cursor_row_ + 1 : 0;
}

void CharPage::tab_forward() {
  cursor_column_ = std::min((cursor_column_ / 8 + 1) * 8, columns_ - 1);
}

void CharPage::tab_back() {
  cursor_column_ = cursor_column_ > 0 ? (cursor_column_ - 1) / 8 * 8 : 0;
}

void CharPage::set_attribute(std::uint16_t attribute) {
  if (attribute == attribute_) return;
  if (!same_run(attribute, attribute_)) {
    close_attribute_run();
    run_row_ = -1;
  }
  attribute_ = attribute;
}

void CharPage::mark(int row, int first, int last) {
  if (first_changed_[row] < 0 || first < first_changed_[row]) first_changed_[row] = first;
  if (last > last_changed_[row]) last_changed_[row] = last;
}

void CharPage::mark_rows_from(int row) {
  for (int r = row; r < kRows; ++r)
    mark_row(r);
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

void CharPage::store(std::uint16_t cell) {
  const std::uint16_t attribute = cell & 0xFF00;
  const bool continuing = run_row_ == cursor_row_ && run_column_ + 1 == cursor_column_ &&
                          same_run(attribute, run_attribute_);
  if (run_row_ >= 0) {
    if (!continuing) {
      close_attribute_run();
      run_row_ = -1;
    } else if (run_closed_) {
      // The run was closed at the end of a block and goes on in the next
      // one: its end moves on, so a field reads the same however the host's
      // bytes were split.
      cells_[run_row_][run_column_] &= static_cast<std::uint16_t>(~cell_bits::kRunEnd);
      mark(run_row_, run_column_, run_column_);
    }
  }
  cells_[cursor_row_][cursor_column_] = cell;
  mark(cursor_row_, cursor_column_, cursor_column_);
  if (run_attribute(attribute)) {
    run_row_ = cursor_row_;
    run_column_ = cursor_column_;
    run_attribute_ = attribute;
    run_closed_ = false;
  } else {
    run_row_ = -1;
  }
  if (++cursor_column_ >= columns_) line_feed(false);
}

void CharPage::close_attribute_run() {
  if (run_row_ < 0 || run_closed_) return;
  cells_[run_row_][run_column_] |= cell_bits::kRunEnd;
  mark(run_row_, run_column_, run_column_);
  run_closed_ = true;
}

void CharPage::put_char_slow(std::uint16_t value) {
  if ((value & 0xFF00) == 0xFF00) value &= 0x00FF;
  switch (value) {
    case 0x00:
      // NUL is the line's fill character: telnet daemons send it as padding
      // (inetutils telnetd before a shell's first prompt). Shown, it would
      // push everything after it one cell to the right.
      return;
    case 0x08:
      if (cursor_column_ > 0) --cursor_column_;
      return;
    case 0x0D:
      cursor_column_ = 0;
      return;
    case 0x09: {
      // A counted run of blanks: the blank in the last column moves the
      // cursor to the next row, where a "column below the next stop" test
      // would start over and never end.
      const int count = std::min((cursor_column_ / 8 + 1) * 8, columns_) - cursor_column_;
      for (int i = 0; i < count; ++i)
        put_char(0xFF20);
      return;
    }
    case 0x0A:
      line_feed(true);
      return;
    default:
      break;
  }
  const std::uint8_t ch = static_cast<std::uint8_t>(value & 0xFF);
  if (line_drawing_attribute(attribute_)) {
    const std::uint8_t code = line_drawing_code(ch);
    if (code != 0) {
      store(static_cast<std::uint16_t>(code | attribute_));
    } else {
      store(static_cast<std::uint16_t>(ch | (attribute_ & ~cell_bits::kGraphics)));
    }
    return;
  }
  store(static_cast<std::uint16_t>(ch | attribute_));
}

void CharPage::put_graphic(std::uint8_t letter) {
  const std::uint8_t code = line_drawing_code(letter);
  if (code == 0) {
    store(static_cast<std::uint16_t>(letter | (attribute_ & ~cell_bits::kGraphics)));
    return;
  }
  store(static_cast<std::uint16_t>(code | ((attribute_ & ~0x4300) | cell_bits::kGraphics)));
}

void CharPage::put_string(std::string_view text) {
  for (char c : text)
    put_char(static_cast<std::uint16_t>(0xFF00 | static_cast<unsigned char>(c)));
}

void CharPage::insert_char() {
  close_attribute_run();
  run_row_ = -1;
  auto& row = cells_[cursor_row_];
  for (int c = columns_ - 1; c > cursor_column_; --c)
    row[c] = row[c - 1];
  row[cursor_column_] = kBlank;
  mark(cursor_row_, cursor_column_, columns_ - 1);
}

void CharPage::delete_char() {
  close_attribute_run();
  run_row_ = -1;
  auto& row = cells_[cursor_row_];
  for (int c = cursor_column_; c + 1 < columns_; ++c)
    row[c] = row[c + 1];
  row[columns_ - 1] = kBlank;
  mark(cursor_row_, cursor_column_, columns_ - 1);
}

void CharPage::cursor_down() {
  if (cursor_row_ + 1 < kRows) {
    ++cursor_row_;
  } else {
    scroll_up();
  }
}

void CharPage::clear_page() {
  run_row_ = -1;
  for (int r = 0; r < kRows; ++r) {
    blank_row(r);
    mark_row(r);
  }
  cursor_row_ = cursor_column_ = 0;
}

void CharPage::clear_to_end_of_line() {
  if (run_row_ == cursor_row_ && run_column_ >= cursor_column_) run_row_ = -1;
  for (int c = cursor_column_; c < columns_; ++c)
    cells_[cursor_row_][c] = kBlank;
  mark(cursor_row_, cursor_column_, columns_ - 1);
}

void CharPage::clear_to_end_of_page() {
  clear_to_end_of_line();
  if (run_row_ > cursor_row_) run_row_ = -1;
  for (int r = cursor_row_ + 1; r < kRows; ++r) {
    blank_row(r);
    mark_row(r);
  }
}

void CharPage::clear_line() {
  if (run_row_ == cursor_row_) run_row_ = -1;
  blank_row(cursor_row_);
  mark_row(cursor_row_);
}

void CharPage::insert_line() {
  close_attribute_run();
  run_row_ = -1;
  for (int r = kRows - 1; r > cursor_row_; --r)
    cells_[r] = cells_[r - 1];
  blank_row(cursor_row_);
  mark_rows_from(cursor_row_);
}

void CharPage::delete_line() {
  close_attribute_run();
  run_row_ = -1;
  for (int r = cursor_row_; r + 1 < kRows; ++r)
    cells_[r] = cells_[r + 1];
  blank_row(kRows - 1);
  mark_rows_from(cursor_row_);
}

void CharPage::scroll_up() {
  if (run_row_ >= 0) --run_row_;
  for (int r = 1; r < kRows; ++r)
    cells_[r - 1] = cells_[r];
  blank_row(kRows - 1);
  for (int r = 0; r < kRows; ++r)
    mark_row(r);
}

std::string CharPage::row_text(int row) const {
  std::string text;
  text.reserve(columns_);
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
