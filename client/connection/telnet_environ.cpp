// ENVIRON SEND answers: names split at VAR with ESC quoting, each answered by
// VAR name [VALUE value] with the special bytes escaped.
#include "client/connection/telnet_environ.h"

#include <new>

#include "client/connection/telnet_codes.h"

extern char** environ;

namespace veslink {

using namespace telnet;

namespace {

constexpr std::string_view kWellKnown[] = {"USER",       "DISPLAY", "PRINTER",
                                           "SYSTEMTYPE", "JOB",     "ACCT"};

// The reply grows in steps of 256 bytes, so a long value costs a few
// reallocations and never a write past the end.
constexpr std::size_t kReplyStep = 256;

void append(std::vector<std::uint8_t>& out, std::uint8_t byte) {
  if (out.size() == out.capacity()) out.reserve(out.capacity() + kReplyStep);
  out.push_back(byte);
}

// Bytes that mean VAR, VALUE or ESC are escaped; 255 is doubled.
void append_escaped(std::vector<std::uint8_t>& out, std::string_view text) {
  for (char ch : text) {
    const auto b = static_cast<std::uint8_t>(ch);
    if (b == kEnvVar || b == kEnvValue || b == kEnvEsc) append(out, kEnvEsc);
    if (b == kIac) append(out, kIac);
    append(out, b);
  }
}

void append_variable(std::vector<std::uint8_t>& out, std::string_view name,
                     const EnvironmentVariable* known) {
  append(out, kEnvVar);
  append_escaped(out, name);
  if (known) {
    append(out, kEnvValue);
    append_escaped(out, known->value);
  }
}

}  // namespace

EnvironmentList process_environment() {
  EnvironmentList list;
  for (char** e = environ; e && *e; ++e) {
    const std::string_view entry(*e);
    const std::size_t eq = entry.find('=');
    if (eq == std::string_view::npos || eq == 0) continue;
    list.emplace_back(std::string(entry.substr(0, eq)), std::string(entry.substr(eq + 1)));
  }
  return list;
}

void EnvironmentTable::rebuild(const EnvironmentList& environment) {
  variables_.clear();
  for (const auto& [name, value] : environment) {
    if (find(name)) continue;  // the first definition of a name wins, as getenv sees it
    bool well_known = false;
    for (std::string_view w : kWellKnown)
      well_known = well_known || name == w;
    variables_.push_back({name, value, false, well_known});
  }
}

const EnvironmentVariable* EnvironmentTable::find(std::string_view name) const {
  for (const EnvironmentVariable& v : variables_)
    if (v.name == name) return &v;
  return nullptr;
}

EnvironmentReply EnvironmentTable::send_reply(std::span<const std::uint8_t> request) const {
  EnvironmentReply result;
  std::vector<std::uint8_t> out;
  try {
    out.reserve(kReplyStep);
  } catch (const std::bad_alloc&) {
    result.message = "env_opt_start: malloc()/realloc() failed!!!\n";
    return result;
  }
  try {
    for (std::uint8_t b : {kIac, kSb, kEnviron, kIs})
      append(out, b);
    if (request.empty()) {
      // Every exported variable, the ones that are not well known first.
      for (bool well_known : {false, true})
        for (const EnvironmentVariable& v : variables_)
          if (v.exported && v.well_known == well_known) append_variable(out, v.name, &v);
    } else {
      // Names start after each VAR byte; ESC takes the next byte literally.
      // Bytes before the first VAR belong to no name and are ignored.
      std::optional<std::string> name;
      for (std::size_t i = 0; i < request.size(); ++i) {
        std::uint8_t b = request[i];
        if (b == kEnvVar) {
          if (name) append_variable(out, *name, find(*name));
          name.emplace();
          continue;
        }
        if (b == kEnvEsc) {
          if (++i == request.size()) break;  // an ESC with nothing after it
          b = request[i];
        }
        if (name) name->push_back(static_cast<char>(b));
      }
      if (name) append_variable(out, *name, find(*name));
    }
    append(out, kIac);
    append(out, kSe);
  } catch (const std::bad_alloc&) {
    result.message = "env_opt_add: realloc() failed!!!\n";
    return result;
  }
  result.bytes = std::move(out);
  return result;
}

}  // namespace veslink
