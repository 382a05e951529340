// Code page tables of the character screen: the DOS glyphs of the control
// bytes and the Windows Western code page's 0x80-0x9F row.
#include "client/terminal/terminal_charset.h"

#include "client/terminal/cell_style.h"
#include "client/terminal/line_drawing.h"

namespace veslink {

namespace {
// 0x00-0x1F as the DOS code page draws them; 0x00 is a blank.
constexpr char16_t kControlGlyphs[32] = {
    u' ',      u'\u263A', u'\u263B', u'\u2665', u'\u2666', u'\u2663', u'\u2660', u'\u2022',
    u'\u25D8', u'\u25CB', u'\u25D9', u'\u2642', u'\u2640', u'\u266A', u'\u266B', u'\u263C',
    u'\u25BA', u'\u25C4', u'\u2195', u'\u203C', u'\u00B6', u'\u00A7', u'\u25AC', u'\u21A8',
    u'\u2191', u'\u2193', u'\u2192', u'\u2190', u'\u221F', u'\u2194', u'\u25B2', u'\u25BC'};

// 0x80-0x9F of the Western code page; 0 where it has no character.
constexpr char16_t kHighRow[32] = {
    u'\u20AC', 0,         u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', 0,         u'\u017D', 0,
    0,         u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', 0,         u'\u017E', u'\u0178'};

constexpr char32_t kNoGlyph = U'\u00B7';  // bytes the code page leaves undefined
}  // namespace

char32_t byte_to_unicode(std::uint8_t b) {
  if (b < 0x20) return kControlGlyphs[b];
  if (b == 0x7F) return U'\u2302';
  if (b >= 0x80 && b < 0xA0) return kHighRow[b - 0x80] ? kHighRow[b - 0x80] : kNoGlyph;
  return b;
}

char32_t cell_to_unicode(std::uint16_t cell) {
  const std::uint8_t b = static_cast<std::uint8_t>(cell & 0xFF);
  if (classify_cell(cell) == CellClass::LineDrawing) {
    if (const char32_t box = line_drawing_unicode(b)) return box;
  }
  return byte_to_unicode(b);
}

int unicode_to_byte(char32_t ch) {
  if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<int>(ch);
  for (int i = 0; i < 32; ++i)
    if (kHighRow[i] != 0 && kHighRow[i] == ch) return 0x80 + i;
  return -1;
}

std::string text_to_bytes(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t ch = text[i];
    // A surrogate pair is one character (and never in the code page).
    if (ch >= 0xD800 && ch < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      ch = 0x10000 + ((ch - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    const int b = unicode_to_byte(ch);
    out += static_cast<char>(b < 0 ? '?' : b);
  }
  return out;
}

}  // namespace veslink
