// HostPushButton: a push button drawn by the client itself: images for its
// states with the caption placed over them, a built-in icon before the
// caption, the platform's style or the classic frame, the default and
// pressed looks from the field flags, and presses reported to the field
// layer (a click never takes the focus from the field being input).
#pragma once

#include <QAbstractButton>

#include "client/screen/field_colours.h"
#include "client/screen/field_widgets.h"

namespace veslink {

struct NativeControl;

// Which state a button is drawn in, and whether with the default button's
// colours (a focused button under the pointer keeps them).
struct ButtonLook {
  ButtonState state = ButtonState::Normal;
  bool default_colours = false;
};
// `chosen`: the button is the one a window action wait chose; `over`: the
// pointer is on it.
ButtonLook button_look(const ScreenField& f, const ScreenWindow& w, bool chosen, bool over);

class HostPushButton : public QAbstractButton, public FieldLink {
  Q_OBJECT
 public:
  HostPushButton(QtFieldUi& ui, ScreenField& field, NativeControl& native, QWidget* parent);
  bool mouse_over() const { return over_; }
  // The look of the last paint (tests).
  ButtonLook last_look() const { return last_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void enterEvent(QEnterEvent* e) override;
  void leaveEvent(QEvent* e) override;
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  QSize sizeHint() const override { return size(); }

 private:
  NativeControl& native_;
  bool over_ = false;
  ButtonLook last_;
};

// The caption's lines for a placement: split at "<br>" (any case) in the
// several-line forms.
QStringList caption_lines(const QString& caption, bool several_lines);

}  // namespace veslink
