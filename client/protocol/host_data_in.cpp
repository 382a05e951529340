// The host byte stream into the login hooks and onto the character screen.
#include "client/protocol/host_data_in.h"

#include "client/connection/login_dialogue.h"
#include "client/terminal/char_screen.h"

namespace veslink {

namespace {
constexpr std::uint8_t kEscape = 0x1B;

bool shown(std::uint8_t b) {
  return b >= 0x20 || b == '\r' || b == '\n' || b == '\b' || b == '\t';
}
}  // namespace

void host_data_in(const std::uint8_t* data, std::size_t count) {
  CharScreen& screen = char_screen();
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t b = data[i];
    if (LoginDialogue* login = LoginDialogue::active(); login && login->login_active() != 0) {
      login->received_byte(b);
      if (b == kEscape) login->received_escape();
    }
    if (b == '\n') {
      screen.current().cursor_down();
    } else if (shown(b) && b != 0x7F) {
      screen.current().put_char(static_cast<std::uint16_t>(0xFF00 | b));
    }
  }
  if (LoginDialogue* login = LoginDialogue::active()) login->block_received();
}

}  // namespace veslink
