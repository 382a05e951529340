// The caret, the mail mark, frame services, help files and value queries
// driven by host byte streams.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "client/screen/frame_texts.h"
#include "client/screen/help_files.h"
#include "tests/client/screen/screen_harness.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace veslink::test {
namespace {

#define ESC "\x1b"
using Lines = std::vector<std::string>;

TEST(Caret, ShownMovedAndDestroyedInOneWindowAtATime) {
  ScreenHarness h;
  h.feed(ESC "mpi1P2F\r" ESC "mcw10I40W10H\r" ESC "mcw11I\r");
  h.calls();
  h.feed(ESC "mcc0P\r" ESC "mcc99P\r");
  EXPECT_EQ(h.model.caret.window, nullptr) << "no current window, no window 99";
  h.feed(ESC "mcc10P\r" ESC "mmc10P5X3Y\r");
  EXPECT_EQ(h.model.caret.window, h.window(10));
  EXPECT_EQ(h.model.caret.column, 5);
  EXPECT_EQ(h.model.caret.row, 3);
  // Out of range on one axis keeps that coordinate.
  h.feed(ESC "mmc10P40X9Y\r");
  EXPECT_EQ(h.model.caret.column, 5);
  EXPECT_EQ(h.model.caret.row, 9);
  h.feed(ESC "mmc10P39X10Y\r");
  EXPECT_EQ(h.model.caret.column, 39);
  EXPECT_EQ(h.model.caret.row, 9);
  EXPECT_EQ(h.calls(), (Lines{"caret - 10", "caret 10 10", "caret 10 10", "caret 10 10"}));
  // Another window takes it; a window without it neither moves nor loses it.
  h.feed(ESC "mcc11P\r" ESC "mmc10P1X1Y\r" ESC "mdc10P\r");
  EXPECT_EQ(h.model.caret.window, h.window(11));
  EXPECT_EQ(h.model.caret.column, 0);
  EXPECT_EQ(h.calls(), (Lines{"caret 10 -", "caret - 11"}));
  h.model.set_current_window(h.window(11));
  h.feed(ESC "mdc0P\r");
  EXPECT_EQ(h.model.caret.window, nullptr);
  // Leaving GUI mode takes it wherever it is.
  h.feed(ESC "mcc10P\r");
  h.in.leave_gui_mode();
  EXPECT_EQ(h.model.caret.window, nullptr);
}

TEST(MailMark, RingsOnceUntilCleared) {
  ScreenHarness h;
  const struct {
    const char* command;
    bool bell;
    bool mark;
  } steps[] = {
      {ESC "mnm\r", true, true},     {ESC "mnm\r", false, true},    {ESC "mnm1F\r", false, false},
      {ESC "mnm\r", true, true},     {ESC "mnm3F\r", false, false}, {ESC "mnm2F\r", false, true},
      {ESC "mnm1F\r", false, false},
  };
  for (const auto& s : steps) {
    h.feed(s.command);
    const Lines calls = h.calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "bell"), s.bell ? 1 : 0) << s.command + 1;
    EXPECT_EQ(h.model.frame.mail_mark, s.mark) << s.command + 1;
  }
}

