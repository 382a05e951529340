// The native window of the top-level root of the screen model: a hidden window
// outside all host programs. The root itself (ScreenModel::root()) is what
// host windows hang below and what grows to cover every shown window.
#pragma once

#include <QWidget>

namespace veslink {

class RootDisplayWindow : public QWidget {
  Q_OBJECT
 public:
  explicit RootDisplayWindow(QWidget* parent = nullptr);
};

}  // namespace veslink
