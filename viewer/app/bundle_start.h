// Opening a report bundle: the start-up step that unpacks "x.kvr" into x.xml
// and x.xsl beside it, makes the exchange key a thin client would have made,
// and rewrites the command line into the ordinary file-mode form.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry/registry.h"

namespace repscope::app {

// True when the line ends with ".kvr" and a double quote (letters in any case).
bool names_bundle(const std::string& command_line);

// `program_path` is the running program; `now` the time for the key's date.
std::string ProcessKvr(const std::string& command_line, const std::string& program_path,
                       vestra::registry::Registry& registry, std::int64_t now,
                       std::string& new_line);

}  // namespace repscope::app
