// The terminal window offscreen: key presses to the bytes sent, mouse
// reports with the activation click, selection and Copy, Paste, closing,
// the work-area geometry, a rendered page (line drawing, a button run,
// reverse cells, field outlines, the caret) and repainting only what changed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTest>

#include "client/protocol/interpreter.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/function_keys.h"
#include "client/terminal/terminal_win.h"

namespace veslink {
namespace {

#define ESC "\x1b"

QFont test_font() {
  QFont font("Liberation Mono");
  font.setPixelSize(14);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  return font;
}

class TerminalWinTest : public ::testing::Test {
 protected:
  TerminalWinTest() {
    TerminalWin::Hooks hooks;
    hooks.send_byte = [this](unsigned char b) {
      if (!connected) return false;
      sent += static_cast<char>(b);
      return true;
    };
    hooks.connected = [this] { return connected; };
    hooks.gui_mode = [this] { return gui; };
    hooks.close_main = [this] { ++main_closes; };
    hooks.beep = [this] { ++beeps; };
    hooks.selection_mode = [this](bool on) { selection_changes.push_back(on); };
    hooks.now_ms = [this] { return clock; };
    win.set_hooks(std::move(hooks));
    win.set_function_keys(keys);
    win.set_terminal_font(test_font(), 9, 16);
    in.ui.send_byte = [this](std::uint8_t b) {
      replies += static_cast<char>(b);
      return true;
    };
    in.ui.enhanced_mode = [this](bool on) { win.set_enhanced_mode(on); };
    in.ui.cursor_visible = [this](bool on) { win.set_cursor_visible(on); };
  }

  // Host bytes through a real interpreter onto the window's screen.
  void host(std::string_view bytes) {
    in.feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    win.refresh();
  }

  void show_active() {
    win.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&win));
    win.activateWindow();
    win.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&win));
    QApplication::processEvents();
  }

  std::string take() {
    std::string out;
    out.swap(sent);
    return out;
  }

  std::string key(int qt_key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                  const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, qt_key, mods, text);
    QApplication::sendEvent(&win, &press);
    return take();
  }

  QPoint centre(int row, int column) const {
    return win.cell_geometry().cell_rect(row, column).center();
  }

  std::string mouse(QEvent::Type type, Qt::MouseButton button, QPoint at,
                    Qt::KeyboardModifiers mods = Qt::NoModifier) {
    Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    if (type == QEvent::MouseMove) held = Qt::LeftButton;
    QMouseEvent e(type, QPointF(at), win.mapToGlobal(QPointF(at)),
                  type == QEvent::MouseMove ? Qt::NoButton : button, held, mods);
    QApplication::sendEvent(&win, &e);
    return take();
  }
  std::string click(int row, int column, Qt::MouseButton button = Qt::LeftButton) {
    std::string out = mouse(QEvent::MouseButtonPress, button, centre(row, column));
    return out + mouse(QEvent::MouseButtonRelease, button, centre(row, column));
  }

  QRgb pixel(const QImage& image, int x, int y) const { return image.pixel(x, y) & 0xFFFFFF; }
  // Pixels of a cell that differ from a colour (a glyph's strokes).
  int ink(const QImage& image, const QRect& cell, QRgb background) const {
    int n = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      for (int x = cell.left(); x <= cell.right(); ++x)
        n += pixel(image, x, y) != background;
    return n;
  }

  CharScreen screen;
  FunctionKeys keys;
  Interpreter in{screen, keys};
  TerminalWin win{"Terminal Mode", screen};
  std::string sent;
  std::string replies;
  bool connected = true;
  bool gui = false;
  int main_closes = 0;
  int beeps = 0;
  std::vector<bool> selection_changes;
  std::int64_t clock = 100000;
};

