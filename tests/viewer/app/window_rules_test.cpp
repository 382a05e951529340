// The window's rules without a window: placement from the saved values, the
// page each command goes to, page numbers with thousands separators.
#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "viewer/app/viewer_ids.h"
#include "viewer/app/viewer_session.h"
#include "viewer/app/window_placement.h"

namespace repscope::app {
namespace {

TEST(Placement, SavedRectangleOrNinetyPercentCentred) {
  const Rect screen{0, 0, 1280, 1024};
  struct Case {
    const char* name;
    SavedPlacement saved;
    Rect rect;
    bool maximised;
  } cases[] = {
      {"nothing saved", {}, {64, 51, 1152, 921}, false},
      {"saved", {10, 20, 800, 600, 1}, {10, 20, 800, 600}, false},
      {"x beyond the right edge", {1280, 20, 800, 600, 1}, {64, 51, 1152, 921}, false},
      {"y beyond the bottom edge", {10, 1024, 800, 600, 1}, {64, 51, 1152, 921}, false},
      {"negative x", {-5, 20, 800, 600, 1}, {64, 51, 1152, 921}, false},
      {"no height", {10, 20, 800, 0, 1}, {64, 51, 1152, 921}, false},
      {"maximised", {10, 20, 800, 600, 3}, {240, 212, 800, 600}, true},
      {"maximised without a size", {10, 20, 0, 0, 3}, {64, 51, 1152, 921}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Placement p = place_window(c.saved, screen);
    EXPECT_EQ(p.rect.x, c.rect.x);
    EXPECT_EQ(p.rect.y, c.rect.y);
    EXPECT_EQ(p.rect.width, c.rect.width);
    EXPECT_EQ(p.rect.height, c.rect.height);
    EXPECT_EQ(p.maximised, c.maximised);
  }
}

TEST(Placement, SavedValuesRoundTrip) {
  vestra::test::TempDir dir;
  vestra::registry::Registry registry(vestra::registry::Locations::single(dir.path()));
  save_placement(registry, Rect{-20, 30, 0, 700}, kShowMaximized);
  std::string width;
  EXPECT_TRUE(
      registry.get_string(vestra::registry::Hive::CurrentUser, kWindowSettingKey, "width", width)
          .not_found())
      << "a width that is not positive is not stored";
  const SavedPlacement p = read_placement(registry);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 30);
  EXPECT_EQ(p.height, 700);
  EXPECT_EQ(p.status, 3);
}

TEST(PageCommands, TargetsWithinTheRange) {
  struct Case {
    int command, current, upper;
    int target;  // 0: nothing happens
  } cases[] = {
      {ids::ID_NEXT, 3, 12, 4},       {ids::ID_NEXT, 12, 12, 0},      {ids::ID_NEXT, 0, 12, 0},
      {ids::ID_PREVIOUS, 3, 12, 2},   {ids::ID_PREVIOUS, 1, 12, 0},   {ids::ID_PREVIOUS, 0, 12, 0},
      {ids::ID_START_PAGE, 7, 12, 1}, {ids::ID_LAST_PAGE, 7, 12, 12}, {ids::ID_REFRESH, 7, 12, 7},
      {ids::ID_REFRESH, 0, 12, 0},    {ids::ID_REFRESH, 13, 12, 0},   {ids::ID_GOTO, 7, 12, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.command) + " from " + std::to_string(c.current));
    auto target = ViewerSession::page_for(c.command, c.current, c.upper);
    EXPECT_EQ(target.value_or(0), c.target);
  }
}

TEST(PageNumbers, ThousandsSeparators) {
  struct Case {
    int number;
    const char* text;
  } cases[] = {{0, "0"},        {999, "999"},      {1000, "1,000"},
               {1024, "1,024"}, {20000, "20,000"}, {1234567, "1,234,567"}};
  for (const Case& c : cases) {
    EXPECT_EQ(with_thousands(c.number), c.text);
    EXPECT_EQ(page_number(c.text), c.number);
  }
  EXPECT_EQ(page_number(""), 0);
  EXPECT_EQ(page_number("1,0,24"), 1024);
  EXPECT_EQ(page_number("x"), 0);
}

TEST(CommandIds, ZoomItemsFollowThePercent) {
  EXPECT_EQ(ids::zoom_command(50), ids::ID_ZOOM_50);
  EXPECT_EQ(ids::zoom_command(100), 32846);
  EXPECT_EQ(ids::zoom_command(150), ids::ID_ZOOM_150);
}

}  // namespace
}  // namespace repscope::app
