// Selection rectangles, their clipboard text and the bytes of a paste.
#include "client/terminal/text_selection.h"

#include <algorithm>

#include "client/terminal/char_page.h"
#include "client/terminal/terminal_charset.h"

namespace veslink {

CellRect CellRect::spanning(CellPos a, CellPos b) {
  return {std::min(a.row, b.row), std::min(a.column, b.column), std::max(a.row, b.row),
          std::max(a.column, b.column)};
}

std::u32string selection_text(const CharPage& page, CellRect rect) {
  rect.top = std::max(rect.top, 0);
  rect.left = std::max(rect.left, 0);
  rect.bottom = std::min(rect.bottom, page.rows() - 1);
  rect.right = std::min(rect.right, page.columns() - 1);
  std::u32string out;
  if (rect.empty()) return out;
  for (int r = rect.top; r <= rect.bottom; ++r) {
    if (r > rect.top) out += U"\r\n";
    std::u32string row;
    for (int c = rect.left; c <= rect.right; ++c)
      row += cell_to_unicode(page.cell(r, c));
    row.erase(row.find_last_not_of(U' ') + 1);
    out += row;
  }
  return out;
}

std::string paste_bytes(std::u16string_view text) {
  std::u16string kept;
  kept.reserve(text.size());
  for (char16_t ch : text)
    if (ch != u'\n') kept += ch;
  return text_to_bytes(kept);
}

}  // namespace veslink
