// The session trace file: line format, buffering of sent bytes, start-up.
#include "client/protocol/session_trace.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

#include "client/protocol/interpreter.h"
#include "client/settings/client_texts.h"
#include "platform/messages/message_box.h"
#include "platform/registry/registry.h"

namespace veslink {

namespace {
std::string now_text() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t t = system_clock::to_time_t(now);
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm tm{};
  localtime_r(&t, &tm);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", tm.tm_year + 1900,
                tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(ms));
  return text;
}

SessionTrace*& process_trace() {
  static SessionTrace* trace = nullptr;
  return trace;
}
}  // namespace

std::string format_trace_line(const std::string& timestamp, char direction,
                              const std::uint8_t* data, std::size_t count) {
  static const char kHex[] = "0123456789abcdef";
  std::string line = timestamp;
  line += ' ';
  line += direction;
  line += ' ';
  for (std::size_t i = 0; i < SessionTrace::kBytesPerLine; ++i) {
    if (i < count) {
      line += kHex[data[i] >> 4];
      line += kHex[data[i] & 15];
      line += ' ';
    } else {
      line += "   ";
    }
  }
  line += ' ';
  for (std::size_t i = 0; i < count; ++i)
    line += data[i] >= 0x20 && data[i] < 0x7F ? static_cast<char>(data[i]) : '.';
  line += '\n';
  return line;
}

bool SessionTrace::open(const std::string& path, std::string& error) {
  file_ = std::fopen(path.c_str(), "ab");
  if (!file_) {
    error = std::strerror(errno);
    return false;
  }
  path_ = path;
  return true;
}

SessionTrace::~SessionTrace() {
  flush();
  if (file_) std::fclose(file_);
}

void SessionTrace::write_line(char direction, const std::uint8_t* data, std::size_t count) {
  if (!file_) return;
  const std::string line = format_trace_line(now_text(), direction, data, count);
  std::fwrite(line.data(), 1, line.size(), file_);
}

void SessionTrace::received(const std::uint8_t* data, std::size_t count) {
  flush();
  for (std::size_t i = 0; i < count; i += kBytesPerLine)
    write_line('<', data + i, std::min(kBytesPerLine, count - i));
  if (file_) std::fflush(file_);
}

void SessionTrace::sent(std::uint8_t byte) {
  pending_[pending_count_++] = byte;
  // Replies end with a carriage return (or are a single key byte): a line
  // per reply keeps the log readable and on disk when the client stops.
  if (pending_count_ == kBytesPerLine || byte == '\r') flush();
}

void SessionTrace::flush() {
  if (pending_count_ == 0) return;
  write_line('>', pending_, pending_count_);
  pending_count_ = 0;
  if (file_) std::fflush(file_);
}

std::string session_trace_path() {
  if (const char* env = std::getenv("VESLINK_TRACE"); env && *env) return env;
  std::string path;
  vestra::registry::Registry::process().get_string(vestra::registry::Hive::CurrentUser,
                                                   kSettingsKey, "session_trace", path);
  return path;
}

void start_session_trace(Interpreter& in) {
  const std::string path = session_trace_path();
  if (path.empty()) return;
  auto trace = std::make_unique<SessionTrace>();
  std::string error;
  if (!trace->open(path, error)) {
    vestra::messages::show_notice(kClientCaption,
                                  "Could not open the session trace file '" + path + "'\n" + error,
                                  vestra::messages::Icon::Warning);
    return;
  }
  delete process_trace();
  process_trace() = trace.release();
  in.trace = process_trace();
}

}  // namespace veslink
