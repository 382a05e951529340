// The native window of the top-level root of the screen model: a hidden window
// outside all host programs that the host windows hang below. The model side
// (its growth to cover every shown window) joins it with the screen model.
#pragma once

#include <QWidget>

namespace veslink {

class RootDisplayWindow : public QWidget {
  Q_OBJECT
 public:
  explicit RootDisplayWindow(QWidget* parent = nullptr);
};

}  // namespace veslink
