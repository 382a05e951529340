// The field commands driven by host bytes: creation with its defaults,
// caps, anchoring and old flag layouts, reuse of fields painted again,
// contents items in their three forms, deletion, changes, help texts, the
// values ESC mvf answers, and the scrolling-area commands on areas and,
// through their routes, on data grids.
#include <gtest/gtest.h>

#include <algorithm>

#include "client/screen/contents_items.h"
#include "client/screen/field_flags.h"
#include "tests/client/screen/field_harness.h"

namespace veslink::test {
namespace {

#define ESC "\x1b"
namespace ff = field_flag;
namespace ft = field_type;
namespace wf = window_flag;

int count(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

// Creation -------------------------------------------------------------------

TEST(FieldCreation, TheHostsValuesWithTheirDefaultsAndCaps) {
  FieldHarness h;
  h.feed(ESC "mcf10P12I1T20W5X3Y7M9A70000E;abc\r");
  ScreenField* f = h.field(12);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->type, ft::kEdit);
  EXPECT_EQ(f->width.byte, 20);
  EXPECT_EQ(f->column.byte, 5);
  EXPECT_EQ(f->row.byte, 3);
  EXPECT_EQ(f->height.byte, 1) << "H defaults to 1";
  EXPECT_EQ(f->limit, 7u);
  EXPECT_EQ(f->a, 9);
  EXPECT_EQ(f->e, 70000u);
  EXPECT_EQ(f->contents, "abc");
  EXPECT_EQ(h.fields.edit_text(*f), "abc");

  h.feed(ESC "mcf10P13I10W2.5X4Y\r");
  ASSERT_TRUE(h.field(13));
  EXPECT_EQ(h.field(13)->type, ft::kPrompt) << "T defaults to a prompt";
  EXPECT_DOUBLE_EQ(h.field(13)->column.real, 2.5);

  h.feed(ESC "mcf10P14I2T300W400X500Y0H150S\r");
  f = h.field(14);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->width.byte, 255);
  EXPECT_DOUBLE_EQ(f->width.real, 255);
  EXPECT_EQ(f->column.byte, 255);
  EXPECT_EQ(f->row.byte, 255);
  EXPECT_EQ(f->height.byte, 1) << "H of 0 becomes 1";
  EXPECT_EQ(f->size_percent, 150);
  h.feed(ESC "mcf10P15I2T10W0X20Y100S\r");
  EXPECT_EQ(h.field(15)->size_percent, 0) << "100 percent is kept as 0";

  // Colours count only with bit 0x8000.
  h.feed(ESC "mcf10P16I2T10W0X21Y31744C33792B\r");
  EXPECT_EQ(h.field(16)->colour, 0);
  EXPECT_EQ(h.field(16)->background, 0x8400);

  // Nothing without a width, a window or with P 0.
  h.feed(ESC "mcf10P17I2T5X5Y\r" ESC "mcf10P18I0W\r" ESC "mcf0P19I10W\r" ESC "mcf55P20I10W\r");
  EXPECT_FALSE(h.field(17));
  EXPECT_FALSE(h.field(18));
  EXPECT_FALSE(h.field(19));
  EXPECT_EQ(h.replies(), "") << "creation answers nothing";
}

TEST(FieldCreation, AnAnchoredFieldHangsFromX) {
  struct Case {
    const char* name;
    std::uint32_t flags;  // 0x800000 plus the alignment
    int x, width, percent;
    double left, stored_width;
  };
  const Case cases[] = {
      {"left", 0x800000, 30, 10, 0, 30, 10},
      {"right-aligned", 0x820000, 30, 10, 0, 21, 10},
      {"centred", 0x804000, 30, 10, 0, 25, 10},
      {"right-aligned at half the width", 0x820000, 30, 20, 50, 21, 20},
      {"centred at half the width", 0x804000, 30, 20, 50, 25, 20},
      {"falls left of column 0: the width shrinks", 0x820000, 3, 10, 0, 0, 4},
      {"falls left at a percentage: the width stays", 0x820000, 2, 20, 50, 0, 20},
  };
  FieldHarness h;
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::uint32_t number = 100 + row;
    h.feed(ESC "mcf10P" + std::to_string(number) + "I2T" + std::to_string(c.flags) + "F" +
           std::to_string(c.width) + "W" + std::to_string(c.x) + "X" + std::to_string(row) + "Y" +
           std::to_string(c.percent) + "S;text\r");
    ++row;
    ScreenField* f = h.field(number);
    ASSERT_TRUE(f);
    EXPECT_DOUBLE_EQ(f->column.real, c.left);
    EXPECT_DOUBLE_EQ(f->width.real, c.stored_width);
    EXPECT_FALSE(f->flags & ff::kAnchored) << "the anchor flag is not stored";
    EXPECT_EQ(f->size_percent, 0) << "S was a width percentage";
  }
}