TEST_F(TerminalWinTest, KeysSendTheDialectsStrings) {
  struct Case {
    const char* name;
    int key;
    Qt::KeyboardModifiers mods;
    QString text;
    std::string bytes;
  };
  const Case cases[] = {
      {"Up", Qt::Key_Up, Qt::NoModifier, {}, "\x0b"},
      {"Down", Qt::Key_Down, Qt::NoModifier, {}, "\n"},
      {"Page Down", Qt::Key_PageDown, Qt::NoModifier, {}, ESC "K"},
      {"Delete (its text is DEL)", Qt::Key_Delete, Qt::NoModifier, "\x7f", ESC "W"},
      {"Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier, {}, ESC "E"},
      {"F1", Qt::Key_F1, Qt::NoModifier, {}, "\x01@\r"},
      {"F10", Qt::Key_F10, Qt::NoModifier, {}, "\x01I\r"},
      {"Shift+F2",
       Qt::Key_F2,
       Qt::ShiftModifier,
       {},
       "\x01"
       "a\r"},
      {"Ctrl+F2", Qt::Key_F2, Qt::ControlModifier, {}, "\x01K\r"},
      {"Ctrl+Shift+F2", Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier, {}, "\x01k\r"},
      {"Ctrl+F8 unprogrammed", Qt::Key_F8, Qt::ControlModifier, {}, ""},
      {"Return", Qt::Key_Return, Qt::NoModifier, "\r", "\r"},
      {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, "\r", "\r"},
      {"Backspace", Qt::Key_Backspace, Qt::NoModifier, "\b", "\x08"},
      {"Ctrl+Backspace", Qt::Key_Backspace, Qt::ControlModifier, {}, "\x7f"},
      {"Tab", Qt::Key_Tab, Qt::NoModifier, "\t", "\t"},
      {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, {}, ESC "I"},
      {"Escape", Qt::Key_Escape, Qt::NoModifier, "\x1b", ESC},
      {"Ctrl+C", Qt::Key_C, Qt::ControlModifier, "c", "\x03"},
      {"Ctrl+[", Qt::Key_BracketLeft, Qt::ControlModifier, {}, ESC},
      {"a letter", Qt::Key_A, Qt::NoModifier, "a", "a"},
      {"a capital", Qt::Key_A, Qt::ShiftModifier, "A", "A"},
      {"a Latin-1 letter", Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xE9)), "\xe9"},
      {"the euro sign", Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x20AC)), "\x80"},
      {"Alt is for the menus", Qt::Key_F, Qt::AltModifier, "f", ""},
      {"Shift alone", Qt::Key_Shift, Qt::ShiftModifier, {}, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(key(c.key, c.mods, c.text), c.bytes) << c.name;

  // The host programs Up; ESC cU brings the default back. Ctrl+F8 sends
  // its key code's string once there is one.
  host(ESC "Z0+xyz\x7f");
  keys.program(2, "ctrl8");
  EXPECT_EQ(key(Qt::Key_Up), "xyz");
  EXPECT_EQ(key(Qt::Key_F8, Qt::ControlModifier), "ctrl8");
  host(ESC "cU");
  EXPECT_EQ(key(Qt::Key_Up), "\x0b");

  // Not connected, keys send nothing.
  connected = false;
  EXPECT_EQ(key(Qt::Key_A, Qt::NoModifier, "a"), "");
}

TEST_F(TerminalWinTest, MouseReportsInEnhancedMode) {
  show_active();
  host(ESC "~P");
  ASSERT_TRUE(win.enhanced_mode());
  // The click that activated the window is not reported.
  clock += 100;
  EXPECT_EQ(click(3, 5), "");
  clock += 5000;
  EXPECT_EQ(mouse(QEvent::MouseButtonPress, Qt::LeftButton, centre(3, 5)), ESC "m5C3R");
  EXPECT_EQ(mouse(QEvent::MouseMove, Qt::LeftButton, centre(3, 5)), "");
  EXPECT_EQ(mouse(QEvent::MouseMove, Qt::LeftButton, centre(4, 7)), ESC "m7C4R");
  EXPECT_EQ(mouse(QEvent::MouseButtonRelease, Qt::LeftButton, centre(4, 7)), ESC "M");
  // A double click: press, release, double click, release.
  EXPECT_EQ(click(6, 1), ESC "m1C6R" ESC "M");
  EXPECT_EQ(mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, centre(6, 1)), ESC "c");
  EXPECT_EQ(mouse(QEvent::MouseButtonRelease, Qt::LeftButton, centre(6, 1)), "");
  EXPECT_EQ(click(0, 0, Qt::RightButton), "\x7f");
  EXPECT_EQ(click(0, 0, Qt::MiddleButton), "\r");
  // With a modifier held nothing counts.
  EXPECT_EQ(mouse(QEvent::MouseButtonPress, Qt::LeftButton, centre(2, 2), Qt::ShiftModifier), "");
  // A cell right of a button cell is reported one column further left.
  host(ESC "=)*" ESC "g82OK" ESC "g00");  // row 9, columns 10 and 11
  EXPECT_EQ(click(9, 12), ESC "m11C9R" ESC "M");
  EXPECT_EQ(click(9, 10), ESC "m10C9R" ESC "M");
  // Leaving enhanced mode: only the middle button is left.
  host(ESC "~4");
  EXPECT_EQ(click(3, 3), "");
  EXPECT_EQ(click(3, 3, Qt::RightButton), "");
  EXPECT_EQ(click(3, 3, Qt::MiddleButton), "\r");
}

