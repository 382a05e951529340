// Field text conversion.
#include "client/screen/field_text.h"

#include "client/terminal/terminal_charset.h"

namespace veslink {

QString field_qstring(std::string_view bytes) {
  QString out;
  out.reserve(static_cast<int>(bytes.size()));
  for (char c : bytes) {
    const auto b = static_cast<std::uint8_t>(c);
    out += b < 0x20 ? QChar(b) : QChar(static_cast<char16_t>(byte_to_unicode(b)));
  }
  return out;
}

std::string field_bytes(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (QChar c : text) {
    const char16_t u = c.unicode();
    if (u < 0x20) {
      out += static_cast<char>(u);
      continue;
    }
    const int b = unicode_to_byte(u);
    out += b < 0 ? '?' : static_cast<char>(b);
  }
  return out;
}

}  // namespace veslink
