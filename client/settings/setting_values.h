// The text forms of the values under "Software\VESTRA\Settings": reading each
// value into ClientSettings and writing the forms the dialogs store.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "client/settings/client_settings.h"

namespace veslink {

// Sets the field named by `name` (any case) from its registry text. Unknown
// names and malformed texts leave the settings as they were.
void apply_setting(ClientSettings& settings, std::string_view name, std::string_view text);

// "telnet,host", "ssltelnet,host" or "comN,baud,data,parity,stop,x,d,r".
void parse_interface_value(ClientSettings& settings, std::string_view text);
std::string format_interface_value(const ClientSettings& settings);

// "true"/"yes" and "false"/"no" in any case, or a decimal number (true unless 0).
bool parse_bool_setting(std::string_view text);
inline const char* bool_text(bool value) {
  return value ? "true" : "false";
}

// "face,height,weight,charset,pitch_family,width"; missing numbers keep `font`'s.
void parse_font_value(FontSpec& font, std::string_view text);
std::string format_font_value(const FontSpec& font);

// "macro_f5" -> F5 (virtual key 116) without modifiers; "macro_csf16" -> F16
// with Ctrl+Shift. Names with any other number or trailing text give nothing.
struct MacroName {
  int key = 0;
  int modifiers = 0;
};
std::optional<MacroName> parse_macro_name(std::string_view name);
std::string macro_value_name(int key, int modifiers);
std::vector<std::int16_t> parse_macro_codes(std::string_view text);
std::string format_macro_codes(const std::vector<std::int16_t>& codes);

// The serial line texts shared by the registry and INI forms.
std::optional<int> parse_baud_text(std::string_view text);  // "56k" -> 56000
const char* baud_text(int baud);                            // 56000 -> "56k"; nullptr off the list
std::optional<std::uint8_t> parse_parity_letter(std::string_view text);
char parity_letter(std::uint8_t parity);
std::optional<std::uint8_t> parse_stop_bits_text(std::string_view text);
const char* stop_bits_text(std::uint8_t stop_bits);
const char* slave_type_text(int slave_type);

// "com3" -> 3; nothing unless the text is "com" and a port number 1..8.
std::optional<int> parse_com_port(std::string_view text);

}  // namespace veslink
