// The input waits driven by host bytes and a scripted user: every way of
// leaving a field input and the bytes it answers, the rules for unchanged
// and cleared texts, limits and typed-ahead keys, pastes across fields,
// window action waits, button and character inputs, grid cell inputs, and
// waits cancelled by the host.
#include <gtest/gtest.h>

#include <algorithm>

#include "client/protocol/event_reply.h"
#include "client/screen/field_flags.h"
#include "client/settings/client_texts.h"
#include "tests/client/screen/field_harness.h"
#include "tests/support/scripted_messages.h"

namespace veslink::test {
namespace {

#define ESC "\x1b"
namespace ff = field_flag;

// Window 10 with edit 12 ("abc") at 5,3 and edit 13 ("def") at 5,4, both
// 20 wide, and push button 30 at 5,6.
class FieldInput : public ::testing::Test {
 protected:
  explicit FieldInput(int level = 2) : h(level) {
    h.feed(ESC "mcf10P12I1T20W5X3Y;abc\r" ESC "mcf10P13I1T20W5X4Y;def\r" ESC
               "mcf10P30I3T10W5X6Y;OK\r");
    h.replies();
  }
  bool contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  std::string edit(std::uint32_t n) { return h.fields.edit_text(*h.field(n)); }
  FieldHarness h;
};

struct LeaveCase {
  const char* name;
  std::uint32_t window_flags;
  std::function<void(FieldHarness&)> leave;
  const char* reply;
  bool restored;  // the edit shows "abc" again
};

TEST_F(FieldInput, EveryWayOfLeavingAFieldAfterTyping) {
  const LeaveCase cases[] = {
      {"Tab", 0, [](FieldHarness& h) { h.key(9); }, "\\end12I10P;xyz\\r", false},
      {"Enter", 0, [](FieldHarness& h) { h.key(13); }, "\\end12I10P;xyz\\r", false},
      {"Down", 0, [](FieldHarness& h) { h.key(-8); }, "\\end12I10P4S;xyz\\r", false},
      {"Page Down", 0, [](FieldHarness& h) { h.key(-4); }, "\\end12I10P1S;xyz\\r", false},
      {"F4 without OK/Finish", 0, [](FieldHarness& h) { h.key(-3); }, "\\end12I10P1S;xyz\\r",
       false},
      {"F4 with OK/Finish", 0x2000, [](FieldHarness& h) { h.key(-3); }, "\\end12I10P1S;xyz\\r",
       false},
      {"hot key F3", 0, [](FieldHarness& h) { h.key(event_code::hot_key(3)); },
       "\\end12I10P512S3F;xyz\\r", false},
      {"Shift+Tab", 0, [](FieldHarness& h) { h.key(-25); }, "\\eI", true},
      {"Shift+Tab, edited text wanted", 0x40000, [](FieldHarness& h) { h.key(-25); },
       "\\end12I10P256S;xyz\\r", false},
      {"Up", 0, [](FieldHarness& h) { h.key(-7); }, "\\x0b", true},
      {"Up, edited text wanted", 0x40000, [](FieldHarness& h) { h.key(-7); },
       "\\end12I10P8S;xyz\\r", false},
      {"Left", 0, [](FieldHarness& h) { h.key(-10); }, "\\x16", true},
      {"Left, edited text wanted", 0x40000, [](FieldHarness& h) { h.key(-10); },
       "\\end12I10P16S;xyz\\r", false},
      {"Right", 0, [](FieldHarness& h) { h.key(-9); }, "\\x0c", true},
      {"Right, edited text wanted", 0x40000, [](FieldHarness& h) { h.key(-9); },
       "\\end12I10P32S;xyz\\r", false},
      {"Page Up", 0, [](FieldHarness& h) { h.key(-2); }, "\\eJ", true},
      {"Esc", 0, [](FieldHarness& h) { h.key(27); }, "\\x1e", true},
      {"F2", 0, [](FieldHarness& h) { h.key(-5); }, "\\x01@\\r", false},
      {"click on another field", 0, [](FieldHarness& h) { h.click(13); }, "\\enmp13I5X4Y\\r", true},
      {"click on another field, edited text wanted", 0x40000, [](FieldHarness& h) { h.click(13); },
       "\\end12I10P64S13F;xyz\\r", false},
      {"button press", 0, [](FieldHarness& h) { h.press(30); }, "\\enb30I5X6Y\\r", true},
      {"button press, edited text wanted", 0x40000, [](FieldHarness& h) { h.press(30); },
       "\\end12I10P128S30F;xyz\\r", false},
  };
  for (const LeaveCase& c : cases) {
    SCOPED_TRACE(c.name);
    h.feed(ESC "maf10P12I;abc\r" ESC "muw10I1T262144F\r" ESC "muw10I1T8192F\r");
    if (c.window_flags) h.feed(ESC "muw10I" + std::to_string(c.window_flags) + "F\r");
    h.type("xyz");
    c.leave(h);
    h.feed(ESC "mif10P12I\r");
    EXPECT_EQ(h.replies(), c.reply);
    EXPECT_EQ(edit(12), c.restored ? "abc" : "xyz");
    EXPECT_EQ(h.steps_left(), 0u);
    EXPECT_EQ(h.starved, 0);
    EXPECT_FALSE(h.model.keys.waiting()) << "the wait is over";
    EXPECT_EQ(h.layer().input_field(), nullptr);
  }
}

TEST_F(FieldInput, TheSpecialOkAndCancelButtons) {
  h.feed(ESC "mcf10P2130706433I3T4W30X6Y;OK\r" ESC "mcf10P2130706434I3T4W40X6Y;Cancel\r");
  h.type("new");
  h.press(2130706433);
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(h.replies(), "\\end12I10P2S;new\\r") << "OK returns the text with reason 2";
  h.type("other");
  h.press(2130706434);
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(h.replies(), "\\x1e") << "Cancel ends the input as Esc does";
  EXPECT_EQ(edit(12), "new");
}

TEST_F(FieldInput, UnchangedAndClearedTexts) {
  struct Case {
    const char* name;
    const char* input_flags;
    std::int16_t key;
    const char* reply;
  };
  const Case cases[] = {
      {"Enter on an unchanged text answers an empty text", "", 13, "\\end12I10P;\\r"},
      {"Tab likewise", "", 9, "\\end12I10P;\\r"},
      {"Down on an unchanged text: the event only", "", -8, "\\n"},
      {"Page Down likewise", "", -4, "\\eK"},
      {"with bit 0x1 the unchanged text is returned", "1F", 13, "\\end12I10P;abc\\r"},
      {"with bit 0x1, Down returns it with its reason", "1F", -8, "\\end12I10P4S;abc\\r"},
      {"with bits 0x21, Down on an unchanged text is the event", "33F", -8, "\\n"},
      {"with bits 0x21, Up is the event as always", "33F", -7, "\\x0b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    h.key(c.key);
    h.feed(std::string(ESC "mif10P12I") + c.input_flags + "\r");
    EXPECT_EQ(h.replies(), c.reply);
    EXPECT_EQ(edit(12), "abc");
  }
  // A text the user cleared is a single blank, so the host sees the change.
  h.then([this] { h.fields.edits[h.field(12)].text.clear(); });
  h.key(13);
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(h.replies(), "\\end12I10P; \\r");
  // An empty field left empty is not a change.
  h.key(13);
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(h.replies(), "\\end12I10P;\\r");
}

TEST_F(FieldInput, F4FinishesOnlyWhereTheWindowAllowsIt) {
  h.key(-3);
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(h.replies(), "\\eK") << "without window flag 0x2000 F4 pages down";
  h.feed(ESC "muw10I8192F\r");
  h.key(-3);
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(h.replies(), "\\eF");
}

TEST_F(FieldInput, CarriageReturnsAreDroppedAndMultiRowEditsKeepTheirLines) {
  h.type("a\rb");
  h.key(9);
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(h.replies(), "\\end12I10P;ab\\r");

  // Several rows: Enter and Tab are part of the text; Page Down ends it.
  h.feed(ESC "mcf10P14I1T20W3H30X8Y\r");
  h.type("one");
  h.key(13);
  h.type("two");
  h.key(9);
  h.key(-4);
  h.feed(ESC "mif10P14I\r");
  EXPECT_EQ(h.replies(), "\\end14I10P1S;one\\ntwo\\x09\\r");
}

TEST_F(FieldInput, ARefusedEventStartsTheInputAgain) {
  h.key(-13);  // no reply of its own: refused silently
  h.type("ok");
  h.key(9);
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(h.replies(), "\\end12I10P;ok\\r");
  const auto lines = h.ui_lines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "begin 12 select 20"), 2);
  EXPECT_FALSE(contains(h.calls(), "bell")) << "no bell for a silent refusal";
}

TEST_F(FieldInput, LimitsAndTheBufferThatIsTooLarge) {
  h.type("abcdefgh");
  h.key(13);
  h.feed(ESC "mif10P12I5M\r");
  EXPECT_EQ(h.replies(), "\\end12I10P;abcde\\r") << "M limits the input";
  EXPECT_TRUE(contains(h.ui_lines(), "begin 12 select 5"));

  // Without M the field's width limits it; the field's own M comes first.
  h.key(13);
  h.feed(ESC "mif10P13I\r");
  EXPECT_TRUE(contains(h.ui_lines(), "begin 13 select 20"));
  h.replies();
  h.feed(ESC "mcf10P13I1T20W5X4Y7M\r");
  h.key(13);
  h.feed(ESC "mif10P13I\r");
  EXPECT_TRUE(contains(h.ui_lines(), "begin 13 select 7"));
  h.replies();

  // A longer text the host gave is returned no longer than the input takes.
  h.feed(ESC "maf10P12I;abcdefghij\r");
  h.key(13);
  h.feed(ESC "mif10P12I1F4M\r");
  EXPECT_EQ(h.replies(), "\\end12I10P;abcd\\r");

  vestra::test::ScriptedMessages boxes;
  h.feed(ESC "mif10P12I65501M\r");
  EXPECT_EQ(h.replies(), "\\x1e");
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, "Input buffer too large!");
  EXPECT_EQ(boxes.shown()[0].caption, kClientCaption);
  EXPECT_FALSE(h.model.keys.waiting());

