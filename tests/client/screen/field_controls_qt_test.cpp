// The fields' controls offscreen: host bytes build a window, QTest keys and
// clicks act on the real controls while the input wait runs its nested
// event loop, and the bytes sent to the host are checked. Edits (keys,
// exit reasons, limits, hidden text, lookup and date buttons, paste),
// clicks on other fields and push buttons, window action, button and
// character waits, scrolling areas, pictures from contents items, push
// button looks, painted fields, the context menus and Copy Field.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QCalendarWidget>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <functional>

#include "client/prefs/fonts.h"
#include "client/protocol/interpreter.h"
#include "client/screen/field_controls.h"
#include "client/screen/field_flags.h"
#include "client/screen/field_layer.h"
#include "client/screen/field_widgets.h"
#include "client/screen/key_wait.h"
#include "client/screen/push_button.h"
#include "client/screen/qt_screen_ui.h"
#include "client/screen/screen_commands.h"
#include "client/screen/screen_model.h"
#include "client/screen/scrolling_area.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/function_keys.h"
#include "platform/registry/registry.h"
#include "tests/support/temp_dir.h"

namespace veslink {
namespace {

#define ESC "\x1b"
namespace ff = field_flag;

class FieldControls : public ::testing::Test {
 protected:
  FieldControls() {
    saved_metrics_ = cell_metrics();
    CellMetrics m;
    m.screen_char_width = 7;
    m.terminal_char_width = 8;
    m.screen_line_height = 16;
    m.terminal_line_height = 16;
    m.screen_max_char_width = 12;
    m.cell_height = 20;
    cell_metrics() = m;

    area_ = new QMdiArea;
    main_.setCentralWidget(area_);
    main_.resize(1100, 800);
    QtScreenHooks h;
    h.first_show = [this] { main_.show(); };
    ui_ = std::make_unique<QtScreenUi>(model_, main_, *area_, reg_, std::move(h));
    model_.set_ui(ui_.get());
    model_.set_registry(&reg_);
    QtFieldHooks fh;
    fh.main_window = [this] { return static_cast<QWidget*>(&main_); };
    fields_ = std::make_unique<QtFieldUi>(model_.fields(), std::move(fh));
    layer().set_ui(fields_.get());
    layer().wait_for_events = [this] { return wait_for_key_event(model_.keys); };
    in_.ui.cancel_input_requests = [this] { layer().cancel_requests(); };
    in_.message_buffer.allocate();
    in_.ui.send_byte = [this](std::uint8_t b) {
      sent_ += static_cast<char>(b);
      return true;
    };
    in_.ui.bell = [this] { ++bells_; };
    screen_commands::install(in_.routes, model_);
    main_.show();
    main_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&main_));
    feed(ESC "mpi1P2F\r" ESC "mcw10I60W20H\r");
    // Edits 12 ("abc") and 13 ("def") at 5,3 and 5,4; push button 30 at 5,6.
    feed(ESC "mcf10P12I1T20W5X3Y;abc\r" ESC "mcf10P13I1T20W5X4Y;def\r" ESC
             "mcf10P30I3T10W5X6Y;&OK\r");
    take_sent();
  }
  ~FieldControls() override {
    in_.programs.clear();
    layer().cancel_requests();
    layer().wait_for_events = nullptr;
    layer().set_ui(nullptr);
    fields_.reset();
    model_.set_ui(nullptr);
    ui_.reset();
    cell_metrics() = saved_metrics_;
  }

  FieldLayer& layer() { return model_.fields(); }
  void feed(std::string_view bytes) {
    in_.feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    QApplication::processEvents();
  }
  // Host bytes that start a wait; `user` acts from inside its event loop. A
  // wait still running after five seconds is abandoned, and the test fails.
  void during(std::string_view bytes, std::function<void()> user) {
    QTimer::singleShot(0, &main_, std::move(user));
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [this] {
      ADD_FAILURE() << "the wait did not end";
      layer().cancel_requests();
    });
    guard.start(5000);
    feed(bytes);
    EXPECT_FALSE(model_.keys.waiting());
  }
  std::string take_sent() { return std::exchange(sent_, {}); }
  ScreenWindow* window(std::uint32_t n) { return model_.find_window(n); }
  ScreenField* field(std::uint32_t n, std::uint32_t w = 10) {
    return ScreenModel::find_field(*window(w), 0, n);
  }
  QWidget* widget(std::uint32_t n, std::uint32_t w = 10) {
    return QtFieldUi::widget_of(*field(n, w));
  }
  QLineEdit* line(std::uint32_t n) { return qobject_cast<QLineEdit*>(widget(n)); }
  ScreenWin* view(std::uint32_t w = 10) { return QtScreenUi::view_of(*window(w)); }
  // The centre of a widget in its own coordinates.
  static QPoint middle(QWidget* w) { return w->rect().center(); }

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
  std::unique_ptr<QtFieldUi> fields_;
  std::string sent_;
  int bells_ = 0;
};

