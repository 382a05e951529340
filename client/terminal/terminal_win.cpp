// The terminal window's events: posted commands and messages, painting the
// changed cells, keys, mouse reports, selection, paste, close, showing and
// hiding in the work area.
#include "client/terminal/terminal_win.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "client/terminal/cell_style.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/function_keys.h"
#include "client/terminal/terminal_charset.h"
#include "client/terminal/terminal_keys.h"
#include "platform/events/posted_events.h"

namespace veslink {

namespace {

// Cursor, editing and function keys: the keys the dialect sends as key codes.
bool terminal_key(int qt_key, TerminalKey& key, int& number) {
  number = 0;
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F16) {
    key = TerminalKey::Function;
    number = qt_key - Qt::Key_F1 + 1;
    return true;
  }
  switch (qt_key) {
    case Qt::Key_PageUp:
      key = TerminalKey::PageUp;
      return true;
    case Qt::Key_PageDown:
      key = TerminalKey::PageDown;
      return true;
    case Qt::Key_End:
      key = TerminalKey::End;
      return true;
    case Qt::Key_Home:
      key = TerminalKey::Home;
      return true;
    case Qt::Key_Left:
      key = TerminalKey::Left;
      return true;
    case Qt::Key_Up:
      key = TerminalKey::Up;
      return true;
    case Qt::Key_Right:
      key = TerminalKey::Right;
      return true;
    case Qt::Key_Down:
      key = TerminalKey::Down;
      return true;
    case Qt::Key_Print:
      key = TerminalKey::Print;
      return true;
    case Qt::Key_Insert:
      key = TerminalKey::Insert;
      return true;
    case Qt::Key_Delete:
      key = TerminalKey::Delete;
      return true;
    default:
      return false;
  }
}

// The character a key gives as a typed character, the way the platform's
// keyboard produces control characters: -1 when the key is left to its text.
int typed_control(int qt_key, bool ctrl) {
  switch (qt_key) {
    case Qt::Key_Backspace:
      return ctrl ? 0x7F : 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return ctrl ? 0x0A : 0x0D;
    case Qt::Key_Escape:
      return 0x1B;
    default:
      break;
  }
  if (!ctrl) return -1;
  if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return qt_key - Qt::Key_A + 1;
  switch (qt_key) {
    case Qt::Key_At:
      return 0x00;
    case Qt::Key_BracketLeft:
      return 0x1B;
    case Qt::Key_Backslash:
      return 0x1C;
    case Qt::Key_BracketRight:
      return 0x1D;
    case Qt::Key_AsciiCircum:
      return 0x1E;
    case Qt::Key_Underscore:
      return 0x1F;
    default:
      return -1;
  }
}

TerminalMouse::Button mouse_button_of(Qt::MouseButton b, bool& known) {
  known = true;
  switch (b) {
    case Qt::LeftButton:
      return TerminalMouse::Button::Left;
    case Qt::RightButton:
      return TerminalMouse::Button::Right;
    case Qt::MiddleButton:
      return TerminalMouse::Button::Middle;
    default:
      known = false;
      return TerminalMouse::Button::Left;
  }
}

}  // namespace

TerminalWin::TerminalWin(const QString& title, CharScreen& screen, QWidget* parent)
    : QWidget(parent), screen_(screen), keys_(&function_keys()) {
  setObjectName("TerminalWin");
  setWindowTitle(title);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  font_.setStyleHint(QFont::TypeWriter);
  font_.setFixedPitch(true);
  hide();
}

void TerminalWin::set_command_handler(int command_id, CommandHandler handler) {
  handlers_[command_id] = std::move(handler);
}

void TerminalWin::set_user_message_handler(int number, CommandHandler handler) {
  user_handlers_[number] = std::move(handler);
}

void TerminalWin::set_hooks(Hooks hooks) {
  hooks_ = std::move(hooks);
}

std::int64_t TerminalWin::now() const {
  if (hooks_.now_ms) return hooks_.now_ms();
  static QElapsedTimer clock;
  if (!clock.isValid()) clock.start();
  return clock.elapsed();
}

void TerminalWin::beep() {
  if (hooks_.beep) {
    hooks_.beep();
  } else {
    QApplication::beep();
  }
}

void TerminalWin::send(std::string_view bytes) {
  if (!hooks_.send_byte) return;
  for (char b : bytes)
    hooks_.send_byte(static_cast<unsigned char>(b));
}

void TerminalWin::set_enhanced_mode(bool on) {
  enhanced_mode_ = on;
  if (!on) mouse_.cancel();
}

