// The edit and its two arrow buttons.
#include "viewer/app/page_box.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "viewer/app/viewer_ids.h"
#include "viewer/app/viewer_session.h"

namespace repscope::app {

PageNumberBox::PageNumberBox(QWidget* parent) : QWidget(parent) {
  edit_ = new QLineEdit(this);
  edit_->setObjectName(QString::number(ids::IDC_PAGE_EDIT));
  edit_->setFixedWidth(edit_->fontMetrics().horizontalAdvance("0000,000,000"));
  edit_->setAlignment(Qt::AlignRight);
  up_ = new QToolButton(this);
  down_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setAutoRepeat(true);
    b->setFixedSize(18, 12);
    b->setFocusPolicy(Qt::NoFocus);
    b->installEventFilter(this);
  }
  auto* arrows = new QWidget(this);
  arrows->setObjectName(QString::number(ids::IDC_PAGE_UPDOWN));
  auto* column = new QVBoxLayout(arrows);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(up_);
  column->addWidget(down_);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(2, 0, 2, 0);
  row->setSpacing(0);
  row->addWidget(edit_);
  row->addWidget(arrows);
  connect(up_, &QToolButton::clicked, this, [this] { step(+1); });
  connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
  connect(edit_, &QLineEdit::returnPressed, this, &PageNumberBox::enterPressed);
  edit_->installEventFilter(this);
}

void PageNumberBox::set_range(int lower, int upper) {
  lower_ = lower;
  upper_ = upper < lower ? lower : upper;
}

int PageNumberBox::page() const {
  return page_number(edit_->text().toStdString());
}

void PageNumberBox::set_page(int page) {
  edit_->setText(QString::fromStdString(with_thousands(page)));
}

void PageNumberBox::step(int delta) {
  int page = this->page() + delta;
  if (page < lower_) page = lower_;
  if (page > upper_) page = upper_;
  set_page(page);
  emit stepped(page);
}

bool PageNumberBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      step(key == Qt::Key_Up ? +1 : -1);
      return true;
    }
  }
  // A real release over an arrow (auto-repeat sends no mouse events) loads the page.
  if ((watched == up_ || watched == down_) && event->type() == QEvent::MouseButtonRelease) {
    auto* button = static_cast<QToolButton*>(watched);
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    if (button->rect().contains(at)) {
      // Let the button finish its own click first.
      QMetaObject::invokeMethod(this, &PageNumberBox::upDownReleased, Qt::QueuedConnection);
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace repscope::app
