// The entity table and the decoding loop.
#include "viewer/report/entities.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace repscope::report {

namespace {

// The HTML 4 Latin-1 names from code point 192 ("Agrave") to 255 ("yuml").
constexpr const char* kLatin1Names[] = {
    "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig", "Ccedil",
    "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc", "Iuml",
    "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",  "times",
    "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN", "szlig",
    "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig", "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc", "iuml",
    "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",  "divide",
    "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn", "yuml",
};

struct Named {
  const char* name;
  unsigned long code;
};

// The other names the host writes; "quot" and "apos" are the XML ones a
// title may also carry.
constexpr Named kOtherNames[] = {
    {"nbsp", ' '}, {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''},
};

constexpr unsigned long kTradeMark = 0x2122;

bool lookup(std::string_view name, unsigned long& code) {
  for (const Named& n : kOtherNames) {
    if (name == n.name) {
      code = n.code;
      return true;
    }
  }
  for (std::size_t i = 0; i < std::size(kLatin1Names); ++i) {
    if (name == kLatin1Names[i]) {
      code = 192 + i;
      return true;
    }
  }
  if (name.size() > 1 && name[0] == '#') {
    const bool hex = name[1] == 'x' || name[1] == 'X';
    std::string digits(name.substr(hex ? 2 : 1));
    if (digits.empty()) return false;
    for (char c : digits) {
      if (hex ? !std::isxdigit(static_cast<unsigned char>(c))
              : !std::isdigit(static_cast<unsigned char>(c))) {
        return false;
      }
    }
    if (digits.size() > 7) return false;
    code = std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10);
    // 153 is the trade mark sign in the host's code page.
    if (!hex && code == 153) code = kTradeMark;
    return code != 0 && code <= 0x10FFFF;
  }
  return false;
}

}  // namespace

void append_utf8(std::string& out, unsigned long cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string decode_entities(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '&') {
      const std::size_t semi = text.find(';', i + 1);
      // Entity names are short; a far ';' belongs to something else.
      if (semi != std::string_view::npos && semi - i <= 10) {
        unsigned long code = 0;
        if (lookup(text.substr(i + 1, semi - i - 1), code)) {
          append_utf8(out, code);
          i = semi + 1;
          continue;
        }
      }
    }
    out += text[i++];
  }
  return out;
}

}  // namespace repscope::report