// Edits ----------------------------------------------------------------------

TEST_F(FieldControls, TheControlsOfEditsPromptsAndButtons) {
  ASSERT_TRUE(line(12));
  EXPECT_EQ(line(12)->text(), "abc");
  EXPECT_TRUE(line(12)->isReadOnly()) << "typing only during an input";
  EXPECT_EQ(line(12)->geometry(), QRect(35, 60, 146, 20));
  ASSERT_TRUE(qobject_cast<HostPushButton*>(widget(30)));
  EXPECT_EQ(widget(30)->geometry(), QRect(35, 120, 76, 20));

  feed(ESC "mcf10P14I1T10W30X3Y67108864F;secret\r" ESC "mcf10P15I1T20W30X8Y3H;one\r" ESC
           "mcf10P16I2T10W30X12Y;Plain\r" ESC "mcf10P17I2T10W30X13Y1F;Boxed\r");
  EXPECT_EQ(line(14)->echoMode(), QLineEdit::Password) << "flag 0x4000000 hides the text";
  EXPECT_TRUE(qobject_cast<QPlainTextEdit*>(widget(15))) << "several rows";
  EXPECT_EQ(widget(16), nullptr) << "a plain prompt is painted with the window";
  EXPECT_TRUE(qobject_cast<FieldStatic*>(widget(17)));

  // Changing the hidden-text bit makes the edit again.
  feed(ESC "muf10P14I1T67108864F\r");
  EXPECT_EQ(line(14)->echoMode(), QLineEdit::Normal);
  EXPECT_EQ(line(14)->text(), "secret");

  // Hidden and disabled by the flags.
  feed(ESC "muf10P30I4194304F\r");
  EXPECT_FALSE(widget(30)->isVisible());
  feed(ESC "muf10P30I1T4194304F\r" ESC "muf10P30I16777216F\r");
  EXPECT_TRUE(widget(30)->isVisible());
  EXPECT_FALSE(widget(30)->isEnabled());

  feed(ESC "mdf10P17I\r");
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(view()->findChild<FieldStatic*>("prompt 17"), nullptr);
}

TEST_F(FieldControls, KeysEndTheInputWithTheirReasons) {
  struct Case {
    const char* name;
    std::uint32_t window_flags;
    std::function<void(QWidget*)> keys;
    const char* reply;
    const char* shown_after;
  };
  const Case cases[] = {
      {"Tab", 0, [](QWidget* e) { QTest::keyClick(e, Qt::Key_Tab); }, "\x1bnd12I10P;xyz\r", "xyz"},
      {"Enter", 0, [](QWidget* e) { QTest::keyClick(e, Qt::Key_Return); }, "\x1bnd12I10P;xyz\r",
       "xyz"},
      {"Shift+Tab", 0, [](QWidget* e) { QTest::keyClick(e, Qt::Key_Backtab, Qt::ShiftModifier); },
       "\x1bI", "abc"},
      {"Shift+Tab, edited text wanted", 0x40000,
       [](QWidget* e) { QTest::keyClick(e, Qt::Key_Backtab, Qt::ShiftModifier); },
       "\x1bnd12I10P256S;xyz\r", "xyz"},
      {"Down", 0, [](QWidget* e) { QTest::keyClick(e, Qt::Key_Down); }, "\x1bnd12I10P4S;xyz\r",
       "xyz"},
      {"Up", 0, [](QWidget* e) { QTest::keyClick(e, Qt::Key_Up); }, "\x0b", "abc"},
      {"Page Down", 0, [](QWidget* e) { QTest::keyClick(e, Qt::Key_PageDown); },
       "\x1bnd12I10P1S;xyz\r", "xyz"},
      {"F4 without OK/Finish", 0, [](QWidget* e) { QTest::keyClick(e, Qt::Key_F4); },
       "\x1bnd12I10P1S;xyz\r", "xyz"},
      {"Esc", 0, [](QWidget* e) { QTest::keyClick(e, Qt::Key_Escape); }, "\x1e", "abc"},
      {"Page Up", 0, [](QWidget* e) { QTest::keyClick(e, Qt::Key_PageUp); }, "\x1bJ", "abc"},
      {"hot key F3", 0, [](QWidget* e) { QTest::keyClick(e, Qt::Key_F3); },
       "\x1bnd12I10P512S3F;xyz\r", "xyz"},
  };
  feed(ESC "mns14F10I4H\r");  // F3 is a hot key of window 10
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    feed(ESC "maf10P12I;abc\r" ESC "muw10I1T262144F\r");
    if (c.window_flags) feed(ESC "muw10I" + std::to_string(c.window_flags) + "F\r");
    QLineEdit* e = line(12);
    during(ESC "mif10P12I\r", [&] {
      EXPECT_TRUE(e->hasFocus());
      EXPECT_EQ(e->selectedText(), "abc") << "the text is selected";
      QTest::keyClicks(e, "xyz");
      c.keys(e);
    });
    EXPECT_EQ(take_sent(), c.reply);
    EXPECT_EQ(e->text(), c.shown_after);
    EXPECT_TRUE(e->isReadOnly());
  }
}

