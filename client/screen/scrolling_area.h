// ScrollingAreaWin: the window of a scrolling area. It paints one band per
// character row (the current row, even and odd rows, or the area's own
// background), the column separators and row lines, holds the row fields'
// controls in its inside, turns clicks into area clicks and its scroll bar
// (range 1 to 100, thumb at the host's position indicator) into scroll
// requests or cursor keys.
#pragma once

#include <QFrame>
#include <QScrollBar>

#include "client/screen/field_widgets.h"

namespace veslink {

class ScrollingAreaWin : public QFrame, public FieldLink {
  Q_OBJECT
 public:
  ScrollingAreaWin(QtFieldUi& ui, ScreenField& field, QWidget* parent);
  // The row fields' parent: the area less its edge.
  QWidget* inside() const { return inside_; }
  QScrollBar* scroll_bar() const { return bar_; }
  // Bands, separators and the indicator from the field again.
  void refresh();

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void paint_inside(QPainter& p);
  void clicked(QPoint pos, bool double_click);
  void scroll_action(int action);
  void thumb_released();

  QWidget* inside_;
  QScrollBar* bar_;
  int thumb_start_ = 50;
  int wheel_rest_ = 0;  // wheel units short of a notch
};

}  // namespace veslink
