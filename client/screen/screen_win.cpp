// Painting, keys, clicks and focus of a host window.
#include "client/screen/screen_win.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>

#include "client/protocol/interpreter.h"
#include "client/screen/cell_colour.h"
#include "client/screen/field_controls.h"
#include "client/screen/field_layer.h"
#include "client/screen/qt_keys.h"
#include "client/screen/screen_model.h"
#include "client/terminal/terminal_colours.h"

namespace veslink {

namespace {
QColor qcolour(ColourRef c) {
  return QColor(red_of(c), green_of(c), blue_of(c));
}
}  // namespace

ScreenWin::ScreenWin(ScreenModel& model, ScreenWindow& window, QWidget* parent)
    : QWidget(parent), model_(model), window_(&window) {
  setObjectName(QStringLiteral("ScreenWin %1").arg(window.number));
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::ArrowCursor);
  const int flash = QGuiApplication::styleHints()->cursorFlashTime();
  blink_.setInterval(flash > 0 ? flash / 2 : 530);
  connect(&blink_, &QTimer::timeout, this, [this] {
    blink_on_ = !blink_on_;
    update(caret_rect());
  });
}

void ScreenWin::detach() {
  window_ = nullptr;
  blink_.stop();
}

void ScreenWin::set_scroll_bar(bool shown, int width) {
  if (!shown) {
    delete scroll_bar_;
    scroll_bar_ = nullptr;
    return;
  }
  if (!scroll_bar_) {
    scroll_bar_ = new QScrollBar(Qt::Vertical, this);
    scroll_bar_->setObjectName("window scroll bar");
    scroll_bar_->setRange(1, 100);
    scroll_bar_->setValue(50);
    scroll_bar_->setFocusPolicy(Qt::NoFocus);
    connect(scroll_bar_, &QScrollBar::actionTriggered, this, [this](int a) { scroll_action(a); });
  }
  scroll_bar_->setGeometry(this->width() - width, 0, width, height());
  scroll_bar_->show();
}

void ScreenWin::resizeEvent(QResizeEvent*) {
  if (scroll_bar_) {
    const int w = scroll_bar_->width();
    scroll_bar_->setGeometry(width() - w, 0, w, height());
  }
}

void ScreenWin::scroll_action(int action) {
  // The host scrolls for itself with flag 0x100; otherwise the bar acts as
  // the cursor keys.
  if (!window_) return;
  const bool host = window_->flags & window_flag::kHostScrolling;
  int selector = 0;
  std::int16_t code = 0;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      selector = 1;
      code = -7;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      selector = 2;
      code = -8;
      break;
    case QAbstractSlider::SliderPageStepSub:
      selector = 3;
      code = -2;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      selector = 4;
      code = -4;
      break;
    default:
      return;
  }
  if (host) {
    EventValues& v = model_.interpreter().events;
    v.target = 0;
    v.selector = selector;
    code = -29;
  }
  push(code);
}

QRect ScreenWin::caret_rect() const {
  const Caret& c = model_.caret;
  if (!window_ || c.window != window_) return {};
  const CellPixels cells = model_.ui().cell_pixels();
  return QRect(c.column * cells.cell_width, c.row * cells.cell_height, cells.cell_width,
               cells.cell_height);
}

void ScreenWin::caret_changed() {
  if (window_ && model_.caret.window == window_) {
    blink_on_ = true;
    blink_.start();
  } else {
    blink_.stop();
  }
  update();
}

void ScreenWin::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  const bool own = window_ && has_own_colour(window_->background);
  const ColourRef background =
      own ? colour_of_cell_code(window_->background) : current_terminal_colours().normal.background;
  p.fillRect(e->rect(), qcolour(background));
  // Group frames, background pictures and prompts without a control.
  if (window_)
    if (auto* fields = dynamic_cast<QtFieldUi*>(&model_.fields().ui()))
      fields->paint_window(p, *window_, e->rect());
  if (window_ && model_.caret.window == window_ && blink_on_) {
    // A block caret inverts the cell it stands on.
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.fillRect(caret_rect(), Qt::white);
  }
}

void ScreenWin::push(std::int16_t code, bool auto_repeat, bool shift) {
  model_.keys.push(code, auto_repeat, shift);
}

bool ScreenWin::event(QEvent* e) {
  // Tab and Shift+Tab are keys for the host, not focus moves.
  if (e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
      handle_key(k);
      return true;
    }
  }
  return QWidget::event(e);
}

void ScreenWin::keyPressEvent(QKeyEvent* e) {
  handle_key(e);
}

void ScreenWin::handle_key(QKeyEvent* e) {
  if (!window_) return;
  const KeyPress press = key_press_of(*e);
  const ScreenWindow* current = model_.current_window();
  const KeyAction a = translate_key(press, current ? current->hot_keys : 0);
  switch (a.kind) {
    case KeyAction::Kind::Code:
      push(a.code, press.auto_repeat);
      return;
    case KeyAction::Kind::LocalUtility:
      if (model_.services.start_local_utility) model_.services.start_local_utility();
      return;
    case KeyAction::Kind::Macro:
    case KeyAction::Kind::None:
      return;
    case KeyAction::Kind::Character:
      break;
  }
  if (e->key() == Qt::Key_Backtab) {
    push(9, press.auto_repeat, true);
    return;
  }
  for (QChar c : e->text()) {
    const char16_t u = c.unicode();
    if (u > 0x7FFF) continue;  // beyond what an event code can carry
    push(static_cast<std::int16_t>(u), press.auto_repeat, press.shift);
  }
}