TEST(FieldCreation, OldFlagLayoutsAreConvertedBitByBit) {
  struct Bit {
    std::uint32_t old_bit, new_bits;
  };
  const Bit table[] = {
      {0x1, 0},
      {0x2, 0x8000},
      {0x4, 0x10000},
      {0x8, 0x4000000},
      {0x10, 0x20000},
      {0x20, 0x4000},
      {0x40, 0x1},
      {0x80, 0x2},
      {0x100, 0x4},
      {0x200, 0x8},
      {0x400, 0x10},
      {0x800, 0x20},
      {0x1000, 0x40},
      {0x2000, 0x80},
      {0x4000, 0x100},
      {0x8000, 0x200},
      {0x10000, 0x40000},
      {0x20000, 0x2000},
      {0x40000, 0x800000},
      {0x80000, 0x10000000},
      {0x100000, 0x1000000},
      {0x200000, 0x2000000},
      {0x400000, 0x1000},
      {0x800000, 0x100000},
      {0x1000000, 0x400},
      {0x2000000, 0x800},
      {0x4000000, 0x8000000},
  };
  std::uint32_t all_old = 0, all_new = 0;
  for (const Bit& b : table) {
    EXPECT_EQ(convert_old_field_flags(b.old_bit), b.new_bits) << std::hex << b.old_bit;
    all_old |= b.old_bit;
    all_new |= b.new_bits;
  }
  EXPECT_EQ(convert_old_field_flags(all_old), all_new);
  EXPECT_EQ(field_flags_for_level(0x20000080, 2), 0x80u) << "the client's own bit is cleared";
  EXPECT_EQ(field_flags_for_level(0x80, 1), 0x2u);

  // Through the command at level 1: old 0x2000 is bold, old 0x400000 a
  // default button.
  FieldHarness h(1);
  h.feed(ESC "mcf10P12I1T20W5X3Y8192F\r" ESC "mcf10P30I3T10W5X6Y4194304F;OK\r");
  EXPECT_EQ(h.field(12)->flags, ff::kBold);
  EXPECT_EQ(h.field(30)->flags, ff::kDefault);
  h.feed(ESC "muf10P12I1T8192F\r");
  EXPECT_EQ(h.field(12)->flags, 0u) << "ESC muf converts as well";
}

TEST(FieldCreation, AnEditPaintedAgainAtItsPlaceIsReusedWithItsText) {
  FieldHarness h;
  h.feed(ESC "mcf10P12I1T20W5X3Y;abc\r" ESC "mcf10P13I2T10W30X3Y;Name\r");
  ScreenField* edit = h.field(12);
  h.fields.edits[edit].text = "typed";
  h.feed(ESC "mcf10P12I1T20W5X3Y128F33792C\r");
  ASSERT_EQ(h.field(12), edit);
  EXPECT_EQ(h.fields.edit_text(*edit), "typed") << "no string: the text stays";
  EXPECT_EQ(edit->flags, ff::kBold) << "an edit takes the new flags";
  EXPECT_EQ(edit->colour, 0x8400);
  EXPECT_EQ(h.window(10)->fields.back().get(), edit) << "moved to the end of the drawing order";

  // A prompt asked for at an edit's place reuses the edit and its text goes in.
  h.feed(ESC "mcf10P12I2T20W5X3Y;Label\r");
  ASSERT_EQ(h.field(12), edit);
  EXPECT_EQ(edit->type, ft::kEdit);
  EXPECT_EQ(h.fields.edit_text(*edit), "Label");

  // A different significant bit (italic) makes a new edit; the old one goes.
  edit->help = "the old edit";
  h.feed(ESC "mcf10P12I1T20W5X3Y512F\r");
  ASSERT_TRUE(h.field(12));
  EXPECT_EQ(h.field(12)->help, "") << "a new field";
  EXPECT_EQ(h.field(12)->flags, ff::kItalic);
  EXPECT_EQ(count(h.ui_lines(), "remove 12"), 1);
  EXPECT_EQ(h.window(10)->fields.size(), 2u);
}