  // Running out of memory tells the user once and cancels the input.
  h.fields.out_of_memory = true;
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(h.replies(), "\\x1e");
  EXPECT_FALSE(h.model.keys.waiting());
  EXPECT_EQ(h.layer().input_field(), nullptr);
  ASSERT_EQ(boxes.texts().size(), 2u);
  EXPECT_EQ(boxes.texts()[1], "Out of memory!");

  h.key(13);
  h.feed(ESC "mif10P12I65500M\r");
  EXPECT_EQ(h.replies(), "\\end12I10P;\\r") << "65,500 bytes are still taken";
  EXPECT_EQ(boxes.shown().size(), 2u);
}

TEST_F(FieldInput, MissingWindowsAndFieldsAnswerTheCancelByte) {
  h.feed(ESC "mif10P99I\r");
  h.feed(ESC "mif55P12I\r");
  h.feed(ESC "mif10P\r");     // no focused field yet
  h.feed(ESC "mif10P30I\r");  // a push button takes no typing
  EXPECT_EQ(h.replies(), "\\x1e\\x1e\\x1e\\x1e");
  EXPECT_EQ(h.starved, 0);
  // Once a field had an input, it is the window's focused field.
  h.key(13);
  h.feed(ESC "mif10P12I\r");
  h.key(13);
  h.feed(ESC "mif10P\r");
  EXPECT_EQ(h.replies(), "\\end12I10P;\\r\\end12I10P;\\r");
}

