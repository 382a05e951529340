// The replies: every row of the event table with its level, GUI-mode, bell
// and silent cases, the sort and filter lists, field input results, command
// results with Base64, identification, window close, resequence and
// interrupt.
#include <gtest/gtest.h>

#include "client/protocol/event_reply.h"
#include "client/protocol/host_commands.h"
#include "tests/client/protocol/protocol_harness.h"

namespace veslink::test {
namespace {

struct EventRow {
  std::int16_t code;
  bool gui;
  int level;
  std::string bytes;  // as shown()
  bool result;
  bool bell;
  std::uint32_t target = 0;
};

// A harness in the given state: a program of that level, GUI mode or not.
void prepare(ProtocolHarness& h, bool gui, int level) {
  h.in.programs.create(1, level, false);
  h.in.gui_mode = gui;
  h.in.events.click_column = 3;
  h.in.events.click_row = 4;
  h.in.events.selector = 2;
  h.in.events.aggregate_column = 5;
}

TEST(SendEvent, EveryRowOfTheEventTable) {
  const EventRow rows[] = {
      {0, false, 0, "\\r", true, false},
      {-1, false, 0, "\\x1e", true, false},
      {-2, false, 0, "\\eJ", true, false},
      {-3, true, 2, "\\eF", true, false},
      {-3, true, 1, "\\eK", true, false},  // F4 at level 1 is Page Down
      {-3, false, 4, "\\eK", true, false},
      {-4, false, 0, "\\eK", true, false},
      {-5, false, 0, "\\x01@\\r", true, false},
      {-6, false, 0, "\\x01B\\r", true, false},
      {-7, false, 0, "\\x0b", true, false},
      {-8, false, 0, "\\n", true, false},
      {-9, false, 0, "\\x0c", true, false},
      {-10, false, 0, "\\x16", true, false},
      {-11, false, 0, "\\x01D\\r", true, false},
      {-12, false, 0, "\\x01E\\r", true, false},
      {-14, false, 0, "\\x01H\\r", true, false},
      {-15, false, 0, "\\x01I\\r", true, false},
      {-16, true, 2, "\\enk3S\\r", true, false},
      {-16, true, 1, "", false, true},
      {-16, false, 2, "", false, true},
      {-18, false, 0, "\\x01K\\r", true, false},
      {-19, false, 0, "", false, false},  // no target: silently refused
      {-19, false, 0, "\\ens7I\\r", true, false, 7},
      {-20, false, 0, "\\enmp12I3X4Y\\r", true, false, 12},
      {-20, false, 0, "\\enmp3X4Y\\r", true, false},
      {-23, false, 0, "\\enmd12I3X4Y\\r", true, false, 12},
      {-23, false, 0, "\\enmd3X4Y\\r", true, false},
      {-24, false, 0, "", false, false},  // no launch request pending
      {-25, false, 0, "\\eI", true, false},
      {-26, false, 0, "\\enb30I3X4Y\\r", true, false, 30},
      {-26, false, 0, "\\enmu3X4Y\\r", true, false},
      {-27, false, 0, "\\x01G\\r", true, false},
      {-28, false, 0, "", true, false},
      {-29, false, 0, "\\ent9I2S\\r", true, false, 9},
      {-30, false, 0, "\\x01A\\r", true, false},
      {-31, false, 0, "\\x01F\\r", true, false},
      {-32, false, 0, "\\enc9I\\r", true, false, 9},
      {-33, true, 2, "\\eM", true, false},
      {-33, true, 1, "", false, true},
      {-36, true, 2, "\\eS", true, false},
      {-36, false, 2, "", false, true},
      {-37, true, 3, "\\eE", true, false},
      {-37, true, 0, "", false, true},
      {-38, true, 2, "\\eX", true, false},
      {-38, false, 4, "", false, true},
      {-39, false, 2, "\\enmr12I3X4Y\\r", true, false, 12},
      {-39, true, 1, "\\enb12I3X4Y\\r", true, false, 12},  // level 1: as a button
      {-39, true, 1, "\\enmu3X4Y\\r", true, false},
      {-40, false, 2, "\\enmR3X4Y\\r", true, false},
      {-40, true, 1, "\\enmd12I3X4Y\\r", true, false, 12},
      {-41, false, 0, "\\enk2S\\r", true, false},
      {-42, true, 2, "\\eN", true, false},
      {-42, true, 1, "", false, true},
      {-43, false, 0, "\\ena5I\\r", true, false},
      {-44, true, 0, "\\enk5S\\r", true, false},
      {-44, false, 4, "", false, true},
      {-45, true, 0, "\\enk4S\\r", true, false},
      {-45, false, 4, "", false, true},
      {-47, true, 2, "\\enk7S\\r", true, false},
      {-47, true, 1, "", false, true},
      {-48, true, 2, "\\enk8S\\r", true, false},
      {-48, false, 2, "", false, true},
      {3, false, 0, "\\eQ", true, false},
      {4, false, 0, "\\eW", true, false},
      {5, false, 0, "\\eR", true, false},
      {'a', false, 0, "a", true, false},
      {0x1B, false, 0, "\\e", true, false},
      {event_code::hot_key(3), true, 2, "\\enh3S\\r", true, false},
      {event_code::hot_key(24), false, 0, "\\enh24S\\r", true, false},
      {-13, true, 4, "", false, false},
      {-17, true, 4, "", false, false},
      {-21, true, 4, "", false, false},
      {-22, true, 4, "", false, false},
      {-46, true, 4, "", false, false},
      {-49, true, 4, "", false, false},
      {-300, true, 4, "", false, false},
      {0x100, true, 4, "", false, false},  // beyond a byte: nothing to send
  };
  for (const EventRow& row : rows) {
    SCOPED_TRACE("code " + std::to_string(row.code) + " gui " + std::to_string(row.gui) +
                 " level " + std::to_string(row.level));
    ProtocolHarness h;
    prepare(h, row.gui, row.level);
    h.in.events.target = row.target;
    EXPECT_EQ(send_event(h.in, row.code), row.result);
    std::vector<std::string> expected;
    if (row.bell) expected.push_back("bell");
    if (!row.bytes.empty()) expected.push_back("reply " + row.bytes);
    EXPECT_EQ(h.take(), expected);
  }
}

TEST(SendEvent, LaunchRequestIsSentOnceAndCounted) {
  ProtocolHarness h;
  prepare(h, true, 2);
  h.in.events.launch_pending = true;
  h.in.events.launch_command = "ap 17 x";
  EXPECT_TRUE(send_event(h.in, event_code::kLaunch));
  EXPECT_EQ(h.take(), std::vector<std::string>{"reply \\enl;ap 17 x\\r"});
  EXPECT_EQ(h.in.programs.launches_pending(), 1);
  EXPECT_FALSE(send_event(h.in, event_code::kLaunch));
  EXPECT_TRUE(h.take().empty());
  // Selecting the launched program again settles its count.
  h.in.programs.create(2, 2, false);
  h.in.programs.select(1);
  EXPECT_EQ(h.in.programs.launches_pending(), 0);
}

TEST(SendEvent, SortList) {
  ProtocolHarness h;
  prepare(h, true, 2);
  EXPECT_TRUE(send_event(h.in, event_code::kSort));
  EXPECT_EQ(h.take(), std::vector<std::string>{"reply \\eno\\r\\eno1F\\r"});
  h.in.events.sort[0] = {12, 1};
  h.in.events.sort[1] = {7, 0};
  h.in.events.sort[3] = {9, 1};  // after the first empty slot: not sent
  send_event(h.in, event_code::kSort);
  EXPECT_EQ(h.take(),
            std::vector<std::string>{"reply \\eno\\r\\eno12I1F\\r\\eno7I0F\\r\\eno1F\\r"});
  send_event(h.in, event_code::kSort);  // the list was emptied
  EXPECT_EQ(h.take(), std::vector<std::string>{"reply \\eno\\r\\eno1F\\r"});
}

TEST(SendEvent, FilterListByLevel) {
  auto fill = [](ProtocolHarness& h, int mode) {
    h.in.events.filter_mode = mode;
    h.in.events.filters = {{12, false, 0x21, std::string("ab\0cd", 5)},
                           {12, true, 0x27, "x", 255, 16777215}};
  };
  ProtocolHarness level2;
  prepare(level2, true, 2);
  fill(level2, 1);
  EXPECT_TRUE(send_event(level2.in, event_code::kFilter));
  // Below level 3: no highlight rules, no ignore-case bit; values stop at a
  // zero byte.
  EXPECT_EQ(level2.take(), std::vector<std::string>{"reply \\enf1S\\r\\enf12I1F;ab\\r\\enf1F\\r"});
  EXPECT_TRUE(level2.in.events.filters.empty());

  ProtocolHarness level3;
  prepare(level3, true, 3);
  fill(level3, 2);
  send_event(level3.in, event_code::kFilter);
  EXPECT_EQ(level3.take(), std::vector<std::string>{"reply \\enf2S\\r\\enf12I33F;ab\\r"
                                                    "\\enf12I39F255C16777215B;x\\r\\enf1F\\r"});
  fill(level3, 0);
  level3.in.events.filters.clear();
  send_event(level3.in, event_code::kFilter);
  EXPECT_EQ(level3.take(), std::vector<std::string>{"reply \\enf\\r\\enf1F\\r"});
}

TEST(Replies, FieldInputResults) {
  ProtocolHarness h;
  HostReplies& r = h.in.replies;
  r.field_input(12, 10, {}, "abc");
  r.field_input(12, 10, {exit_reason::kButton, 30}, "abc");
  r.field_input(12, 10, {exit_reason::kOtherField, 14}, "");
  r.field_input(12, 10, {exit_reason::kHotKey, 0, 3}, "abc");
  r.field_input(12, 10, {exit_reason::kDown}, "a\rb\nc");
  r.field_input(12, 10, {exit_reason::kFinish}, " ");
  EXPECT_EQ(h.take(), std::vector<std::string>{"reply \\end12I10P;abc\\r"
                                               "\\end12I10P128S30F;abc\\r"
                                               "\\end12I10P64S14F;\\r"
                                               "\\end12I10P512S3F;abc\\r"
                                               "\\end12I10P4S;ab\\nc\\r"
                                               "\\end12I10P1S; \\r"});
}

TEST(Replies, CommandResults) {
  struct Row {
    int level;
    std::string text;
    long long number;
    std::string bytes;
  };
  const Row rows[] = {
      {4, "a\tb\nc", 0, "\\enr;a\\tb\\nc\\r"},
      {4, "bell\x07", 0, "\\enr:YmVsbAc=\\r"},
      {4, "cr\r", 0, "\\enr:Y3IN\\r"},  // never cut, carried whole in Base64
      {3, "bell\x07", 0, "\\enr;bell\\x07\\r"},
      {3, "cr\rlf", 0, "\\enr;crlf\\r"},
      {2, "request", 2147418114LL, "\\enr2147418114S;request\\r"},
      {4, "", 0, "\\enr;\\r"},
  };
  for (const Row& row : rows) {
    ProtocolHarness h;
    prepare(h, true, row.level);
    h.in.replies.text_result(row.text, row.number);
    EXPECT_EQ(h.take(), std::vector<std::string>{"reply " + row.bytes}) << row.text;
  }
  ProtocolHarness h;
  h.in.replies.number_result(2147418113LL);
  h.in.replies.no_result();
  h.in.replies.number_result(0);
  h.in.replies.field_value(7, "x\ry");
  h.in.replies.launch_result(3);
  h.in.replies.cancel();
  EXPECT_EQ(h.take(), std::vector<std::string>{
                          "reply \\enr2147418113S\\r\\enr\\r\\enr0S\\r\\end7I;xy\\r3\\x1e"});
}

TEST(Replies, IdentificationFromTheVersionText) {
  EXPECT_EQ(shown(identification_reply("VESTRA Thin Client Version 6.5v1.1", {})),
            "\\env10F6.5V1S\\r");
  EXPECT_EQ(shown(identification_reply("Client Version 7.10 beta", {true, true, "10.0.0.1"})),
            "\\env14F7.10V;10.0.0.1\\r");
  const VersionDigits v = version_digits("VESTRA Thin Client Version 6.5v12.3");
  EXPECT_EQ(v.release, "6.5");
  EXPECT_EQ(v.build, "12");
}

TEST(Replies, WindowCloseResequenceAndInterrupt) {
  ProtocolHarness h;
  EXPECT_EQ(request_window_close(h.in, 10, true, false), CloseDecision::Refused);
  EXPECT_EQ(resequence_server(h.in), false);
  send_interrupt(h.in);
  EXPECT_EQ(h.take(), (std::vector<std::string>{"bell", "bell", "reply \\x10"}));

  h.in.gui_mode = true;
  EXPECT_EQ(request_window_close(h.in, 10, false, false), CloseDecision::Refused);
  EXPECT_EQ(request_window_close(h.in, 11, false, true), CloseDecision::CloseAtOnce);
  EXPECT_EQ(request_window_close(h.in, 10, true, false), CloseDecision::AskedHost);
  EXPECT_TRUE(resequence_server(h.in));
  send_interrupt(h.in);
  EXPECT_EQ(h.take(), (std::vector<std::string>{"bell", "cancel", "reply \\enk1S10P\\r", "cancel",
                                                "keys emptied", "reply \\enk0S\\r", "cancel",
                                                "keys emptied", "reply \\x10"}));
}

}  // namespace
}  // namespace veslink::test
