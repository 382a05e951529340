// Registry side of the settings store.
#include "client/settings/settings_registry.h"

#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

#include "client/settings/client_texts.h"
#include "client/settings/host_list.h"
#include "client/settings/setting_values.h"
#include "platform/messages/message_box.h"

namespace veslink {

using vestra::registry::Hive;
using vestra::registry::Result;
using vestra::registry::Value;
using vestra::registry::ValueType;

namespace {

constexpr const char* kSettingsKeyFailure = "Can't create/open settings registry key";
constexpr std::size_t kValueNameMax = 49;

using NamedText = std::pair<std::string, std::string>;

void log_failure(const Result& r) {
  if (!r.error.empty()) std::fprintf(stderr, "veslink: %s\n", r.error.c_str());
}

// Creates the settings key, then writes the values in order. The first
// failure shows `failure_text` and stops.
bool write_values(Registry& reg, const std::vector<NamedText>& values, const char* failure_text) {
  Result r = reg.create_key(Hive::CurrentUser, kSettingsKey);
  for (std::size_t i = 0; r.ok() && i < values.size(); ++i)
    r = reg.set_string(Hive::CurrentUser, kSettingsKey, values[i].first, values[i].second);
  if (r.ok()) return true;
  log_failure(r);
  vestra::messages::show_notice(kSettingsCaption, failure_text, vestra::messages::Icon::Warning);
  return false;
}

bool exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

void warn_client(const char* text) {
  vestra::messages::show_notice(kClientCaption, text, vestra::messages::Icon::Warning);
}

}  // namespace

void read_settings(ClientSettings& s, Registry& reg) {
  std::vector<Value> values;
  Result r = reg.list_values(Hive::CurrentUser, kSettingsKey, values);
  if (r.failed()) log_failure(r);
  for (const Value& v : values) {
    if (v.type != ValueType::Sz || v.name.size() > kValueNameMax) continue;
    apply_setting(s, v.name, v.data);
  }
  // The colour schemes are read by the colour settings themselves (client/prefs).
  if (s.interface_code == INTERFACE_SSL_TELNET) {
    if (!s.cert_file.empty() && !exists(s.cert_file)) {
      warn_client("SSL Certificate file not found!");
      s.cert_file.clear();
    }
    if (!s.key_file.empty() && !exists(s.key_file)) {
      warn_client("SSL Certificate key file not found!");
      s.key_file.clear();
    }
  }
}

bool write_comm_settings(const ClientSettings& s, Registry& reg) {
  return write_values(reg,
                      {{"interface", format_interface_value(s)},
                       {"sslcert", s.cert_file},
                       {"sslkey", s.key_file},
                       {"keep_alive_time", std::to_string(s.keep_alive_minutes)}},
                      kSettingsKeyFailure);
}

bool write_general_settings(const ClientSettings& s, Registry& reg) {
  return write_values(reg,
                      {{"confirm_close", bool_text(s.confirm_close)},
                       {"mail_notify", bool_text(s.mail_notify)},
                       {"login_timeout", std::to_string(static_cast<unsigned>(s.login_timeout))},
                       {"vestra_vscroll", bool_text(s.navigation_control)},
                       {"calc_prec", std::to_string(static_cast<unsigned>(s.calc_prec))}},
                      kSettingsKeyFailure);
}

bool write_font_setting(const ClientSettings& s, bool fixed_font, Registry& reg) {
  return write_values(reg,
                      {{fixed_font ? "font_fixed" : "font_norm",
                        format_font_value(fixed_font ? s.fixed_font : s.normal_font)}},
                      "Can't create registry sub key");
}

bool write_macro(const KeyMacro& m, Registry& reg) {
  return write_values(reg, {{macro_value_name(m.key, m.modifiers), format_macro_codes(m.codes)}},
                      kSettingsKeyFailure);
}

bool delete_macro(int key, int modifiers, Registry& reg) {
  Result r = reg.create_key(Hive::CurrentUser, kSettingsKey);
  if (r.ok()) {
    r = reg.delete_value(Hive::CurrentUser, kSettingsKey, macro_value_name(key, modifiers));
    if (r.not_found()) return true;  // nothing stored: already deleted
  }
  if (r.ok()) return true;
  log_failure(r);
  vestra::messages::show_notice(kSettingsCaption, kSettingsKeyFailure,
                                vestra::messages::Icon::Warning);
  return false;
}

bool write_slave_settings(const ClientSettings& s, Registry& reg) {
  return write_values(reg,
                      {{"slave_type", slave_type_text(s.slave_type)},
                       {"slave_name", s.slave_name},
                       {"slave_delay", std::to_string(s.slave_delay)}},
                      kSettingsKeyFailure);
}

bool write_def_username(const ClientSettings& s, Registry& reg) {
  return write_values(reg, {{"def_username", s.def_username}}, kSettingsKeyFailure);
}

bool add_to_host_list(ClientSettings& s, std::string_view host, Registry& reg) {
  std::optional<std::string> updated = updated_host_list(s.host_list, host);
  if (!updated) return true;
  s.host_list = *updated;
  return write_values(reg, {{"host_list", s.host_list}}, kSettingsKeyFailure);
}

}  // namespace veslink