TEST_F(FieldControls, KeysThatStayInTheEdit) {
  // Left, Right, End and Delete work on the text: the caret starts at the
  // end (flag 0x10 leaves the text unselected).
  during(ESC "mif10P12I16F\r", [this] {
    QLineEdit* e = line(12);
    QTest::keyClick(e, Qt::Key_Left);
    QTest::keyClick(e, Qt::Key_Left);
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClick(e, Qt::Key_End);
    QTest::keyClick(e, Qt::Key_Right);
    QTest::keyClicks(e, "!");
    QTest::keyClick(e, Qt::Key_Tab);
  });
  EXPECT_EQ(take_sent(), "\x1bnd12I10P;ac!\r");

  // An edit with flag 0x10000000 is left by Left and Right, not by
  // Shift+Left.
  feed(ESC "mcf10P14I1T10W30X3Y268435456F;side\r");
  during(ESC "mif10P14I16F\r", [this] {
    QTest::keyClick(line(14), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(line(14)->selectedText(), "e");
    QTest::keyClick(line(14), Qt::Key_Left);
  });
  EXPECT_EQ(take_sent(), "\x16");
  during(ESC "mif10P14I\r", [this] { QTest::keyClick(line(14), Qt::Key_Right); });
  EXPECT_EQ(take_sent(), "\x0c");
}

TEST_F(FieldControls, F4FinishesWithWindowFlag0x2000OnAnUnchangedText) {
  during(ESC "mif10P12I\r", [this] { QTest::keyClick(line(12), Qt::Key_F4); });
  EXPECT_EQ(take_sent(), "\x1bK");
  feed(ESC "muw10I8192F\r");
  during(ESC "mif10P12I\r", [this] { QTest::keyClick(line(12), Qt::Key_F4); });
  EXPECT_EQ(take_sent(),
            "\x1b"
            "F");
  during(ESC "mif10P12I\r", [this] { QTest::keyClick(line(12), Qt::Key_Return); });
  EXPECT_EQ(take_sent(), "\x1bnd12I10P;\r") << "Enter on an unchanged text: empty";
  during(ESC "mif10P12I\r", [this] {
    QTest::keyClick(line(12), Qt::Key_Backspace);
    QTest::keyClick(line(12), Qt::Key_Tab);
  });
  EXPECT_EQ(take_sent(), "\x1bnd12I10P; \r") << "a cleared text is a blank";
}

TEST_F(FieldControls, ClicksOnAnotherFieldOrAButtonDuringAnInput) {
  struct Case {
    const char* name;
    std::uint32_t window_flags;
    std::uint32_t target;
    const char* reply;
    const char* shown_after;
  };
  const Case cases[] = {
      {"another field", 0, 13, "\x1bnmp13I5X4Y\r", "abc"},
      {"another field, edited text wanted", 0x40000, 13, "\x1bnd12I10P64S13F;new\r", "new"},
      {"a push button", 0, 30, "\x1bnb30I5X6Y\r", "abc"},
      {"a push button, edited text wanted", 0x40000, 30, "\x1bnd12I10P128S30F;new\r", "new"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    feed(ESC "maf10P12I;abc\r" ESC "muw10I1T262144F\r");
    if (c.window_flags) feed(ESC "muw10I" + std::to_string(c.window_flags) + "F\r");
    during(ESC "mif10P12I\r", [&] {
      QTest::keyClicks(line(12), "new");
      QTest::mouseClick(widget(c.target), Qt::LeftButton, {}, middle(widget(c.target)));
    });
    EXPECT_EQ(take_sent(), c.reply);
    EXPECT_EQ(line(12)->text(), c.shown_after);
  }
  EXPECT_EQ(window(10)->focus, field(12)) << "a press does not move the window's focus";
}

TEST_F(FieldControls, TheLimitAndSeveralRows) {
  during(ESC "mif10P12I4M\r", [this] {
    EXPECT_EQ(line(12)->maxLength(), 4);
    QTest::keyClicks(line(12), "abcdefgh");
    QTest::keyClick(line(12), Qt::Key_Return);
  });
  EXPECT_EQ(take_sent(), "\x1bnd12I10P;abcd\r");

  // The limit stops typing but cuts nothing the host gave, then or later.
  feed(ESC "maf10P12I;abcdefgh\r");
  during(ESC "mif10P12I1F4M\r", [this] {
    EXPECT_EQ(line(12)->text(), "abcdefgh");
    QTest::keyClick(line(12), Qt::Key_Return);
  });
  EXPECT_EQ(take_sent(), "\x1bnd12I10P;abcd\r") << "the reply takes the limit";
  feed(ESC "maf10P12I;0123456789\r");
  EXPECT_EQ(line(12)->text(), "0123456789");

  // A one-cell edit is multi-line, but selected and ended as one row.
  feed(ESC "mcf10P16I1T1W40X3Y;n\r");
  ASSERT_TRUE(qobject_cast<QPlainTextEdit*>(widget(16)));
  during(ESC "mif10P16I\r", [this] {
    QTest::keyClicks(widget(16), "yes");
    QTest::keyClick(widget(16), Qt::Key_Return);
  });
  EXPECT_EQ(take_sent(), "\x1bnd16I10P;y\r");

  feed(ESC "mcf10P15I1T20W30X8Y3H;one\r");
  auto* e = qobject_cast<QPlainTextEdit*>(widget(15));
  ASSERT_TRUE(e);
  during(ESC "mif10P15I8M\r", [e] {
    QTest::keyClick(e, Qt::Key_Return);  // a line break in the text
    QTest::keyClicks(e, "twothree");
    QTest::keyClick(e, Qt::Key_PageDown);  // the edit's own key: it scrolls
    QTest::keyClick(e, Qt::Key_F4);
  });
  EXPECT_EQ(take_sent(), "\x1bnd15I10P1S;one\ntwot\r") << "eight characters at most";
}

TEST_F(FieldControls, TypedAheadKeysAndAPasteAcrossFields) {
  // Keys typed into the window before the input are replayed into the edit.
  QTest::keyClicks(view(), "hi");
  during(ESC "mif10P12I\r", [this] { QTest::keyClick(line(12), Qt::Key_Tab); });
  EXPECT_EQ(take_sent(), "\x1bnd12I10P;hi\r");

  QApplication::clipboard()->setText("first\tsecond");
  during(ESC "mif10P12I\r", [this] { QTest::keyClick(line(12), Qt::Key_V, Qt::ControlModifier); });
  EXPECT_EQ(take_sent(), "\x1bnd12I10P;first\r");
  during(ESC "mif10P13I\r", [this] {
    EXPECT_EQ(line(13)->text(), "second");
    QTest::keyClick(line(13), Qt::Key_Tab);
  });
  EXPECT_EQ(take_sent(), "\x1bnd13I10P;second\r");
}

TEST_F(FieldControls, UndoCutAndCopyWorkOnTheEditBeingInput) {
  QApplication::clipboard()->setText("before");
  during(ESC "mif10P12I\r", [this] {
    QLineEdit* e = line(12);
    QTest::keyClick(e, Qt::Key_X, Qt::ControlModifier);  // cuts the selected text
    EXPECT_EQ(e->text(), "");
    EXPECT_EQ(QApplication::clipboard()->text(), "abc");
    QTest::keyClicks(e, "new");
    QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(e->text(), "new") << "undone";
    e->setText("kept");
    e->selectAll();
    QTest::keyClick(e, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Tab);
  });
  EXPECT_EQ(take_sent(), "\x1bnd12I10P;kept\r");
  EXPECT_EQ(QApplication::clipboard()->text(), "kept");

  // Outside an input the edit is only read: Cut and Paste change nothing.
  line(13)->selectAll();
  QTest::keyClick(line(13), Qt::Key_X, Qt::ControlModifier);
  QTest::keyClick(line(13), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(line(13)->text(), "def");
  EXPECT_EQ(take_sent(), "");
}

TEST_F(FieldControls, LookupAndDateButtons) {
  feed(ESC "mcf10P14I1T12W30X3Y1048576F\r" ESC "mcf10P15I1T12W30X5Y2097152F;3-feb-24\r");
  // Lookup: F2 and the button both ask the host for its lookup.
  during(ESC "mif10P14I\r", [this] {
    ASSERT_TRUE(fields_->input_button());
    EXPECT_EQ(fields_->input_button()->geometry().topLeft(),
              widget(14)->geometry().topRight() + QPoint(2, 1));
    QTest::keyClick(line(14), Qt::Key_F2);
  });
  EXPECT_EQ(take_sent(), "\x01@\r");
  during(ESC "mif10P14I\r", [this] { fields_->input_button()->click(); });
  EXPECT_EQ(take_sent(), "\x01@\r");
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(fields_->input_button()) << "the button lives for one input";

  // Date: F2 opens and closes the calendar and sends nothing; a chosen
  // date is typed into the edit and ends the input.
  during(ESC "mif10P15I\r", [this] {
    QTest::keyClick(line(15), Qt::Key_F2);
    ASSERT_TRUE(fields_->calendar());
    EXPECT_EQ(fields_->calendar()->selectedDate(), QDate(2024, 2, 3));
    QTest::keyClick(line(15), Qt::Key_F2);
    EXPECT_FALSE(fields_->calendar());
    fields_->input_button()->click();
    ASSERT_TRUE(fields_->calendar());
    fields_->calendar()->setSelectedDate(QDate(2025, 7, 7));
    emit fields_->calendar()->activated(QDate(2025, 7, 7));
  });
  EXPECT_EQ(take_sent(), "\x1bnd15I10P;7-JUL-2025\r");
  EXPECT_FALSE(fields_->calendar());
}

// Other waits -----------------------------------------------------------------

TEST_F(FieldControls, WindowActionWaitPressesAndKeys) {
  feed(ESC "mcf10P31I3T10W20X6Y4096F;Save\r");
  during(ESC "mib10P\r", [this] {
    EXPECT_TRUE(widget(31)->hasFocus()) << "the default button is chosen";
    QTest::mouseClick(widget(30), Qt::LeftButton, {}, middle(widget(30)));
  });
  EXPECT_EQ(take_sent(), "\x1bnb30I5X6Y\r");
  auto* chosen = qobject_cast<HostPushButton*>(widget(31));
  during(ESC "mib10P\r", [chosen] {
    chosen->repaint();
    EXPECT_EQ(chosen->last_look().state, ButtonState::Focused);
    QTest::keyClick(chosen, Qt::Key_Return);  // the host's Enter, not a press
  });
  EXPECT_EQ(take_sent(), "\r");
  during(ESC "mib10P\r", [this] { QTest::keyClicks(view(), "q"); });
  EXPECT_EQ(take_sent(), "q");
  // A click on the window itself reports its cell.
  during(ESC "mib10P\r", [this] {
    QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(40 * 7 + 3, 15 * 20 + 5));
  });
  EXPECT_EQ(take_sent(), "\x1bnmp40X15Y\r");
}

TEST_F(FieldControls, ButtonInputOnARadioButton) {
  feed(ESC "mcf10P40I12T10W5X10Y;Yes\r");
  auto* radio = qobject_cast<QRadioButton*>(widget(40));
  ASSERT_TRUE(radio);
  EXPECT_FALSE(radio->isChecked());
  during(ESC "mir10P40I\r", [radio] {
    EXPECT_TRUE(radio->hasFocus());
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(5, 5));
  });
  EXPECT_EQ(take_sent(), "\x1bnb40I5X10Y\r");
  EXPECT_FALSE(radio->isChecked()) << "the host sets the state";
  feed(ESC "muf10P40I2048F\r");
  EXPECT_TRUE(radio->isChecked());
  during(ESC "mir10P40I\r", [radio] { QTest::keyClick(radio, Qt::Key_Return); });
  EXPECT_EQ(take_sent(), "\x1bnr0S\r");
  during(ESC "mir10P40I\r", [radio] { QTest::keyClick(radio, Qt::Key_Tab); });
  EXPECT_EQ(take_sent(), "\x1bnr9S\r");
}

TEST_F(FieldControls, CharacterInputUntilTheHostCancels) {
  during(ESC "mic10P1F\r", [this] {
    QTest::keyClicks(view(), "ab");
    QTest::keyClick(view(), Qt::Key_Up);
    QTimer::singleShot(0, &main_, [this] { feed(ESC "maf10P12I;x\r"); });
  });
  EXPECT_EQ(take_sent(), "ab\x0b");
}

TEST_F(FieldControls, FocusStaysInTheCurrentWindow) {
  feed(ESC "mcw11I30W5H9D\r" ESC "mcf11P12I1T10W1X1Y;other\r");
  during(ESC "mif10P12I\r", [this] {
    QTest::mouseClick(widget(12, 11), Qt::LeftButton, {}, QPoint(3, 3));
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), line(12)) << "back in the current window";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  });
  EXPECT_EQ(take_sent(), "\x1bnd12I10P;\r") << "the click elsewhere changed nothing";
}

