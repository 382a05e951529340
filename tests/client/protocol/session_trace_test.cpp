// The session trace: its line format, both directions in one file, the
// environment variable winning over the setting, and a file that cannot be
// opened reported once while the client runs on.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "client/protocol/session_trace.h"
#include "client/settings/client_texts.h"
#include "platform/registry/registry.h"
#include "tests/client/protocol/protocol_harness.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace veslink::test {
namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

TEST(SessionTrace, LineFormat) {
  const std::uint8_t bytes[] = {0x1b, 'm', 'p', 'i', '1', 'P', '\r'};
  EXPECT_EQ(format_trace_line("2024-05-01 12:00:00.123", '<', bytes, sizeof bytes),
            "2024-05-01 12:00:00.123 < 1b 6d 70 69 31 50 0d" + std::string(29, ' ') + ".mpi1P.\n");
}

TEST(SessionTrace, BothDirectionsInOrder) {
  vestra::test::TempDir dir;
  const std::string path = dir.file("session.log");
  {
    SessionTrace trace;
    std::string error;
    ASSERT_TRUE(trace.open(path, error));
    ProtocolHarness h;
    h.in.trace = &trace;
    h.feed(
        "\x1bmpi1P\r"
        "0123456789abcdefXYZ");
    h.feed("\x1b ");
    h.in.send_to_host('k');  // a typed key waits for its line ...
    h.feed("k");             // ... and is written before the host's echo
  }
  const auto lines = lines_of(vestra::test::TempDir::read(path));
  ASSERT_EQ(lines.size(), 7u);
  const char* expected[] = {"< 1b 6d 70 69 31 50 0d 30 31 32 33 34 35 36 37 38  .mpi1P.012345678",
                            "< 39 61 62 63 64 65 66 58 59 5a",
                            "> 1b 6e 76 31 30 46 36 2e 35 56 31 53 0d",
                            "< 1b 20",
                            "> 36 30 0d",
                            "> 6b",
                            "< 6b"};
  for (std::size_t i = 0; i < 7; ++i)
    EXPECT_EQ(lines[i].substr(24, std::string(expected[i]).size()), expected[i]) << lines[i];
}

TEST(SessionTrace, EnvironmentWinsOverTheSetting) {
  vestra::test::TempDir dir;
  auto& reg = vestra::registry::Registry::process();
  ASSERT_TRUE(reg.set_string(vestra::registry::Hive::CurrentUser, kSettingsKey, "session_trace",
                             dir.file("setting.log"))
                  .ok());
  unsetenv("VESLINK_TRACE");
  EXPECT_EQ(session_trace_path(), dir.file("setting.log"));
  setenv("VESLINK_TRACE", dir.file("env.log").c_str(), 1);
  EXPECT_EQ(session_trace_path(), dir.file("env.log"));
  unsetenv("VESLINK_TRACE");
  reg.set_string(vestra::registry::Hive::CurrentUser, kSettingsKey, "session_trace", "");
  EXPECT_EQ(session_trace_path(), "");
}

TEST(SessionTrace, UnwritableFileIsReportedAndTracingStaysOff) {
  vestra::test::ScriptedMessages m;
  setenv("VESLINK_TRACE", "/nonexistent-dir/trace.log", 1);
  ProtocolHarness h;
  start_session_trace(h.in);
  unsetenv("VESLINK_TRACE");
  EXPECT_EQ(h.in.trace, nullptr);
  ASSERT_EQ(m.shown().size(), 1u);
  EXPECT_EQ(m.shown()[0].text.rfind("Could not open the session trace file "
                                    "'/nonexistent-dir/trace.log'",
                                    0),
            0u);
}

}  // namespace
}  // namespace veslink::test
