// The field flag bits (F of ESC mcf and ESC muf) as the client uses them, the
// conversion of the older layout that hosts at protocol levels 0 and 1 send,
// and the bit groups the creation and layout rules compare. Its own file
// because the commands, the layout, the colours and every control read them.
#pragma once

#include <cstdint>

namespace veslink {

namespace field_flag {
constexpr std::uint32_t kThinBorder = 0x1;
constexpr std::uint32_t kStaticEdge = 0x2;
constexpr std::uint32_t kDialogFrame = 0x4;
constexpr std::uint32_t kAnyBorder = 0x7;
constexpr std::uint32_t kNoBorder = 0x8;
constexpr std::uint32_t kWindowColours = 0x10;  // prompts; background pictures
constexpr std::uint32_t kReverse = 0x20;
constexpr std::uint32_t kUnderline = 0x40;  // also: a flat push button
constexpr std::uint32_t kBold = 0x80;
constexpr std::uint32_t kFlashing = 0x100;  // also: a stretched picture or image
constexpr std::uint32_t kItalic = 0x200;
constexpr std::uint32_t kFocused = 0x400;  // push button drawn focused
constexpr std::uint32_t kPressed = 0x800;  // push button pressed; radio or check box checked
constexpr std::uint32_t kDefault = 0x1000;
constexpr std::uint32_t kRow = 0x2000;  // a row field of a scrolling area
constexpr std::uint32_t kCentred = 0x4000;
constexpr std::uint32_t kMinimumWidth = 0x8000;  // also: group frame without the half cell
constexpr std::uint32_t kMenuIcon = 0x10000;
constexpr std::uint32_t kRightAligned = 0x20000;
constexpr std::uint32_t kLookup = 0x100000;  // push button: focused look only with 0x400 or 0x1000
constexpr std::uint32_t kDate = 0x200000;    // push button: built-in icon
constexpr std::uint32_t kHidden = 0x400000;
constexpr std::uint32_t kAnchored = 0x800000;   // at creation only, never stored
constexpr std::uint32_t kReadOnly = 0x1000000;  // edits; push buttons: disabled
constexpr std::uint32_t kTerminalFont = 0x2000000;
constexpr std::uint32_t kHiddenText = 0x4000000;
constexpr std::uint32_t kCurrentRow = 0x8000000;
constexpr std::uint32_t kLeavesSideways = 0x10000000;
// Kept for the client's own use: a host never sets it.
constexpr std::uint32_t kClientOwn = 0x20000000;

// The bits two edits (or two prompts) must share to be the same field when
// the host paints one again at the same place.
constexpr std::uint32_t kEditSignificant = 0x703E200;
constexpr std::uint32_t kPromptSignificant = 0xD77FEFFF;
// Font style bits: underline, bold, italic, terminal font.
constexpr std::uint32_t kFontStyle = kUnderline | kBold | kItalic | kTerminalFont;
}  // namespace field_flag

// The older flag layout (levels 0 and 1) in the client's bits; old bit 0x1
// has no counterpart.
std::uint32_t convert_old_field_flags(std::uint32_t old_flags);

// The flags of ESC mcf and ESC muf for a program at `level`: converted below
// level 2, the client's own bit cleared at every level.
std::uint32_t field_flags_for_level(std::uint32_t flags, int level);

}  // namespace veslink