TEST_F(FieldInput, TypedAheadKeysAreReplayedIntoTheEdit) {
  h.model.keys.push('h');
  h.model.keys.push('i');
  h.model.keys.push(13);
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(h.replies(), "\\end12I10P;hi\\r") << "replaces the selected text";
  EXPECT_EQ(h.steps_left(), 0u);

  h.model.keys.push('x');
  h.model.keys.push(-1);
  h.feed(ESC "mif10P13I\r");
  EXPECT_EQ(h.replies(), "\\x1e") << "a typed-ahead event ends the input";
  EXPECT_EQ(edit(13), "def");

  // Input flag 0x10 keeps the text unselected: typing goes after it.
  h.model.keys.push('!');
  h.model.keys.push(9);
  h.feed(ESC "mif10P13I16F\r");
  EXPECT_EQ(h.replies(), "\\end13I10P;def!\\r");
}

TEST_F(FieldInput, APastedTabSeparatedTextFillsSuccessiveFields) {
  h.then([this] { h.layer().paste("one\ttwo"); });
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(h.replies(), "\\end12I10P;one\\r");
  EXPECT_TRUE(h.layer().paste_pending());
  h.key(9);
  h.feed(ESC "mif10P13I\r");
  EXPECT_EQ(h.replies(), "\\end13I10P;two\\r");
  EXPECT_FALSE(h.layer().paste_pending());

  // A window action wait drops what is left of a paste.
  h.then([this] { h.layer().paste("a\tb"); });
  h.feed(ESC "mif10P12I\r");
  h.replies();
  h.key(-1);
  h.feed(ESC "mib10P\r");
  EXPECT_FALSE(h.layer().paste_pending());
}