TEST(FieldCreation, WhatANewFieldCoversGoes) {
  FieldHarness h;
  // Prompts 20 (cells 0-9), 21 (10-19) and 22 (20-29) and edit 23 (30-39)
  // on row 2, edit 24 on row 3.
  h.feed(ESC "mcf10P20I2T10W0X2Y;a\r" ESC "mcf10P21I2T10W10X2Y;b\r" ESC
             "mcf10P22I2T10W20X2Y;c\r" ESC "mcf10P23I1T10W30X2Y\r" ESC "mcf10P24I1T10W12X3Y\r");
  // A new edit over cells 15-34 of row 2 takes prompts 21 and 22 and edit 23.
  h.feed(ESC "mcf10P25I1T20W15X2Y\r");
  EXPECT_TRUE(h.field(20)) << "touching is not covering";
  EXPECT_FALSE(h.field(21));
  EXPECT_FALSE(h.field(22));
  EXPECT_FALSE(h.field(23));
  EXPECT_TRUE(h.field(24)) << "another row";
  // A new prompt over an edit leaves the edit: only prompts give way to it.
  h.feed(ESC "mcf10P26I2T4W16X2Y;x\r");
  EXPECT_TRUE(h.field(25));
  EXPECT_TRUE(h.field(26));
  // Real cells: a field at 9.5 overlaps the one at 0-9.
  h.feed(ESC "mcf10P27I2T2W9.5X2Y;y\r");
  EXPECT_FALSE(h.field(20));
}

TEST(FieldCreation, OtherTypesAreFoundByNumberAndPercentage) {
  FieldHarness h;
  h.feed(ESC "mcf10P30I3T10W5X6Y;OK\r");
  ScreenField* button = h.field(30);
  h.feed(ESC "mcf10P30I3T12W8X7Y33792B;Fine\r");
  ASSERT_EQ(h.field(30), button) << "same type and number";
  EXPECT_EQ(button->column.byte, 8);
  EXPECT_EQ(button->width.byte, 12);
  EXPECT_EQ(button->background, 0x8400);
  EXPECT_EQ(button->extra.button.caption, "Fine");
  h.ui_lines();
  button->help = "the old button";
  h.feed(ESC "mcf10P30I3T12W8X7Y120S;Big\r");
  EXPECT_EQ(h.field(30)->help, "") << "another percentage: made again";
  EXPECT_EQ(h.field(30)->size_percent, 120);
  EXPECT_EQ(count(h.ui_lines(), "remove 30"), 1);

  // Buttons, radio buttons and check boxes without a number are numbered.
  h.feed(ESC "mcf10P0I3T5W1X9Y;A\r" ESC "mcf10P0I12T5W10X9Y;B\r" ESC "mcf10P0I3T5W20X9Y;C\r");
  std::vector<std::uint32_t> numbers;
  for (auto& f : h.window(10)->fields)
    if (f->row.byte == 9) numbers.push_back(f->number);
  EXPECT_EQ(numbers, (std::vector<std::uint32_t>{1, 2, 3}));
}

TEST(FieldCreation, AScrollingAreaGivesItsWindowAScrollBar) {
  FieldHarness h;
  h.feed(ESC "mcf10P5I5T40W2X5Y5H\r");
  EXPECT_TRUE(h.window(10)->flags & wf::kScrollBar);
  EXPECT_EQ(count(h.calls(), "relayout 10"), 1) << "the window is widened";
  h.feed(ESC "mcw11I30W10H128F\r" ESC "mcf11P5I5T20W1X1Y3H\r");
  EXPECT_FALSE(h.window(11)->flags & wf::kScrollBar) << "flag 0x80: no widening";
}

TEST(FieldCreation, ADefaultButtonTakesTheFocusOfTheCurrentWindow) {
  FieldHarness h;
  h.feed(ESC "mcf10P30I3T10W5X6Y4096F;OK\r");
  EXPECT_EQ(h.window(10)->focus, nullptr) << "not the current window yet";
  h.model.set_current_window(h.window(10));
  h.feed(ESC "mcf10P31I3T10W20X6Y4096F;Save\r");
  EXPECT_EQ(h.window(10)->focus, h.field(31));
  EXPECT_EQ(count(h.ui_lines(), "focus 31"), 1);
  h.feed(ESC "mcf10P32I3T10W35X6Y16781312F;Off\r");  // default and disabled
  EXPECT_EQ(h.window(10)->focus, h.field(31));
}

