// Copy and paste of terminal mode without the clipboard: the rectangle of
// cells the user drags out, its text (each row without trailing blanks, rows
// joined by CR LF) and the bytes a pasted text sends (line feeds left out,
// so CR LF line ends arrive as CR). Its own file so both are tested on
// pages and strings.
#pragma once

#include <string>
#include <string_view>

#include "client/terminal/terminal_mouse.h"

namespace veslink {

class CharPage;

// The cells between two corners, in either order.
struct CellRect {
  int top = 0;
  int left = 0;
  int bottom = -1;
  int right = -1;
  static CellRect spanning(CellPos a, CellPos b);
  bool contains(int row, int column) const {
    return row >= top && row <= bottom && column >= left && column <= right;
  }
  bool empty() const { return bottom < top || right < left; }
};

// The rectangle's text as the clipboard gets it; the rectangle is cut to the
// page's columns in use.
std::u32string selection_text(const CharPage& page, CellRect rect);

// The host bytes of a pasted text.
std::string paste_bytes(std::u16string_view text);

}  // namespace veslink