TEST(FrameServices, TextsPanesBarsAndProductName) {
  ScreenHarness h;
  Lines seen;
  h.model.services.progress_window = [&](int kind) {
    seen.push_back("progress " + std::to_string(kind));
  };
  h.model.services.set_home_or_background = [&](std::string_view t) {
    seen.push_back("home " + std::string(t));
  };
  h.model.services.data_area_changed = [&](std::string_view t) {
    seen.push_back("colours " + std::string(t));
  };
  h.feed(ESC "mpi1P2F\r" ESC "mcw10I\r");
  h.calls();
  FrameTexts& f = h.model.frame;
  h.feed(ESC "mns2F1H;ACME\r" ESC "mns4F;P4\r" ESC "mns5F;P3\r" ESC "mns8F;jdoe\r");
  EXPECT_EQ(f.data_area, "ACME");
  EXPECT_TRUE(f.beta);
  EXPECT_EQ(f.pane_104, "P4");
  EXPECT_EQ(f.pane_103, "P3");
  EXPECT_EQ(f.pane_106, "jdoe");
  EXPECT_EQ(frame_title(f, true, "unixbox"), "ACME (Beta Release)");
  h.feed(ESC "mns2F;ACME\r");  // the same name again: no colours to load
  EXPECT_FALSE(f.beta);
  h.feed(ESC "mns10F\r" ESC "mns11F\r" ESC "mns13F\r");
  EXPECT_FALSE(f.menu_bar_shown);
  EXPECT_FALSE(f.toolbar_shown);
  EXPECT_FALSE(f.status_bar_shown);
  h.feed(ESC "mns10F1H\r" ESC "mns11F3H\r" ESC "mns13F1H\r" ESC "mns3F;x\r");
  EXPECT_TRUE(f.menu_bar_shown && f.toolbar_shown && f.status_bar_shown);
  h.feed(ESC "mns9F3H\r" ESC "mns9F\r" ESC "mns6F;http://intranet/\r");
  EXPECT_EQ(seen, (Lines{"colours ACME", "progress 3", "progress 0", "home http://intranet/"}));

  h.feed(ESC "mns12F;" + std::string(40, 'N') + "\r" ESC "mns12F;" + std::string(29, 'N') +
         "\r" ESC "mns12F\r" ESC "mns12F;\r");
  EXPECT_EQ(f.product_name, "VESTRA-Nu");
  const Lines calls = h.calls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "product " + std::string(29, 'N')), 1);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "product VESTRA-Nu"), 1);

  h.feed(ESC "mns14F10I4H\r" ESC "mns14F99I8H\r");
  EXPECT_EQ(h.window(10)->hot_keys, 4u);
}

TEST(FrameServices, StatusMessageNeedsAWindowAndKeepsARaisedOne) {
  ScreenHarness h;
  h.feed(ESC "mpi1P2F\r" ESC "mcw10I\r");
  FrameTexts& f = h.model.frame;
  h.feed(ESC "mns7F;Nowhere\r");
  EXPECT_EQ(f.status_message, "") << "no window with input to find the frame by";
  h.feed(ESC "mcw11I2F\r");
  h.model.set_last_input_window(h.window(11));
  h.feed(ESC "mns7F;Frameless\r");
  EXPECT_EQ(f.status_message, "") << "a window without a frame has no status bar";
  h.model.set_last_input_window(h.window(10));
  h.feed(ESC "mns7F1H;Raised\r" ESC "mns7F2H;Plain\r");
  EXPECT_EQ(f.status_message, "Raised");
  EXPECT_TRUE(f.status_raised);
  h.feed(ESC "mns7F;Plain\r");
  EXPECT_EQ(f.status_message, "Plain");
  EXPECT_FALSE(f.status_raised);
}

TEST(FrameServices, RootLabelOnlyForASingleProgramWithoutWindows) {
  ScreenHarness h;
  Lines labels;
  h.model.services.set_root_label = [&](std::string_view t) { labels.emplace_back(t); };
  h.feed(ESC "mpi1P2F\r" ESC "mns1F;Main\r" ESC "mpi2P2F\r" ESC "mns1F;Two\r");
  h.feed(ESC "mpd2P\r" ESC "mcw10I\r" ESC "mns1F;Windows\r");
  EXPECT_EQ(labels, Lines{"Main"});
}

TEST(FrameTitle, FromDataAreaMenuItemAndHost) {
  struct Case {
    const char* data_area;
    const char* menu_item;
    bool beta;
    bool gui;
    const char* host;
    const char* title;
  };
  const Case cases[] = {
      {"ACME", "Sales", true, true, "unixbox", "ACME (Beta Release) - Sales"},
      {"Sales", "Sales", false, true, "unixbox", "Sales"},
      {"", "Sales", false, true, "unixbox", "unixbox - Sales"},
      {"", "", false, true, "unixbox", "unixbox - "},
      {"", "Sales", false, true, "", "Sales"},
      {"", "", false, false, "unixbox", "unixbox - Terminal Mode"},
      {"ACME", "", true, false, "unixbox", "ACME (Beta Release) - Terminal Mode"},
      {"", "", false, false, "", "Terminal Mode"},
  };
  for (const Case& c : cases) {
    FrameTexts t;
    t.data_area = c.data_area;
    t.menu_item = c.menu_item;
    t.beta = c.beta;
    EXPECT_EQ(frame_title(t, c.gui, c.host), c.title);
  }
}

