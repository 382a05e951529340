// The terminal dialect's input rules without a window: key codes of the
// cursor, editing and function keys with Shift and Ctrl, typed control
// characters, programmed strings, what closing sends, mouse reports with
// the activation-click rule, copying a rectangle and the bytes of a paste.
#include <gtest/gtest.h>

#include "client/terminal/char_page.h"
#include "client/terminal/function_keys.h"
#include "client/terminal/terminal_charset.h"
#include "client/terminal/terminal_keys.h"
#include "client/terminal/terminal_mouse.h"
#include "client/terminal/text_selection.h"

namespace veslink {
namespace {

#define ESC "\x1b"
using Key = TerminalKey;

struct KeyCase {
  const char* name;
  TerminalKey key;
  int number;
  bool shift;
  bool ctrl;
  std::string bytes;
};

TEST(TerminalKeys, DefaultStrings) {
  const KeyCase cases[] = {
      {"Up", Key::Up, 0, false, false, "\x0b"},
      {"Down", Key::Down, 0, false, false, "\x0a"},
      {"Left", Key::Left, 0, false, false, "\x08"},
      {"Right", Key::Right, 0, false, false, "\x0c"},
      {"Home", Key::Home, 0, false, false, "\x1e"},
      {"End", Key::End, 0, false, false, ESC "7"},
      {"Page Up", Key::PageUp, 0, false, false, ESC "J"},
      {"Page Down", Key::PageDown, 0, false, false, ESC "K"},
      {"Print has no default", Key::Print, 0, false, false, ""},
      {"Insert", Key::Insert, 0, false, false, ESC "Q"},
      {"Shift+Insert", Key::Insert, 0, true, false, ESC "E"},
      {"Delete", Key::Delete, 0, false, false, ESC "W"},
      {"Shift+Delete", Key::Delete, 0, true, false, ESC "R"},
      {"F1", Key::Function, 1, false, false, "\x01@\r"},
      {"F16", Key::Function, 16, false, false, "\x01O\r"},
      {"Shift+F2", Key::Function, 2, true, false,
       "\x01"
       "a\r"},
      {"Shift+F16", Key::Function, 16, true, false, "\x01o\r"},
      {"Ctrl+F1", Key::Function, 1, false, true, "\x01J\r"},
      {"Ctrl+F2", Key::Function, 2, false, true, "\x01K\r"},
      {"Ctrl+F6", Key::Function, 6, false, true, "\x01O\r"},
      {"Ctrl+Shift+F2", Key::Function, 2, true, true, "\x01k\r"},
      {"Ctrl+F8 only when programmed", Key::Function, 8, false, true, ""},
      {"Ctrl+Shift+F16 only when programmed", Key::Function, 16, true, true, ""},
      {"F17 is no key", Key::Function, 17, false, false, ""},
  };
  FunctionKeys keys;
  for (const KeyCase& c : cases)
    EXPECT_EQ(key_bytes(keys, c.key, c.number, c.shift, c.ctrl), c.bytes) << c.name;
}

TEST(TerminalKeys, CtrlFunctionKeysReachTheLowCodes) {
  // Ctrl+F7..F16 are key codes 1..10, Ctrl+Shift+F7..F16 11..20.
  for (int n = 7; n <= 16; ++n) {
    EXPECT_EQ(key_code(Key::Function, n, false, true), n - 6);
    EXPECT_EQ(key_code(Key::Function, n, true, true), n + 4);
  }
  FunctionKeys keys;
  keys.program(2, "ctrl-f8");
  keys.program(20, "ctrl-shift-f16");
  EXPECT_EQ(key_bytes(keys, Key::Function, 8, false, true), "ctrl-f8");
  EXPECT_EQ(key_bytes(keys, Key::Function, 16, true, true), "ctrl-shift-f16");
}

TEST(TerminalKeys, TypedCharacters) {
  struct Case {
    std::uint8_t ch;
    bool shift;
    std::string bytes;
  };
  const Case cases[] = {
      {0x08, false, "\x08"}, {0x09, false, "\x09"}, {0x09, true, ESC "I"}, {0x0D, false, "\r"},
      {0x1B, false, ESC},    {0x7F, false, "\x7f"}, {'a', false, "a"},     {'A', true, "A"},
      {0x03, false, "\x03"}, {0x0A, false, "\n"},   {0xE9, false, "\xe9"},
  };
  FunctionKeys keys;
  for (const Case& c : cases)
    EXPECT_EQ(char_bytes(keys, c.ch, c.shift), c.bytes) << int(c.ch);
  // Return goes through key code "$": a host that reprograms it changes Return.
  keys.program('$', "enter");
  EXPECT_EQ(char_bytes(keys, 0x0D, false), "enter");
}

TEST(TerminalKeys, CloseActions) {
  EXPECT_EQ(close_action(true, true, true), CloseAction::Refuse);
  EXPECT_EQ(close_action(true, false, false), CloseAction::Refuse);
  EXPECT_EQ(close_action(false, false, true), CloseAction::CloseMain);
  EXPECT_EQ(close_action(false, true, true), CloseAction::SendHome);
  EXPECT_EQ(close_action(false, true, false), CloseAction::SendExit);
}

// Mouse -----------------------------------------------------------------------------

using B = TerminalMouse::Button;

TEST(TerminalMouse, ClickAndReleaseOnOneCell) {
  TerminalMouse m;
  m.focus_gained(0);
  EXPECT_EQ(m.press(B::Left, {3, 5}, true, true, 5000), ESC "m5C3R");
  EXPECT_TRUE(m.dragging());
  EXPECT_EQ(m.release(B::Left, {3, 5}, true), ESC "M");
  EXPECT_FALSE(m.dragging());
}

TEST(TerminalMouse, DragReportsEachNewCell) {
  TerminalMouse m;
  EXPECT_EQ(m.press(B::Left, {0, 0}, true, true, 10000), ESC "m0C0R");
  EXPECT_EQ(m.move({0, 0}, true), "");
  EXPECT_EQ(m.move({1, 12}, true), ESC "m12C1R");
  EXPECT_EQ(m.move({1, 12}, true), "");
  EXPECT_EQ(m.release(B::Left, {2, 12}, true), ESC "m12C2R" ESC "M");
  // Without a drag, moving reports nothing.
  EXPECT_EQ(m.move({5, 5}, true), "");
}

TEST(TerminalMouse, DoubleClickSendsEscCAndNoReleaseCode) {
  TerminalMouse m;
  m.press(B::Left, {4, 4}, true, true, 10000);
  m.release(B::Left, {4, 4}, true);
  EXPECT_EQ(m.double_click(B::Left, {4, 4}, true, true, 10100), ESC "c");
  EXPECT_EQ(m.release(B::Left, {4, 4}, true), "");
  // On another cell the report comes first.
  m.press(B::Left, {4, 4}, true, true, 11000);
  m.release(B::Left, {4, 4}, true);
  EXPECT_EQ(m.double_click(B::Left, {4, 6}, true, true, 11100), ESC "m6C4R" ESC "c");
}

TEST(TerminalMouse, ActivationClickIsNotReported) {
  TerminalMouse m;
  m.focus_gained(1000);
  // No report sent yet: three seconds after the focus came.
  EXPECT_EQ(m.press(B::Left, {1, 1}, true, true, 1100), "");
  EXPECT_EQ(m.release(B::Left, {1, 1}, true), "");
  EXPECT_EQ(m.press(B::Left, {1, 1}, true, true, 3999), "");
  EXPECT_EQ(m.press(B::Left, {1, 1}, true, true, 4000), ESC "m1C1R");
  m.release(B::Left, {1, 1}, true);
  // Once reports have gone out, one second suffices.
  m.focus_gained(10000);
  EXPECT_EQ(m.press(B::Left, {2, 2}, true, true, 10500), "");
  EXPECT_EQ(m.double_click(B::Left, {2, 2}, true, true, 10600), "");
  EXPECT_EQ(m.press(B::Left, {2, 2}, true, true, 11000), ESC "m2C2R");
  // The right and middle buttons have no activation rule.
  m.focus_gained(20000);
  EXPECT_EQ(m.press(B::Right, {0, 0}, true, true, 20001), "\x7f");
  EXPECT_EQ(m.press(B::Middle, {0, 0}, true, true, 20001), "\r");
}

TEST(TerminalMouse, OutsideEnhancedModeOnlyTheMiddleButton) {
  TerminalMouse m;
  EXPECT_EQ(m.press(B::Left, {1, 1}, true, false, 10000), "");
  EXPECT_FALSE(m.dragging());
  EXPECT_EQ(m.press(B::Right, {1, 1}, true, false, 10000), "");
  EXPECT_EQ(m.double_click(B::Right, {1, 1}, true, false, 10000), "");
  EXPECT_EQ(m.press(B::Middle, {1, 1}, true, false, 10000), "\r");
  EXPECT_EQ(m.double_click(B::Middle, {1, 1}, true, false, 10000), "\r");
  EXPECT_EQ(m.double_click(B::Right, {1, 1}, true, true, 10000), "\x7f");
}

TEST(TerminalMouse, ModifiersOrOtherButtonsMakeNoAction) {
  TerminalMouse m;
  EXPECT_EQ(m.press(B::Left, {1, 1}, false, true, 10000), "");
  EXPECT_FALSE(m.dragging());
  EXPECT_EQ(m.press(B::Middle, {1, 1}, false, true, 10000), "");
  EXPECT_EQ(m.press(B::Right, {1, 1}, false, true, 10000), "");
}

// Copy and paste --------------------------------------------------------------------

TEST(TextSelection, RectangleRowsLoseTrailingBlanksAndJoinWithCrLf) {
  CharPage p;
  p.put_string("alpha   beta\n");
  p.put_string("  gamma\n");
  p.put_string("\n");
  p.put_string("delta epsilon");
  // Corners given in either order.
  const CellRect rect = CellRect::spanning({3, 9}, {0, 2});
  EXPECT_EQ(selection_text(p, rect), U"pha   be\r\ngamma\r\n\r\nlta epsi");
  EXPECT_EQ(selection_text(p, CellRect::spanning({1, 10}, {1, 30})), U"");
  // A rectangle beyond the page is cut to it.
  EXPECT_EQ(selection_text(p, {0, 70, 30, 200}).size(), 23u * 2);
}

TEST(TextSelection, LineDrawingCellsCopyAsBoxCharacters) {
  CharPage p;
  p.set_attribute(cell_bits::kGraphics);
  p.put_string("lqk");
  p.set_attribute(0);
  p.put_string(" \xe9");
  EXPECT_EQ(selection_text(p, {0, 0, 0, 4}), U"\u250C\u2500\u2510 \u00E9");
}

TEST(TextSelection, PasteLeavesOutLineFeeds) {
  EXPECT_EQ(paste_bytes(u"ls -l\r\necho hi\r\n"), "ls -l\recho hi\r");
  EXPECT_EQ(paste_bytes(u"one\ntwo"), "onetwo");
  EXPECT_EQ(paste_bytes(u"caf\u00E9 \u20AC \u4E2D"), "caf\xe9 \x80 ?");
  EXPECT_EQ(paste_bytes(u"\U0001F600x"), "?x");
}

TEST(TerminalCharset, BytesAndCharactersRoundTrip) {
  for (int b = 0x20; b < 0x100; ++b) {
    const char32_t ch = byte_to_unicode(static_cast<std::uint8_t>(b));
    if (b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
    EXPECT_EQ(unicode_to_byte(ch), b) << b;
  }
  EXPECT_EQ(byte_to_unicode(0x9B), U'\u203A');  // monitor mode's ESC glyph
  EXPECT_EQ(byte_to_unicode(0x01), U'\u263A');
  EXPECT_EQ(unicode_to_byte(U'\u263A'), -1);
}

}  // namespace
}  // namespace veslink