// Scrolling areas ---------------------------------------------------------------

TEST_F(FieldControls, ScrollingAreasClicksScrollBarAndWheel) {
  const int frame_before = QtScreenUi::frame_of(*window(10))->width();
  feed(ESC "mcf10P5I5T40W2X9Y5H\r" ESC "mcf10P20I2T10W3X10Y8192F;row\r");
  EXPECT_GT(QtScreenUi::frame_of(*window(10))->width(), frame_before) << "room for a scroll bar";
  auto* area = qobject_cast<ScrollingAreaWin*>(widget(5));
  ASSERT_TRUE(area);
  EXPECT_EQ(widget(20)->parentWidget(), area->inside());

  // A click on the row picks it, at the cell under the pointer (column 6,
  // row 10); at level 2 as -39.
  const QPoint cell_6_10(6 * 7 + 3, 10 * 20 + 10);
  during(ESC "mib10P\r", [this, cell_6_10] {
    QWidget* row = widget(20);
    QTest::mouseClick(row, Qt::LeftButton, {}, row->mapFrom(view(), cell_6_10));
  });
  EXPECT_EQ(take_sent(), "\x1bnmr5I6X10Y\r");
  // A double click on it: -40.
  during(ESC "mib10P\r", [this, cell_6_10] {
    QWidget* row = widget(20);
    const QPointF at = row->mapFrom(view(), cell_6_10);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, row->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(row, &twice);
  });
  EXPECT_EQ(take_sent(), "\x1bnmR5I6X10Y\r");

  during(ESC "mib10P\r",
         [area] { area->scroll_bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd); });
  EXPECT_EQ(take_sent(), "\n");
  EXPECT_EQ(area->scroll_bar()->value(), 50) << "the thumb stays where the host put it";
  feed(ESC "mrt10P5I80H\r");
  EXPECT_EQ(area->scroll_bar()->value(), 80);

  during(ESC "mib10P\r", [area] {
    QWheelEvent up(QPointF(5, 5), area->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area->inside(), &up);
  });
  EXPECT_EQ(take_sent(), "\x0b") << "the wheel over an area: cursor up";

  // With host scrolling the bar and the wheel send scroll requests.
  feed(ESC "muw10I256F\r");
  during(ESC "mib10P\r",
         [area] { area->scroll_bar()->triggerAction(QAbstractSlider::SliderPageStepAdd); });
  EXPECT_EQ(take_sent(), "\x1bnt5I4S\r");
  during(ESC "mib10P\r", [area] {
    QWheelEvent down(QPointF(5, 5), area->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &down);
  });
  EXPECT_EQ(take_sent(), "\x1bnt5I2S\r");
}