TEST_F(FieldInput, AReadOnlyEditIsMadeEditableAndTheHelpTextShows) {
  h.feed(ESC "mcf10P15I1T10W5X9Y16777216F;ro\r" ESC "mhf10P15I;Type a code\r");
  ASSERT_TRUE(h.field(15)->flags & ff::kReadOnly);
  std::string status_during;
  h.then([this, &status_during] { status_during = h.model.frame.status_message; });
  h.key(13);
  h.feed(ESC "mif10P15I\r");
  EXPECT_FALSE(h.field(15)->flags & ff::kReadOnly);
  EXPECT_EQ(status_during, "Type a code") << "a program without a base window shows the help";
  EXPECT_EQ(h.model.frame.status_message, "");
}

TEST_F(FieldInput, TheHostCancelsARunningWaitAndTheNextRequestRuns) {
  // Host data keeps coming during the wait: a new field input abandons the
  // running one, which sends nothing, and runs once that has returned.
  h.type("lost");
  h.then([this] { h.feed(ESC "mif10P13I\r"); });
  h.type("kept");
  h.key(9);
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(h.replies(), "\\end13I10P;kept\\r");
  const auto lines = h.ui_lines();
  EXPECT_TRUE(contains(lines, "end 12"));
  EXPECT_FALSE(h.layer().wait_running());
  EXPECT_EQ(h.starved, 0);

  // A command that does not cancel leaves the wait alone.
  h.then([this] { h.feed(ESC "mhf10P12I;tip\r"); });
  h.key(13);
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(h.replies(), "\\end12I10P;\\r");
}

TEST_F(FieldInput, PostedRequestsRunWhenTheirMessageIsHandledUnlessCancelled) {
  std::vector<int> posted;
  h.layer().post_request = [&posted](int message) { posted.push_back(message); };
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(posted, std::vector<int>{0}) << "field input is the first private message";
  EXPECT_EQ(h.layer().requests_queued(), 1u);
  EXPECT_FALSE(h.model.keys.waiting()) << "the command itself does not wait";
  h.feed(ESC "maf10P13I;changed\r");  // cancels queued requests
  EXPECT_EQ(h.layer().requests_queued(), 0u);
  h.layer().run_requests();
  EXPECT_EQ(h.replies(), "") << "a cancelled request never runs";

  posted.clear();
  h.feed(ESC "mib10P\r" ESC "mic10P\r");
  EXPECT_EQ(posted, (std::vector<int>{1, 2}));
  EXPECT_EQ(h.layer().requests_queued(), 1u) << "the character input cancelled the other";
  h.key('k');
  h.layer().run_requests();
  EXPECT_EQ(h.replies(), "k");
  EXPECT_EQ(h.layer().requests_queued(), 0u);
  h.layer().post_request = nullptr;
}

