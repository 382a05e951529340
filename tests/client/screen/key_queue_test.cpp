// The key queue's push and pop rules in and out of input waits, and the key
// table of host windows.
#include <gtest/gtest.h>

#include "client/screen/key_queue.h"
#include "client/screen/key_translation.h"

namespace veslink {
namespace {

struct Queue {
  KeyQueue q;
  int bells = 0;
  bool shift = false;
  std::vector<std::int16_t> recorded;
  Queue() {
    q.bell = [this] { ++bells; };
    q.shift_held = [this] { return shift; };
  }
  std::vector<std::int16_t> drain() {
    std::vector<std::int16_t> out;
    while (auto c = q.take())
      out.push_back(*c);
    return out;
  }
};

TEST(KeyQueue, PushRulesDuringAWaitDependOnTheModeBits) {
  struct Case {
    const char* name;
    int mode;
    std::int16_t code;
    bool shift;
    std::vector<std::int16_t> queued;  // empty: refused with the bell
  };
  const Case cases[] = {
      {"backspace without typing", wait_mode::kFieldInput, 8, false, {}},
      {"backspace with typing", wait_mode::kCharacterInput, 8, false, {8}},
      {"tab ends every wait", wait_mode::kFieldInput, 9, false, {9}},
      {"shift+tab is back tab", wait_mode::kFieldInput, 9, true, {-25}},
      {"enter", wait_mode::kFieldInput, 13, false, {13}},
      {"line feed", wait_mode::kFieldInput, 10, false, {10}},
      {"escape is cancel", wait_mode::kFieldInput, 27, false, {-1}},
      {"a letter without typing", wait_mode::kFieldInput, 'a', false, {}},
      {"a letter with typing", wait_mode::kWindowAction, 'a', false, {'a'}},
      {"another control character", wait_mode::kButtonChoice, 7, false, {}},
      {"Insert while typing", wait_mode::kWindowAction, 3, false, {3}},
      {"Shift+Delete while typing", wait_mode::kCharacterInput, 5, false, {5}},
      {"Delete in a field input", wait_mode::kFieldInput, 4, false, {}},
      {"an event", wait_mode::kFieldInput, -20, false, {-20}},
      {"a hot key", wait_mode::kFieldInput, static_cast<std::int16_t>(0x8003), false, {-32765}},
  };
  for (const Case& c : cases) {
    Queue t;
    t.q.begin_wait(c.mode);
    t.shift = c.shift;
    const bool accepted = t.q.push(c.code);
    EXPECT_EQ(accepted, !c.queued.empty()) << c.name;
    EXPECT_EQ(t.bells, c.queued.empty() ? 1 : 0) << c.name;
    EXPECT_EQ(t.drain(), c.queued) << c.name;
  }
}

TEST(KeyQueue, TypedAheadKeysDropRepeatsAndTranslateTabAndEscape) {
  Queue t;
  EXPECT_FALSE(t.q.push(-11, true));  // an auto-repeated key is dropped quietly
  t.q.push('x');
  t.q.push(3);  // control characters wait for the next wait to judge them
  t.q.push(27);
  t.shift = true;
  t.q.push(9);
  EXPECT_EQ(t.bells, 0);
  EXPECT_EQ(t.drain(), (std::vector<std::int16_t>{'x', 3, -1, -25}));
}

TEST(KeyQueue, TheHundredthCodeRingsAndIsLost) {
  Queue t;
  for (int i = 0; i < 99; ++i)
    ASSERT_TRUE(t.q.push(static_cast<std::int16_t>('a' + i % 26)));
  EXPECT_EQ(t.q.size(), 99);
  EXPECT_FALSE(t.q.push('z'));
  EXPECT_EQ(t.bells, 1);
  EXPECT_EQ(t.q.size(), 99);
  // The ring keeps working across its end.
  for (int round = 0; round < 250; ++round) {
    ASSERT_TRUE(t.q.take());
    ASSERT_TRUE(t.q.push(static_cast<std::int16_t>(round)));
  }
  EXPECT_EQ(t.q.size(), 99);
}

TEST(KeyQueue, MacroRecordingSeesQueuedCodesButNotTheKeepAlive) {
  Queue t;
  t.q.macro_recorder = [&t](std::int16_t c) { t.recorded.push_back(c); };
  t.q.push('a');
  t.q.push(-41);
  t.q.push(27);
  EXPECT_EQ(t.recorded, (std::vector<std::int16_t>{'a', -1}));
}

TEST(KeyQueue, PopEndsOnEnterUnlessAControlRunsItsInput) {
  for (int mode : {wait_mode::kCharacterInput, wait_mode::kFieldInput}) {
    Queue t;
    t.q.begin_wait(mode);
    t.q.push(13);
    t.q.push(10);
    t.q.push(9);
    const bool control = mode & wait_mode::kControlInput;
    int loops = 0;
    auto never = [&loops] {
      ++loops;
      return false;
    };
    EXPECT_EQ(t.q.pop(never), control ? 13 : 0);
    EXPECT_EQ(t.q.pop(never), control ? 10 : 0);
    EXPECT_EQ(t.q.pop(never), 9);
    EXPECT_EQ(loops, 0);
    EXPECT_EQ(t.q.pop(never), -1) << "a quitting application ends the wait as Esc";
  }
}

TEST(KeyQueue, PopRunsTheLoopUntilACodeArrivesOrTheWaitIsAbandoned) {
  Queue t;
  t.q.begin_wait(wait_mode::kWindowAction);
  int loops = 0;
  EXPECT_EQ(t.q.pop([&] {
    if (++loops == 3) t.q.push('k');
    return true;
  }),
            'k');
  EXPECT_EQ(loops, 3);

  t.q.push('q');
  t.q.abandon();
  EXPECT_EQ(t.q.pop([] { return true; }), -28);
  // What was typed stays for the next wait.
  t.q.begin_wait(wait_mode::kWindowAction);
  EXPECT_EQ(t.q.pop([] { return true; }), 'q');
  loops = 0;
  EXPECT_EQ(t.q.pop([&] {
    if (++loops == 2) t.q.abandon();
    return true;
  }),
            -28);
}

// ---- key table ----

KeyPress key(KeyName name, int function = 0) {
  KeyPress p;
  p.key = name;
  p.function = function;
  return p;
}

TEST(KeyTranslation, TheKeyTable) {
  struct Case {
    const char* name;
    KeyPress press;
    KeyAction::Kind kind;
    std::int16_t code;
  };
  using K = KeyAction::Kind;
  auto with = [](KeyPress p, bool shift, bool ctrl, EditKind edit = EditKind::None) {
    p.shift = shift;
    p.ctrl = ctrl;
    p.edit = edit;
    return p;
  };
  const Case cases[] = {
      {"Home", key(KeyName::Home), K::Code, -1},
      {"Ctrl+Break", with(key(KeyName::Break), false, true), K::Code, -1},
      {"Clear", key(KeyName::Clear), K::Code, -36},
      {"key 0x18", key(KeyName::Key18), K::Code, -37},
      {"Page Up", key(KeyName::PageUp), K::Code, -2},
      {"Page Down in a multi-line edit",
       with(key(KeyName::PageDown), false, false, EditKind::MultiLine), K::None, 0},
      {"End", key(KeyName::End), K::Code, -3},
      {"End in an edit", with(key(KeyName::End), false, false, EditKind::SingleLine), K::None, 0},
      {"F4", key(KeyName::Function, 4), K::Code, -3},
      {"Left", key(KeyName::Left), K::Code, -10},
      {"Right in an edit", with(key(KeyName::Right), false, false, EditKind::SingleLine), K::None,
       0},
      {"Right in a sideways edit",
       with(key(KeyName::Right), false, false, EditKind::LeavesSideways), K::Code, -9},
      {"Shift+Left in a sideways edit",
       with(key(KeyName::Left), true, false, EditKind::LeavesSideways), K::None, 0},
      {"Up", key(KeyName::Up), K::Code, -7},
      {"Down in a multi-line edit", with(key(KeyName::Down), false, false, EditKind::MultiLine),
       K::None, 0},
      {"Print", key(KeyName::Print), K::Code, -11},
      {"F5", key(KeyName::Function, 5), K::Code, -11},
      {"Execute", key(KeyName::Execute), K::Code, -6},
      {"F3", key(KeyName::Function, 3), K::Code, -6},
      {"Insert", key(KeyName::Insert), K::Code, 3},
      {"Insert in an edit", with(key(KeyName::Insert), false, false, EditKind::SingleLine), K::None,
       0},
      {"Delete", key(KeyName::Delete), K::Code, 4},
      {"Shift+Delete", with(key(KeyName::Delete), true, false), K::Code, 5},
      {"F1", key(KeyName::Function, 1), K::Code, -15},
      {"Shift+F1", with(key(KeyName::Function, 1), true, false), K::Code, -5},
      {"Ctrl+Help", with(key(KeyName::Help), false, true), K::Code, -30},
      {"F2", key(KeyName::Function, 2), K::Code, -5},
      {"F6", key(KeyName::Function, 6), K::LocalUtility, 0},
      {"F7", key(KeyName::Function, 7), K::Code, -31},
      {"F8", key(KeyName::Function, 8), K::Code, -27},
      {"F9", key(KeyName::Function, 9), K::Code, -14},
      {"F10", key(KeyName::Function, 10), K::Code, -42},
      {"F11", key(KeyName::Function, 11), K::Code, -33},
      {"F12", key(KeyName::Function, 12), K::Code, -18},
      {"F13", key(KeyName::Function, 13), K::None, 0},
      {"a letter", key(KeyName::LetterOrDigit), K::Character, 0},
      {"Enter, Tab and the like", key(KeyName::Other), K::Character, 0},
  };
  for (const Case& c : cases) {
    const KeyAction a = translate_key(c.press, 0);
    EXPECT_EQ(a.kind, c.kind) << c.name;
    EXPECT_EQ(a.code, c.code) << c.name;
  }
  // Up and Down in a single-line edit queue their code and move the caret.
  EXPECT_TRUE(
      translate_key(with(key(KeyName::Up), false, false, EditKind::SingleLine), 0).control_too);
}

TEST(KeyTranslation, RepeatsCountOnlyForKeysThatMayRepeat) {
  for (int f : {1, 2, 3, 5, 7, 8, 9, 10, 11, 12}) {
    KeyPress p = key(KeyName::Function, f);
    p.auto_repeat = true;
    EXPECT_EQ(translate_key(p, 0).kind, KeyAction::Kind::None) << "F" << f;
  }
  KeyPress f4 = key(KeyName::Function, 4);
  f4.auto_repeat = true;
  EXPECT_EQ(translate_key(f4, 0).code, -3);
  KeyPress down = key(KeyName::Down);
  down.auto_repeat = true;
  EXPECT_EQ(translate_key(down, 0).code, -8);
}

bool macro_on_f2(int n) {
  return n == 2;
}

TEST(KeyTranslation, HotKeysAndMacrosComeBeforeTheTable) {
  const std::uint32_t mask = 1u << (3 - 1) | 1u << (20 - 1);
  EXPECT_EQ(translate_key(key(KeyName::Function, 3), mask).code, static_cast<std::int16_t>(0x8003));
  EXPECT_EQ(translate_key(key(KeyName::Function, 20), mask).code,
            static_cast<std::int16_t>(0x8014));
  KeyPress shifted = key(KeyName::Function, 3);
  shifted.shift = true;
  EXPECT_EQ(translate_key(shifted, mask).code, -6) << "Shift keeps the table's meaning";
  EXPECT_EQ(translate_key(key(KeyName::Function, 2), mask, macro_on_f2).kind,
            KeyAction::Kind::Macro);
}

}  // namespace
}  // namespace veslink
