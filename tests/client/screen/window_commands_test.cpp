// Programs, windows and the caret driven by host byte streams: the model's
// state, what the window layer is asked to do, and the replies.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/client/screen/screen_harness.h"

namespace veslink::test {
namespace {

#define ESC "\x1b"
using Lines = std::vector<std::string>;
namespace wf = window_flag;
namespace ft = field_type;

TEST(Programs, NewProgramsIdentifyThemselvesAndSwapBaseWindows) {
  ScreenHarness h;
  h.feed(ESC "mpi1P1F\r");
  EXPECT_EQ(h.replies(), "\\env10F6.5V1S\\r");
  EXPECT_EQ(h.calls(), (Lines{"create 1", "metrics", "fit", "relayout 1", "show 1", "repaint"}));
  ScreenWindow* base = h.program(1)->base_window.get();
  ASSERT_TRUE(base);
  EXPECT_EQ(base->flags, wf::kOldStyle);
  EXPECT_EQ(base->width.byte, 80);
  EXPECT_EQ(base->height.byte, 1);
  EXPECT_EQ(base->row.byte, 22);
  EXPECT_EQ(base->parent, &h.model.root());
  EXPECT_EQ(h.window(1), base);

  // A level 2 program has no base window; the other's is hidden.
  h.feed(ESC "mpi2P2F\r");
  EXPECT_EQ(h.replies(), "\\env10F6.5V1S\\r");
  EXPECT_EQ(h.calls(), (Lines{"repaint", "hide 1"}));
  EXPECT_FALSE(h.program(2)->base_window);
  EXPECT_TRUE(base->hidden());

  // Selecting an existing program answers nothing and shows its base again.
  h.feed(ESC "mpi1P\r");
  EXPECT_EQ(h.replies(), "");
  EXPECT_EQ(h.calls(), (Lines{"show 1", "repaint"}));
  EXPECT_FALSE(base->hidden());
  EXPECT_EQ(h.model.visible_count(), 1);
}

TEST(Programs, DeletingTheLastProgramEmptiesTheFrameAndLeavesGuiMode) {
  ScreenHarness h;
  Lines services;
  h.model.services.reset_menu_tree = [&] { services.push_back("tree reset"); };
  h.model.services.set_root_label = [&](std::string_view t) {
    services.push_back("root " + std::string(t));
  };
  h.model.services.set_home_or_background = [&](std::string_view t) {
    services.push_back("home \"" + std::string(t) + "\"");
  };
  h.feed(ESC "mpi5P2F\r" ESC "mcw10I\r" ESC "mpi6P2F\r" ESC "mcw20I\r");
  h.feed(ESC "mns2F1H;ACME\r" ESC "mns4F;AB\r" ESC "mns10F\r");
  h.calls();
  h.feed(ESC "mpd6P\r");
  EXPECT_EQ(h.calls(), (Lines{"destroy 20"}));
  EXPECT_TRUE(h.in.gui_mode);
  EXPECT_EQ(h.model.current_program(), h.program(5));
  EXPECT_TRUE(services.empty());

  h.feed(ESC "mpd9P\r");  // no such program: nothing at all
  EXPECT_TRUE(h.calls().empty());

  h.feed(ESC "mpd5P\r");
  EXPECT_EQ(h.calls(), (Lines{"repaint", "destroy 10", "frame", "gui off"}));
  EXPECT_FALSE(h.in.gui_mode);
  EXPECT_EQ(services, (Lines{"tree reset", "root VESTRA", "home \"\""}));
  EXPECT_EQ(h.model.frame.data_area, "");
  EXPECT_FALSE(h.model.frame.beta);
  EXPECT_EQ(h.model.frame.pane_104, "");
  EXPECT_TRUE(h.model.frame.menu_bar_shown);
  EXPECT_TRUE(h.model.root().children.empty());
}

TEST(Windows, ParentChoiceOfNewWindows) {
  ScreenHarness h;
  h.feed(ESC "mpi5P2F\r" ESC "mcw10I\r");
  EXPECT_EQ(h.window(10)->parent, &h.model.root()) << "no program had windows";
  h.feed(ESC "mcw11I10P\r" ESC "mcw12I99P\r" ESC "mcw13I\r");
  EXPECT_EQ(h.window(11)->parent, h.window(10)) << "window P";
  EXPECT_EQ(h.window(12)->parent, h.window(11)) << "no window P: the newest";
  EXPECT_EQ(h.window(13)->parent, h.window(10)) << "the newest program's first window";
  ScreenWindow* w13 = h.window(13);

  h.feed(ESC "mpi6P2F\r" ESC "mcw20I11P\r");
  EXPECT_EQ(h.window(20)->parent, w13) << "a program without windows: the next one's newest";
  h.feed(ESC "mcw21I\r");
  EXPECT_EQ(h.window(21)->parent, h.window(20));

  h.feed(ESC "mpi7P1F\r" ESC "mcw30I1P\r");
  EXPECT_EQ(h.window(30)->parent, h.program(7)->base_window.get()) << "P 1: the base window";

  h.feed(ESC "mcw5I\r" ESC "mcw0I\r");
  EXPECT_FALSE(h.window(5));
  EXPECT_EQ(h.program(7)->windows.size(), 1u);
}

TEST(Windows, OldFlagLayoutsAreConvertedAtLevelsZeroAndOne) {
  struct Case {
    int level;
    std::uint32_t sent;
    std::uint32_t kept;
  };
  const Case cases[] = {
      {1, 0x0, 0x800},
      {0, 0x2, 0x804},  // old 0x2 is not the frameless flag
      {1, 0x7F8, 0xFF8},
      {1, 0xFFFFFFFF, 0xFFC},
      {1, 0x40001000, 0x800},
      {2, 0x2, 0x2},
      {3, 0x40001000, 0x40001000},
  };
  for (const Case& c : cases) {
    ScreenHarness h;
    h.feed(ESC "mpi1P" + std::to_string(c.level) + "F\r" ESC "mcw10I1A" + std::to_string(c.sent) +
           "F\r");
    ASSERT_TRUE(h.window(10));
    EXPECT_EQ(h.window(10)->flags, c.kept) << "level " << c.level << " F " << c.sent;
  }
  // ESC muw converts the same way.
  ScreenHarness h;
  h.feed(ESC "mpi1P1F\r" ESC "mcw10I1A\r" ESC "muw10I1T2048F\r");
  EXPECT_EQ(h.window(10)->flags, 0u) << "clearing at level 1 takes the old-style flag too";
  h.feed(ESC "muw10I66F\r");
  EXPECT_EQ(h.window(10)->flags, 0x844u);
}

TEST(Windows, GeometryDefaultsCapsColoursAndPlacement) {
  ScreenHarness h;
  h.feed(ESC "mpi1P2F\r");
  h.feed(ESC "mcw10I1A\r");
  ScreenWindow* w = h.window(10);
  EXPECT_EQ(w->width.byte, 80);
  EXPECT_EQ(w->height.byte, 23);
  h.feed(ESC "mcw11I1A300W2.5H3.25X1Y9D\r");
  w = h.window(11);
  EXPECT_EQ(w->width.byte, 255);
  EXPECT_EQ(w->width.real, 255);
  EXPECT_EQ(w->height.real, 2.5);
  EXPECT_EQ(w->height.byte, 2);
  EXPECT_EQ(w->column.real, 3.25);
  EXPECT_EQ(w->row.byte, 1);
  EXPECT_EQ(w->placement, 9);
  h.feed(ESC "mcw12I1A2097152F40W10H5X5Y\r");
  w = h.window(12);
  EXPECT_EQ(w->width.byte, 255);
  EXPECT_EQ(w->height.byte, 255);
  EXPECT_EQ(w->column.byte, 0);
  EXPECT_EQ(w->row.byte, 0);
  h.feed(ESC "mcw13I1A32799C100B\r");
  EXPECT_EQ(h.window(13)->colour, 32799);
  EXPECT_EQ(h.window(13)->background, 0) << "a colour without bit 0x8000 is none";
}

TEST(Windows, DeferredNativeWindowComesWithShowWindow) {
  ScreenHarness h;
  h.feed(ESC "mpi1P2F\r");
  h.calls();
  h.feed(ESC "mcw14I1A;Ignored\r");
  EXPECT_TRUE(h.calls().empty());
  EXPECT_FALSE(h.window(14)->has_native());
  h.feed(ESC "maw14I;Customers\r");
  EXPECT_EQ(h.calls(), (Lines{"create 14 \"Customers\"", "metrics", "fit", "relayout 14", "show 14",
                              "repaint"}));
  EXPECT_TRUE(h.window(14)->visible);
  h.feed(ESC "maw14I;Renamed\r" ESC "maw14I\r" ESC "maw99I;None\r");
  EXPECT_EQ(h.calls(), (Lines{"title 14 \"Renamed\""}));
  EXPECT_EQ(h.window(14)->title, "Renamed");
}

TEST(Windows, AWindowThePlatformCannotMakeLeavesNoTrace) {
  ScreenHarness h;
  h.feed(ESC "mpi1P2F\r");
  h.ui.refuse_create = true;
  h.feed(ESC "mcw10I;Lost\r");
  EXPECT_FALSE(h.window(10));
  EXPECT_TRUE(h.model.root().children.empty());
}

TEST(Windows, TheRootGrowsToCoverShownWindows) {
  {
    ScreenHarness h;
    h.feed(ESC "mpi1P2F\r" ESC "mcw10I40W10H50X20Y\r");
    EXPECT_EQ(h.model.root().width.real, 90);
    EXPECT_EQ(h.model.root().height.real, 30);
    h.calls();
    h.feed(ESC "mcw11I20W5H\r");  // smaller: nothing to recompute
    EXPECT_EQ(h.calls(), (Lines{"create 11", "show 11"}));
    h.feed(ESC "mcw12I10W5H64F\r");
    EXPECT_EQ(h.model.root().flags & wf::kScrollBar, wf::kScrollBar);
    EXPECT_EQ(h.calls(), (Lines{"create 12", "metrics", "fit", "relayout 12", "show 12"}));
  }
  {
    ScreenHarness h;
    h.feed(ESC "mpi1P2F\r" ESC "mcw10I20W5H\r");
    EXPECT_EQ(h.model.root().width.real, 80);
    EXPECT_EQ(h.model.root().height.real, 23);
  }
  {
    // Before the main window is first shown the position does not count.
    ScreenHarness h;
    h.ui.main_shown = false;
    h.ui.terminal_shown = true;
    h.feed(ESC "mpi1P2F\r" ESC "mcw10I40W10H50X20Y\r");
    EXPECT_EQ(h.model.root().width.real, 80);
    EXPECT_EQ(h.model.root().height.real, 23);
    EXPECT_EQ(h.calls(), (Lines{"create 10", "metrics", "fit", "relayout 10", "show 10",
                                "terminal hidden", "first show"}));
    EXPECT_EQ(h.model.visible_count(), 1);
  }
}

TEST(Windows, HiddenWindowsAndFlagChanges) {
  ScreenHarness h;
  h.feed(ESC "mpi1P2F\r" ESC "mcw10I1073741824F;Hidden\r");
  EXPECT_EQ(h.calls(), (Lines{"create 10 \"Hidden\""}));
  EXPECT_TRUE(h.window(10)->has_native());
  EXPECT_FALSE(h.window(10)->visible);
  EXPECT_EQ(h.model.visible_count(), 0);

  h.feed(ESC "muw10I1T1073741824F\r");
  EXPECT_EQ(h.calls(), (Lines{"metrics", "fit", "relayout 10", "show 10", "repaint"}));
  EXPECT_TRUE(h.window(10)->visible);

  h.feed(ESC "muw10I2048F\r" ESC "muw10I1073741824F\r");
  EXPECT_EQ(h.calls(), (Lines{"repaint", "hide 10"}));
  EXPECT_EQ(h.window(10)->flags, wf::kHidden) << "hiding drops the old-style flag";
  h.feed(ESC "muw10I1073741824F\r");
  EXPECT_TRUE(h.calls().empty()) << "hidden already";

  // A window with the second icon is not shown by clearing the flag.
  h.feed(ESC "mcw11I1073745920F\r" ESC "muw11I1T1073741824F\r");
  EXPECT_EQ(h.calls(), (Lines{"create 11"}));
  EXPECT_FALSE(h.window(11)->visible);
  EXPECT_EQ(h.window(11)->flags, wf::kSecondIcon);

  // Without a native window only the flags change.
  h.feed(ESC "mcw12I1A\r" ESC "muw12I1073741888F\r");
  EXPECT_TRUE(h.calls().empty());
  EXPECT_EQ(h.window(12)->flags, wf::kHidden | wf::kScrollBar);
}

TEST(Windows, ScrollBarFlagLaysOutAgainAndReachesTheRoot) {
  ScreenHarness h;
  Lines trees;
  h.model.services.open_secondary_tree = [&](ScreenWindow& w) {
    trees.push_back(std::to_string(w.number));
  };
  h.feed(ESC "mpi1P2F\r" ESC "mcw10I\r");
  h.calls();
  h.feed(ESC "muw10I64F\r");
  EXPECT_EQ(h.calls(), (Lines{"relayout 10", "metrics", "fit"}));
  h.feed(ESC "muw10I64F\r");
  EXPECT_EQ(h.calls(), (Lines{"relayout 10"})) << "the root has the flag already";
  h.feed(ESC "muw10I4096F\r");
  EXPECT_EQ(trees, Lines{"10"});
}

TEST(Windows, DestroyingAWindowTakesItsChildrenFirstAcrossPrograms) {
  ScreenHarness h;
  h.feed(ESC "mpi5P2F\r" ESC "mcw10I\r" ESC "mcw11I10P\r");
  h.add_field(*h.window(11), 1, ft::kEdit, 0, 0, 5);
  h.feed(ESC "mpi6P2F\r" ESC "mcw20I11P\r" ESC "mcc20P\r");
  EXPECT_EQ(h.window(20)->parent, h.program(5)->windows.front().get());
  EXPECT_EQ(h.model.caret.window, h.window(20));
  h.model.set_current_window(h.window(20));
  h.feed(ESC "mpi5P\r");
  h.calls();
  h.feed(ESC "mdw10I\r");
  EXPECT_EQ(h.calls(), (Lines{"caret 20 -", "destroy 20", "field removed 1", "destroy 11",
                              "repaint", "destroy 10"}));
  EXPECT_TRUE(h.program(5)->windows.empty());
  EXPECT_TRUE(h.program(6)->windows.empty());
  EXPECT_EQ(h.model.current_window(), nullptr);
  EXPECT_EQ(h.model.visible_count(), 0);
  h.feed(ESC "mdw10I\r" ESC "mdw1I\r");
  EXPECT_TRUE(h.calls().empty());
}

TEST(Windows, ClosingAFrame) {
  ScreenHarness h;
  h.feed(ESC "mpi1P2F\r" ESC "mcw10I\r" ESC "mcw11I\r" ESC "mcw12I1073741824F\r");
  h.model.set_current_window(h.window(10));
  h.calls();
  h.replies();
  EXPECT_EQ(h.model.close_requested(*h.window(12)), CloseDecision::CloseAtOnce);
  EXPECT_EQ(h.replies(), "") << "a hidden window never asks the host";
  EXPECT_FALSE(h.window(12));
  EXPECT_EQ(h.model.close_requested(*h.window(11)), CloseDecision::Refused);
  EXPECT_EQ(h.model.close_requested(*h.window(10)), CloseDecision::AskedHost);
  EXPECT_EQ(h.replies(), "\\enk1S10P\\r");
  EXPECT_EQ(h.calls(), (Lines{"destroy 12", "bell"}));
  h.in.gui_mode = false;
  EXPECT_EQ(h.model.close_requested(*h.window(10)), CloseDecision::Refused);
  EXPECT_EQ(h.replies(), "");
}

TEST(Windows, HidingAllForTheBrowserPaneAndShowingThemAgain) {
  ScreenHarness h;
  h.feed(ESC "mpi1P2F\r" ESC "mcw10I\r" ESC "mcw11I10P\r" ESC "mcw12I1073741824F\r");
  h.model.set_current_window(h.window(11));
  h.calls();
  h.model.hide_all_windows();
  EXPECT_EQ(h.calls(), (Lines{"hide 10", "minimise 11"}));
  EXPECT_FALSE(h.window(10)->visible);
  h.model.show_all_windows();
  EXPECT_EQ(h.calls(), (Lines{"show 10", "show 11"}));
  EXPECT_TRUE(h.window(10)->visible);
  EXPECT_FALSE(h.window(12)->visible) << "hidden before, hidden after";
}

TEST(Windows, AClosedSessionTakesEveryWindow) {
  ScreenHarness h;
  h.feed(ESC "mpi1P1F\r" ESC "mcw10I\r" ESC "mpi2P2F\r" ESC "mcw20I\r" ESC "mcc20P\r");
  h.in.session_closed();
  EXPECT_TRUE(h.in.programs.empty());
  EXPECT_TRUE(h.model.root().children.empty());
  EXPECT_EQ(h.model.caret.window, nullptr);
  EXPECT_EQ(h.model.visible_count(), 0);
  // A new session starts from nothing.
  h.replies();
  h.feed(ESC "mpi1P2F\r");
  EXPECT_EQ(h.replies(), "\\env10F6.5V1S\\r");
}

TEST(Windows, TagsAndWindowZeroMeaningTheCurrentOne) {
  ScreenHarness h;
  h.feed(ESC "mpi1P2F\r" ESC "mcw10I\r" ESC "mtw10I;AR/Customers\r");
  EXPECT_EQ(h.window(10)->tag, "AR/Customers");
  h.feed(ESC "mtw10I;\r" ESC "mtw10I\r" ESC "mtw0I;Nobody\r");
  EXPECT_EQ(h.window(10)->tag, "AR/Customers");
  h.model.set_current_window(h.window(10));
  h.feed(ESC "mtw0I;Current\r");
  EXPECT_EQ(h.window(10)->tag, "Current");
}

// ---- ESC mxw ----

struct BlankCase {
  const char* name;
  const char* command;
  std::set<std::uint32_t> remaining;
  std::set<std::uint32_t> blanked;
};

void fill(ScreenHarness& h, ScreenWindow& w) {
  h.add_field(w, 1, ft::kEdit, 2, 1, 5, 1, 0x60);
  h.add_field(w, 2, ft::kPrompt, 10, 1, 4);
  h.add_field(w, 3, ft::kPrompt, 2, 2, 4, 1, 0x2 | 0x1E0);
  h.add_field(w, 4, ft::kPushButton, 10, 2, 6);
  h.add_field(w, 5, ft::kGroupFrame, 0, 0, 20, 5);
  h.add_field(w, 6, ft::kScrollingArea, 0, 3, 20, 1);
  h.add_field(w, 7, ft::kDataGrid, 0, 4, 20, 1);
  h.add_field(w, 8, ft::kGridColumn, 0, 4, 10, 1, 0, 7);
  h.add_field(w, 9, ft::kGridColumn, 10, 4, 10, 1, 0, 7);
  h.add_field(w, 10, ft::kRadioButton, 18, 1, 4);
  h.add_field(w, 11, ft::kEdit, 18, 2, 4, 1, 0x2000);
  h.add_field(w, 12, ft::kPicture, 2, 3, 3);
  h.add_field(w, 13, ft::kCheckBox, 1.9999995, 1, 2);
}

TEST(BlankWindowArea, EveryMode) {
  const std::set<std::uint32_t> all = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
  auto except = [&all](std::set<std::uint32_t> gone) {
    std::set<std::uint32_t> out;
    for (auto n : all)
      if (!gone.count(n)) out.insert(n);
    return out;
  };
  const BlankCase cases[] = {
      {"whole window, delete", ESC "mxw10I1F\r", {}, {}},
      {"whole window, blank",
       ESC "mxw10I33825C\r",
       except({2, 4, 5, 12}),
       {1, 3, 8, 9, 10, 11, 13}},
      {"inside only", ESC "mxw10I1F2X1Y18W2H\r", except({1, 2, 3, 4, 13}), {}},
      {"overlapping too", ESC "mxw10I2F2X1Y18W2H\r", except({1, 2, 3, 4, 10, 11, 13}), {}},
      {"blank: inside, and row fields partly inside",
       ESC "mxw10I33825C2X1Y18W2H\r",
       except({2, 4}),
       {1, 3, 11, 13}},
      {"a grid takes its columns", ESC "mxw10I1F0X4Y20W1H\r", except({7, 8, 9}), {}},
      {"group frames never only overlap", ESC "mxw10I2F5X0Y10W5H\r", {5, 10, 11, 12, 13}, {}},
      {"current window for 0", ESC "mxw0I1F\r", {}, {}},
  };
  for (const BlankCase& c : cases) {
    ScreenHarness h;
    h.feed(ESC "mpi1P2F\r" ESC "mcw10I\r");
    ScreenWindow& w = *h.window(10);
    h.model.set_current_window(&w);
    fill(h, w);
    w.focus = w.fields.front().get();
    h.replies();
    h.feed(c.command);
    std::set<std::uint32_t> remaining, blanked;
    for (auto& f : w.fields) {
      remaining.insert(f->number);
      if (f->contents.empty()) {
        blanked.insert(f->number);
        EXPECT_EQ(f->flags & 0x1E0u, 0u) << c.name << " field " << f->number;
        EXPECT_EQ(f->colour, 0x8421) << c.name;
        EXPECT_EQ(f->background, 0) << c.name;
      }
    }
    EXPECT_EQ(remaining, c.remaining) << c.name;
    EXPECT_EQ(blanked, c.blanked) << c.name;
    if (!remaining.count(1)) {
      EXPECT_EQ(w.focus, nullptr) << c.name;
    }
    EXPECT_EQ(h.replies(), "") << c.name;
  }
}

TEST(BlankWindowArea, BlankedFieldsTakeTheGivenColours) {
  ScreenHarness h;
  h.feed(ESC "mpi1P2F\r" ESC "mcw10I\r");
  ScreenWindow& w = *h.window(10);
  h.add_field(w, 1, ft::kEdit, 0, 0, 5).colour = 0x801F;
  h.add_field(w, 2, ft::kEdit, 0, 1, 5).background = 0x801F;
  h.feed(ESC "mxw10I33825C0X0Y5W1H\r");
  EXPECT_EQ(w.fields[0]->colour, 33825);
  EXPECT_EQ(w.fields[0]->background, 0);
  EXPECT_EQ(w.fields[1]->background, 0x801F) << "outside the rectangle";
  EXPECT_EQ(h.calls().back(), "field changed 1");
}

}  // namespace
}  // namespace veslink::test