TEST_F(FieldInput, TheFieldOrItsWindowGoingDuringTheWaitEndsItQuietly) {
  h.then([this] { h.feed(ESC "mdf10P12I\r"); });
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(h.replies(), "");
  EXPECT_FALSE(h.field(12));
  EXPECT_FALSE(h.model.keys.waiting());

  h.type("x");
  h.then([this] { h.feed(ESC "mdw10I\r"); });
  h.feed(ESC "mif10P13I\r");
  EXPECT_EQ(h.replies(), "");
  EXPECT_FALSE(h.window(10));
  EXPECT_FALSE(h.layer().wait_running());
  EXPECT_EQ(h.starved, 0);
}

// The focus rules with the rows of a scrolling area: area 5 over rows 8-11,
// row edits 70 (row 8) and 71 (row 9, the current row).
class FocusRules : public FieldInput {
 protected:
  FocusRules() {
    h.feed(ESC "mcf10P5I5T40W2X8Y4H\r" ESC "mcf10P70I1T10W3X8Y8192F;r8\r" ESC
               "mcf10P71I1T10W3X9Y8192F;r9\r" ESC "mrc10P5I9Y\r");
    h.replies();
  }
  // A click that moves the focus onto field n; the verdict is kept.
  void click_keeping(std::uint32_t n) {
    h.then([this, n] { verdict = h.layer().focus_arrived(*h.field(n)); });
  }
  FocusVerdict verdict;
};

TEST_F(FocusRules, DuringWaitsWithoutAControlInput) {
  struct Case {
    const char* name;
    std::uint32_t window_flags;
    std::uint32_t clicked;
    const char* reply;
  };
  const Case cases[] = {
      {"an ordinary field", 0, 12, "\\enb12I5X3Y\\r"},
      {"an ordinary field, change notices", 0x4000, 12, "\\enc12I\\r"},
      {"a row on the current row", 0, 71, "\\enb71I3X9Y\\r"},
      {"a row off the current row: nothing", 0, 70, "\\x1e"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    h.feed(ESC "muw10I1T16384F\r");
    if (c.window_flags) h.feed(ESC "muw10I" + std::to_string(c.window_flags) + "F\r");
    click_keeping(c.clicked);
    h.key(-1);  // ends the wait where the click did not
    h.feed(ESC "mib10P30I\r");
    EXPECT_EQ(h.replies(), c.reply);
    EXPECT_FALSE(verdict.keep);
    EXPECT_EQ(verdict.back_to, h.field(30)) << "the focus goes back to the chosen button";
    EXPECT_EQ(h.window(10)->focus, h.field(30));
    if (h.steps_left()) h.feed(ESC "mib10P30I\r");  // takes the Esc
    h.replies();
  }
}

TEST_F(FocusRules, DuringAFieldInput) {
  // An ordinary field being input, a row off the current row clicked: the
  // input ends with the press.
  h.type("x");
  click_keeping(70);
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(h.replies(), "\\enb70I3X8Y\\r");
  EXPECT_EQ(verdict.back_to, h.field(12));
  EXPECT_EQ(edit(12), "abc");

  // A row being input: an ordinary field clicked sounds the bell, another
  // row off the current row does nothing; the input goes on.
  h.calls();
  click_keeping(12);
  click_keeping(70);
  h.key(9);
  h.feed(ESC "mif10P71I\r");
  EXPECT_EQ(h.replies(), "\\end71I10P;\\r");
  const std::vector<std::string> calls = h.calls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "bell"), 1);
  EXPECT_EQ(h.window(10)->focus, h.field(71));
}

