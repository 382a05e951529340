// The commands of vesreg, the registry stand-in's command-line face, as a
// function of its arguments so tests can run them in-process.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/registry/registry.h"

namespace vestra::vesreg {

// Exit codes: 0 done, 1 key or value missing, 2 usage error, 3 registry failure.
enum ExitCode { kOk = 0, kMissing = 1, kUsage = 2, kFailed = 3 };

int run(registry::Registry& reg, const std::vector<std::string>& args, std::ostream& out,
        std::ostream& err);

// The readable text form of `export`: one "[full key name]" block per key,
// values as "name"="text", "name"=expand:"text" or "name"=dword:0000002a.
std::string quote_bytes(const std::string& bytes);

}  // namespace vestra::vesreg