TEST_F(TerminalWinTest, SelectionCopiesARectangle) {
  show_active();
  host("alpha   beta\r\n  gamma  \r\n\r\ndelta epsilon");
  QGuiApplication::clipboard()->setText("before");
  win.start_selection();
  EXPECT_EQ(selection_changes, std::vector<bool>{true});
  EXPECT_EQ(win.caret_shape(), CaretShape::Hidden);
  // Keys only beep while selecting.
  EXPECT_EQ(key(Qt::Key_A, Qt::NoModifier, "a"), "");
  EXPECT_EQ(beeps, 1);
  mouse(QEvent::MouseButtonPress, Qt::LeftButton, centre(3, 9));
  mouse(QEvent::MouseMove, Qt::LeftButton, centre(0, 2));
  // The rectangle is drawn inverted while it is dragged.
  const QImage during = win.grab().toImage();
  EXPECT_EQ(pixel(during, win.cell_geometry().cell_rect(2, 5).center().x(),
                  win.cell_geometry().cell_rect(2, 5).center().y()),
            0x3F3F3Fu);  // silver inverted
  mouse(QEvent::MouseButtonRelease, Qt::LeftButton, centre(0, 2));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("pha   be\r\ngamma\r\n\r\nlta epsi"));
  EXPECT_EQ(selection_changes, (std::vector<bool>{true, false}));
  EXPECT_FALSE(win.selecting());
  EXPECT_EQ(win.caret_shape(), CaretShape::Block);
  EXPECT_EQ(sent, "");  // no mouse report while selecting

  // The right button ends selection mode without copying.
  QGuiApplication::clipboard()->setText("kept");
  win.start_selection();
  mouse(QEvent::MouseButtonPress, Qt::LeftButton, centre(0, 0));
  mouse(QEvent::MouseButtonRelease, Qt::RightButton, centre(1, 1));
  EXPECT_FALSE(win.selecting());
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("kept"));
}

TEST_F(TerminalWinTest, PasteTypesTheClipboardWithoutLineFeeds) {
  QGuiApplication::clipboard()->setText(QString::fromUtf8("ls -l\r\necho caf\u00e9\n"));
  win.paste();
  EXPECT_EQ(take(), "ls -l\recho caf\xe9");
  connected = false;
  win.paste();
  EXPECT_EQ(take(), "");
}

TEST_F(TerminalWinTest, ClosingDependsOnTheMode) {
  show_active();
  win.close();  // a shell: it logs out
  EXPECT_EQ(take(), "exit\n");
  EXPECT_TRUE(win.isVisible());  // the window itself stays
  host(ESC "~P" ESC "Z0*bye\x7f");
  win.close();  // enhanced mode: the Home key's string, as programmed
  EXPECT_EQ(take(), "bye");
  gui = true;
  win.close();
  EXPECT_EQ(take(), "");
  EXPECT_EQ(beeps, 1);
  gui = false;
  connected = false;
  win.close();
  EXPECT_EQ(main_closes, 1);
}

