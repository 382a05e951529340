// The character set of the character screen: host bytes are shown in the
// Windows Western code page (the terminal font's default character set),
// control bytes with the DOS glyphs, line-drawing cells as Unicode box
// characters; typed and pasted text goes back the same way. Its own file
// because painting, copying, typing and pasting must agree on it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace veslink {

// What a host byte looks like on the screen.
char32_t byte_to_unicode(std::uint8_t byte);

// What a cell shows: a line-drawing cell its box character, any other cell
// its byte.
char32_t cell_to_unicode(std::uint16_t cell);

// The byte that sends a character to the host; -1 when the code page has
// none. Control characters stand for themselves.
int unicode_to_byte(char32_t ch);

// UTF-16 text (clipboard, key text) to host bytes; characters without a
// byte become '?'.
std::string text_to_bytes(std::u16string_view text);

}  // namespace veslink