TEST(FieldCreation, FieldsShowTheirHiddenWindow) {
  FieldHarness h;
  h.feed(ESC "mcw11I20W5H1073741824F\r" ESC "mcf11P1I2T5W1X1Y;Label\r");
  EXPECT_TRUE(h.window(11)->hidden()) << "a prompt does not show it";
  h.feed(ESC "mcf11P2I1T5W1X2Y\r");
  EXPECT_FALSE(h.window(11)->hidden()) << "an edit does";
  EXPECT_TRUE(h.window(11)->visible);

  // With the second icon only radio buttons and check boxes show it.
  h.feed(ESC "mcw12I20W5H1073745920F\r" ESC "mcf12P2I1T5W1X2Y\r" ESC "mcf12P3I3T5W1X3Y;Go\r" ESC
             "mcf12P4I7T2W1X4Y;f,none.png\r" ESC "mcf12P5I5T10W8X1Y2H\r");
  EXPECT_TRUE(h.window(12)->hidden());
  h.feed(ESC "mcf12P6I13T5W10X4Y;Sure\r");
  EXPECT_FALSE(h.window(12)->hidden());

  // An old-style window is shown by a prompt too.
  h.feed(ESC "mcw13I20W5H1073741824F\r");
  h.window(13)->flags |= wf::kOldStyle;
  h.feed(ESC "mcf13P1I2T5W1X1Y;Label\r");
  EXPECT_FALSE(h.window(13)->hidden());
}

TEST(FieldCreation, APromptAtTheLeftOfTheBaseWindowIsTheStatusLine) {
  FieldHarness h(1);
  h.feed(ESC "mcf1P5I2T40W;Ready\r");
  EXPECT_EQ(h.model.frame.status_message, "Ready");
  h.feed(ESC "mcf1P6I2T10W50X;Elsewhere\r");
  EXPECT_EQ(h.model.frame.status_message, "Ready");
  h.feed(ESC "mdf1P5I\r");
  EXPECT_EQ(h.model.frame.status_message, "");
}

// Contents items -------------------------------------------------------------

