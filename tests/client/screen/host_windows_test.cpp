// Host windows offscreen: frames sized and placed as the host asked, full
// screen and frameless windows, hidden windows, the close box, activation
// held on the current window, keys, clicks, the middle button, the wheel,
// the caret and background as painted, saved sizes, the frame's bars, and a
// grabbed image of a small layout.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>

#include "client/prefs/fonts.h"
#include "client/protocol/interpreter.h"
#include "client/screen/key_wait.h"
#include "client/screen/qt_screen_ui.h"
#include "client/screen/saved_window_size.h"
#include "client/screen/screen_commands.h"
#include "client/screen/screen_model.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/function_keys.h"
#include "client/terminal/terminal_colours.h"
#include "tests/support/temp_dir.h"

namespace veslink {
namespace {

#define ESC "\x1b"
using vestra::registry::Hive;

class HostWindows : public ::testing::Test {
 protected:
  HostWindows() {
    saved_metrics_ = cell_metrics();
    // Fixed cells, so every pixel figure below is the same on any machine.
    CellMetrics m;
    m.screen_char_width = 7;
    m.terminal_char_width = 8;
    m.screen_line_height = 16;
    m.cell_height = 20;
    cell_metrics() = m;

    area_ = new QMdiArea;
    main_.setCentralWidget(area_);
    main_.menuBar()->addMenu("&File");
    main_.resize(1100, 800);
    QtScreenHooks h;
    h.first_show = [this] { main_.show(); };
    h.host = [] { return std::string("unixbox"); };
    h.commands.enabled = [](int id) { return id == 32866; };
    h.commands.run = [this](int id) { commands_run_.push_back(id); };
    h.mail_pane = true;
    ui_ = std::make_unique<QtScreenUi>(model_, main_, *area_, reg_, std::move(h));
    model_.set_ui(ui_.get());
    model_.set_registry(&reg_);
    in_.message_buffer.allocate();
    in_.ui.send_byte = [this](std::uint8_t b) {
      sent_ += static_cast<char>(b);
      return true;
    };
    in_.ui.bell = [this] { ++bells_; };
    screen_commands::install(in_.routes, model_);
    main_.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&main_));
  }
  ~HostWindows() override {
    in_.programs.clear();
    model_.set_ui(nullptr);
    ui_.reset();
    cell_metrics() = saved_metrics_;
  }

  void feed(std::string_view bytes) {
    in_.feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    QApplication::processEvents();
  }
  std::string take_sent() { return std::exchange(sent_, {}); }
  ScreenWindow* window(std::uint32_t n) { return model_.find_window(n); }
  VestraMDIWin* frame(std::uint32_t n) { return QtScreenUi::frame_of(*window(n)); }
  ScreenWin* view(std::uint32_t n) { return QtScreenUi::view_of(*window(n)); }
  std::vector<std::int16_t> queued() {
    std::vector<std::int16_t> out;
    while (auto c = model_.keys.take())
      out.push_back(*c);
    return out;
  }
  QSize work() const { return area_->viewport()->size(); }

  CellMetrics saved_metrics_;
  vestra::test::TempDir dir_;
  vestra::registry::Registry reg_{vestra::registry::Locations::single(dir_.path())};
  CharScreen screen_;
  FunctionKeys keys_;
  Interpreter in_{screen_, keys_};
  ScreenModel model_{in_};
  QMainWindow main_;
  QMdiArea* area_;
  std::unique_ptr<QtScreenUi> ui_;
  std::string sent_;
  int bells_ = 0;
  std::vector<int> commands_run_;
};