namespace {
constexpr int kCancel = 32783;
constexpr int kOkFinish = 32784;
constexpr int kBack = 32788;
constexpr int kClose = 61216;
}  // namespace

bool ScreenWin::command_enabled(int id) const {
  if (!window_) return false;
  switch (id) {
    case kCancel:
    case kBack:
    case kOkFinish:
      return model_.keys.waiting() && model_.current_window() == window_;
    case kClose:
      return true;
    default:
      return false;
  }
}

bool ScreenWin::run_command(int id) {
  if (!command_enabled(id)) return false;
  switch (id) {
    case kCancel:
    case kBack:
      push(27);
      return true;
    case kOkFinish:
      push(-3);
      return true;
    case kClose:
      model_.close_requested(*window_);
      return true;
    default:
      return false;
  }
}

void ScreenWin::set_click(QPoint pos) {
  const CellPixels cells = model_.ui().cell_pixels();
  EventValues& v = model_.interpreter().events;
  v.target = 0;
  v.click_column = window_->column.byte + (cells.cell_width > 0 ? pos.x() / cells.cell_width : 0);
  v.click_row = window_->row.byte + (cells.cell_height > 0 ? pos.y() / cells.cell_height : 0);
}

bool ScreenWin::middle_enter(QMouseEvent* e) {
  // The middle button alone, without keys, is Enter during any wait.
  if (e->button() != Qt::MiddleButton || (e->buttons() & ~Qt::MiddleButton) ||
      e->modifiers() != Qt::NoModifier)
    return false;
  if (model_.keys.waiting()) push(13);
  return true;
}

void ScreenWin::contextMenuEvent(QContextMenuEvent* e) {
  if (!window_) return;
  if (auto* fields = dynamic_cast<QtFieldUi*>(&model_.fields().ui()))
    fields->window_menu(*window_, nullptr, e->globalPos());
}

void ScreenWin::mousePressEvent(QMouseEvent* e) {
  if (!window_) return;
  if (middle_enter(e)) return;
  if (e->button() != Qt::LeftButton) return;
  // Right after Copy Field the click copies the prompt under the pointer.
  if (auto* fields = dynamic_cast<QtFieldUi*>(&model_.fields().ui()))
    if (fields->copy_field_at(*window_, e->position().toPoint())) return;
  const int mode = model_.keys.mode();
  if ((mode & wait_mode::kWindowClicks) && !(mode & wait_mode::kControlInput)) {
    set_click(e->position().toPoint());
    push(-20);
  }
}

void ScreenWin::mouseDoubleClickEvent(QMouseEvent* e) {
  if (!window_) return;
  if (middle_enter(e)) return;
  if (e->button() != Qt::LeftButton) return;
  const CellPixels cells = model_.ui().cell_pixels();
  if (cells.cell_width <= 0 || cells.cell_height <= 0) return;
  const QPoint pos = e->position().toPoint();
  const double column = static_cast<double>(pos.x()) / cells.cell_width;
  const double row = static_cast<double>(pos.y()) / cells.cell_height;
  for (const auto& f : window_->fields) {
    if (f->type != field_type::kPrompt) continue;
    if (column >= f->column.real && column < f->column.real + f->width.real && row >= f->row.real &&
        row < f->row.real + f->height.real) {
      set_click(pos);
      push(-23);
      return;
    }
  }
}

void ScreenWin::mouseMoveEvent(QMouseEvent* e) {
  // Dragging over the background with the left button takes the pressed
  // look off the window's focused button.
  if (window_ && (e->buttons() & Qt::LeftButton)) model_.fields().background_dragged(*window_);
}

void ScreenWin::wheelEvent(QWheelEvent* e) {
  if (!window_) return;
  const int mode = model_.keys.mode();
  if (!(mode & wait_mode::kButtons) || (mode & wait_mode::kFieldRunning)) return;
  wheel_rest_ += e->angleDelta().y();
  int steps = wheel_rest_ / 120;
  wheel_rest_ -= steps * 120;
  steps = std::max(-4, std::min(4, steps));
  for (int i = 0; i < std::abs(steps); ++i)
    push(steps > 0 ? -10 : -9);
}

void ScreenWin::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  if (!window_) return;
  if (!model_.interpreter().gui_mode) {
    model_.bell();
    if (focus_terminal) focus_terminal();
    return;
  }
  // During a wait the focus belongs to the current window. It goes back once
  // the work area has finished activating this window's frame.
  ScreenWindow* current = model_.current_window();
  if (model_.keys.waiting() && current && current != window_ && current->visible) {
    QMetaObject::invokeMethod(
        this,
        [this] {
          ScreenWindow* now = model_.current_window();
          if (window_ && model_.keys.waiting() && now && now != window_ && now->visible)
            model_.ui().activate_native(*now, true);
        },
        Qt::QueuedConnection);
  }
}

}  // namespace veslink
