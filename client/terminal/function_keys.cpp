// The default key strings and the host's programmed ones.
#include "client/terminal/function_keys.h"

namespace veslink {

namespace {
constexpr char kEsc = 0x1B;

std::string esc(char c) {
  return std::string{kEsc, c};
}
}  // namespace

FunctionKeys::FunctionKeys() {
  // The terminal dialect's editing and cursor keys.
  defaults_[' '] = std::string(1, kEsc);
  defaults_['!'] = "\x09";
  defaults_['"'] = "\x08";
  defaults_['#'] = "\x7F";
  defaults_['$'] = "\x0D";
  defaults_['&'] = esc('I');
  defaults_['*'] = "\x1E";
  defaults_['+'] = "\x0B";
  defaults_[','] = "\x0A";
  defaults_['-'] = "\x08";
  defaults_['.'] = "\x0C";
  defaults_['8'] = esc('E');
  defaults_['7'] = esc('Q');
  defaults_['6'] = esc('R');
  defaults_['5'] = esc('W');
  defaults_['r'] = esc('K');
  defaults_['w'] = esc('J');
  defaults_['u'] = esc('7');
  defaults_['\\'] = esc('T');
  // Function keys: SOH, the key code, CR; unshifted @..O, shifted `..o.
  for (int key = '@'; key <= 'O'; ++key)
    defaults_[key] = std::string{0x01, static_cast<char>(key), 0x0D};
  for (int key = '`'; key <= 'o'; ++key)
    defaults_[key] = std::string{0x01, static_cast<char>(key), 0x0D};
}

void FunctionKeys::restore_defaults() {
  for (int key = 0; key < kKeys; ++key) {
    programmed_text_[key].clear();
    programmed_text_[key].shrink_to_fit();
    programmed_[key] = false;
  }
}

bool FunctionKeys::program(std::uint8_t key, std::string_view text) {
  if (key >= kKeys) return false;
  if (text.empty()) {
    programmed_text_[key].clear();
    programmed_[key] = false;
    return true;
  }
  programmed_text_[key].assign(text.substr(0, kMaxText));
  programmed_[key] = true;
  return true;
}

std::string_view FunctionKeys::key_string(std::uint8_t key) const {
  if (key >= kKeys) return {};
  if (programmed_[key]) return programmed_text_[key];
  return defaults_[key];
}

std::string_view FunctionKeys::default_string(std::uint8_t key) const {
  if (key >= kKeys) return {};
  return defaults_[key];
}

FunctionKeys& function_keys() {
  static FunctionKeys keys;
  return keys;
}

}  // namespace veslink