void TerminalWin::set_terminal_font(const QFont& font, int char_width, int line_height) {
  font_ = font;
  cells_.char_width = char_width > 0 ? char_width : 8;
  cells_.line_height = line_height > 0 ? line_height : 16;
  updateGeometry();
  if (frame() && frame()->isVisible()) show_terminal();
  update();
}

QSize TerminalWin::sizeHint() const {
  const CharPage& page = screen_.current();
  return {cells_.char_width * page.columns(), cells_.row_height() * page.rows()};
}

// Painting ---------------------------------------------------------------------------

CaretShape TerminalWin::caret_shape() const {
  if (gui_mode() || !cursor_visible_ || !caret_enabled_ || selection_mode_)
    return CaretShape::Hidden;
  const CharPage& page = screen_.current();
  const int row = page.cursor_row(), column = page.cursor_column();
  // A caret on a button, or just after one, would draw over its frame.
  if (is_button_cell(page.cell(row, column))) return CaretShape::Hidden;
  if (column > 0 && is_button_cell(page.cell(row, column - 1))) return CaretShape::Hidden;
  return hasFocus() ? CaretShape::Block : CaretShape::Underline;
}

void TerminalWin::update_cells(int row, int first, int last) {
  const QRect cells = cells_.cell_rect(row, first, last - first + 1);
  // A field outline at a cell's top or left edge is painted with the cell
  // above or before it: those pixels change with this cell.
  update(cells.adjusted(-1, -1, 0, 0));
}

void TerminalWin::update_caret() {
  const CharPage& page = screen_.current();
  const CellPos now{page.cursor_row(), page.cursor_column()};
  if (now == caret_cell_) return;
  if (caret_cell_.row >= 0 && caret_cell_.row < page.rows() && caret_cell_.column < page.columns())
    update(cells_.cell_rect(caret_cell_.row, caret_cell_.column));
  update(cells_.cell_rect(now.row, now.column));
  caret_cell_ = now;
}

void TerminalWin::refresh() {
  CharPage& page = screen_.current();
  const CharPage::Changes changes = page.take_changes();
  if (changes.whole) {
    update();
  } else {
    for (int r = 0; r < page.rows(); ++r)
      if (changes.first[r] >= 0) update_cells(r, changes.first[r], changes.last[r]);
  }
  update_caret();
}

void TerminalWin::repaint_all() {
  screen_.current().repaint_all();
  refresh();
}

void TerminalWin::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  PagePaint paint;
  paint.page = &screen_.current();
  paint.font = font_;
  paint.cells = cells_;
  paint.colours = &current_terminal_colours();
  if (selection_mode_ && selection_dragging_) paint.selection = selection_;
  paint.pressed_row = pressed_row_;
  paint.pressed_column = pressed_first_;
  paint.caret = caret_shape();
  paint.area = size();
  paint_page(p, paint, e->region());
  caret_cell_ = {paint.page->cursor_row(), paint.page->cursor_column()};
}

// Commands and messages --------------------------------------------------------------

bool TerminalWin::event(QEvent* e) {
  if (e->type() == vestra::events::CommandEvent::type()) {
    auto* command = static_cast<vestra::events::CommandEvent*>(e);
    if (auto it = handlers_.find(command->command_id()); it != handlers_.end() && it->second)
      it->second();
    return true;
  }
  if (e->type() == vestra::events::UserMessageEvent::type()) {
    auto* message = static_cast<vestra::events::UserMessageEvent*>(e);
    if (auto it = user_handlers_.find(message->number()); it != user_handlers_.end() && it->second)
      it->second();
    return true;
  }
  return QWidget::event(e);
}

bool TerminalWin::focusNextPrevChild(bool) {
  // Tab and Shift+Tab are keys for the host, not focus moves.
  return false;
}

// Keyboard ---------------------------------------------------------------------------

