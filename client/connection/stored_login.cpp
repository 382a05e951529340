// Saving and loading the stored login details.
#include "client/connection/stored_login.h"

#include <cstdio>

#include "client/connection/login_scrambler.h"
#include "client/settings/client_texts.h"
#include "client/settings/text_rules.h"
#include "platform/messages/message_box.h"

namespace veslink {

using vestra::registry::Hive;
using vestra::registry::Registry;
using vestra::registry::Result;

namespace {
constexpr const char* kValueNames[] = {"tmp_log_1", "tmp_log_2", "tmp_log_3", "tmp_host",
                                       "tmp_conn"};
constexpr std::size_t kStoredTextMax = 99;  // a 100-byte buffer with its terminator
constexpr std::size_t kStoredHostMax = 49;
}  // namespace

bool save_stored_login(const LoginDetails& login, const std::string& host, int interface_code,
                       Registry& reg) {
  const std::string values[] = {
      scramble_login_text(login.user_name),
      scramble_login_text(login.password),
      scramble_login_text(login.connection_password),
      host,
      interface_code == INTERFACE_SSL_TELNET ? "ssltelnet" : "telnet",
  };
  Result r = reg.create_key(Hive::CurrentUser, kTempKey);
  for (int i = 0; r.ok() && i < 5; ++i)
    r = reg.set_string(Hive::CurrentUser, kTempKey, kValueNames[i], values[i]);
  if (r.ok()) return true;
  std::fprintf(stderr, "veslink: %s\n", r.error.c_str());
  vestra::messages::show_notice(kSettingsCaption,
                                "Can't create/open temp registry key for login info",
                                vestra::messages::Icon::Warning);
  return false;
}

bool load_stored_login(ClientSettings& s, Registry& reg) {
  s.def_username.clear();
  s.def_password.clear();
  s.def_conn_password.clear();
  s.default_host.clear();
  if (!reg.key_exists(Hive::CurrentUser, kTempKey).ok()) return false;

  std::string texts[5];
  bool present[5] = {};
  for (int i = 0; i < 5; ++i)
    present[i] = reg.get_string(Hive::CurrentUser, kTempKey, kValueNames[i], texts[i]).ok();

  if (present[0])
    s.def_username = cut(scramble_login_text(cut(texts[0], kStoredTextMax)), kLoginTextMax);
  if (present[1])
    s.def_password = cut(scramble_login_text(cut(texts[1], kStoredTextMax)), kLoginTextMax);
  if (present[2])
    s.def_conn_password = cut(scramble_login_text(cut(texts[2], kStoredTextMax)), kLoginTextMax);
  if (present[3]) s.default_host = cut(texts[3], kStoredHostMax);
  if (present[4])
    s.interface_code = texts[4] == "ssltelnet" ? INTERFACE_SSL_TELNET : INTERFACE_TELNET;

  // The details are for one start only, complete or not.
  for (const char* name : kValueNames)
    reg.delete_value(Hive::CurrentUser, kTempKey, name);

  for (bool p : present) {
    if (!p) {
      // Part of a login is no login: the user logs in through the dialog.
      s.def_username.clear();
      s.def_password.clear();
      s.def_conn_password.clear();
      s.default_host.clear();
      return false;
    }
  }
  return true;
}

}  // namespace veslink