TEST_F(HostWindows, FramesAreSizedFromCellsWithScrollBarAndFrameAllowances) {
  const FrameMetrics f = ui_->frame_metrics();
  feed(ESC "mpi1P2F\r" ESC "mcw10I10.5W3H;Sized\r" ESC "mcw11I10W3H64F\r");
  EXPECT_EQ(window(10)->pixels.width, 74);  // 10.5 cells of 7 pixels
  EXPECT_EQ(frame(10)->size(),
            QSize(74 + 4 * f.frame_width, 60 + 4 * f.frame_height + f.caption_height));
  EXPECT_EQ(frame(10)->minimumSize(), frame(10)->size());
  EXPECT_EQ(frame(10)->windowTitle(), "Sized");
  EXPECT_EQ(frame(11)->width(), 70 + f.scroll_bar_width + 4 * f.frame_width);
  ASSERT_TRUE(view(11)->scroll_bar());
  EXPECT_TRUE(view(11)->scroll_bar()->isVisible());
  EXPECT_EQ(view(11)->scroll_bar()->geometry().right(), view(11)->width() - 1);
  EXPECT_TRUE(frame(10)->isVisible());
  EXPECT_EQ(area_->subWindowList().size(), 2);
}

TEST_F(HostWindows, EachPlacementCodeInTheWorkArea) {
  feed(ESC "mpi1P2F\r");
  for (int d = 0; d <= 9; ++d)
    feed(ESC "mcw" + std::to_string(10 + d) + "I20W4H6X3Y" + std::to_string(d) + "D\r");
  const int r = work().width() - 1, b = work().height() - 1;
  const QSize size = frame(10)->size();
  const int w = size.width(), h = size.height();
  struct Expect {
    int left, top;
  };
  const Expect expect[10] = {
      {42 + (r - 42 - w) / 2, 60 + (b - 60 - h) / 2},
      {0, 0},
      {(r - w) / 2, 0},
      {r - w, 0},
      {0, (b - h) / 2},
      {(r - w) / 2, (b - h) / 2},
      {r - w, (b - h) / 2},
      {0, b - h},
      {(r - w) / 2, b - h},
      {r - w, b - h},
  };
  for (int d = 0; d <= 9; ++d) {
    EXPECT_EQ(frame(10 + d)->pos(), QPoint(expect[d].left, expect[d].top)) << "D" << d;
    EXPECT_EQ(frame(10 + d)->size(), size) << "D" << d;
  }
}

TEST_F(HostWindows, FullScreenAndFramelessWindows) {
  feed(ESC "mpi1P2F\r" ESC "mcw10I2097152F\r");
  EXPECT_TRUE(frame(10)->isMaximized());
  EXPECT_TRUE(frame(10)->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(main_.isMaximized()) << "a full-screen window maximises the main window";
  feed(ESC "mdw10I\r");
  EXPECT_FALSE(main_.isMaximized());

  feed(ESC "mcw11I10W2H2F3X1Y1D\r");
  EXPECT_EQ(QtScreenUi::frame_of(*window(11)), nullptr);
  ScreenWin* v = view(11);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->parentWidget(), area_->viewport());
  EXPECT_TRUE(v->isVisible());
  EXPECT_EQ(v->geometry(), QRect(0, 0, 70, 40)) << "no frame allowances without a frame";
  EXPECT_TRUE(area_->subWindowList().isEmpty());
}

TEST_F(HostWindows, HiddenWindowsHaveFramesThatStayHidden) {
  feed(ESC "mpi1P2F\r" ESC "mcw10I1073741824F;Later\r");
  ASSERT_TRUE(frame(10));
  EXPECT_FALSE(frame(10)->isVisible());
  feed(ESC "muw10I1T1073741824F\r");
  EXPECT_TRUE(frame(10)->isVisible());
  feed(ESC "muw10I1073741824F\r");
  EXPECT_FALSE(frame(10)->isVisible());
}

TEST_F(HostWindows, TheCloseBoxAsksTheHostForTheCurrentWindowOnly) {
  feed(ESC "mpi1P2F\r" ESC "mcw10I\r" ESC "mcw11I\r" ESC "mcw12I1073741824F\r");
  model_.set_current_window(window(10));
  take_sent();
  frame(11)->close();
  EXPECT_EQ(bells_, 1);
  frame(10)->close();
  EXPECT_EQ(take_sent(), "\x1bnk1S10P\r");
  EXPECT_TRUE(frame(10)->isVisible()) << "the host decides";
  QPointer<VestraMDIWin> hidden = frame(12);
  hidden->close();
  EXPECT_EQ(take_sent(), "");
  EXPECT_FALSE(window(12));
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(hidden);
}

