// ESC vA and ESC vC: which box the host's options give, what goes back, and
// the boxes that come again until they get the answer they need.
#include <gtest/gtest.h>

#include "tests/client/protocol/protocol_harness.h"
#include "tests/support/scripted_messages.h"

namespace veslink::test {
namespace {

namespace msg = vestra::messages;
#define ESC "\x1b"

struct Shown {
  std::string caption;
  std::string text;
  msg::Buttons buttons;
  std::optional<msg::Answer> preselected;
  msg::Icon icon;
};

std::vector<Shown> boxes_of(const vestra::test::ScriptedMessages& m) {
  std::vector<Shown> out;
  for (const msg::Request& r : m.shown())
    out.push_back({r.caption, r.text, r.buttons, r.preselected, r.icon});
  return out;
}

TEST(MessageBoxes, ConfirmationWithoutTextAsksConfirmAndRepeatsOnCancel) {
  ProtocolHarness h;
  vestra::test::ScriptedMessages m;
  m.answer(msg::Answer::Cancel);
  m.answer(msg::Answer::Yes);
  h.feed(ESC "vC\r");
  const auto shown = boxes_of(m);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].caption, "VESTRA Confirmation");
  EXPECT_EQ(shown[0].text, "Confirm?");
  EXPECT_EQ(shown[0].buttons, msg::Buttons::YesNoCancel);
  EXPECT_EQ(shown[0].preselected, msg::Answer::Cancel);
  EXPECT_EQ(shown[0].icon, msg::Icon::Question);
  EXPECT_EQ(h.take(), std::vector<std::string>{"reply Y\\r"});
}

TEST(MessageBoxes, ConfirmationWithDefaultNo) {
  ProtocolHarness h;
  vestra::test::ScriptedMessages m;
  m.answer(msg::Answer::No);
  h.feed(ESC "vC N ;Delete?\r");
  const auto shown = boxes_of(m);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Delete?");
  EXPECT_EQ(shown[0].buttons, msg::Buttons::YesNo);
  EXPECT_EQ(shown[0].preselected, msg::Answer::No);
  EXPECT_EQ(h.take(), std::vector<std::string>{"reply N\\r"});
}

TEST(MessageBoxes, CancelOptionSendsTheUpKey) {
  ProtocolHarness h;
  vestra::test::ScriptedMessages m;
  m.answer(msg::Answer::Cancel);
  m.answer(msg::Answer::Cancel);
  h.feed(ESC "vCYB;Save?\r");
  h.feed(ESC "Z0+up!\x7f" ESC "vCB;Again?\r");
  const auto shown = boxes_of(m);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "Save?\n\n(CANCEL returns to the last field)");
  EXPECT_EQ(shown[0].buttons, msg::Buttons::YesNoCancel);
  EXPECT_EQ(shown[0].preselected, msg::Answer::Yes);
  // The default Up string, then the one the host programmed.
  EXPECT_EQ(h.take(), std::vector<std::string>{"reply \\x0bup!"});
}

TEST(MessageBoxes, MessagesAndAcknowledgements) {
  ProtocolHarness h;
  vestra::test::ScriptedMessages m;
  m.answer(msg::Answer::Ok);
  m.answer(msg::Answer::No);
  m.answer(msg::Answer::No);
  m.answer(msg::Answer::Yes);
  h.feed(ESC "vAY;Done\r" ESC "vA;Read this\r" ESC "vA\r" ESC "vAY;\r");
  const auto shown = boxes_of(m);
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0].caption, "VESTRA Message");
  EXPECT_EQ(shown[0].buttons, msg::Buttons::Ok);
  EXPECT_EQ(shown[0].icon, msg::Icon::Warning);
  // The acknowledgement comes back until it is answered Yes.
  for (int i = 1; i < 4; ++i) {
    EXPECT_EQ(shown[i].caption, "VESTRA Acknowledgement");
    EXPECT_EQ(shown[i].text, "Read this");
    EXPECT_EQ(shown[i].buttons, msg::Buttons::YesNo);
    EXPECT_EQ(shown[i].preselected, msg::Answer::No);
  }
  EXPECT_TRUE(h.take().empty());  // boxes without a question send nothing
}

TEST(MessageBoxes, LineFeedOrEscapeAbandonsAndLongTextsAreCut) {
  ProtocolHarness h;
  vestra::test::ScriptedMessages m;
  h.feed(ESC "vA\nafter" ESC "vCY" ESC "x");
  EXPECT_TRUE(m.shown().empty());
  EXPECT_EQ(h.rows(), std::vector<std::string>{"afterx"});
  m.answer(msg::Answer::Ok);
  h.feed(ESC "vAY;" + std::string(2000, 't') + "\r");
  ASSERT_EQ(m.shown().size(), 1u);
  EXPECT_EQ(m.shown()[0].text.size(), 1023u);  // the buffer less one byte
}

// A box is modal: host data that arrives while it is up is read after what
// its own block still held, never before.
TEST(MessageBoxes, DataArrivingDuringABoxKeepsItsOrder) {
  ProtocolHarness h;
  bool fed = false;
  auto previous = msg::set_responder([&](const msg::Request&) {
    if (!fed) {
      fed = true;
      h.feed(
          " nested\x1b"
          "m");  // a command starts while the box is up
    }
    return msg::Answer::Yes;
  });
  h.feed("\x1bvC;Go?\rafter");
  EXPECT_EQ(h.rows(), std::vector<std::string>{"after nested"});
  EXPECT_EQ(h.take(), std::vector<std::string>{"reply Y\\r"});
  h.feed("cc\r");  // ... and goes on after it
  msg::set_responder(previous);
  EXPECT_EQ(h.take(), (std::vector<std::string>{"gui on", "mcc"}));
}

}  // namespace
}  // namespace veslink::test