TEST_F(TerminalWinTest, SitsCentredInTheWorkAreaAndFollowsTheColumns) {
  QMainWindow main;
  auto* area = new QMdiArea(&main);
  main.setCentralWidget(area);
  main.resize(400, 300);  // too small for 80 columns
  auto* child = new TerminalWin("Terminal Mode", screen);
  child->set_terminal_font(test_font(), 9, 16);
  QMdiSubWindow* sub = area->addSubWindow(child);
  sub->hide();
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  child->show_terminal();
  QApplication::processEvents();
  EXPECT_TRUE(sub->isVisible());
  EXPECT_EQ(child->size(), QSize(80 * 9, 24 * 17));
  EXPECT_GE(area->viewport()->width(), sub->width());
  EXPECT_GE(area->viewport()->height(), sub->height());
  EXPECT_EQ(sub->x(), (area->viewport()->width() - sub->width()) / 2);
  EXPECT_EQ(sub->y(), (area->viewport()->height() - sub->height()) / 2);
  EXPECT_EQ(area->activeSubWindow(), sub);

  screen.current().change_columns(132);
  child->columns_changed();
  QApplication::processEvents();
  EXPECT_EQ(child->size(), QSize(132 * 9, 24 * 17));
  screen.current().change_columns(80);
  child->columns_changed();
  QApplication::processEvents();
  EXPECT_EQ(child->width(), 80 * 9);

  child->hide_terminal();
  EXPECT_FALSE(sub->isVisible());
}