TEST_F(FocusRules, AnotherWindowsFieldGivesTheFocusBack) {
  h.feed(ESC "mcw11I20W5H\r" ESC "mcf11P12I1T10W1X1Y;other\r");
  h.then([this] { verdict = h.layer().focus_arrived(*h.field(12, 11)); });
  h.key(9);
  h.feed(ESC "mif10P13I\r");
  EXPECT_EQ(h.replies(), "\\end13I10P;\\r");
  EXPECT_FALSE(verdict.keep);
  EXPECT_EQ(verdict.back_to, h.field(13));
  EXPECT_EQ(verdict.back_window, h.window(10));
}

TEST_F(FieldInput, AWaitThatRunsOutOfEventsEndsAsAQuit) {
  // The application quitting: the wait takes Esc and answers the cancel.
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(h.replies(), "\\x1e");
  EXPECT_EQ(h.starved, 1);
  // A repeating character input ends too, after one cancel.
  h.key('a');
  h.feed(ESC "mic10P1F\r");
  EXPECT_EQ(h.replies(), "a\\x1e");
  EXPECT_EQ(h.starved, 2);
  EXPECT_FALSE(h.layer().wait_running());
}

class FieldInputLevel1 : public FieldInput {
 protected:
  FieldInputLevel1() : FieldInput(1) {}
};

TEST_F(FieldInputLevel1, InputFlagBit0BecomesFlags0x23) {
  // 0x23 has bit 0x20: Down on an unchanged text is the event only.
  h.key(-8);
  h.feed(ESC "mif10P12I1F\r");
  EXPECT_EQ(h.replies(), "\\n");
  // Bit 0x1 of 0x23: an unchanged text is returned as it is.
  h.key(13);
  h.feed(ESC "mif10P12I1F\r");
  EXPECT_EQ(h.replies(), "\\end12I10P;abc\\r");
  // F4 at level 1 is always a page down.
  h.key(-3);
  h.feed(ESC "mif10P12I\r");
  EXPECT_EQ(h.replies(), "\\eK");
  // A grid cell input converts its flags alike.
  h.feed(ESC "mcf10P50I10T30W5X12Y5H\r" ESC "mcf10P51I11T10W5X12Y50M\r");
  std::uint32_t flags = 0;
  h.layer().grid.cell_input = [&flags](ScreenField&, int, std::uint32_t f, std::uint32_t) {
    flags = f;
    return true;
  };
  h.feed(ESC "mid10P51I3Y1F\r");
  EXPECT_EQ(flags, 0x23u);
}

// Window action waits -------------------------------------------------------

class WindowAction : public FieldInput {
 protected:
  WindowAction() {
    h.feed(ESC "mcf10P31I3T10W20X6Y4096F;Save\r" ESC "mcf10P32I3T10W35X6Y4096F;Quit\r");
    h.replies();
  }
  std::uint32_t flags(std::uint32_t n) { return h.field(n)->flags & 0x1C00; }
};

TEST_F(WindowAction, TheChosenButtonTakesTheDefaultLookAndTheOthersLoseIt) {
  h.feed(ESC "muf10P30I2048F\r");  // pressed look on 30
  h.press(31);
  h.feed(ESC "mib10P\r");
  EXPECT_EQ(h.replies(), "\\enb31I20X6Y\\r");
  EXPECT_EQ(h.window(10)->focus, h.field(31)) << "the first default button";
  EXPECT_EQ(flags(31), 0x1400u);
  EXPECT_EQ(flags(30), 0u);
  EXPECT_EQ(flags(32), 0u) << "every other button loses 0x400, 0x800 and 0x1000";
  EXPECT_TRUE(contains(h.ui_lines(), "focus 31"));

  // The focused button stays the choice; a number names another.
  h.key(13);
  h.feed(ESC "mib10P\r");
  EXPECT_EQ(h.replies(), "\\r");
  EXPECT_EQ(h.window(10)->focus, h.field(31));
  h.key(-1);
  h.feed(ESC "mdf10P31I\r" ESC "mib10P32I\r");
  EXPECT_EQ(h.window(10)->focus, h.field(32));
  h.replies();
}

