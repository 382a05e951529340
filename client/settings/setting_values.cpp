// Reading and writing the text forms of the settings values.
#include "client/settings/setting_values.h"

#include <cstdio>

#include "client/settings/text_rules.h"

namespace veslink {

namespace {

struct BaudText {
  const char* text;
  int baud;
};
constexpr BaudText kBaudTexts[] = {
    {"256k", 256000}, {"128k", 128000}, {"56k", 56000}, {"38400", 38400},
    {"19200", 19200}, {"14400", 14400}, {"9600", 9600}, {"4800", 4800},
    {"2400", 2400},   {"1200", 1200},   {"300", 300},
};

std::vector<std::string_view> split_commas(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
}

int clamp_int(long value, long low, long high) {
  return static_cast<int>(value < low ? low : value > high ? high : value);
}

// Font numbers: an optional '-' and digits; anything else ends the list.
bool parse_font_number(std::string_view text, long& out) {
  std::string_view digits = text;
  if (!digits.empty() && digits[0] == '-') digits.remove_prefix(1);
  if (!all_digits(digits)) return false;
  out = parse_decimal(text);
  return true;
}

}  // namespace

std::optional<int> parse_baud_text(std::string_view text) {
  for (const BaudText& b : kBaudTexts)
    if (text == b.text) return b.baud;
  return std::nullopt;
}

const char* baud_text(int baud) {
  for (const BaudText& b : kBaudTexts)
    if (b.baud == baud) return b.text;
  return nullptr;
}

std::optional<std::uint8_t> parse_parity_letter(std::string_view text) {
  if (text.empty()) return std::nullopt;
  switch (text[0]) {
    case 'n':
      return kParityNone;
    case 'o':
      return kParityOdd;
    case 'e':
      return kParityEven;
    case 'm':
      return kParityMark;
    case 's':
      return kParitySpace;
  }
  return std::nullopt;
}

char parity_letter(std::uint8_t parity) {
  static const char kLetters[] = {'n', 'o', 'e', 'm', 's'};
  return parity < sizeof kLetters ? kLetters[parity] : 'n';
}

std::optional<std::uint8_t> parse_stop_bits_text(std::string_view text) {
  if (text == "1") return kStopOne;
  if (text == "1.5") return kStopOneHalf;
  if (text == "2") return kStopTwo;
  return std::nullopt;
}

const char* stop_bits_text(std::uint8_t stop_bits) {
  switch (stop_bits) {
    case kStopOneHalf:
      return "1.5";
    case kStopTwo:
      return "2";
  }
  return "1";
}

const char* slave_type_text(int slave_type) {
  switch (slave_type) {
    case kSlavePrinter:
      return "printer";
    case kSlaveFile:
      return "file";
  }
  return "disable";
}

std::optional<int> parse_com_port(std::string_view text) {
  if (text.substr(0, 3) != "com" || !all_digits(text.substr(3))) return std::nullopt;
  long port = parse_decimal(text.substr(3));
  if (port < 1 || port > kLastComPort) return std::nullopt;
  return static_cast<int>(port);
}

bool parse_bool_setting(std::string_view text) {
  const std::string t = to_lower(text);
  if (t == "true" || t == "yes") return true;
  if (t == "false" || t == "no") return false;
  if (!t.empty() && t[0] >= '0' && t[0] <= '9') return parse_decimal(t) != 0;
  return false;
}

void parse_interface_value(ClientSettings& s, std::string_view text) {
  const std::string lower = to_lower(text);
  const std::size_t comma = lower.find(',');
  const std::string_view head = std::string_view(lower).substr(0, comma);
  const std::string_view rest =
      comma == std::string::npos ? std::string_view() : std::string_view(lower).substr(comma + 1);

  if (head == "telnet" || head == "ssltelnet") {
    s.interface_code = head == "telnet" ? INTERFACE_TELNET : INTERFACE_SSL_TELNET;
    if (!rest.empty()) {
      s.default_host = cut(rest, kHostMax);
      s.current_host = cut(rest, kHostMax);
    }
    return;
  }
  std::optional<int> port = parse_com_port(head);
  if (!port) return;
  s.interface_code = *port;
  if (comma == std::string::npos) return;

  std::vector<std::string_view> fields = split_commas(rest);
  for (std::size_t i = 0; i < fields.size() && i < 7; ++i) {
    std::string_view f = fields[i];
    switch (i) {
      case 0:
        if (auto baud = parse_baud_text(f)) s.baud = *baud;
        break;
      case 1:
        if (f == "7" || f == "8") s.data_bits = static_cast<std::uint8_t>(f[0] - '0');
        break;
      case 2:
        if (auto parity = parse_parity_letter(f)) s.parity = *parity;
        break;
      case 3:
        if (auto stop = parse_stop_bits_text(f)) s.stop_bits = *stop;
        break;
      case 4:
        s.flow = (!f.empty() && f[0] == 'x') ? kFlowXonXoff : 0;
        break;
      case 5:
        if (!f.empty() && f[0] == 'd') s.flow |= kFlowDtrDsr;
        break;
      case 6:
        if (!f.empty() && f[0] == 'r') s.flow |= kFlowRtsCts;
        break;
    }
  }
}

std::string format_interface_value(const ClientSettings& s) {
  if (s.interface_code == INTERFACE_TELNET) return "telnet," + s.default_host;
  if (s.interface_code == INTERFACE_SSL_TELNET) return "ssltelnet," + s.default_host;
  const char* baud = baud_text(s.baud);
  std::string text = "com" + std::to_string(s.interface_code) + ",";
  text += baud ? baud : "";
  text += "," + std::to_string(s.data_bits);
  text += std::string(",") + parity_letter(s.parity);
  text += std::string(",") + stop_bits_text(s.stop_bits);
  text += (s.flow & kFlowXonXoff) ? ",xonxoff" : ",";
  text += (s.flow & kFlowDtrDsr) ? ",dtrdsr" : ",";
  text += (s.flow & kFlowRtsCts) ? ",rtscts" : ",";
  return text;
}

void parse_font_value(FontSpec& font, std::string_view text) {
  const std::size_t comma = text.find(',');
  std::string_view face = text.substr(0, comma);
  if (!face.empty()) font.face = cut(face, kFontFaceMax);
  if (comma == std::string_view::npos) return;
  long* numbers[] = {&font.height, &font.weight, &font.charset, &font.pitch_family, &font.width};
  std::vector<std::string_view> fields = split_commas(text.substr(comma + 1));
  for (std::size_t i = 0; i < fields.size() && i < 5; ++i) {
    if (!parse_font_number(fields[i], *numbers[i])) break;
  }
}

std::string format_font_value(const FontSpec& f) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%s,%ld,%ld,%ld,%ld,%ld", f.face.c_str(), f.height, f.weight,
                f.charset, f.pitch_family, f.width);
  return buf;
}