TEST_F(HostWindows, OnlyTheCurrentWindowMayBeActive) {
  feed(ESC "mpi1P2F\r" ESC "mcw10I1D\r" ESC "mcw11I9D\r");
  model_.set_current_window(window(10));
  area_->setActiveSubWindow(frame(10));
  QApplication::processEvents();
  area_->setActiveSubWindow(frame(11));
  QApplication::processEvents();
  EXPECT_EQ(area_->activeSubWindow(), frame(10));
  model_.set_current_window(window(11));
  area_->setActiveSubWindow(frame(11));
  QApplication::processEvents();
  EXPECT_EQ(area_->activeSubWindow(), frame(11));
}

TEST_F(HostWindows, TheFocusStaysWithTheCurrentWindowDuringAWait) {
  int terminal_focus = 0;
  feed(ESC "mpi1P2F\r" ESC "mcw10I1D\r" ESC "mcw11I9D\r");
  view(10)->focus_terminal = [&terminal_focus] { ++terminal_focus; };
  main_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&main_));
  view(10)->setFocus(Qt::OtherFocusReason);
  QApplication::processEvents();
  model_.set_current_window(window(10));
  model_.keys.begin_wait(wait_mode::kWindowAction);
  view(11)->setFocus(Qt::MouseFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), view(10));
  model_.keys.end_wait();
  // Outside GUI mode a host window gives the focus back to the terminal.
  in_.gui_mode = false;
  const int bells = bells_;
  view(11)->setFocus(Qt::MouseFocusReason);
  view(10)->setFocus(Qt::MouseFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(terminal_focus, 1);
  EXPECT_GT(bells_, bells);
}

TEST_F(HostWindows, KeysBecomeEventCodes) {
  feed(ESC "mpi1P2F\r" ESC "mcw10I\r");
  ScreenWin* v = view(10);
  model_.set_current_window(window(10));
  window(10)->hot_keys = 1u << 2;  // F3
  model_.keys.begin_wait(wait_mode::kFieldInput);
  QTest::keyClick(v, Qt::Key_F5);
  QTest::keyClick(v, Qt::Key_F3);
  QTest::keyClick(v, Qt::Key_F3, Qt::ShiftModifier);
  QTest::keyClick(v, Qt::Key_Tab);
  QTest::keyClick(v, Qt::Key_Backtab, Qt::ShiftModifier);
  QTest::keyClick(v, Qt::Key_Escape);
  QTest::keyClick(v, Qt::Key_Return);
  QTest::keyClick(v, Qt::Key_PageDown);
  EXPECT_EQ(queued(), (std::vector<std::int16_t>{-11, static_cast<std::int16_t>(0x8003), -6, 9, -25,
                                                 -1, 13, -4}));
  QTest::keyClick(v, Qt::Key_A);  // no typing in a field input: refused
  QTest::keyClick(v, Qt::Key_Delete);
  EXPECT_EQ(bells_, 2);
  EXPECT_TRUE(queued().empty());
  model_.keys.begin_wait(wait_mode::kWindowAction);
  QTest::keyClick(v, Qt::Key_Insert);
  QTest::keyClick(v, Qt::Key_Delete);
  QTest::keyClick(v, Qt::Key_Delete, Qt::ShiftModifier);
  QTest::keyClick(v, Qt::Key_A);
  EXPECT_EQ(queued(), (std::vector<std::int16_t>{3, 4, 5, 'a'}));
  // A held-down F5 asks once.
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(v, &repeat);
  EXPECT_TRUE(queued().empty());
  model_.keys.end_wait();
  QTest::keyClicks(v, "ok");
  EXPECT_EQ(queued(), (std::vector<std::int16_t>{'o', 'k'})) << "typed ahead";
}

