// SessionTrace: a raw log of the session for support engineers. Every host
// byte that reaches the interpreter (after telnet) and every byte the client
// sends are appended to a file as timestamped lines of 16 bytes, marked "<"
// for received and ">" for sent, in hex and as text. It is off unless the
// environment variable VESLINK_TRACE or the setting "session_trace" names a
// file; when off the interpreter only tests a null pointer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace veslink {

class Interpreter;

class SessionTrace {
 public:
  static constexpr std::size_t kBytesPerLine = 16;

  // Appends to `path`; false (with the reason in `error`) when it cannot be
  // opened.
  bool open(const std::string& path, std::string& error);
  ~SessionTrace();

  void received(const std::uint8_t* data, std::size_t count);
  void sent(std::uint8_t byte);
  // Writes the sent bytes that wait for a full line.
  void flush();

  const std::string& path() const { return path_; }

 private:
  void write_line(char direction, const std::uint8_t* data, std::size_t count);

  std::FILE* file_ = nullptr;
  std::string path_;
  std::uint8_t pending_[kBytesPerLine] = {};
  std::size_t pending_count_ = 0;
};

// One trace line: "2024-05-01 12:00:00.123 < 1b 6d ...  .m..." (the time
// passed in). Its own function so the format can be checked.
std::string format_trace_line(const std::string& timestamp, char direction,
                              const std::uint8_t* data, std::size_t count);

// Where the trace goes: VESLINK_TRACE when set, else the "session_trace"
// setting under HKEY_CURRENT_USER\Software\VESTRA\Settings; empty when off.
std::string session_trace_path();

// Opens the trace for the interpreter when one is asked for; a file that
// cannot be opened is reported to the user and the client runs on without.
void start_session_trace(Interpreter& in);

}  // namespace veslink
