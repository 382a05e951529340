// Letting go of the keyboard focus before a widget goes.
#include "client/screen/focus_release.h"

#include <QApplication>
#include <QWidget>

namespace veslink {

void release_focus(QWidget& w) {
  QWidget* focus = QApplication::focusWidget();
  if (focus && (focus == &w || w.isAncestorOf(focus))) focus->clearFocus();
}

}  // namespace veslink