std::optional<MacroName> parse_macro_name(std::string_view name) {
  const std::string lower = to_lower(name);
  std::string_view n = lower;
  if (n.substr(0, 6) != "macro_") return std::nullopt;
  n.remove_prefix(6);
  struct Prefix {
    const char* text;
    int modifiers;
  };
  // Longest first, so "csf" is not taken for "cf" or "f".
  static constexpr Prefix kPrefixes[] = {{"csf", 3}, {"sf", 1}, {"cf", 2}, {"f", 0}};
  for (const Prefix& p : kPrefixes) {
    std::string_view prefix = p.text;
    if (n.substr(0, prefix.size()) != prefix) continue;
    std::string_view number = n.substr(prefix.size());
    if (!all_digits(number) || number.size() > 2) return std::nullopt;
    long key_number = parse_decimal(number);
    if (key_number < 1 || key_number > 16) return std::nullopt;
    return MacroName{static_cast<int>(111 + key_number), p.modifiers};
  }
  return std::nullopt;
}

std::string macro_value_name(int key, int modifiers) {
  static const char* kPrefixByModifiers[] = {"macro_f", "macro_sf", "macro_cf", "macro_csf"};
  return kPrefixByModifiers[modifiers & 3] + std::to_string(key - 111);
}

std::vector<std::int16_t> parse_macro_codes(std::string_view text) {
  std::vector<std::int16_t> codes;
  if (text.empty()) return codes;
  for (std::string_view field : split_commas(text)) {
    if (codes.size() == kMacroCodesMax) break;
    codes.push_back(static_cast<std::int16_t>(clamp_int(parse_decimal(field), -32768, 32767)));
  }
  return codes;
}

std::string format_macro_codes(const std::vector<std::int16_t>& codes) {
  std::string text;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    if (i > 0) text += ',';
    text += std::to_string(codes[i]);
  }
  return text;
}

void apply_setting(ClientSettings& s, std::string_view raw_name, std::string_view text) {
  const std::string name = to_lower(raw_name);
  if (name == "interface") {
    parse_interface_value(s, text);
  } else if (name == "sslcert") {
    s.cert_file = cut(text, kCertPathMax);
  } else if (name == "sslkey") {
    s.key_file = cut(text, kCertPathMax);
  } else if (name == "keep_alive_time") {
    s.keep_alive_minutes = clamp_int(parse_decimal(text), 0, 1000000);
  } else if (name == "host_list") {
    s.host_list = cut(text, kHostListMax);
  } else if (name == "def_username") {
    s.def_username = cut(text, kLoginTextMax);
  } else if (name == "font_norm") {
    parse_font_value(s.normal_font, text);
  } else if (name == "font_fixed") {
    parse_font_value(s.fixed_font, text);
  } else if (name == "calc_prec") {
    long p = parse_decimal(text);
    s.calc_prec = (p < 0 || p > 99) ? 0 : static_cast<int>(p);
  } else if (name == "vestra_vscroll") {
    s.navigation_control = parse_bool_setting(text);
  } else if (name == "confirm_close") {
    s.confirm_close = parse_bool_setting(text);
  } else if (name == "mail_notify") {
    s.mail_notify = parse_bool_setting(text);
  } else if (name == "login_timeout") {
    s.login_timeout = clamp_int(parse_decimal(text), 10, 120);
  } else if (name == "slave_type") {
    const std::string t = to_lower(text);
    s.slave_type = t == "printer" ? kSlavePrinter : t == "file" ? kSlaveFile : kSlaveDisabled;
  } else if (name == "slave_name") {
    s.slave_name = cut(text, kSlaveNameMax);
  } else if (name == "slave_delay") {
    // A negative delay would close every job at once; it is read as none.
    s.slave_delay = clamp_int(parse_decimal(text), 0, 86400);
  } else if (std::optional<MacroName> macro = parse_macro_name(name)) {
    KeyMacro m{macro->key, macro->modifiers, parse_macro_codes(text)};
    for (auto it = s.macros.begin(); it != s.macros.end(); ++it) {
      if (it->key == m.key && it->modifiers == m.modifiers) {
        s.macros.erase(it);
        break;
      }
    }
    s.macros.insert(s.macros.begin(), std::move(m));  // newest first
  }
}

}  // namespace veslink