TEST(ContentsItems, TheThreeFormsAndItemsWithoutAPrefix) {
  struct Case {
    const char* text;
    ItemKind previous;
    ItemKind kind;
    const char* value;
  };
  const Case cases[] = {
      {"f,C:\\pics\\logo.bmp", ItemKind::None, ItemKind::File, "C:\\pics\\logo.bmp"},
      {"t,plain data", ItemKind::None, ItemKind::Text, "plain data"},
      {"e,aGVsbG8=", ItemKind::None, ItemKind::Data, "hello"},
      {"more", ItemKind::Data, ItemKind::Data, "\x9a\x8a\xde"},
      {"next.png", ItemKind::Text, ItemKind::Text, "next.png"},
      {"logo.png", ItemKind::None, ItemKind::File, "logo.png"},
      {"x,other", ItemKind::Text, ItemKind::Text, "x,other"},
      {"t,", ItemKind::None, ItemKind::Text, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const ContentsItem item = parse_contents_item(c.text, c.previous);
    EXPECT_EQ(item.kind, c.kind);
    EXPECT_EQ(item.value, c.value);
  }
  EXPECT_TRUE(parse_contents_item("t,").empty());
}

TEST(ContentsItems, PushButtonCaptionImagesAndPlacement) {
  ButtonContents c = parse_button_contents("Sa&ve\tf,save.png\t\tt,focus\te,QUJD\tREVG\t15");
  EXPECT_EQ(c.caption, "Sa&ve");
  EXPECT_EQ(c.images[kNormalImage], (ContentsItem{ItemKind::File, "save.png"}));
  EXPECT_TRUE(c.images[kPressedImage].empty());
  EXPECT_EQ(c.images[kFocusedImage], (ContentsItem{ItemKind::Text, "focus"}));
  EXPECT_EQ(c.images[kDisabledImage], (ContentsItem{ItemKind::Data, "ABC"}));
  EXPECT_EQ(c.images[kMouseOverImage], (ContentsItem{ItemKind::Data, "DEF"}))
      << "no prefix: the kind of the item before";
  EXPECT_EQ(c.placement, 15);

  c = parse_button_contents("OK");
  EXPECT_EQ(c.caption, "OK");
  EXPECT_TRUE(c.images[kNormalImage].empty());
  EXPECT_EQ(c.placement, 0);
  EXPECT_EQ(parse_button_contents("Go\ta.png\t\t\t\t\tnone").placement, 0) << "not a number";
  EXPECT_EQ(parse_button_contents("Go\ta.png\t\t\t\t\t 7 lines").placement, 7);

  // Through the commands: creation and ESC maf parse them into the field.
  FieldHarness h;
  h.feed(ESC "mcf10P30I3T10W5X6Y;Print\tt,img\t\t\t\t\t5\r");
  EXPECT_EQ(h.field(30)->extra.button.caption, "Print");
  EXPECT_EQ(h.field(30)->extra.button.images[kNormalImage].kind, ItemKind::Text);
  EXPECT_EQ(h.field(30)->extra.button.placement, 5);
  h.feed(ESC "mcf10P40I7T4W1X1Y;f,/tmp/pic.png\r");
  EXPECT_EQ(h.field(40)->extra.picture, (ContentsItem{ItemKind::File, "/tmp/pic.png"}));
  h.feed(ESC "maf10P40I;e,eHl6\r");
  EXPECT_EQ(h.field(40)->extra.picture, (ContentsItem{ItemKind::Data, "xyz"}));
  h.feed(ESC "maf10P30I;Done\r");
  EXPECT_EQ(h.field(30)->extra.button.caption, "Done");
  EXPECT_TRUE(h.field(30)->extra.button.images[kNormalImage].empty());
}

// Contents, deletion, changes, help, values -------------------------------

TEST(FieldCommands, ContentsAreSetAndShownTrimmed) {
  FieldHarness h;
  h.feed(ESC "mcf10P12I1T20W5X3Y;abc\r" ESC "mcf10P13I1T20W5X4Y131072F\r");
  h.feed(ESC "maf10P12I;new text   \r" ESC "maf10P13I;   right\r");
  EXPECT_EQ(h.field(12)->contents, "new text   ");
  EXPECT_EQ(h.fields.edit_text(*h.field(12)), "new text") << "trailing blanks go";
  EXPECT_EQ(h.fields.edit_text(*h.field(13)), "right") << "right-aligned: leading blanks go";
  h.feed(ESC "maf10P12I\r");
  EXPECT_EQ(h.fields.edit_text(*h.field(12)), "") << "no string empties the field";
  h.feed(ESC "maf10P99I;x\r");
  EXPECT_EQ(h.replies(), "");
}

TEST(FieldCommands, DeletingFields) {
  std::vector<std::string> gone;  // outlives the harness: its end removes fields too
  FieldHarness h;
  h.feed(ESC "mcf10P50I10T30W5X12Y5H\r" ESC "mcf10P51I11T10W5X12Y50M\r" ESC
             "mcf10P52I11T10W15X12Y50M\r" ESC "mcf10P53I11T10W25X12Y77M\r");
  h.layer().grid.field_removed = [&](ScreenField& f) { gone.push_back(std::to_string(f.number)); };
  h.feed(ESC "mdf10P50I\r");
  EXPECT_EQ(gone, (std::vector<std::string>{"51", "52", "50"})) << "a grid takes its columns";
  EXPECT_TRUE(h.field(53)) << "another grid's column stays";
  h.feed(ESC "mdf10P50I\r" ESC "mdf77P53I\r");
  EXPECT_TRUE(h.field(53));
}

TEST(FieldCommands, ChangingFlagsPositionColoursAndContents) {
  FieldHarness h;
  h.feed(ESC "mcf10P12I1T20W5X3Y33792C33792B;abc\r");
  ScreenField* f = h.field(12);
  h.feed(ESC "muf10P12I640F\r");  // bold and italic
  EXPECT_EQ(f->flags, ff::kBold | ff::kItalic);
  h.feed(ESC "muf10P12I1T128F\r");
  EXPECT_EQ(f->flags, ff::kItalic);
  h.feed(ESC "muf10P12I536870912F\r");
  EXPECT_EQ(f->flags, ff::kItalic) << "the client's own bit is never set";

  h.feed(ESC "muf10P12I7X\r");
  EXPECT_EQ(f->column.byte, 7);
  EXPECT_EQ(f->row.byte, 3) << "Y defaults to 9999: unchanged";
  h.feed(ESC "muf10P12I9999X8Y\r");
  EXPECT_EQ(f->column.byte, 7);
  EXPECT_EQ(f->row.byte, 8);

  h.feed(ESC "muf10P12I16384C\r");
  EXPECT_EQ(f->colour, 0) << "0x4000 removes the own colour";
  EXPECT_EQ(f->background, 0x8400) << "B not given: unchanged";
  h.feed(ESC "muf10P12I64512B\r");
  EXPECT_EQ(f->background, 0xFC00);
  h.feed(ESC "muf10P12I1024B\r");
  EXPECT_EQ(f->background, 0xFC00) << "neither 0x8000 nor 0x4000: unchanged";

  h.feed(ESC "muf10P12I;changed\r");
  EXPECT_EQ(h.fields.edit_text(*f), "changed");

  // Pressing a push button takes its focused look away.
  h.feed(ESC "mcf10P30I3T10W5X6Y1024F;OK\r" ESC "muf10P30I2048F\r");
  EXPECT_EQ(h.field(30)->flags, ff::kPressed);

  // With S only a grid column's sort indicator is set.
  h.feed(ESC "mcf10P50I10T30W5X12Y5H\r" ESC "mcf10P51I11T10W5X12Y50M\r");
  std::vector<std::string> sorts;
  h.layer().grid.sort_indicator = [&](ScreenField& c, bool ascending) {
    sorts.push_back(std::to_string(c.number) + (ascending ? " up" : " down"));
  };
  h.feed(ESC "muf10P51I1S128F\r" ESC "muf10P51I2S\r" ESC "muf10P12I1S256F\r");
  EXPECT_EQ(sorts, (std::vector<std::string>{"51 up", "51 down"}));
  EXPECT_EQ(h.field(51)->flags, 0u);
  EXPECT_EQ(f->flags, ff::kItalic) << "S given: nothing else changes";
}

TEST(FieldCommands, HelpTexts) {
  FieldHarness h;
  h.feed(ESC "mcf10P12I1T20W5X3Y\r" ESC "mhf10P12I;Customer code\r");
  EXPECT_EQ(h.field(12)->help, "Customer code");
  h.feed(ESC "mhf10P12I\r");
  EXPECT_EQ(h.field(12)->help, "");
}

TEST(FieldCommands, ValuesAnswerTheCurrentText) {
  FieldHarness h;
  h.feed(ESC "mcf10P12I1T20W5X3Y;abc\r" ESC "mcf10P13I2T20W5X4Y;Name:\r" ESC
             "mcf10P30I3T10W5X6Y;OK\tt,img\r");
  h.fields.edits[h.field(12)].text = "typed\rhere";
  h.feed(ESC "mvf10P12I\r" ESC "mvf10P13I\r" ESC "mvf10P30I\r");
  EXPECT_EQ(h.replies(), "\\end12I;typedhere\\r\\end13I;Name:\\r\\end30I;OK\\r");
  h.feed(ESC "mvf10P\r" ESC "mvf10P99I\r" ESC "mvf55P12I\r");
  EXPECT_EQ(h.replies(), "\\x1e\\x1e\\x1e") << "no focused field, field or window";
  h.model.find_window(10)->focus = h.field(13);
  h.feed(ESC "mvf10P\r");
  EXPECT_EQ(h.replies(), "\\end13I;Name:\\r");

  // At most 511 bytes, or M when M is 512 or more.
  const std::string long_text(700, 'x');
  h.fields.edits[h.field(12)].text = long_text;
  h.feed(ESC "mvf10P12I\r");
  EXPECT_EQ(h.replies(), "\\end12I;" + std::string(511, 'x') + "\\r");
  h.feed(ESC "mvf10P12I100M\r");
  EXPECT_EQ(h.replies(), "\\end12I;" + std::string(511, 'x') + "\\r");
  h.feed(ESC "mvf10P12I600M\r");
  EXPECT_EQ(h.replies(), "\\end12I;" + std::string(600, 'x') + "\\r");
  h.feed(ESC "mvf10P12I5000M\r");
  EXPECT_EQ(h.replies(), "\\end12I;" + long_text + "\\r");
}

// Scrolling areas --------------------------------------------------------------

// Area 5 over cells 2-41 of rows 5-9; on each row edit 1r at columns 3-12
// and prompt 2r at 14-23 (r the row), all row fields; edit 60 on row 7
// outside the area.
class Areas : public ::testing::Test {
 protected:
  Areas() {
    h.feed(ESC "mcf10P5I5T40W2X5Y5H\r");
    for (int r = 5; r <= 9; ++r) {
      const std::string row = std::to_string(r);
      h.feed(ESC "mcf10P1" + row + "I1T10W3X" + row + "Y8192F;e" + row + "\r");
      h.feed(ESC "mcf10P2" + row + "I2T10W14X" + row + "Y8192F;p" + row + "\r");
    }
    h.feed(ESC "mcf10P60I1T10W45X7Y;out\r");
    h.ui_lines();
  }
  std::uint32_t current_row_fields() {
    std::uint32_t rows = 0;
    for (auto& f : h.window(10)->fields)
      if (f->flags & ff::kCurrentRow) rows |= 1u << f->row.byte;
    return rows;
  }
  // The fields' numbers on a row, in list order.
  std::string on_row(int row) {
    std::string out;
    for (auto& f : h.window(10)->fields)
      if (f->row.byte == row && f->type != ft::kScrollingArea)
        out += (out.empty() ? "" : " ") + std::to_string(f->number) + "=" + f->contents;
    return out;
  }
  FieldHarness h;
};

TEST_F(Areas, CurrentRow) {
  h.feed(ESC "mrc10P5I7Y\r");
  EXPECT_EQ(h.field(5)->current_row, 7);
  EXPECT_EQ(current_row_fields(), 1u << 7) << "edit 60 outside the area stays as it is";
  EXPECT_TRUE(h.field(17)->flags & ff::kCurrentRow);
  EXPECT_TRUE(h.field(27)->flags & ff::kCurrentRow);
  const auto lines = h.ui_lines();
  EXPECT_EQ(count(lines, "show 17"), 1);
  EXPECT_EQ(count(lines, "area 5"), 1);
  EXPECT_EQ(count(lines, "show 16"), 0) << "rows that do not change are not repainted";

  h.feed(ESC "mrc10P0I8Y\r");  // I 0: the first area
  EXPECT_EQ(current_row_fields(), 1u << 8);
  h.feed(ESC "mrc10P5I4Y\r");
  EXPECT_EQ(h.field(5)->current_row, -1) << "outside the area: no current row";
  EXPECT_EQ(current_row_fields(), 0u);
  h.feed(ESC "mrc10P5I9Y\r" ESC "mrc10P5I\r");
  EXPECT_EQ(current_row_fields(), 0u) << "999 by default: none";
  h.feed(ESC "mrc10P5I10Y\r");
  EXPECT_EQ(h.field(5)->current_row, -1) << "the row below the area";
}

TEST_F(Areas, ColumnSeparators) {
  h.feed(ESC "mrm10P5I13X\r" ESC "mrm10P5I24X\r" ESC "mrm10P5I13X\r");
  EXPECT_EQ(h.field(5)->extra.separators, (std::vector<int>{13, 24}));
  h.ui_lines();
  h.feed(ESC "mrm10P5I\r");
  EXPECT_EQ(h.ui_lines(), std::vector<std::string>{"area 5"}) << "9999: only repainted";
  h.feed(ESC "mrm10P0I30X\r");
  EXPECT_EQ(h.field(5)->extra.separators, (std::vector<int>{13, 24, 30}));
  h.feed(ESC "mrm10P77I35X\r");
  EXPECT_EQ(h.field(5)->extra.separators.size(), 3u) << "an unknown area gets nothing";

  // A second area: I 0 stays with the area last named.
  h.feed(ESC "mcf10P6I5T10W45X12Y3H\r" ESC "mrm10P6I50X\r" ESC "mrm10P0I51X\r");
  EXPECT_EQ(h.field(6)->extra.separators, (std::vector<int>{50, 51}));
  EXPECT_EQ(h.field(5)->extra.separators.size(), 3u);

  // No more separators than the window has columns.
  h.feed(ESC "mcw11I3W5H\r" ESC "mcf11P5I5T3W0X0Y3H\r");
  for (int x = 0; x < 6; ++x)
    h.feed(ESC "mrm11P5I" + std::to_string(x) + "X\r");
  EXPECT_EQ(h.field(5, 11)->extra.separators, (std::vector<int>{0, 1, 2}));
}

TEST_F(Areas, PositionIndicator) {
  h.feed(ESC "mrt10P5I40H\r");
  EXPECT_EQ(h.field(5)->extra.indicator, 40);
  h.feed(ESC "mrt10P5I0H\r");
  EXPECT_EQ(h.field(5)->extra.indicator, 1);
  h.feed(ESC "mrt10P5I250H\r");
  EXPECT_EQ(h.field(5)->extra.indicator, 100);
}

TEST_F(Areas, ScrollingMovesTheRowsAndBlanksTheOneThatComesIn) {
  h.feed(ESC "mrt10P5I10H\r" ESC "mrc10P5I7Y\r");
  h.feed(ESC "mrs10P5I5F9T\r");  // up
  EXPECT_EQ(on_row(5), "16=e6 26=p6");
  EXPECT_EQ(on_row(8), "19=e9 29=p9");
  EXPECT_EQ(on_row(9), "15= 25=") << "the row that left comes in at the bottom, blank";
  EXPECT_EQ(h.fields.edit_text(*h.field(15)), "");
  EXPECT_EQ(on_row(7), "18=e8 28=p8 60=out");
  EXPECT_EQ(h.field(5)->extra.indicator, 50);
  EXPECT_EQ(current_row_fields(), 1u << 7) << "the current row stays where it was";
  EXPECT_FALSE(h.field(17)->flags & ff::kCurrentRow);
  EXPECT_TRUE(h.field(18)->flags & ff::kCurrentRow);

  h.feed(ESC "mrs10P5I6F9T1S\r");  // rows 6-8 down, row 9 comes in at 6
  EXPECT_EQ(on_row(5), "16=e6 26=p6") << "outside F to T";
  EXPECT_EQ(on_row(6), "15= 25=");
  EXPECT_EQ(on_row(7), "17=e7 27=p7 60=out");
  EXPECT_EQ(on_row(9), "19=e9 29=p9");
}

TEST_F(Areas, ClearingRows) {
  h.feed(ESC "mrx10P5I6F7T\r");
  EXPECT_EQ(on_row(6), "16= 26=");
  EXPECT_EQ(on_row(7), "17= 27= 60=out") << "edit 60 is outside the area";
  EXPECT_EQ(on_row(8), "18=e8 28=p8");
  EXPECT_EQ(h.fields.edit_text(*h.field(17)), "");
}

TEST_F(Areas, DataGridsGetTheCommandsThroughTheirRoutes) {
  h.feed(ESC "mcw11I40W10H\r" ESC "mcf11P50I10T30W1X1Y5H\r");
  // Without the grid's module the commands do nothing.
  h.feed(ESC "mrc11P0I3Y\r" ESC "mrh11P50I3Y1S\r" ESC "mrt11P50I20H\r" ESC "mrs11P50I1F4T\r" ESC
             "mrx11P50I1F4T\r");
  EXPECT_EQ(h.replies(), "");
  std::vector<std::string> calls;
  auto add = [&calls](std::string s) { calls.push_back(std::move(s)); };
  GridRoutes& g = h.layer().grid;
  g.current_row = [&](ScreenField&, int row) { add("row " + std::to_string(row)); };
  g.mark_row = [&](ScreenField&, int row, bool on) {
    add("mark " + std::to_string(row) + (on ? " on" : " off"));
  };
  g.indicator = [&](ScreenField&, int p) { add("indicator " + std::to_string(p)); };
  g.scroll = [&](ScreenField&, int from, int to, bool down) {
    add("scroll " + std::to_string(from) + "-" + std::to_string(to) + (down ? " down" : " up"));
  };
  g.clear_rows = [&](ScreenField&, int from, int to) {
    add("clear " + std::to_string(from) + "-" + std::to_string(to));
  };
  h.feed(ESC "mrc11P0I3Y\r" ESC "mrc11P50I\r" ESC "mrh11P50I3Y1S\r" ESC "mrh11P50I4Y\r" ESC
             "mrt11P50I20H\r" ESC "mrs11P50I1F4T\r" ESC "mrs11P50I1F4T1S\r" ESC
             "mrx11P50I2F3T\r" ESC "mrm11P50I5X\r");
  EXPECT_EQ(calls,
            (std::vector<std::string>{"row 3", "row 999", "mark 3 on", "mark 4 off", "indicator 20",
                                      "scroll 1-4 up", "scroll 1-4 down", "clear 2-3"}));
  EXPECT_TRUE(h.field(50, 11)->extra.separators.empty()) << "separators are for areas only";
  // ESC mrh on a scrolling area does nothing.
  h.feed(ESC "mrh10P5I7Y1S\r");
  EXPECT_EQ(calls.size(), 8u);
}

}  // namespace
}  // namespace veslink::test
