// The environment table the client answers ENVIRON SEND requests from, and
// the building of that answer. Its own file because the request splitting
// and the escaping rules are easy to get wrong and are tested on their own.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veslink {

// Name/value pairs in the order the process environment lists them.
using EnvironmentList = std::vector<std::pair<std::string, std::string>>;

// The current process environment ("NAME=value" entries of environ).
EnvironmentList process_environment();

struct EnvironmentVariable {
  std::string name;
  std::string value;
  bool exported = false;    // sent on a request that names no variable
  bool well_known = false;  // USER, DISPLAY, PRINTER, SYSTEMTYPE, JOB, ACCT
};

// A built reply, or the message that says why there is none.
struct EnvironmentReply {
  std::optional<std::vector<std::uint8_t>> bytes;  // IAC SB ENVIRON IS ... IAC SE
  std::string message;
};

class EnvironmentTable {
 public:
  // No variable is exported: the host gets values only for names it asks for.
  void rebuild(const EnvironmentList& environment);
  const EnvironmentVariable* find(std::string_view name) const;
  const std::vector<EnvironmentVariable>& variables() const { return variables_; }

  // The answer to SB ENVIRON SEND; `request` holds the bytes after SEND.
  EnvironmentReply send_reply(std::span<const std::uint8_t> request) const;

 private:
  std::vector<EnvironmentVariable> variables_;
};

}  // namespace veslink
