// The update check at start-up: the installed copy of the client offers to run
// a setup program that is newer than the installed version.
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry/registry.h"

namespace veslink {

// "month/day/year hour:minute:second", all decimal, nothing after the seconds;
// a year below 100 is 2000 + year. The calendar time in the local time zone.
std::optional<std::time_t> parse_setup_date_time(std::string_view text);

// A setup file written more than 3605 seconds after the recorded set-up time
// is a new version.
bool setup_is_newer(std::time_t setup_time, std::time_t file_time);

enum class UpdateOutcome {
  NoCheck,          // not the installed copy, or the values are missing or malformed
  UpToDate,         // no newer setup program
  Declined,         // the user keeps the current version
  SetupNotStarted,  // the setup program could not be started ("Could not run Setup program!")
};

struct UpdateHooks {
  // The last-write time of a file that can be opened for reading.
  std::function<std::optional<std::time_t>(const std::string&)> file_time;
  // Replaces the process by the program; returns only when that failed.
  std::function<void(const std::string&)> exec_program;
};
UpdateHooks default_update_hooks();

// `program_path` is the running program; HKEY_LOCAL_MACHINE
// "Software\VESTRA\Veslink" holds "DirPath", "SetupPath" and "SetupDateTime".
UpdateOutcome check_for_update(std::string_view program_path, vestra::registry::Registry& reg,
                               const UpdateHooks& hooks);

// "<DirPath>/veslink/veslink" and the running program compared the way the
// installation compares them: case-folded, '\' and '/' alike.
bool is_installed_copy(std::string_view dir_path, std::string_view program_path);

}  // namespace veslink