TEST_F(HostWindows, AnInputWaitRunsTheEventLoopUntilACodeOrTheCancel) {
  feed(ESC "mpi1P2F\r" ESC "mcw10I\r");
  ScreenWin* v = view(10);
  model_.set_current_window(window(10));
  model_.keys.begin_wait(wait_mode::kWindowAction);
  QTimer::singleShot(5, v, [v] { QTest::keyClick(v, Qt::Key_F8); });
  EXPECT_EQ(pop_key(model_.keys), -27);
  // Host data arriving during the wait is read, and a command that cancels
  // input requests ends the wait.
  QTimer::singleShot(5, v, [this] { feed(ESC "mtw10I;Seen\r"); });
  QTimer::singleShot(10, v, [this] { model_.keys.abandon(); });
  EXPECT_EQ(pop_key(model_.keys), -28);
  EXPECT_EQ(window(10)->tag, "Seen");
  model_.keys.end_wait();
}

TEST_F(HostWindows, TheWindowsOwnCommands) {
  feed(ESC "mpi1P2F\r" ESC "mcw10I\r" ESC "mcw11I\r");
  ScreenWin* v = view(10);
  EXPECT_FALSE(v->run_command(32783)) << "no input wait";
  model_.set_current_window(window(10));
  model_.keys.begin_wait(wait_mode::kFieldInput);
  EXPECT_FALSE(view(11)->run_command(32784)) << "not the current window";
  EXPECT_TRUE(v->run_command(32783));
  EXPECT_TRUE(v->run_command(32788));
  EXPECT_TRUE(v->run_command(32784));
  EXPECT_EQ(queued(), (std::vector<std::int16_t>{-1, -1, -3}));
  take_sent();
  EXPECT_TRUE(v->run_command(61216));
  EXPECT_EQ(take_sent(), "\x1bnk1S10P\r");
  model_.keys.end_wait();
}

