// The scrolling area's window: bands, separators, clicks and scroll bar.
#include "client/screen/scrolling_area.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

#include "client/prefs/fonts.h"

#include "client/screen/field_colours.h"
#include "client/screen/field_controls.h"
#include "client/screen/field_flags.h"
#include "client/screen/field_layer.h"
#include "client/screen/screen_model.h"

namespace veslink {

namespace {
QColor qcolour(ColourRef c) {
  return QColor(red_of(c), green_of(c), blue_of(c));
}
// The area's client edge, each side.
constexpr int kEdge = 2;
}  // namespace

ScrollingAreaWin::ScrollingAreaWin(QtFieldUi& ui, ScreenField& field, QWidget* parent)
    : QFrame(parent), FieldLink(ui, field) {
  setObjectName(QStringLiteral("area %1").arg(field.number));
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setLineWidth(kEdge);
  setFocusPolicy(Qt::NoFocus);
  inside_ = new QWidget(this);
  inside_->setObjectName("area inside");
  inside_->installEventFilter(this);
  inside_->setAttribute(Qt::WA_OpaquePaintEvent);
  bar_ = new QScrollBar(Qt::Vertical, this);
  bar_->setObjectName("area scroll bar");
  bar_->setRange(1, 100);
  bar_->setPageStep(10);
  bar_->setValue(50);
  bar_->setFocusPolicy(Qt::NoFocus);
  connect(bar_, &QScrollBar::actionTriggered, this, [this](int a) { scroll_action(a); });
  connect(bar_, &QScrollBar::sliderPressed, this, [this] { thumb_start_ = bar_->value(); });
  connect(bar_, &QScrollBar::sliderReleased, this, [this] { thumb_released(); });
}

void ScrollingAreaWin::resizeEvent(QResizeEvent* e) {
  QFrame::resizeEvent(e);
  const QRect in = contentsRect();
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  bar_->setGeometry(in.right() + 1 - bar, in.top(), bar, in.height());
  inside_->setGeometry(in.left(), in.top(), std::max(0, in.width() - bar), in.height());
}

void ScrollingAreaWin::refresh() {
  if (!field_) return;
  const QSignalBlocker block(bar_);
  bar_->setValue(field_->extra.indicator);
  inside_->update();
}

bool ScrollingAreaWin::eventFilter(QObject* watched, QEvent* e) {
  if (watched != inside_) return QFrame::eventFilter(watched, e);
  switch (e->type()) {
    case QEvent::Paint: {
      QPainter p(inside_);
      paint_inside(p);
      return true;
    }
    case QEvent::Wheel:
      // The wheel over the rows scrolls the area as over its edge.
      wheelEvent(static_cast<QWheelEvent*>(e));
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* m = static_cast<QMouseEvent*>(e);
      if (m->button() != Qt::LeftButton) return false;
      clicked(m->position().toPoint(), e->type() == QEvent::MouseButtonDblClick);
      return true;
    }
    default:
      return false;
  }
}

void ScrollingAreaWin::paint_inside(QPainter& p) {
  if (!field_) return;
  const ScreenField& area = *field_;
  const CellMetrics& m = cell_metrics();
  const FieldScheme scheme = field_scheme();
  const int lh = m.cell_height;
  // Window row r starts where the rows' fields are placed for it.
  const int offset = area.pixels.top + 3;
  const int first = area.row.byte;
  const int last = first + std::max<int>(1, area.height.byte);
  const int width = inside_->width();
  p.fillRect(inside_->rect(), qcolour(area_row_background(area, first, scheme)));
  const bool lined = !area.extra.separators.empty() && !(area.flags & field_flag::kNoBorder) &&
                     scheme.alternate_row.background == scheme.classes.normal_data.background &&
                     !has_own_colour(area.background);
  for (int row = first - 1; row <= last; ++row) {
    const int top = row * lh - offset;
    p.fillRect(QRect(0, top, width, lh), qcolour(area_row_background(area, row, scheme)));
    if (lined) {
      p.setPen(QColor(192, 192, 192));
      p.drawLine(0, top + lh - 1, width, top + lh - 1);
    }
  }
  p.setPen(QColor(192, 192, 192));
  for (int x : area.extra.separators) {
    const int at = x * m.screen_char_width - area.pixels.left - 5;
    p.drawLine(at, 0, at, inside_->height());
  }
}

void ScrollingAreaWin::clicked(QPoint pos, bool double_click) {
  if (!field_ || !field_->window) return;
  const CellMetrics& m = cell_metrics();
  const ScreenField& area = *field_;
  const ScreenWindow& w = *area.window;
  // Back to window pixels, then cells.
  const QPoint at = inside_->mapTo(parentWidget(), pos);
  const int x = at.x(), y = at.y();
  const int column = w.column.byte + (m.screen_char_width > 0 ? x / m.screen_char_width : 0);
  const int row = w.row.byte + (m.cell_height > 0 ? y / m.cell_height : 0);
  ui_.layer().area_clicked(*field_, column, row, double_click);
}

void ScrollingAreaWin::wheelEvent(QWheelEvent* e) {
  // The wheel scrolls the area, not the window around it.
  e->accept();
  if (field_) {
    wheel_rest_ += e->angleDelta().y();
    const int steps = std::clamp(wheel_rest_ / 120, -4, 4);
    wheel_rest_ %= 120;
    ui_.layer().area_wheel(*field_, steps);
  }
}

void ScrollingAreaWin::scroll_action(int action) {
  if (!field_) return;
  int selector = 0;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      selector = 1;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      selector = 2;
      break;
    case QAbstractSlider::SliderPageStepSub:
      selector = 3;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      selector = 4;
      break;
    default:
      return;
  }
  ui_.layer().area_scrolled(*field_, selector);
  refresh();  // the thumb stays where the host put it
}

void ScrollingAreaWin::thumb_released() {
  if (!field_) return;
  const int moved = bar_->value() - thumb_start_;
  // Only a move of more than a page counts: a page down or up.
  if (moved > bar_->pageStep()) {
    ui_.layer().area_scrolled(*field_, 4);
  } else if (moved < -bar_->pageStep()) {
    ui_.layer().area_scrolled(*field_, 3);
  }
  refresh();
}

}  // namespace veslink
