// Field layout: the pixel rectangle of every field type from its cells,
// neighbours, scrolling-area rows, text trimming and shrinking, the field
// font table, and the colours fields and push buttons are drawn in.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <memory>

#include "client/screen/date_text.h"
#include "client/screen/field_colours.h"
#include "client/screen/field_flags.h"
#include "client/screen/field_fonts.h"
#include "client/screen/field_layout.h"
#include "client/screen/push_button.h"

namespace veslink {
namespace {

namespace ff = field_flag;
namespace ft = field_type;

// cw 10, lh 20, t 16, terminal 9 x 17, widest character 14, scroll bar 16:
// every figure differs, so a rule that takes the wrong one shows.
LayoutMetrics metrics(int cell_width = 10, int cell_height = 20) {
  LayoutMetrics m;
  m.cell_width = cell_width;
  m.cell_height = cell_height;
  m.line_height = cell_height - 4;
  m.terminal_char_width = 9;
  m.terminal_line_height = 17;
  m.max_char_width = 14;
  m.scroll_bar_width = 16;
  return m;
}

class Layout : public ::testing::Test {
 protected:
  Layout() { w.pixels = PixelRect{0, 0, 600, 400}; }
  ScreenField& add(int type, double x, double y, double width, double height = 1,
                   std::uint32_t flags = 0) {
    auto f = std::make_unique<ScreenField>();
    f->window = &w;
    f->number = static_cast<std::uint32_t>(w.fields.size() + 1);
    f->type = type;
    f->column = CellValue::of(x);
    f->row = CellValue::of(y);
    f->width = CellValue::of(width);
    f->height = CellValue::of(height);
    f->flags = flags;
    w.fields.push_back(std::move(f));
    return *w.fields.back();
  }
  PixelRect rect(ScreenField& f, const LayoutMetrics& m = metrics()) {
    return compute_field_rect(w, f, m, sizes);
  }
  ScreenWindow w;
  LayoutSizes sizes;
};

std::string show(const PixelRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) +
         "x" + std::to_string(r.height);
}

TEST(Rounding, TheFractionRule) {
  EXPECT_EQ(round_pixels(73.5), 74);
  EXPECT_EQ(round_pixels(73.49999999), 74);
  EXPECT_EQ(round_pixels(73.4999), 73);
  EXPECT_EQ(round_pixels(12), 12);
}

TEST_F(Layout, EditsPromptsAndCheckBoxesByTheirBorders) {
  struct Case {
    const char* name;
    int type;
    double width, height;
    std::uint32_t flags;
    int cell_width;
    const char* rect;
  };
  const Case cases[] = {
      {"one-cell plain prompt: max(cw, 2cw-1, 16)", ft::kPrompt, 1, 1, 0, 10, "30,42 19x16"},
      {"one-cell plain prompt, narrow cells", ft::kPrompt, 1, 1, 0, 6, "18,42 16x16"},
      {"one-cell edit: max(cw+6, 16)", ft::kEdit, 1, 1, 0, 10, "30,40 16x20"},
      {"one-cell edit, wide cells", ft::kEdit, 1, 1, 0, 12, "36,40 18x20"},
      {"plain prompt", ft::kPrompt, 10, 1, 0, 10, "30,42 100x16"},
      {"thin border", ft::kPrompt, 10, 1, ff::kThinBorder, 10, "30,41 104x18"},
      {"prompt with a static edge", ft::kPrompt, 10, 1, ff::kStaticEdge, 10, "30,40 104x20"},
      {"prompt with a dialog frame", ft::kPrompt, 10, 1, ff::kDialogFrame, 10, "30,39 104x21"},
      {"edit boxed by default", ft::kEdit, 10, 1, 0, 10, "30,40 106x20"},
      {"edit without border", ft::kEdit, 10, 1, ff::kNoBorder, 10, "30,42 100x16"},
      {"terminal-font edit without border", ft::kEdit, 10, 1, ff::kNoBorder | ff::kTerminalFont, 10,
       "30,40 90x17"},
      {"multi-row edit: whole lines and a scroll bar", ft::kEdit, 10, 3, 0, 10, "30,40 118x55"},
      {"multi-row terminal-font edit", ft::kEdit, 10, 3, ff::kTerminalFont, 10, "30,40 117x55"},
      {"three-state check box boxed by default", ft::kCheckBox, 10, 1, 0, 10, "30,40 104x20"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScreenField& f = add(c.type, 3, 2, c.width, c.height, c.flags);
    EXPECT_EQ(show(rect(f, metrics(c.cell_width))), c.rect);
    w.fields.clear();
  }
}

TEST_F(Layout, ASizePercentageScalesSingleRowFields) {
  ScreenField& f = add(ft::kPrompt, 3, 2, 10);
  f.size_percent = 150;
  // Cells of 15 x 30, lines of 24: taller than the screen's, so H x t'.
  EXPECT_EQ(show(rect(f)), "30,40 150x24");
  ScreenField& g = add(ft::kPrompt, 3, 5, 10, 2);
  g.size_percent = 150;
  EXPECT_EQ(show(rect(g)), "30,102 100x32") << "several rows: no scaling";
}

TEST_F(Layout, NarrowFieldsWithFlag0x8000GetAMinimumWidthOnce) {
  ScreenField& edit = add(ft::kEdit, 3, 2, 3, 1, ff::kMinimumWidth);
  EXPECT_EQ(show(rect(edit)), "30,40 40x20") << "one more cell";
  EXPECT_TRUE(edit.extra.right_neighbour);
  EXPECT_EQ(show(rect(edit)), "30,40 40x20") << "a later layout keeps it";
  ScreenField& wide = add(ft::kEdit, 3, 4, 5, 1, ff::kMinimumWidth);
  EXPECT_EQ(show(rect(wide)), "30,80 56x20") << "more than 4 cells: no minimum";
  ScreenField& thin = add(ft::kPrompt, 3, 6, 2, 1, ff::kMinimumWidth | ff::kThinBorder);
  EXPECT_EQ(show(rect(thin)), "27,121 30x18");
}

TEST_F(Layout, NeighboursTouchWithoutExtensions) {
  // Two thin-bordered prompts meeting at column 20.
  ScreenField& a = add(ft::kPrompt, 10, 2, 10, 1, ff::kThinBorder);
  lay_out_field(w, a, metrics(), sizes);
  EXPECT_EQ(show(a.pixels), "100,41 104x18");
  ScreenField& b = add(ft::kPrompt, 20, 2, 10, 1, ff::kThinBorder);
  const std::vector<ScreenField*> done = lay_out_field(w, b, metrics(), sizes);
  EXPECT_EQ(done, (std::vector<ScreenField*>{&b, &a})) << "the neighbour is laid out again";
  EXPECT_TRUE(a.extra.right_neighbour);
  EXPECT_TRUE(b.extra.left_neighbour);
  EXPECT_EQ(show(a.pixels), "97,41 104x18") << "extends to the left instead";
  EXPECT_EQ(show(b.pixels), "200,41 104x18");
  EXPECT_EQ(a.pixels.left + a.pixels.width, b.pixels.left + 1) << "no 3-pixel extension";

  // Plain prompts: the right one steps one pixel in, the left one has no minimum.
  ScreenField& c = add(ft::kPrompt, 0, 5, 1);
  ScreenField& d = add(ft::kPrompt, 1, 5, 10);
  lay_out_field(w, c, metrics(), sizes);
  lay_out_field(w, d, metrics(), sizes);
  EXPECT_EQ(show(c.pixels), "0,102 10x16");
  EXPECT_EQ(show(d.pixels), "11,102 99x16");

  // Other rows, and fields without borders (0x8), are no neighbours.
  ScreenField& e = add(ft::kPrompt, 30, 3, 5);
  ScreenField& g = add(ft::kEdit, 30, 2, 5, 1, ff::kNoBorder);
  lay_out_field(w, e, metrics(), sizes);
  lay_out_field(w, g, metrics(), sizes);
  EXPECT_FALSE(e.extra.left_neighbour);
  EXPECT_FALSE(g.extra.left_neighbour);
  EXPECT_FALSE(b.extra.right_neighbour);
}

TEST_F(Layout, RowsOfAScrollingAreaLiveInsideIt) {
  ScreenField& area = add(ft::kScrollingArea, 2, 5, 40, 5);
  area.pixels = rect(area);
  EXPECT_EQ(show(area.pixels), "21,99 416x101");
  area.extra.separators = {13};
  struct Case {
    const char* name;
    int type;
    double x, width;
    std::uint32_t extra_flags;
    const char* rect;
  };
  const Case cases[] = {
      {"a row edit", ft::kEdit, 14, 10, 0, "115,20 100x19"},
      {"ending at a separator", ft::kEdit, 3, 10, 0, "5,20 99x19"},
      {"reaching past the area's right edge", ft::kEdit, 38, 10, 0, "355,20 40x19"},
      {"one cell", ft::kEdit, 20, 1, 0, "175,20 19x19"},
      {"narrow with a minimum", ft::kPrompt, 20, 2, ff::kMinimumWidth, "175,20 29x19"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScreenField& f = add(c.type, c.x, 6, c.width, 1, ff::kRow | c.extra_flags);
    EXPECT_EQ(show(rect(f)), c.rect);
    EXPECT_EQ(area_of_row_field(w, f), &area);
    w.fields.pop_back();
  }
  ScreenField& outside = add(ft::kEdit, 50, 6, 5, 1, ff::kRow);
  EXPECT_EQ(area_of_row_field(w, outside), nullptr);
  EXPECT_EQ(show(rect(outside)), "500,122 50x19") << "no area: placed on the window";
}

TEST_F(Layout, PushButtons) {
  std::optional<PixelSize> normal, pressed;
  sizes.image_size = [&](const ScreenField&, int image) { return image == 0 ? normal : pressed; };
  struct Case {
    const char* name;
    double width, height;
    std::uint32_t flags;
    std::optional<PixelSize> normal, pressed;
    const char* rect;
  };
  const Case cases[] = {
      {"without images", 10, 1, 0, {}, {}, "30,40 106x20"},
      {"one cell with an image", 1, 1, 0, PixelSize{32, 24}, {}, "30,40 36x28"},
      {"one cell with a pressed image too", 1, 1, 0, PixelSize{32, 24}, PixelSize{32, 24},
       "30,40 32x24"},
      {"a wide box keeps the image's proportions", 10, 2, 0, PixelSize{32, 24}, {}, "30,40 53x40"},
      {"a narrow box likewise", 3, 3, 0, PixelSize{32, 24}, {}, "30,40 30x22"},
      {"stretched", 10, 2, ff::kFlashing, PixelSize{32, 24}, {}, "30,40 100x40"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    normal = c.normal;
    pressed = c.pressed;
    ScreenField& f = add(ft::kPushButton, 3, 2, c.width, c.height, c.flags);
    EXPECT_EQ(show(rect(f)), c.rect);
    w.fields.clear();
  }
  normal.reset();
  ScreenField& icon = add(ft::kPushButton, 3, 2, 10, 1, ff::kDate);
  icon.a = 5;
  EXPECT_TRUE(shows_builtin_icon(icon));
  EXPECT_EQ(show(rect(icon, metrics(10, 17))), "30,34 106x20") << "room for the icon";
  icon.a = 19;
  EXPECT_FALSE(shows_builtin_icon(icon));
  EXPECT_EQ(show(rect(icon, metrics(10, 17))), "30,34 106x17");
}

TEST_F(Layout, GroupFramesAreasPicturesColumnsAndChoices) {
  ScreenField& frame = add(ft::kGroupFrame, 2, 3, 10, 4);
  EXPECT_EQ(show(rect(frame)), "25,70 92x62") << "from the middle of the first cell";
  frame.flags = ff::kMinimumWidth;
  EXPECT_EQ(show(rect(frame)), "20,60 92x62");
  ScreenField& line = add(ft::kGroupFrame, 2, 3, 1, 1);
  EXPECT_EQ(show(rect(line)), "25,70 2x2");

  ScreenField& top_area = add(ft::kScrollingArea, 0, 0, 10, 2);
  EXPECT_EQ(show(rect(top_area)), "1,0 116x41");

  std::optional<PixelSize> natural = PixelSize{50, 30};
  sizes.image_size = [&](const ScreenField&, int image) {
    return image == 0 ? natural : std::nullopt;
  };
  ScreenField& pic = add(ft::kPicture, 3, 2, 1, 1, ff::kThinBorder);
  EXPECT_EQ(show(rect(pic)), "30,40 52x32");
  pic.flags = ff::kDialogFrame;
  EXPECT_EQ(show(rect(pic)), "30,40 54x34");
  ScreenField& roomy = add(ft::kPicture, 3, 2, 10, 3);
  EXPECT_EQ(show(rect(roomy)), "30,40 100x60");
  ScreenField& tall = add(ft::kPicture, 3, 2, 1, 3);
  EXPECT_EQ(show(rect(tall)), "30,40 10x60") << "too small for the picture: cells";
  ScreenField& edge = add(ft::kPicture, 55, 2, 10, 3);
  EXPECT_EQ(show(rect(edge)), "550,40 50x60") << "clipped to the window";

  ScreenField& column = add(ft::kGridColumn, 3, 2, 2);
  EXPECT_EQ(show(rect(column)), "30,40 25x20");
  ScreenField& wide_column = add(ft::kGridColumn, 3, 2, 5);
  EXPECT_EQ(show(rect(wide_column)), "30,40 50x20");

  sizes.caption_width = [](const ScreenField&) { return 40; };
  ScreenField& radio = add(ft::kRadioButton, 3, 2, 10);
  EXPECT_EQ(show(rect(radio)), "30,40 60x20");
  ScreenField& check = add(ft::kCheckBox, 3, 2, 10);
  EXPECT_EQ(show(rect(check)), "30,40 60x20");
}

// Texts ----------------------------------------------------------------------

TEST(FieldTexts, TrimmedBeforeDisplay) {
  struct Case {
    const char* name;
    int type;
    std::uint32_t flags;
    double height;
    const char* text;
    const char* shown;
  };
  const Case cases[] = {
      {"right-aligned with 0x10: blanks before the colon go", ft::kPrompt, 0x20010, 1,
       "  Name  :", "Name:"},
      {"right-aligned: leading and trailing blanks go", ft::kPrompt, 0x20000, 1, "  Name \t ",
       "Name"},
      {"right-aligned with 0x10 and 0x20: trailing blanks go", ft::kPrompt, 0x20030, 1, " Total  ",
       "Total"},
      {"right-aligned with 0x10 and 0x20 keeps blanks before a colon", ft::kPrompt, 0x20030, 1,
       "Total  :", "Total  :"},
      {"centred: trailing blanks and controls go", ft::kPrompt, 0x4000, 1, "  Mid \x01 ", "  Mid"},
      {"left-aligned prompt as it is", ft::kPrompt, 0, 1, "  Left  ", "  Left  "},
      {"edit: trailing blanks go", ft::kEdit, 0, 1, "  value  ", "  value"},
      {"right-aligned edit: leading blanks too", ft::kEdit, 0x20000, 1, "  42  ", "42"},
      {"several rows as they are", ft::kEdit, 0x20000, 3, "  a  \n", "  a  \n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScreenField f;
    f.type = c.type;
    f.flags = c.flags;
    f.height = CellValue::of(c.height);
    EXPECT_EQ(normalise_field_text(f, c.text), c.shown);
  }
  ScreenField f;
  EXPECT_EQ(normalise_field_text(f, std::string(2000, 'x')).size(), 1022u);
}

TEST(FieldTexts, DatesForTheCalendar) {
  struct Case {
    const char* text;
    std::optional<CalendarDate> date;
  };
  const Case cases[] = {
      {"3-feb-24", CalendarDate{2024, 2, 3}},
      {"  15 MAR 2024", CalendarDate{2024, 3, 15}},
      {"7/Jul/99", CalendarDate{1999, 7, 7}},
      {"1 - January / 2030   ", CalendarDate{2030, 1, 1}},
      {"12-dec", CalendarDate{2000, 12, 12}},
      {"5-mar-1900", CalendarDate{1900, 3, 5}},
      {"31/DEC/1899", std::nullopt},
      {"1-jan-2101", std::nullopt},
      {"32-jan-2020", std::nullopt},
      {"29-feb-2023", std::nullopt},
      {"29-feb-2024", CalendarDate{2024, 2, 29}},
      {"3-feb-24x", std::nullopt},
      {"3-fe-24", std::nullopt},
      {"feb 3", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parse_date_text(c.text), c.date);
  }
  EXPECT_EQ(parse_date_text("3-feb-24" + std::string(30, ' ') + "x"), (CalendarDate{2024, 2, 3}))
      << "only the first 29 characters count";
  EXPECT_EQ(format_date_text({2025, 7, 7}), "7-JUL-2025");
  EXPECT_EQ(format_date_text({2024, 3, 15}), "15-MAR-2024");
}

// Text widths scale with the size: 10 pixels a character at 100 percent;
// heights as given (the normal height at 100 percent).
TextMeasure scaling_measure(std::function<int(int)> height = [](int) { return 16; }) {
  TextMeasure m;
  m.width = [](int percent, std::string_view text) {
    return static_cast<int>(text.size()) * 10 * percent / 100;
  };
  m.height = std::move(height);
  return m;
}

TEST(FieldTexts, UpperCaseTextsShrinkToFit) {
  ScreenField f;
  f.type = ft::kPrompt;
  f.flags = ff::kThinBorder;
  f.width = CellValue::of(10);
  f.height = CellValue::of(1);
  f.pixels.width = 102;  // 100 inside the border
  EXPECT_EQ(fit_text(f, "ABCDEFGHIJKL", scaling_measure()), 80) << "20 % too wide";
  EXPECT_TRUE(f.extra.shrunk_font);
  EXPECT_EQ(f.extra.font_percent, 80);
  EXPECT_EQ(f.size_percent, 0) << "S still reads 100";
  EXPECT_EQ(fit_text(f, "AbcdefGHIJKL", scaling_measure()), 0) << "lower case: full size";
  EXPECT_FALSE(f.extra.shrunk_font);
  EXPECT_EQ(fit_text(f, "ABCDEFGHIJ   ", scaling_measure()), 0) << "trailing blanks not measured";
  EXPECT_EQ(fit_text(f, std::string(20, 'W'), scaling_measure()), 70) << "none fits: narrowest";
  EXPECT_EQ(fit_text(f, std::string(20, 'W'), scaling_measure([](int p) { return p; })), 75)
      << "70 percent of the height is below three quarters of it";
  EXPECT_EQ(
      fit_text(f, std::string(20, 'W'), scaling_measure([](int p) { return p < 80 ? 10 : 100; })),
      80)
      << "sizes whose text is too low are skipped";
  f.flags = ff::kRightAligned | ff::kThinBorder;
  EXPECT_EQ(fit_text(f, "ABCDEFGHI  ", scaling_measure()), 90)
      << "right-aligned: trailing blanks are measured";

  ScreenField plain = f;
  plain.flags = 0;
  EXPECT_FALSE(shrink_applies(plain)) << "a prompt without border or row flag";
  plain.flags = ff::kThinBorder;
  plain.width = CellValue::of(21);
  EXPECT_FALSE(shrink_applies(plain)) << "wider than 20 cells";
  plain.width = CellValue::of(10);
  plain.size_percent = 120;
  EXPECT_FALSE(shrink_applies(plain));
  ScreenField edit;
  edit.type = ft::kEdit;
  edit.width = CellValue::of(30);
  edit.height = CellValue::of(1);
  EXPECT_TRUE(shrink_applies(edit));
  edit.pixels.width = 104;
  EXPECT_EQ(inner_text_width(edit), 100) << "a boxed edit loses 4 pixels";
  edit.height = CellValue::of(2);
  EXPECT_FALSE(shrink_applies(edit));
}

// Fonts ----------------------------------------------------------------------

TEST(FieldFonts, EntriesBySizeAndStyleSharedByTheirFields) {
  QFont screen("Liberation Sans");
  screen.setPixelSize(20);
  QFont terminal("Liberation Mono");
  terminal.setPixelSize(18);
  FieldFontTable table;
  table.set_base_fonts(screen, terminal);
  EXPECT_EQ(table.acquire(0, 0), 0) << "entry 0 is the screen font";
  EXPECT_EQ(table.acquire(100, ff::kFlashing), 0) << "only style bits count";
  const int big_bold = table.acquire(150, ff::kBold);
  EXPECT_EQ(table.font(big_bold).pixelSize(), 30);
  EXPECT_TRUE(table.font(big_bold).bold());
  EXPECT_EQ(table.acquire(150, ff::kBold | ff::kReverse), big_bold);
  EXPECT_EQ(table.users(big_bold), 2);
  const int term = table.acquire(50, ff::kTerminalFont | ff::kUnderline | ff::kItalic, big_bold);
  EXPECT_EQ(table.users(big_bold), 1) << "the field gave up its old entry";
  EXPECT_EQ(table.font(term).pixelSize(), 9);
  EXPECT_EQ(table.font(term).family(), terminal.family());
  EXPECT_TRUE(table.font(term).underline());
  EXPECT_TRUE(table.font(term).italic());
  for (int p = 60; p < 200; p += 10)
    table.acquire(p, 0);
  EXPECT_GT(table.size(), 10u) << "the table grows";
  EXPECT_EQ(table.font(big_bold).pixelSize(), 30) << "entries stay where they are";
  EXPECT_EQ(table.screen_at(80).pixelSize(), 16);

  // Point-sized fonts scale too.
  QFont points("Liberation Sans");
  points.setPointSizeF(10);
  table.set_base_fonts(points, terminal);
  EXPECT_DOUBLE_EQ(table.screen_at(80).pointSizeF(), 8);
  EXPECT_DOUBLE_EQ(table.font(table.acquire(150, 0)).pointSizeF(), 15);
}

// Colours --------------------------------------------------------------------

// A scheme whose classes all differ.
FieldScheme distinct_scheme() {
  FieldScheme s;
  TerminalColours& c = s.classes;
  c.normal = {0x01, 0x02};
  c.dim_text = 0x03;
  c.input_area = {0x04, 0x05};
  c.normal_data = {0x06, 0x07};
  c.static_data = {0x08, 0x09};
  c.button = {0x0A, 0x0B};
  c.default_button = {0x0C, 0x0D};
  c.reverse = {0x0E, 0x0F};
  c.flashing = {0x10, 0x11};
  s.current_row = {0x12, 0x13};
  s.alternate_row = {0x14, 0x15};
  return s;
}

constexpr std::uint16_t kRed = 0x8000 | 31 << 10;   // 0x0000FF
constexpr std::uint16_t kBlue = 0x8000 | 31;        // 0xFF0000
constexpr std::uint16_t kGreen = 0x8000 | 31 << 5;  // 0x00FF00

std::string pair(ColourPair c) {
  char text[32];
  std::snprintf(text, sizeof text, "%X/%X", c.text, c.background);
  return text;
}

TEST(FieldColours, EditsAndPromptsByTheFirstMatchingRow) {
  const FieldScheme s = distinct_scheme();
  ScreenWindow plain_window, coloured_window;
  coloured_window.colour = kGreen;
  coloured_window.background = kBlue;
  struct Case {
    const char* name;
    int type;
    std::uint32_t flags;
    std::uint16_t c, b;
    int row;
    bool focused;
    bool coloured_window;
    const char* colours;
  };
  const Case cases[] = {
      {"the edit being input", ft::kEdit, ff::kReverse, kRed, 0, 0, true, false, "4/5"},
      {"a read-only focused edit is not input", ft::kEdit, ff::kReadOnly, 0, 0, 0, true, false,
       "8/9"},
      {"edit with own C", ft::kEdit, ff::kReverse, kRed, 0, 0, false, false, "FF/7"},
      {"edit with own C and B", ft::kEdit, 0, kRed, kBlue, 0, false, false, "FF/FF0000"},
      {"edit with own C on the current row", ft::kEdit, ff::kCurrentRow, kRed, 0, 0, false, false,
       "12/13"},
      {"reverse", ft::kEdit, ff::kReverse, 0, 0, 0, false, false, "E/F"},
      {"flashing", ft::kPrompt, ff::kFlashing, 0, 0, 0, false, false, "10/11"},
      {"current row", ft::kPrompt, ff::kCurrentRow, 0, 0, 0, false, false, "12/13"},
      {"edit with own B", ft::kEdit, 0, 0, kBlue, 0, false, false, "6/FF0000"},
      {"row edit on an odd row", ft::kEdit, ff::kRow, 0, 0, 3, false, false, "14/15"},
      {"row edit on an even row", ft::kEdit, ff::kRow, 0, 0, 4, false, false, "6/7"},
      {"read-only edit", ft::kEdit, ff::kReadOnly, 0, 0, 0, false, false, "8/9"},
      {"read-only row edit", ft::kEdit, ff::kReadOnly | ff::kRow, 0, 0, 2, false, false, "6/7"},
      {"other edits", ft::kEdit, 0, 0, 0, 0, false, false, "6/7"},
      {"prompt with own C", ft::kPrompt, ff::kThinBorder, kRed, 0, 0, false, true, "FF/FF0000"},
      {"prompt with own C and B", ft::kPrompt, 0, kRed, kGreen, 0, false, true, "FF/FF00"},
      {"row prompt", ft::kPrompt, ff::kRow, 0, 0, 2, false, false, "8/7"},
      {"row prompt with own B", ft::kPrompt, ff::kRow, 0, kBlue, 2, false, false, "8/FF0000"},
      {"row prompt on an odd row", ft::kPrompt, ff::kRow, 0, 0, 1, false, false, "14/15"},
      {"prompt with a thin border", ft::kPrompt, ff::kThinBorder, 0, 0, 0, false, false, "8/7"},
      {"prompt with a static edge", ft::kPrompt, ff::kStaticEdge, 0, 0, 0, false, false, "8/9"},
      {"prompt with 0x10", ft::kPrompt, ff::kWindowColours, 0, 0, 0, false, false, "3/2"},
      {"prompt with 0x10 in a coloured window", ft::kPrompt, ff::kWindowColours, 0, 0, 0, false,
       true, "FF00/FF0000"},
      {"other prompts", ft::kPrompt, 0, 0, 0, 0, false, false, "1/2"},
      {"other prompts in a coloured window", ft::kPrompt, 0, 0, 0, 0, false, true, "1/FF0000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScreenField f;
    f.type = c.type;
    f.flags = c.flags;
    f.colour = c.c;
    f.background = c.b;
    f.row = CellValue::of(c.row);
    f.height = CellValue::of(1);
    const ScreenWindow& w = c.coloured_window ? coloured_window : plain_window;
    EXPECT_EQ(pair(edit_or_prompt_colours(f, w, c.focused, s)), c.colours);
  }
}

TEST(FieldColours, GroupFramesAreaRowsAndCopying) {
  const FieldScheme s = distinct_scheme();
  ScreenWindow w;
  ScreenField frame;
  frame.type = ft::kGroupFrame;
  EXPECT_EQ(pair(group_frame_colours(frame, w, s)), "3/2");
  frame.colour = kRed;
  frame.background = kGreen;
  EXPECT_EQ(pair(group_frame_colours(frame, w, s)), "FF/2") << "the caption in the frame's C";
  w.colour = kGreen;
  w.background = kBlue;
  frame.colour = 0;
  EXPECT_EQ(pair(group_frame_colours(frame, w, s)), "FF00/FF0000");

  ScreenField area;
  area.current_row = 6;
  EXPECT_EQ(area_row_background(area, 4, s), 0x07u);
  EXPECT_EQ(area_row_background(area, 5, s), 0x15u);
  EXPECT_EQ(area_row_background(area, 6, s), 0x13u);
  area.background = kBlue;
  EXPECT_EQ(area_row_background(area, 5, s), 0xFF0000u);
  EXPECT_EQ(area_row_background(area, 6, s), 0x13u) << "the current row wins";

  EXPECT_EQ(pair(swapped({0x01, 0x02})), "2/1");
  EXPECT_EQ(pair(readable({0x123456, 0x123456})), "EDCBA9/123456");
}

TEST(PushButtons, StateColoursAndLook) {
  const FieldScheme s = distinct_scheme();
  ScreenWindow w;
  w.background = kBlue;
  struct Case {
    const char* name;
    std::uint32_t flags;
    std::uint32_t window_flags;
    bool chosen, over;
    ButtonState state;
    bool default_colours;
  };
  const Case cases[] = {
      {"plain", 0, 0, false, false, ButtonState::Normal, false},
      {"plain under the pointer", 0, 0, false, true, ButtonState::MouseOver, false},
      {"disabled beats everything", ff::kReadOnly | ff::kFocused, 0, true, true,
       ButtonState::Disabled, false},
      {"pressed", ff::kPressed, 0, false, false, ButtonState::Pressed, true},
      {"focused look", ff::kFocused, 0, false, false, ButtonState::Focused, true},
      {"default", ff::kDefault, 0, false, false, ButtonState::Focused, true},
      {"the chosen button", 0, 0, true, false, ButtonState::Focused, true},
      {"focused under the pointer keeps the default colours", ff::kFocused, 0, false, true,
       ButtonState::MouseOver, true},
      {"0x100000 without 0x400 and 0x1000 is never focused", ff::kLookup, 0, true, false,
       ButtonState::Normal, false},
      {"0x100000 with 0x1000 is", ff::kLookup | ff::kDefault, 0, false, false, ButtonState::Focused,
       true},
      {"a window with 0x400 has no focused buttons", ff::kDefault, 0x400, false, false,
       ButtonState::Normal, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScreenField f;
    f.type = ft::kPushButton;
    f.flags = c.flags;
    w.flags = c.window_flags;
    const ButtonLook look = button_look(f, w, c.chosen, c.over);
    EXPECT_EQ(look.state, c.state);
    EXPECT_EQ(look.default_colours, c.default_colours);
  }

  ScreenField b;
  b.type = ft::kPushButton;
  EXPECT_EQ(pair(push_button_colours(b, w, ButtonState::Normal, false, s)), "A/B");
  EXPECT_EQ(pair(push_button_colours(b, w, ButtonState::Focused, false, s)), "C/D");
  EXPECT_EQ(pair(push_button_colours(b, w, ButtonState::Pressed, false, s)), "C/D");
  EXPECT_EQ(pair(push_button_colours(b, w, ButtonState::Focused, true, s)), "A/C0C0C0")
      << "the style paints the face";
  b.colour = kRed;
  EXPECT_EQ(pair(push_button_colours(b, w, ButtonState::Normal, false, s)), "FF/B");
  b.flags = ff::kUnderline;  // flat
  EXPECT_EQ(pair(push_button_colours(b, w, ButtonState::Pressed, true, s)), "FF/FF0000");
  b.colour = 0;
  b.background = kGreen;
  EXPECT_EQ(pair(push_button_colours(b, w, ButtonState::Normal, false, s)), "1/FF00");
}

TEST(PushButtons, CaptionLines) {
  EXPECT_EQ(caption_lines("One<br>Two<BR>three", true), (QStringList{"One", "Two", "three"}));
  EXPECT_EQ(caption_lines("One<br>Two", false), QStringList{"One<br>Two"});
}

}  // namespace
}  // namespace veslink