void TerminalWin::keyPressEvent(QKeyEvent* e) {
  const Qt::KeyboardModifiers mods = e->modifiers();
  if (mods & Qt::AltModifier) {
    // Alt combinations belong to the menus.
    QWidget::keyPressEvent(e);
    return;
  }
  const int qt_key = e->key();
  if (qt_key == Qt::Key_Shift || qt_key == Qt::Key_Control || qt_key == Qt::Key_Meta ||
      qt_key == Qt::Key_CapsLock || qt_key == Qt::Key_NumLock || qt_key == Qt::Key_ScrollLock)
    return;
  if (selection_mode_) {
    beep();
    return;
  }
  if (!connected()) return;
  const bool shift = mods & Qt::ShiftModifier;
  const bool ctrl = mods & Qt::ControlModifier;

  TerminalKey key;
  int number = 0;
  if (terminal_key(qt_key, key, number)) {
    send(key_bytes(*keys_, key, number, shift, ctrl));
    return;
  }
  if (const int control = typed_control(qt_key, ctrl); control >= 0) {
    send(char_bytes(*keys_, static_cast<std::uint8_t>(control), shift));
    return;
  }
  const QString text = e->text();
  if (text.isEmpty()) return;
  for (QChar ch : text) {
    const int b = unicode_to_byte(ch.unicode());
    if (b < 0) continue;
    send(char_bytes(*keys_, static_cast<std::uint8_t>(b), shift));
  }
}

// Mouse ------------------------------------------------------------------------------

CellPos TerminalWin::pointer_cell(QPoint pos) const {
  const CharPage& page = screen_.current();
  const int column = std::clamp(pos.x() / cells_.char_width, 0, page.columns() - 1);
  const int row = std::clamp(pos.y() / cells_.row_height(), 0, page.rows() - 1);
  return {row, column};
}

CellPos TerminalWin::cell_at(QPoint pos) const {
  CellPos cell = pointer_cell(pos);
  // The host counts a click on a button one column further left when the
  // cell to the left is part of a button.
  if (cell.column > 0 && is_button_cell(screen_.current().cell(cell.row, cell.column - 1)))
    --cell.column;
  return cell;
}

void TerminalWin::press_button_run(CellPos cell) {
  int first = 0, last = 0;
  if (!button_run_at(screen_.current(), cell.row, cell.column, first, last)) return;
  pressed_row_ = cell.row;
  pressed_first_ = first;
  pressed_last_ = last;
  update_cells(cell.row, first, last);
}

void TerminalWin::release_button_run() {
  if (pressed_row_ < 0) return;
  update_cells(pressed_row_, pressed_first_, pressed_last_);
  pressed_row_ = pressed_first_ = pressed_last_ = -1;
}

void TerminalWin::mouse_button(QMouseEvent* e, bool double_click) {
  bool known = false;
  const TerminalMouse::Button button = mouse_button_of(e->button(), known);
  if (!known) return;
  if (selection_mode_) {
    if (button == TerminalMouse::Button::Left) {
      selection_anchor_ = pointer_cell(e->position().toPoint());
      selection_ = CellRect::spanning(selection_anchor_, selection_anchor_);
      selection_dragging_ = true;
      update();
    }
    return;
  }
  if (!connected()) return;
  const bool clean = e->modifiers() == Qt::NoModifier && e->buttons() == e->button();
  const CellPos cell = cell_at(e->position().toPoint());
  const std::string bytes = double_click
                                ? mouse_.double_click(button, cell, clean, enhanced_mode_, now())
                                : mouse_.press(button, cell, clean, enhanced_mode_, now());
  if (button == TerminalMouse::Button::Left && mouse_.dragging())
    press_button_run(pointer_cell(e->position().toPoint()));
  send(bytes);
}

void TerminalWin::mousePressEvent(QMouseEvent* e) {
  mouse_button(e, false);
}

void TerminalWin::mouseDoubleClickEvent(QMouseEvent* e) {
  mouse_button(e, true);
}

void TerminalWin::mouseMoveEvent(QMouseEvent* e) {
  if (selection_mode_) {
    if (!selection_dragging_) return;
    const CellRect next =
        CellRect::spanning(selection_anchor_, pointer_cell(e->position().toPoint()));
    if (next.top != selection_.top || next.left != selection_.left ||
        next.bottom != selection_.bottom || next.right != selection_.right) {
      selection_ = next;
      update();
    }
    return;
  }
  if (!(e->buttons() & Qt::LeftButton) || !mouse_.dragging()) return;
  send(mouse_.move(cell_at(e->position().toPoint()), enhanced_mode_));
}

void TerminalWin::mouseReleaseEvent(QMouseEvent* e) {
  bool known = false;
  const TerminalMouse::Button button = mouse_button_of(e->button(), known);
  if (!known) return;
  if (selection_mode_) {
    if (button == TerminalMouse::Button::Left) {
      if (selection_dragging_) end_selection(true);
    } else {
      end_selection(false);
    }
    return;
  }
  if (button == TerminalMouse::Button::Left) release_button_run();
  const std::string bytes =
      mouse_.release(button, cell_at(e->position().toPoint()), enhanced_mode_);
  if (connected()) send(bytes);
}

