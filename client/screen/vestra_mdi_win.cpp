// The host window frame.
#include "client/screen/vestra_mdi_win.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "client/screen/screen_model.h"
#include "client/screen/screen_win.h"

namespace veslink {

VestraMDIWin::VestraMDIWin(ScreenModel& model, ScreenWindow& window, ScreenWin* view,
                           QWidget* parent)
    : QMdiSubWindow(parent), model_(model), window_(&window), view_(view) {
  setObjectName(QStringLiteral("VestraMDIWin %1").arg(window.number));
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWidget(view);
}

void VestraMDIWin::detach() {
  window_ = nullptr;
  user_resized = nullptr;
  if (view_) view_->detach();
}

void VestraMDIWin::place(const QRect& rect) {
  placing_ = true;
  setGeometry(rect);
  placing_ = false;
}

void VestraMDIWin::closeEvent(QCloseEvent* e) {
  // The frame never closes itself: the host decides, or the model destroys
  // a hidden window (and this frame with it, later).
  e->ignore();
  if (window_) model_.close_requested(*window_);
}

void VestraMDIWin::resizeEvent(QResizeEvent* e) {
  QMdiSubWindow::resizeEvent(e);
  if (!placing_ && !isMaximized() && !isMinimized() && user_resized && isVisible())
    user_resized(*this, size());
}

void VestraMDIWin::keyPressEvent(QKeyEvent* e) {
  if (view_) {
    view_->handle_key(e);
    return;
  }
  QMdiSubWindow::keyPressEvent(e);
}

}  // namespace veslink