// A page painted into an image: what the cells say is where the pixels are.
TEST_F(TerminalWinTest, RendersLinesButtonsReverseFieldsAndCaret) {
  show_active();
  const CellGeometry g = win.cell_geometry();
  const QRgb line = 0x000080;                   // normal text, navy
  const QRgb background = 0xC0C0C0;             // normal background, silver
  host(ESC "=\"\"" ESC "H\x02lqQk" ESC "H\x03"  // row 2: corner, single, double, corner
       ESC "=#\"" ESC "H\x02x" ESC "H\x03"      // row 3, column 2: a vertical line
       ESC "=%*" ESC "g82OK" ESC "g00"          // row 5, columns 10-11: a button
       ESC "=' " ESC "G4 " ESC "G0"             // row 7, column 0: a reverse blank
       ESC "=(\"" ESC "g40    " ESC "g00"       // row 8, columns 2-5: a field
       ESC "=2!");                              // the cursor at row 18, column 1
  QImage image = win.grab().toImage();

  // Line drawing: arms from the cell centre, nothing in the corners.
  const QRect corner = g.cell_rect(2, 2), single = g.cell_rect(2, 3), twin = g.cell_rect(2, 4);
  const int cy = corner.top() + g.row_height() / 2;
  EXPECT_EQ(pixel(image, corner.left() + g.char_width / 2, corner.bottom()), line);  // down arm
  EXPECT_EQ(pixel(image, corner.right(), cy), line);                                 // right arm
  EXPECT_EQ(pixel(image, corner.left(), cy), background);                            // no left arm
  EXPECT_EQ(pixel(image, corner.left() + g.char_width / 2, corner.top()), background);
  EXPECT_EQ(pixel(image, single.left(), cy), line);
  EXPECT_EQ(pixel(image, single.right(), cy), line);
  EXPECT_EQ(pixel(image, single.left() + 2, single.top() + 1), background);
  EXPECT_EQ(pixel(image, twin.left(), cy - 1), line);  // two lines, one pixel apart
  EXPECT_EQ(pixel(image, twin.left(), cy + 1), line);
  EXPECT_EQ(pixel(image, twin.left(), cy), background);
  const QRect vertical = g.cell_rect(3, 2);
  EXPECT_EQ(pixel(image, vertical.left() + g.char_width / 2, vertical.top()), line);
  EXPECT_EQ(pixel(image, vertical.left() + g.char_width / 2, vertical.bottom()), line);
  EXPECT_EQ(pixel(image, vertical.left(), vertical.top() + 3), background);

  // The button: a raised frame around both cells, button face inside.
  const QRect button = g.cell_rect(5, 10, 2);
  EXPECT_EQ(pixel(image, button.left(), button.top()), 0xFFFFFFu);
  EXPECT_EQ(pixel(image, button.right(), button.bottom()), 0x404040u);
  EXPECT_EQ(pixel(image, button.left() + 1, button.top() + 1), 0xC0C0C0u);
  EXPECT_GT(ink(image, g.cell_rect(5, 10).adjusted(1, 1, -1, -1), 0xC0C0C0), 0);  // the caption
  EXPECT_EQ(pixel(image, g.cell_rect(5, 9).center().x(), button.top()), background);

  // Reverse: the reverse background (navy) on the blank cell.
  EXPECT_EQ(pixel(image, g.cell_rect(7, 0).center().x(), g.cell_rect(7, 0).center().y()),
            0x000080u);

  // The field: white inside, outlined in black below, above and at its ends.
  const QRect field = g.cell_rect(8, 2, 4);
  EXPECT_EQ(pixel(image, field.center().x(), field.center().y()), 0xFFFFFFu);
  EXPECT_EQ(pixel(image, field.center().x(), field.bottom()), 0x000000u);
  EXPECT_EQ(pixel(image, field.center().x(), field.top() - 1), 0x000000u);
  EXPECT_EQ(pixel(image, field.left() - 1, field.center().y()), 0x000000u);
  EXPECT_EQ(pixel(image, field.right(), field.center().y()), 0x000000u);
  EXPECT_EQ(pixel(image, field.left() - 3, field.center().y()), background);

  // The caret: a block on the cursor cell while focused.
  const QRect caret = g.cell_rect(18, 1);
  EXPECT_EQ(win.caret_shape(), CaretShape::Block);
  EXPECT_EQ(pixel(image, caret.center().x(), caret.top()), 0x3F3F3Fu);

  // Pressing the button draws it sunken.
  host(ESC "~P");
  clock += 10000;
  mouse(QEvent::MouseButtonPress, Qt::LeftButton, centre(5, 11));
  image = win.grab().toImage();
  EXPECT_EQ(pixel(image, button.left(), button.top()), 0x404040u);
  EXPECT_EQ(pixel(image, button.right(), button.bottom()), 0xFFFFFFu);
  mouse(QEvent::MouseButtonRelease, Qt::LeftButton, centre(5, 11));
  image = win.grab().toImage();
  EXPECT_EQ(pixel(image, button.left(), button.top()), 0xFFFFFFu);

  // No caret on a button or right after one.
  host(ESC "=%,");
  EXPECT_EQ(win.caret_shape(), CaretShape::Hidden);
  host(ESC "=2!");
  EXPECT_EQ(win.caret_shape(), CaretShape::Block);
  host(ESC "`0");  // the host hides the cursor
  EXPECT_EQ(win.caret_shape(), CaretShape::Hidden);
  host(ESC "`1");
  EXPECT_EQ(win.caret_shape(), CaretShape::Block);
  win.clearFocus();
  QApplication::processEvents();
  EXPECT_EQ(win.caret_shape(), CaretShape::Underline);
  image = win.grab().toImage();
  EXPECT_EQ(pixel(image, caret.center().x(), caret.top()), background);
  EXPECT_EQ(pixel(image, caret.center().x(), caret.bottom()), 0x3F3F3Fu);
  EXPECT_EQ(pixel(image, caret.center().x(), caret.bottom() - 1), 0x3F3F3Fu);
  EXPECT_EQ(pixel(image, caret.center().x(), caret.bottom() - 2), background);
  gui = true;
  EXPECT_EQ(win.caret_shape(), CaretShape::Hidden);
}

// Records the regions the window is asked to paint.
class PaintRecorder : public QObject {
 public:
  QRegion painted;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(e)->region();
    return false;
  }
};

TEST_F(TerminalWinTest, RepaintsOnlyTheChangedCells) {
  show_active();
  host("some text on the first row\r\nand the second");
  QApplication::processEvents();
  PaintRecorder recorder;
  win.installEventFilter(&recorder);
  host(ESC
       "=*4"
       "X");  // row 10, column 20
  QApplication::processEvents();
  const CellGeometry g = win.cell_geometry();
  // The cell, one pixel of its neighbours' outlines, the caret's old and new cells.
  QRegion allowed = g.cell_rect(10, 20).adjusted(-1, -1, 0, 0);
  allowed += g.cell_rect(10, 21);
  allowed += g.cell_rect(1, 14);
  ASSERT_FALSE(recorder.painted.isEmpty());
  EXPECT_TRUE((recorder.painted - allowed).isEmpty()) << "painted beyond the change";
  const QImage image = win.grab().toImage();
  EXPECT_GT(ink(image, g.cell_rect(10, 20).adjusted(0, 0, 0, -1), 0xC0C0C0), 0);  // the X
}

}  // namespace
}  // namespace veslink