// Pictures, push buttons and painting ---------------------------------------------

QByteArray png_of(int width, int height, QColor colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

TEST_F(FieldControls, PicturesAndButtonImagesFromContentsItems) {
  const std::string file = dir_.path() + "/red.png";
  {
    QFile out(QString::fromStdString(file));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(png_of(32, 24, Qt::red));
  }
  const std::string green = png_of(30, 10, Qt::green).toBase64().toStdString();
  // A tiny picture in the text form of the "t," item: XPM is text.
  const std::string xpm =
      "/* XPM */\nstatic char *b[] = {\n\"4 2 1 1\",\n\". c #0000FF\",\n\"....\",\n\"....\"};\n";

  feed(ESC "mcf10P40I7T1W40X1Y1F;f," + file + "\r");
  feed(ESC "mcf10P41I7T1W45X1Y;e," + green + "\r");
  feed(ESC "mcf10P42I7T1W50X1Y;t," + xpm + "\r");
  auto* red_pic = qobject_cast<FieldPicture*>(widget(40));
  ASSERT_TRUE(red_pic);
  EXPECT_EQ(red_pic->image.size(), QSize(32, 24));
  EXPECT_EQ(red_pic->size(), QSize(34, 26)) << "natural size plus the thin border";
  EXPECT_EQ(qobject_cast<FieldPicture*>(widget(41))->image.size(), QSize(30, 10));
  EXPECT_EQ(qobject_cast<FieldPicture*>(widget(42))->image.pixelColor(0, 0), QColor(0, 0, 255));

  // A one-cell push button with a normal image and no pressed one.
  feed(ESC "mcf10P31I3T1W40X8Y;Go\tf," + file + "\r");
  EXPECT_EQ(widget(31)->size(), QSize(36, 28));
  // A file that cannot be read leaves the button without an image.
  feed(ESC "mcf10P32I3T10W40X10Y;Gone\tf," + dir_.path() + "/missing.png\r");
  EXPECT_EQ(widget(32)->size(), QSize(76, 20));

  // A background picture is drawn by the window, stretched with 0x100.
  feed(ESC "mcf10P43I7T4W40X14Y2H272F;f," + file + "\r");
  EXPECT_EQ(widget(43), nullptr);
  const QImage shot = view()->grab().toImage();
  const QRect r(field(43)->pixels.left, field(43)->pixels.top, field(43)->pixels.width,
                field(43)->pixels.height);
  EXPECT_EQ(shot.pixelColor(r.center()), QColor(Qt::red));
}

TEST_F(FieldControls, PushButtonLooksAndIcons) {
  feed(ESC "mcf10P31I3T12W20X8Y2101248F5A;Print\r");  // default look, icon 5
  auto* b = qobject_cast<HostPushButton*>(widget(31));
  ASSERT_TRUE(b);
  b->repaint();
  EXPECT_EQ(b->last_look().state, ButtonState::Focused);
  EXPECT_GE(b->height(), 20);
  feed(ESC "muw10I1024F\r");
  b->repaint();
  EXPECT_EQ(b->last_look().state, ButtonState::Normal) << "window flag 0x400";
  feed(ESC "muf10P31I16777216F\r");
  b->repaint();
  EXPECT_EQ(b->last_look().state, ButtonState::Disabled);

  // Dragging over the background takes the pressed look off the focused
  // button.
  feed(ESC "mcf10P33I3T10W35X8Y3072F;Held\r");
  window(10)->focus = field(33);
  QTest::mousePress(view(), Qt::LeftButton, {}, QPoint(400, 380));
  QMouseEvent drag(QEvent::MouseMove, QPointF(390, 370), view()->mapToGlobal(QPointF(390, 370)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view(), &drag);
  QTest::mouseRelease(view(), Qt::LeftButton, {}, QPoint(390, 370));
  EXPECT_EQ(field(33)->flags, ff::kFocused);

  // A flat button is filled with its own background.
  feed(ESC "mcf10P32I3T10W20X12Y64F33760B;Flat\r");
  const QImage flat = widget(32)->grab().toImage();
  EXPECT_EQ(flat.pixelColor(2, 2), QColor(0, 255, 0));
}

TEST_F(FieldControls, PaintedPromptsAndGroupFrames) {
  feed(ESC "mcf10P50I4T20W30X10Y5H33792B;Group\r");
  feed(ESC "mcf10P51I2T10W31X12Y33792C64512B;Painted\r");
  const QImage shot = view()->grab().toImage();
  const PixelRect& frame = field(50)->pixels;
  EXPECT_EQ(shot.pixelColor(frame.left + frame.width / 2, frame.top + frame.height - 5),
            QColor(8, 0, 0))
      << "filled with its own B";
  const PixelRect& prompt = field(51)->pixels;
  EXPECT_EQ(shot.pixelColor(prompt.left + prompt.width - 2, prompt.top + 1), QColor(255, 0, 0))
      << "a painted prompt with its own B fills its box";
}

// Menus and Copy Field --------------------------------------------------------

// Runs `pick` on the menu that pops up next.
void on_next_menu(std::function<void(QMenu*)> pick) {
  QTimer::singleShot(0, [pick] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) {
      ADD_FAILURE() << "no menu";
      return;
    }
    pick(menu);
    if (menu->isVisible()) menu->close();
  });
}