void TerminalWin::focusInEvent(QFocusEvent* e) {
  mouse_.focus_gained(now());
  QWidget::focusInEvent(e);
  update(cells_.cell_rect(screen_.current().cursor_row(), screen_.current().cursor_column()));
}

void TerminalWin::focusOutEvent(QFocusEvent* e) {
  QWidget::focusOutEvent(e);
  mouse_.cancel();
  release_button_run();
  update(cells_.cell_rect(screen_.current().cursor_row(), screen_.current().cursor_column()));
}

// Selection and paste ----------------------------------------------------------------

void TerminalWin::start_selection() {
  if (selection_mode_) return;
  selection_mode_ = true;
  selection_dragging_ = false;
  mouse_.cancel();
  release_button_run();
  update();
  if (hooks_.selection_mode) hooks_.selection_mode(true);
}

void TerminalWin::end_selection(bool copy) {
  if (copy) {
    const std::u32string text = selection_text(screen_.current(), selection_);
    // A clipboard that cannot take the text leaves the copy undone.
    if (QClipboard* clipboard = QGuiApplication::clipboard())
      clipboard->setText(QString::fromStdU32String(text));
  }
  selection_mode_ = false;
  selection_dragging_ = false;
  selection_ = CellRect{};
  update();
  if (hooks_.selection_mode) hooks_.selection_mode(false);
}

void TerminalWin::paste() {
  if (!connected()) return;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return;
  const QString text = clipboard->text();
  if (text.isEmpty()) return;
  send(paste_bytes(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                       static_cast<std::size_t>(text.size()))));
}

// Closing ----------------------------------------------------------------------------

void TerminalWin::closeEvent(QCloseEvent* e) {
  // The window lives as long as the client; closing it is a request.
  e->ignore();
  request_close();
}

void TerminalWin::request_close() {
  switch (close_action(gui_mode(), connected(), enhanced_mode_)) {
    case CloseAction::Refuse:
      beep();
      return;
    case CloseAction::CloseMain:
      if (hooks_.close_main) hooks_.close_main();
      return;
    case CloseAction::SendHome:
      send(keys_->key_string(kHomeKeyCode));
      return;
    case CloseAction::SendExit:
      send(kShellExit);
      return;
  }
}

// Showing, hiding, caret -------------------------------------------------------------

QMdiSubWindow* TerminalWin::frame() const {
  return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void TerminalWin::show_terminal() {
  QMdiSubWindow* sub = frame();
  show();
  if (!sub) {
    resize(sizeHint());
    setFocus();
    return;
  }
  QMdiArea* area = sub->mdiArea();
  if (sub->isMaximized() || sub->isMinimized()) sub->showNormal();
  const QSize wanted = sub->sizeHint();
  if (area) {
    QWidget* main = area->window();
    if (QLayout* layout = main->layout()) layout->activate();
    QSize room = area->viewport()->size();
    // The main window grows until the terminal window fits, within the
    // screen's free area; the work area grows with it.
    const QSize missing(std::max(0, wanted.width() - room.width()),
                        std::max(0, wanted.height() - room.height()));
    if (missing.width() > 0 || missing.height() > 0) {
      QSize grown = main->size() + missing;
      if (const QScreen* screen = main->screen())
        grown = grown.boundedTo(screen->availableGeometry().size());
      room += grown - main->size();
      main->resize(grown);
    }
    sub->resize(wanted);
    sub->move(std::max(0, (room.width() - wanted.width()) / 2),
              std::max(0, (room.height() - wanted.height()) / 2));
  } else {
    sub->resize(wanted);
  }
  sub->show();
  if (area) area->setActiveSubWindow(sub);
  setFocus();
  repaint_all();
}

void TerminalWin::hide_terminal() {
  if (selection_mode_) end_selection(false);
  if (QMdiSubWindow* sub = frame()) {
    sub->hide();
  } else {
    hide();
  }
}

void TerminalWin::columns_changed() {
  updateGeometry();
  if (QMdiSubWindow* sub = frame(); sub && sub->isVisible()) {
    show_terminal();
  } else if (!frame() && isVisible()) {
    resize(sizeHint());
  }
  repaint_all();
}

void TerminalWin::set_cursor_visible(bool on) {
  cursor_visible_ = on;
  update(cells_.cell_rect(screen_.current().cursor_row(), screen_.current().cursor_column()));
}

void TerminalWin::set_caret_enabled(bool on) {
  caret_enabled_ = on;
  update(cells_.cell_rect(screen_.current().cursor_row(), screen_.current().cursor_column()));
}

}  // namespace veslink