TEST_F(WindowAction, ANumberThatNamesNoButtonFallsBackToTheLastDefault) {
  h.feed(ESC "muf10P30I4096F\r");  // now 30, 31 and 32 are default buttons
  h.key(-1);
  h.feed(ESC "mib10P77I\r");
  EXPECT_EQ(h.window(10)->focus, h.field(32));
  EXPECT_EQ(h.replies(), "\\x1e");
}

TEST_F(WindowAction, WithoutButtonsTheWaitTakesCharacters) {
  h.feed(ESC "mdf10P30I\r" ESC "mdf10P31I\r" ESC "mdf10P32I\r");
  int mode = 0;
  h.then([this, &mode] { mode = h.model.keys.mode(); });
  h.key('q');
  h.feed(ESC "mib10P\r");
  EXPECT_EQ(h.replies(), "q");
  EXPECT_EQ(mode, wait_mode::kCharacterInput);
  EXPECT_TRUE(contains(h.ui_lines(), "focus window 10"));
}

TEST_F(WindowAction, RefusedCodesRestartTheWaitAndHiddenWindowsAreShown) {
  h.feed(ESC "muw10I1073741824F\r");
  ASSERT_TRUE(h.window(10)->hidden());
  h.key(-13);
  h.key(-6);
  h.feed(ESC "mib10P\r");
  EXPECT_EQ(h.replies(), "\\x01B\\r");
  EXPECT_FALSE(h.window(10)->hidden());
  EXPECT_EQ(h.model.current_window(), h.window(10));

  // A window with the second icon stays hidden for a window action wait;
  // a field input shows it.
  h.feed(ESC "mcw11I20W5H1073745920F\r" ESC "mcf11P40I3T5W1X1Y;Go\r" ESC "mcf11P41I1T5W1X2Y\r");
  h.key(-1);
  h.feed(ESC "mib11P\r");
  EXPECT_TRUE(h.window(11)->hidden());
  EXPECT_EQ(h.replies(), "\\x1e");
  h.key(-1);
  h.feed(ESC "mif11P41I\r");
  EXPECT_FALSE(h.window(11)->hidden());
  EXPECT_EQ(h.model.current_window(), h.window(11));
  EXPECT_EQ(h.replies(), "\\x1e");
}

// Button and character inputs ----------------------------------------------

class ChoiceInput : public FieldInput {
 protected:
  ChoiceInput() {
    h.feed(ESC "mcf10P40I12T10W5X10Y;Yes\r" ESC "mcf10P41I13T10W5X11Y;Sure\r");
    h.replies();
  }
};

