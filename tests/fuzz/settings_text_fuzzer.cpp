// Fuzz target for the texts the settings store reads from outside: INI lines,
// registry values by name, host lists, set-up dates and stored logins. Any
// crash, sanitizer report or broken invariant is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "client/app/update_check.h"
#include "client/connection/login_scrambler.h"
#include "client/settings/host_list.h"
#include "client/settings/ini_file.h"
#include "client/settings/setting_values.h"
#include "platform/messages/message_box.h"

namespace {
const char* const kNames[] = {
    "interface",     "sslcert",    "sslkey",     "keep_alive_time", "host_list",     "def_username",
    "font_norm",     "font_fixed", "calc_prec",  "vestra_vscroll",  "confirm_close", "mail_notify",
    "login_timeout", "slave_type", "slave_name", "slave_delay",     "macro_csf16",   "macro_f1"};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static bool quiet = [] {
    vestra::messages::set_responder([](const vestra::messages::Request& r) {
      return vestra::messages::dismiss_answer(r.buttons);
    });
    return true;
  }();
  (void)quiet;
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  veslink::ClientSettings s;
  switch (data[0] % 5) {
    case 0:
      veslink::parse_ini_line(s, text);
      break;
    case 1:
      veslink::apply_setting(s, kNames[data[0] / 5 % std::size(kNames)], text);
      break;
    case 2: {
      const std::size_t cut = text.find('\n');
      auto updated = veslink::updated_host_list(text.substr(0, cut),
                                                cut == text.npos ? "h" : text.substr(cut + 1));
      if (updated && updated->size() > veslink::kHostListMax) std::abort();
      break;
    }
    case 3:
      veslink::parse_setup_date_time(text);
      break;
    case 4:
      if (veslink::scramble_login_text(veslink::scramble_login_text(text)) != text) std::abort();
      break;
  }
  if (s.current_host.size() > veslink::kHostMax || s.host_list.size() > veslink::kHostListMax ||
      s.slave_name.size() > veslink::kSlaveNameMax ||
      s.normal_font.face.size() > veslink::kFontFaceMax)
    std::abort();
  return 0;
}
