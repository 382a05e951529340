// Pixel geometry of host windows: the rounding rule, scroll bar and frame
// allowances, saved sizes in the registry, placement codes, and the cell
// colour codes.
#include <gtest/gtest.h>

#include "client/screen/cell_colour.h"
#include "client/screen/saved_window_size.h"
#include "client/screen/window_geometry.h"
#include "tests/support/temp_dir.h"

namespace veslink {
namespace {

ScreenWindow window_of(double w, double h, double x = 0, double y = 0, std::uint32_t flags = 0) {
  ScreenWindow win;
  win.width = CellValue::of(w);
  win.height = CellValue::of(h);
  win.column = CellValue::of(x);
  win.row = CellValue::of(y);
  win.flags = flags;
  return win;
}

TEST(WindowGeometry, CellsRoundDownThenUpFromAlmostAHalf) {
  EXPECT_EQ(cells_to_pixels(10.5, 7), 74);   // 73.5
  EXPECT_EQ(cells_to_pixels(10.2, 7), 71);   // 71.4
  EXPECT_EQ(cells_to_pixels(10.25, 7), 72);  // 71.75
  EXPECT_EQ(cells_to_pixels(0.49999999, 1), 1);
  EXPECT_EQ(cells_to_pixels(0.4999999, 1), 0);
  EXPECT_EQ(cells_to_pixels(255, 30), 7650);
}

TEST(WindowGeometry, ScrollBarFrameAndCaptionAllowances) {
  const CellPixels cells{7, 9, 20};
  const FrameMetrics frame{17, 4, 3, 22};
  WindowGeometry g = compute_window_geometry(window_of(10, 5, 2.5, 1), cells, frame, {});
  EXPECT_EQ(g.cells, (PixelRect{18, 20, 70, 100}));
  EXPECT_EQ(g.frame_width, 70 + 16);
  EXPECT_EQ(g.frame_height, 100 + 12 + 22);

  g = compute_window_geometry(window_of(10, 5, 0, 0, window_flag::kScrollBar), cells, frame, {});
  EXPECT_EQ(g.frame_width, 70 + 17 + 16);

  // Terminal-width windows count columns in the terminal font's width.
  g = compute_window_geometry(window_of(10, 5, 2, 0, window_flag::kTerminalWidth), cells, frame,
                              {});
  EXPECT_EQ(g.cells.width, 90);
  EXPECT_EQ(g.cells.left, 18);

  // Without a frame of its own only the scroll bar is added.
  g = compute_window_geometry(window_of(10, 5, 0, 0, window_flag::kScrollBar), cells, frame, {},
                              false);
  EXPECT_EQ(g.frame_width, 87);
  EXPECT_EQ(g.frame_height, 100);
}

TEST(WindowGeometry, ASavedLargerSizeEnlargesOnlyWhereItIsLarger) {
  const CellPixels cells{10, 10, 22};
  const FrameMetrics none{};
  const WindowGeometry g =
      compute_window_geometry(window_of(25, 10), cells, none, SavedSize{300, 200});
  EXPECT_EQ(g.frame_width, 300);
  EXPECT_EQ(g.frame_height, 220);
  EXPECT_EQ(g.computed_width, 250);
  EXPECT_EQ(g.computed_height, 220);
}

TEST(WindowGeometry, PlacementCodes) {
  const WorkArea area{1001, 701, 0, 0, 4};  // R 1000, B 700
  const PixelRect cells{70, 40, 0, 0};
  struct Case {
    int code;
    int left, top;
  };
  const Case cases[] = {{1, 0, 0},     {2, 400, 0},   {3, 800, 0},   {4, 0, 300},
                        {5, 400, 300}, {6, 800, 300}, {7, 0, 600},   {8, 400, 600},
                        {9, 800, 600}, {0, 435, 320}, {12, 435, 320}};
  for (const Case& c : cases) {
    const FramePosition p = place_frame(c.code, 200, 100, cells, area);
    EXPECT_EQ(p.left, c.left) << "D" << c.code;
    EXPECT_EQ(p.top, c.top) << "D" << c.code;
  }
}

TEST(WindowGeometry, CentredPlacementStaysInsideAndRightOfTheTree) {
  const WorkArea area{1001, 701, 0, 600, 4};
  // Past the right and the bottom edge.
  FramePosition p = place_frame(0, 200, 100, PixelRect{900, 650, 0, 0}, area);
  EXPECT_EQ(p.left, 798);
  EXPECT_EQ(p.top, 599);
  // The tree pane's width is kept out, but never more than leaves the base
  // work width and two frames.
  WorkArea with_tree = area;
  with_tree.tree_width = 150;
  p = place_frame(0, 200, 100, PixelRect{70, 40, 0, 0}, with_tree);
  EXPECT_EQ(p.left, 70 + 150 + (1000 - 150 - 70 - 200) / 2);
  with_tree.tree_width = 500;
  p = place_frame(0, 200, 100, PixelRect{0, 0, 0, 0}, with_tree);
  EXPECT_EQ(p.left, 393 + (1000 - 393 - 200) / 2);
  // A frame larger than the work area starts at its corner.
  p = place_frame(9, 1200, 900, PixelRect{}, area);
  EXPECT_EQ(p.left, 0);
  EXPECT_EQ(p.top, 0);
}

TEST(SavedWindowSize, ParsesWidthSlashHeightOnly) {
  struct Case {
    const char* text;
    int width, height;
  };
  const Case cases[] = {{"300/200", 300, 200}, {"300x200", 0, 0}, {"/200", 0, 0},
                        {"300/", 0, 0},        {"", 0, 0},        {" 300/200", 0, 0},
                        {"12/34junk", 12, 34}};
  for (const Case& c : cases) {
    const SavedSize s = parse_window_size(c.text);
    EXPECT_EQ(s.width, c.width) << c.text;
    EXPECT_EQ(s.height, c.height) << c.text;
  }
}

TEST(SavedWindowSize, StoredPerTagAndDeletedAtTheComputedSize) {
  vestra::test::TempDir dir;
  vestra::registry::Registry reg(vestra::registry::Locations::single(dir.path()));
  using vestra::registry::Hive;
  EXPECT_EQ(window_settings_key("AR/INV", "Big"), "Software\\VESTRA\\ScreenSettings\\AR\\INV\\Big");
  store_window_size(reg, "AR/INV", "", 310, 220, 300, 220);
  std::string text;
  ASSERT_TRUE(reg.get_string(Hive::CurrentUser, "Software\\VESTRA\\ScreenSettings\\AR\\INV",
                             "WindowSize", text)
                  .ok());
  EXPECT_EQ(text, "310/220");
  auto saved = read_window_size(reg, "AR/INV");
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->width, 310);
  EXPECT_FALSE(read_window_size(reg, ""));
  store_window_size(reg, "AR/INV", "", 300, 220, 300, 220);
  EXPECT_FALSE(read_window_size(reg, "AR/INV"));
  reg.set_string(Hive::CurrentUser, window_settings_key("bad"), "WindowSize", "wide");
  EXPECT_FALSE(read_window_size(reg, "bad"));
}

TEST(CellColour, BothWays) {
  struct Case {
    std::uint16_t code;
    int red, green, blue;
  };
  const Case cases[] = {{0xFFFF, 255, 255, 255},
                        {0x8000, 0, 0, 0},
                        {0x8000 | 30 << 10 | 1 << 5 | 16, 240, 8, 128},
                        {0x7C00, 255, 0, 0}};  // without bit 0x8000 the bits still read
  for (const Case& c : cases) {
    const ColourRef ref = colour_of_cell_code(c.code);
    EXPECT_EQ(red_of(ref), c.red);
    EXPECT_EQ(green_of(ref), c.green);
    EXPECT_EQ(blue_of(ref), c.blue);
  }
  EXPECT_EQ(cell_code_of_colour(colour_ref(255, 255, 255)), 0xFFFF);
  EXPECT_EQ(cell_code_of_colour(colour_ref(0, 0, 0)), 0x8000);
  EXPECT_EQ(cell_code_of_colour(colour_ref(15, 100, 7)), 0x8000 + 1 * 1024 + 12 * 32 + 0);
  // Every code with a colour comes back unchanged (31 by way of 255).
  for (int code = 0x8000; code <= 0xFFFF; ++code)
    ASSERT_EQ(cell_code_of_colour(colour_of_cell_code(static_cast<std::uint16_t>(code))), code);
}

}  // namespace
}  // namespace veslink
