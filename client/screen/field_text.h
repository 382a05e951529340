// Field texts between the host's bytes (the Western code page) and the Qt
// strings the controls show, both ways. Unlike the character screen, control
// bytes stay themselves: tabs and line breaks belong to a field's text.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace veslink {

QString field_qstring(std::string_view bytes);
// Characters without a byte in the code page become '?'.
std::string field_bytes(const QString& text);

}  // namespace veslink