TEST(QueryValue, EveryAnswer) {
  ScreenHarness h;
  h.feed(ESC "mpi1P2F\r" ESC "mcw10I;Customers\r");
  h.replies();
  h.feed(ESC "mgv1F\r");
  EXPECT_EQ(h.replies(), "\\enr;/opt/veslink\\r");
  h.feed(ESC "mgv2F10I\r" ESC "mgv2F99I\r");
  EXPECT_EQ(h.replies(), "\\enr\\r\\enr\\r");
  h.model.services.send_grid_view = [](ScreenWindow&, HostReplies& r) {
    r.send("\x1bnf\r\x1bnf1F\r\x1bno\r\x1bno1F\r");
    return true;
  };
  h.feed(ESC "mgv2F10I\r");
  EXPECT_EQ(h.replies(), "\\enf\\r\\enf1F\\r\\eno\\r\\eno1F\\r");

  h.ui.colour_answer = colour_ref(255, 128, 0);
  h.feed(ESC "mgv3F64511C\r");  // 0xFBFF: 30, 31, 31
  EXPECT_EQ(h.ui.colour_asked, colour_ref(240, 255, 255));
  EXPECT_EQ(h.replies(), "\\enr" + std::to_string(0x8000 + 31 * 1024 + 16 * 32) + "S\\r");
  h.ui.colour_answer.reset();
  h.feed(ESC "mgv3F32767C\r");
  EXPECT_EQ(h.ui.colour_asked, 0u) << "without bit 0x8000 the dialog starts at black";
  EXPECT_EQ(h.replies(), "\\enr0S\\r");

  h.feed(ESC "mgv4F1M\r" ESC "mgv4F2M\r" ESC "mgv4F3M\r" ESC "mgv4F4M\r" ESC "mgv4F5M\r" ESC
             "mgv4F6M\r" ESC "mgv4F7M\r");
  EXPECT_EQ(h.replies(),
            "\\enr7S\\r\\enr20S\\r\\enr1280S\\r\\enr1024S\\r\\enr1000S\\r\\enr700S\\r\\enr0S\\r");
  h.feed(ESC "mgv5F10I\r" ESC "mgv5F11I\r" ESC "mgv6F\r");
  EXPECT_EQ(h.replies(), "\\enr;Customers\\r\\enr;\\r\\enr\\r");
}

// ---- ESC mnh ----

class HelpFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_path = dir.path() + "/help";
    std::filesystem::create_directories(dir_path);
    h.model.set_registry(&reg);
    reg.set_string(vestra::registry::Hive::LocalMachine, "Software\\VESTRA\\User Manuals",
                   "INSTALL_DIR", dir_path);
  }
  void make(const std::string& path) { std::ofstream(path) << "help"; }

  vestra::test::TempDir dir;
  vestra::registry::Registry reg{vestra::registry::Locations::single(dir.path() + "/reg")};
  std::string dir_path;
  ScreenHarness h;
};

TEST_F(HelpFiles, NamesAreFoundInTheHelpDirectoryWithChmByDefault) {
  make(dir_path + "/sales.chm");
  make(dir_path + "/old.hlp");
  make(dir_path + "/notes.txt");
  make(dir.path() + "/elsewhere.chm");
  h.feed(ESC "mnh;sales\r" ESC "mnh5I;notes.txt\r" ESC "mnh;" + dir.path() + "\\elsewhere.chm\r");
  h.feed(ESC "mnh;old.hlp\r");  // the old help viewer needs a topic
  h.feed(ESC "mnh7I;old.hlp\r");
  EXPECT_EQ(h.ui.opened, (Lines{dir_path + "/sales.chm", dir_path + "/notes.txt",
                                dir.path() + "/elsewhere.chm", dir_path + "/old.hlp"}));
}

TEST_F(HelpFiles, MissingFilesFallBackToTheManualsThenSaySo) {
  vestra::test::ScriptedMessages boxes;
  h.feed(ESC "mnh;missing\r");
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].caption, "VESTRA");
  EXPECT_EQ(boxes.shown()[0].text,
            "The VESTRA User Manuals have not been installed.\nTo install these manuals please "
            "contact your System Administrator.");
  make(dir_path + "/vestra.chm");
  h.feed(ESC "mnh;missing\r" ESC "mnh\r");
  EXPECT_EQ(h.ui.opened, (Lines{dir_path + "/vestra.chm", dir_path + "/vestra.chm"}));
  EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST(HelpDirectory, DefaultWhenTheMachineHasNone) {
  vestra::test::TempDir dir;
  vestra::registry::Registry reg(vestra::registry::Locations::single(dir.path()));
  EXPECT_EQ(read_help_directory(reg), "c:/Program Files/vestra/zkt/help");
}

}  // namespace
}  // namespace veslink::test