TEST_F(ChoiceInput, KeysClicksAndPresses) {
  struct Case {
    const char* name;
    std::uint32_t field;
    std::function<void(FieldHarness&)> act;
    const char* reply;
  };
  const Case cases[] = {
      {"Enter", 40, [](FieldHarness& h) { h.key(13); }, "\\enr0S\\r"},
      {"a typed character", 41, [](FieldHarness& h) { h.key('y'); }, "\\enr121S\\r"},
      {"Esc", 40, [](FieldHarness& h) { h.key(27); }, "\\x1e"},
      {"Down", 41, [](FieldHarness& h) { h.key(-8); }, "\\n"},
      {"a click on the button itself", 40,
       [](FieldHarness& h) { h.then([&h] { h.layer().choice_button_clicked(*h.field(40)); }); },
       "\\enb40I5X10Y\\r"},
      {"a push button", 41, [](FieldHarness& h) { h.press(30); }, "\\enb30I5X6Y\\r"},
      {"a click on another field", 40, [](FieldHarness& h) { h.click(12); }, "\\enmp12I5X3Y\\r"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.act(h);
    h.feed(ESC "mir10P" + std::to_string(c.field) + "I\r");
    EXPECT_EQ(h.replies(), c.reply);
    EXPECT_EQ(h.steps_left(), 0u);
    EXPECT_FALSE(h.model.keys.waiting());
  }
  // A click on a button that is not the one being asked is not its click.
  h.then([this] { h.layer().choice_button_clicked(*h.field(41)); });
  h.key(13);
  h.feed(ESC "mir10P40I\r");
  EXPECT_EQ(h.replies(), "\\enr0S\\r");
}

TEST_F(ChoiceInput, OtherTypesAndMissingFields) {
  h.feed(ESC "mir10P12I\r");
  EXPECT_EQ(h.replies(), "\\x1e");
  h.feed(ESC "mir10P99I\r");
  EXPECT_EQ(h.replies(), "\\enr\\r");
  EXPECT_EQ(h.starved, 0);
}

TEST_F(ChoiceInput, ValuesFollowTheCheckedFlag) {
  h.feed(ESC "mvf10P40I\r" ESC "muf10P40I2048F\r" ESC "mvf10P40I\r");
  EXPECT_EQ(h.replies(), "\\end40I;0\\r\\end40I;1\\r");
}

TEST_F(FieldInput, CharacterInputSendsEachCharacterAsTyped) {
  h.key('a');
  h.key('b');
  h.feed(ESC "mic10P\r");
  EXPECT_EQ(h.replies(), "a") << "F 0 ends after the first character";
  EXPECT_EQ(h.steps_left(), 1u);

  // F 1 goes on until the next command cancels it.
  h.key('x');
  h.key(-7);
  h.key('y');
  h.then([this] { h.feed(ESC "maf10P12I;new\r"); });
  h.feed(ESC "mic10P1F\r");
  EXPECT_EQ(h.replies(), "bx\\x0by");
  EXPECT_EQ(h.steps_left(), 0u);
  EXPECT_EQ(h.starved, 0);
  EXPECT_EQ(h.field(12)->contents, "new");

  h.feed(ESC "mic10P2F\r");
  EXPECT_EQ(h.replies(), "") << "neither 0 nor 1: no input at all";
  EXPECT_FALSE(h.layer().wait_running());
  h.feed(ESC "mic77P\r");
  EXPECT_EQ(h.replies(), "\\x1e");

  // A hidden window with the second icon is shown for characters.
  h.feed(ESC "mcw11I20W5H1073745920F\r");
  h.key('z');
  h.feed(ESC "mic11P\r");
  EXPECT_EQ(h.replies(), "z");
  EXPECT_FALSE(h.window(11)->hidden());
}

// Grid cell inputs are the grid's; without it they answer as for a missing
// grid.
TEST_F(FieldInput, GridCellInputGoesToTheGrid) {
  h.feed(ESC "mcf10P50I10T30W5X12Y5H\r" ESC "mcf10P51I11T10W5X12Y50M\r");
  h.feed(ESC "mid10P51I3Y\r");
  EXPECT_EQ(h.replies(), "\\x1e");
  std::string asked;
  h.layer().grid.cell_input = [&](ScreenField& column, int row, std::uint32_t flags,
                                  std::uint32_t limit) {
    asked = std::to_string(column.number) + " row " + std::to_string(row) + " flags " +
            std::to_string(flags) + " limit " + std::to_string(limit);
    return true;
  };
  h.feed(ESC "mid10P51I3Y1F40M\r");
  EXPECT_EQ(asked, "51 row 3 flags 1 limit 40");
  EXPECT_EQ(h.replies(), "");
  h.feed(ESC "mid10P51I4Y\r");
  EXPECT_EQ(asked, "51 row 4 flags 0 limit 10") << "the column's width, not its grid's number";
  asked.clear();
  vestra::test::ScriptedMessages boxes;
  h.feed(ESC "mid10P51I4Y70000M\r");
  EXPECT_EQ(h.replies(), "\\x1e");
  EXPECT_EQ(asked, "");
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Input buffer too large!"});
  h.feed(ESC "mid10P50I3Y\r");  // the grid itself is no column
  EXPECT_EQ(h.replies(), "\\x1e");
}

}  // namespace
}  // namespace veslink::test
