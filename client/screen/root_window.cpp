// The hidden root display window.
#include "client/screen/root_window.h"

namespace veslink {

RootDisplayWindow::RootDisplayWindow(QWidget* parent) : QWidget(parent) {
  setObjectName("RootDisplayWindow");
  setAttribute(Qt::WA_DontShowOnScreen, true);
  hide();
}

}  // namespace veslink
