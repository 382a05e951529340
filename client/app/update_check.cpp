// Update check: installation values, date parsing, the question and exec.
#include "client/app/update_check.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "client/settings/client_texts.h"
#include "client/settings/text_rules.h"
#include "platform/messages/message_box.h"

namespace veslink {

using vestra::registry::Hive;

namespace {

constexpr long kSetupSlackSeconds = 3605;

// Reads digits up to `stop` (or the end when stop is 0).
bool read_number(std::string_view text, std::size_t& pos, char stop, long& out) {
  const std::size_t start = pos;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
    ++pos;
  if (pos == start || pos - start > 9) return false;
  out = parse_decimal(text.substr(start, pos - start));
  if (stop == 0) return pos == text.size();
  if (pos >= text.size() || text[pos] != stop) return false;
  ++pos;
  return true;
}

std::string comparable_path(std::string_view path) {
  std::string out;
  for (char c : to_lower(path)) {
    if (c == '\\') c = '/';
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out += c;
  }
  return out;
}

}  // namespace

std::optional<std::time_t> parse_setup_date_time(std::string_view text) {
  long month, day, year, hour, minute, second;
  std::size_t pos = 0;
  if (!read_number(text, pos, '/', month) || !read_number(text, pos, '/', day) ||
      !read_number(text, pos, ' ', year) || !read_number(text, pos, ':', hour) ||
      !read_number(text, pos, ':', minute) || !read_number(text, pos, 0, second))
    return std::nullopt;
  // Out-of-range fields would be carried into the next month or day by the
  // calendar conversion and give a plausible but wrong time: not a date.
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 61)
    return std::nullopt;
  if (year < 100) year += 2000;
  std::tm tm{};
  tm.tm_year = static_cast<int>(year - 1900);
  tm.tm_mon = static_cast<int>(month - 1);
  tm.tm_mday = static_cast<int>(day);
  tm.tm_hour = static_cast<int>(hour);
  tm.tm_min = static_cast<int>(minute);
  tm.tm_sec = static_cast<int>(second);
  tm.tm_isdst = -1;
  const std::time_t t = std::mktime(&tm);
  if (t == static_cast<std::time_t>(-1)) return std::nullopt;
  return t;
}

bool setup_is_newer(std::time_t setup_time, std::time_t file_time) {
  return file_time - setup_time > kSetupSlackSeconds;
}

bool is_installed_copy(std::string_view dir_path, std::string_view program_path) {
  return comparable_path(std::string(dir_path) + "/veslink/veslink") ==
         comparable_path(program_path);
}

UpdateHooks default_update_hooks() {
  UpdateHooks hooks;
  hooks.file_time = [](const std::string& path) -> std::optional<std::time_t> {
    std::ifstream probe(path, std::ios::binary);
    struct stat st {};
    if (!probe.is_open() || ::stat(path.c_str(), &st) != 0) return std::nullopt;
    return st.st_mtime;
  };
  hooks.exec_program = [](const std::string& program) {
    char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
    ::execv(program.c_str(), argv);
  };
  return hooks;
}

UpdateOutcome check_for_update(std::string_view program_path, vestra::registry::Registry& reg,
                               const UpdateHooks& hooks) {
  if (!reg.key_exists(Hive::LocalMachine, kInstallKey).ok()) return UpdateOutcome::NoCheck;
  std::string dir_path, setup_path, setup_date;
  if (!reg.get_string(Hive::LocalMachine, kInstallKey, "DirPath", dir_path).ok())
    return UpdateOutcome::NoCheck;
  if (!is_installed_copy(dir_path, program_path)) return UpdateOutcome::NoCheck;
  if (!reg.get_string(Hive::LocalMachine, kInstallKey, "SetupPath", setup_path).ok() ||
      setup_path.size() < 13)
    return UpdateOutcome::NoCheck;
  if (!reg.get_string(Hive::LocalMachine, kInstallKey, "SetupDateTime", setup_date).ok())
    return UpdateOutcome::NoCheck;
  std::optional<std::time_t> setup_time = parse_setup_date_time(setup_date);
  if (!setup_time) return UpdateOutcome::NoCheck;
  std::optional<std::time_t> file_time = hooks.file_time(setup_path);
  if (!file_time) return UpdateOutcome::NoCheck;
  if (!setup_is_newer(*setup_time, *file_time)) return UpdateOutcome::UpToDate;

  vestra::messages::Request ask;
  ask.caption = "VESTRA Thin Client Update";
  ask.text =
      "A new VESTRA Thin Client Setup program has been detected.\n"
      "Update your version of VESTRA Thin Client?";
  ask.icon = vestra::messages::Icon::Question;
  ask.buttons = vestra::messages::Buttons::YesNo;
  if (vestra::messages::show_message(ask) != vestra::messages::Answer::Yes)
    return UpdateOutcome::Declined;
  hooks.exec_program(setup_path);
  vestra::messages::show_notice("VESLINK", "Could not run Setup program!",
                                vestra::messages::Icon::Warning);
  return UpdateOutcome::SetupNotStarted;
}

}  // namespace veslink