QAction* action(QMenu* menu, int id) {
  for (QAction* a : menu->actions())
    if (!a->isSeparator() && a->data().toInt() == id) return a;
  return nullptr;
}

// Chooses an entry as the user does: highlighted, then Enter.
void choose(QMenu* menu, int id) {
  QAction* a = action(menu, id);
  if (!a) {
    ADD_FAILURE() << "no entry " << id;
    return;
  }
  menu->setActiveAction(a);
  QTest::keyClick(menu, Qt::Key_Return);
}

TEST_F(FieldControls, TheEditMenuAndTheWindowMenu) {
  during(ESC "mif10P12I\r", [this] {
    on_next_menu([](QMenu* m) {
      ASSERT_TRUE(action(m, 32786));
      EXPECT_TRUE(action(m, 32787)->isEnabled()) << "Paste on the field being input";
      choose(m, 32783);  // Cancel
    });
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(3, 3),
                           line(12)->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(line(12), &menu);
  });
  EXPECT_EQ(take_sent(), "\x1e");

  // The window menu lists the first 25 push buttons during a window wait.
  for (int i = 0; i < 30; ++i)
    feed(ESC "mcf10P" + std::to_string(100 + i) + "I3T2W" + std::to_string(i * 2) + "X18Y;B" +
         std::to_string(i) + "\r");
  feed(ESC "mcf10P131I3T2W1X19Y1048576F;Hidden from the menu\r");
  during(ESC "mib10P\r", [this] {
    on_next_menu([](QMenu* m) {
      int buttons = 0;
      for (QAction* a : m->actions())
        if (a->data().toInt() >= 61217 && a->data().toInt() <= 61241) ++buttons;
      EXPECT_EQ(buttons, 25);
      EXPECT_EQ(action(m, 61217)->text(), "&OK");
      EXPECT_TRUE(action(m, 61216)) << "Close";
      choose(m, 61218);
    });
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(400, 380),
                           view()->mapToGlobal(QPoint(400, 380)));
    QApplication::sendEvent(view(), &menu);
  });
  EXPECT_EQ(take_sent(), "\x1bnb100I0X18Y\r") << "the second entry presses the second button";
}