TEST_F(HostWindows, ClicksTheMiddleButtonAndTheWheel) {
  feed(ESC "mpi1P2F\r" ESC "mcw10I20W5H4X2Y\r");
  ScreenWin* v = view(10);
  model_.keys.begin_wait(wait_mode::kWindowAction);
  QTest::mouseClick(v, Qt::LeftButton, {}, QPoint(3 * 7 + 2, 2 * 20 + 5));
  EXPECT_EQ(queued(), std::vector<std::int16_t>{-20});
  EXPECT_EQ(in_.events.click_column, 4 + 3);
  EXPECT_EQ(in_.events.click_row, 2 + 2);
  EXPECT_EQ(in_.events.target, 0u);
  QTest::mouseClick(v, Qt::MiddleButton, {}, QPoint(5, 5));
  EXPECT_EQ(model_.keys.pop(nullptr), 0) << "the middle button is Enter";

  QWheelEvent up(QPointF(5, 5), v->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 360),
                 Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(v, &up);
  QWheelEvent down(QPointF(5, 5), v->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(v, &down);
  EXPECT_EQ(queued(), (std::vector<std::int16_t>{-10, -10, -10, -9}));

  // A field input keeps window clicks and the wheel to itself.
  model_.keys.begin_wait(wait_mode::kFieldInput);
  QTest::mouseClick(v, Qt::LeftButton, {}, QPoint(5, 5));
  QApplication::sendEvent(v, &down);
  EXPECT_TRUE(queued().empty());
  model_.keys.end_wait();
  QTest::mouseClick(v, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseClick(v, Qt::MiddleButton, {}, QPoint(5, 5));
  EXPECT_TRUE(queued().empty()) << "no wait, nothing to report";
}

TEST_F(HostWindows, TheWindowScrollBarSendsCursorKeysOrHostScrolling) {
  feed(ESC "mpi1P2F\r" ESC "mcw10I64F\r" ESC "mcw11I320F\r");
  view(10)->scroll_bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  view(10)->scroll_bar()->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(queued(), (std::vector<std::int16_t>{-8, -2}));
  view(11)->scroll_bar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(queued(), std::vector<std::int16_t>{-29});
  EXPECT_EQ(in_.events.selector, 4);
}

QColor at(const QImage& image, int x, int y) {
  return image.pixelColor(x, y);
}

TEST_F(HostWindows, BackgroundAndCaretAsPainted) {
  feed(ESC "mpi1P2F\r" ESC "mcw10I20W5H\r" ESC "mcw11I20W5H32799B\r");
  const ColourRef normal = current_terminal_colours().normal.background;
  QImage plain = view(10)->grab().toImage();
  EXPECT_EQ(at(plain, 30, 30), QColor(red_of(normal), green_of(normal), blue_of(normal)));
  EXPECT_EQ(at(view(11)->grab().toImage(), 30, 30), QColor(0, 0, 255));

  feed(ESC "mcc10P\r" ESC "mmc10P3X2Y\r");
  QImage caret = view(10)->grab().toImage();
  const QColor inverted(255 - red_of(normal), 255 - green_of(normal), 255 - blue_of(normal));
  EXPECT_EQ(at(caret, 3 * 7 + 3, 2 * 20 + 10), inverted);
  EXPECT_EQ(at(caret, 2 * 7 + 3, 2 * 20 + 10), at(plain, 2 * 7 + 3, 2 * 20 + 10));
  feed(ESC "mdc10P\r");
  EXPECT_EQ(at(view(10)->grab().toImage(), 3 * 7 + 3, 2 * 20 + 10),
            at(plain, 3 * 7 + 3, 2 * 20 + 10));
}

TEST_F(HostWindows, SavedSizesEnlargeAndUserSizesAreRemembered) {
  const FrameMetrics f = ui_->frame_metrics();
  const QSize computed(70 + 4 * f.frame_width, 100 + 4 * f.frame_height + f.caption_height);
  reg_.set_string(
      Hive::CurrentUser, window_settings_key("AR/INV"), "WindowSize",
      std::to_string(computed.width() + 30) + "/" + std::to_string(computed.height() - 10));
  feed(ESC "mpi1P2F\r" ESC "mcw10I10W5H1A131072F\r" ESC "mtw10I;AR/INV\r" ESC "maw10I\r");
  EXPECT_EQ(frame(10)->size(), QSize(computed.width() + 30, computed.height()));
  EXPECT_EQ(frame(10)->minimumSize(), computed);

  frame(10)->resize(computed.width() + 50, computed.height() + 40);
  std::string text;
  ASSERT_TRUE(
      reg_.get_string(Hive::CurrentUser, window_settings_key("AR/INV"), "WindowSize", text).ok());
  EXPECT_EQ(text,
            std::to_string(computed.width() + 50) + "/" + std::to_string(computed.height() + 40));
  frame(10)->resize(computed);
  EXPECT_TRUE(reg_.get_string(Hive::CurrentUser, window_settings_key("AR/INV"), "WindowSize", text)
                  .not_found());

  // Without a grid or flag 0x20000 nothing is remembered.
  feed(ESC "mcw11I10W5H1A\r" ESC "mtw11I;Plain\r" ESC "maw11I\r");
  frame(11)->resize(frame(11)->size() + QSize(20, 20));
  EXPECT_FALSE(read_window_size(reg_, "Plain"));
}

TEST_F(HostWindows, FrameTextsReachTheBarsAndTheTitle) {
  FrameBars& bars = ui_->bars();
  feed(ESC "mpi1P2F\r" ESC "mcw10I\r");
  model_.set_last_input_window(window(10));
  feed(ESC "mns2F1H;ACME\r" ESC "mns4F;AB\r" ESC "mns5F;CD\r" ESC "mns8F;jdoe\r" ESC
           "mns7F1H;Posting...\r" ESC "mnm2F\r");
  EXPECT_EQ(main_.windowTitle(), "ACME (Beta Release)");
  EXPECT_EQ(bars.pane(104)->text(), "AB");
  EXPECT_EQ(bars.pane(103)->text(), "CD");
  EXPECT_EQ(bars.pane(106)->text(), "jdoe");
  EXPECT_EQ(bars.pane(0)->text(), "Posting...");
  EXPECT_EQ(bars.pane(0)->frameShadow(), QFrame::Raised);
  EXPECT_EQ(bars.pane(221)->text(), "MAIL");
  feed(ESC "mnm1F\r");
  EXPECT_EQ(bars.pane(221)->text(), "");

  feed(ESC "mns10F\r" ESC "mns11F\r" ESC "mns13F\r");
  EXPECT_FALSE(main_.menuBar()->isVisible());
  EXPECT_FALSE(bars.toolbar()->isVisible());
  EXPECT_FALSE(main_.statusBar()->isVisible());
  feed(ESC "mns10F1H\r" ESC "mns11F1H\r" ESC "mns13F1H\r");
  EXPECT_TRUE(main_.menuBar()->isVisible());
  EXPECT_TRUE(bars.toolbar()->isVisible());
  EXPECT_TRUE(main_.statusBar()->isVisible());

  feed(ESC "mns12F;Acme Business\r");
  EXPECT_EQ(main_.windowTitle(), "Acme Business");

  // The toolbar's buttons follow their commands.
  bars.refresh_enabled();
  QAction* new_session = bars.toolbar()->findChild<QAction*>("32866");
  QAction* help = bars.toolbar()->findChild<QAction*>("32782");
  ASSERT_TRUE(new_session && help);
  EXPECT_TRUE(new_session->isEnabled());
  EXPECT_FALSE(help->isEnabled());
  new_session->trigger();
  EXPECT_EQ(commands_run_, std::vector<int>{32866});
}

TEST_F(HostWindows, MetricQueriesAnswerThePixels) {
  feed(ESC "mpi1P2F\r");
  take_sent();
  feed(ESC "mgv4F1M\r" ESC "mgv4F2M\r" ESC "mgv4F6M\r");
  EXPECT_EQ(take_sent(),
            "\x1bnr7S\r\x1bnr20S\r\x1bnr" + std::to_string(area_->height() - 1) + "S\r");
  ui_->colour_dialog = [](ColourRef initial) -> std::optional<ColourRef> {
    return initial == colour_ref(255, 0, 0) ? std::optional<ColourRef>(colour_ref(0, 255, 0))
                                            : std::nullopt;
  };
  feed(ESC "mgv3F64512C\r" ESC "mgv3F\r");
  EXPECT_EQ(take_sent(), "\x1bnr" + std::to_string(0x8000 | 31 << 5) + "S\r\x1bnr0S\r");
}

// A small host layout grabbed as an image: each window's colour where its
// frame was placed, the work area around them.
TEST_F(HostWindows, GrabbedLayoutShowsTheFramesWhereTheyWerePlaced) {
  feed(ESC "mpi1P2F\r");
  feed(ESC "mcw10I12W3H64512B1D;Red\r");    // top left
  feed(ESC "mcw11I12W3H33760B5D;Green\r");  // centre
  feed(ESC "mcw12I12W3H32799B9D;Blue\r");   // bottom right
  QApplication::processEvents();
  const QImage image = area_->viewport()->grab().toImage();
  auto centre_of = [this](std::uint32_t n) {
    const QRect inner = view(n)->geometry();  // inside the frame
    return frame(n)->mapTo(area_->viewport(), inner.center());
  };
  EXPECT_EQ(at(image, centre_of(10).x(), centre_of(10).y()), QColor(255, 0, 0));
  EXPECT_EQ(at(image, centre_of(11).x(), centre_of(11).y()), QColor(0, 255, 0));
  EXPECT_EQ(at(image, centre_of(12).x(), centre_of(12).y()), QColor(0, 0, 255));
  EXPECT_LT(centre_of(10).x(), centre_of(11).x());
  EXPECT_LT(centre_of(11).x(), centre_of(12).x());
  EXPECT_LT(centre_of(10).y(), centre_of(11).y());
  EXPECT_LT(centre_of(11).y(), centre_of(12).y());
  EXPECT_EQ(frame(10)->pos(), QPoint(0, 0));
  EXPECT_EQ(frame(12)->geometry().right(), work().width() - 2);
  EXPECT_EQ(frame(12)->geometry().bottom(), work().height() - 2);
  // Between the frames the work area shows through.
  const QColor between = at(image, (frame(10)->geometry().right() + frame(11)->x()) / 2,
                            (frame(10)->geometry().bottom() + frame(11)->y()) / 2);
  EXPECT_NE(between, QColor(255, 0, 0));
  EXPECT_NE(between, QColor(0, 255, 0));
  if (const char* out = std::getenv("VESTRA_SCREENSHOT")) image.save(QString::fromLocal8Bit(out));
}

}  // namespace
}  // namespace veslink