TEST_F(FieldControls, CopyFieldCopiesTheNextFieldClicked) {
  feed(ESC "mcf10P16I2T10W30X12Y;Painted\r");
  fields_->arm_copy_field();
  const QPalette normal = line(13)->palette();
  QTest::mousePress(line(13), Qt::LeftButton, {}, QPoint(3, 3));
  EXPECT_EQ(line(13)->palette().color(QPalette::Base), normal.color(QPalette::Text))
      << "held down, the field copied shows its colours swapped";
  EXPECT_EQ(line(13)->palette().color(QPalette::Text), normal.color(QPalette::Base));
  QTest::mouseRelease(line(13), Qt::LeftButton, {}, QPoint(3, 3));
  EXPECT_EQ(line(13)->palette(), normal);
  EXPECT_EQ(QApplication::clipboard()->text(), "def");
  EXPECT_FALSE(fields_->copy_field_armed());
  fields_->arm_copy_field();
  QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(31 * 7, 12 * 20 + 8));
  EXPECT_EQ(QApplication::clipboard()->text(), "Painted");
  QApplication::clipboard()->setText("kept");
  QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(31 * 7, 12 * 20 + 8));
  EXPECT_EQ(QApplication::clipboard()->text(), "kept") << "one click only";

  // A field that hides its typing gives nothing to the clipboard.
  feed(ESC "mcf10P14I1T10W30X3Y67108864F;secret\r");
  fields_->arm_copy_field();
  QTest::mouseClick(line(14), Qt::LeftButton, {}, QPoint(3, 3));
  EXPECT_FALSE(fields_->copy_field_armed());
  EXPECT_EQ(QApplication::clipboard()->text(), "kept");
  model_.set_current_window(window(10));
  on_next_menu([](QMenu* m) { choose(m, 32785); });  // Copy
  QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(3, 3),
                         line(14)->mapToGlobal(QPoint(3, 3)));
  QApplication::sendEvent(line(14), &menu);
  EXPECT_EQ(QApplication::clipboard()->text(), "kept");
}

}  // namespace
}  // namespace veslink
