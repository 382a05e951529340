// Push buttons: state, images, caption placement, icon, frame and colours.
#include "client/screen/push_button.h"

#include <QKeyEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QStyleOptionButton>

#include "client/screen/builtin_icons.h"
#include "client/screen/field_controls.h"
#include "client/screen/field_flags.h"
#include "client/screen/field_layer.h"
#include "client/screen/field_layout.h"
#include "client/screen/field_text.h"
#include "client/screen/screen_model.h"

namespace veslink {

namespace ff = field_flag;

namespace {
QColor qcolour(ColourRef c) {
  return QColor(red_of(c), green_of(c), blue_of(c));
}
}  // namespace

ButtonLook button_look(const ScreenField& f, const ScreenWindow& w, bool chosen, bool over) {
  ButtonLook look;
  if (f.flags & ff::kReadOnly) {
    look.state = ButtonState::Disabled;
    return look;
  }
  if (!chosen && !(f.flags & (ff::kFocused | ff::kPressed | ff::kDefault))) {
    look.state = over ? ButtonState::MouseOver : ButtonState::Normal;
    return look;
  }
  if (f.flags & ff::kPressed) {
    look.state = ButtonState::Pressed;
    look.default_colours = true;
    return look;
  }
  if (((f.flags & ff::kLookup) && !(f.flags & (ff::kFocused | ff::kDefault))) ||
      (w.flags & window_flag::kNoFocusedButtons)) {
    look.state = over ? ButtonState::MouseOver : ButtonState::Normal;
    return look;
  }
  look.state = over ? ButtonState::MouseOver : ButtonState::Focused;
  look.default_colours = true;
  return look;
}

QStringList caption_lines(const QString& caption, bool several_lines) {
  if (!several_lines) return {caption};
  static const QRegularExpression br(QStringLiteral("<br>"),
                                     QRegularExpression::CaseInsensitiveOption);
  return caption.split(br);
}

HostPushButton::HostPushButton(QtFieldUi& ui, ScreenField& field, NativeControl& native,
                               QWidget* parent)
    : QAbstractButton(parent), FieldLink(ui, field), native_(native) {
  setObjectName(QStringLiteral("button %1").arg(field.number));
  // A press must not take the focus from the field being input.
  setFocusPolicy(Qt::TabFocus);
  setAttribute(Qt::WA_Hover);
  setMouseTracking(true);
  connect(this, &QAbstractButton::clicked, this, [this] {
    if (field_) ui_.layer().push_button_pressed(*field_);
  });
}

void HostPushButton::enterEvent(QEnterEvent*) {
  over_ = true;
  update();
}

void HostPushButton::leaveEvent(QEvent*) {
  over_ = false;
  update();
}

bool HostPushButton::event(QEvent* e) {
  // Tab and Shift+Tab are keys for the host too: moving the focus to the
  // next button by itself would look like a press of that button.
  if (e->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(e)->key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
      keyPressEvent(static_cast<QKeyEvent*>(e));
      return true;
    }
  }
  return QAbstractButton::event(e);
}

void HostPushButton::keyPressEvent(QKeyEvent* e) {
  // Keys are the host's: Space and Enter do not press the button.
  if (field_) ui_.forward_key(*field_, e);
}

void HostPushButton::mousePressEvent(QMouseEvent* e) {
  if (field_ && ui_.copy_field_click(*field_)) return;
  QAbstractButton::mousePressEvent(e);
}

void HostPushButton::contextMenuEvent(QContextMenuEvent* e) {
  ui_.context_menu(field_, e->globalPos());
}

void HostPushButton::paintEvent(QPaintEvent*) {
  if (!field_ || !field_->window) return;
  const ScreenField& f = *field_;
  const ScreenWindow& w = *f.window;
  const KeyQueue& keys = ui_.model().keys;
  const bool chosen = w.focus == &f && (keys.mode() & wait_mode::kButtons);
  ButtonLook look = button_look(f, w, chosen, over_);
  // Held down under the pointer, a button shows its pressed look too.
  if (isDown() && look.state != ButtonState::Disabled) look.state = ButtonState::Pressed;
  last_ = look;
  const FieldScheme scheme = field_scheme();
  const bool flat = f.flags & ff::kUnderline;
  const QImage& normal = native_.images[kNormalImage];
  const bool has_image = !normal.isNull();
  const bool styled = !has_image && !flat && scheme.button_theme;

  ButtonState colour_state = look.state;
  if (look.default_colours && colour_state == ButtonState::MouseOver)
    colour_state = ButtonState::Focused;
  const ColourPair c = readable(push_button_colours(f, w, colour_state, styled, scheme));

  QPainter p(this);
  QRect r = rect();
  const bool pressed = look.state == ButtonState::Pressed;
  bool frame = true;
  if (has_image) {
    int index = kNormalImage;
    switch (look.state) {
      case ButtonState::Pressed:
        index = kPressedImage;
        break;
      case ButtonState::Focused:
        index = kFocusedImage;
        break;
      case ButtonState::Disabled:
        index = kDisabledImage;
        break;
      case ButtonState::MouseOver:
        index = kMouseOverImage;
        break;
      case ButtonState::Normal:
        break;
    }
    const QImage& image =
        native_.images[index].isNull() ? normal : native_.images[static_cast<std::size_t>(index)];
    if (image.hasAlphaChannel()) {
      const ColourRef back = has_own_colour(w.background) ? colour_of_cell_code(w.background)
                                                          : scheme.classes.normal.background;
      p.fillRect(r, qcolour(back));
    }
    const bool stretch = f.flags & ff::kFlashing;
    if (!native_.images[kPressedImage].isNull()) {
      draw_picture(p, image, r, stretch);
      frame = false;
    } else {
      QRect inner = r.adjusted(1, 1, -1, -1);
      if (pressed) inner = r.adjusted(2, 2, 0, 0);
      draw_picture(p, image, inner, stretch);
    }
  } else if (flat) {
    p.fillRect(r, qcolour(c.background));
    frame = false;
  } else if (styled) {
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = r;
    option.state = QStyle::State_None;
    if (look.state != ButtonState::Disabled) option.state |= QStyle::State_Enabled;
    if (pressed)
      option.state |= QStyle::State_Sunken;
    else
      option.state |= QStyle::State_Raised;
    if (look.state == ButtonState::MouseOver) option.state |= QStyle::State_MouseOver;
    if (look.default_colours) {
      option.features |= QStyleOptionButton::DefaultButton;
      option.state |= QStyle::State_HasFocus;
    }
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
    frame = false;
  } else {
    p.fillRect(r, qcolour(c.background));
  }
  if (frame && !flat && !styled) {
    // The classic frame: white and black outer lines, a dark grey inner one.
    const QRect o = r.adjusted(0, 0, -1, -1);
    p.setPen(pressed ? Qt::black : Qt::white);
    p.drawLine(o.topLeft(), o.topRight());
    p.drawLine(o.topLeft(), o.bottomLeft());
    p.setPen(pressed ? Qt::white : Qt::black);
    p.drawLine(o.bottomLeft(), o.bottomRight());
    p.drawLine(o.topRight(), o.bottomRight());
    p.setPen(QColor(128, 128, 128));
    if (pressed) {
      p.drawLine(o.topLeft() + QPoint(1, 1), o.topRight() + QPoint(-1, 1));
      p.drawLine(o.topLeft() + QPoint(1, 1), o.bottomLeft() + QPoint(1, -1));
    } else {
      p.drawLine(o.bottomLeft() + QPoint(1, -1), o.bottomRight() + QPoint(-1, -1));
      p.drawLine(o.topRight() + QPoint(-1, 1), o.bottomRight() + QPoint(-1, -1));
    }
  }

  // The built-in icon, then the caption.
  QRect text_box = r.adjusted(3, 2, -3, -2);
  if (shows_builtin_icon(f)) {
    const QPixmap icon = builtin_icon(f.a, qcolour(c.background));
    p.drawPixmap(2, (r.height() - 16) / 2, icon);
    text_box.setLeft(2 + 16 + 3);
  }
  if (pressed && !styled) text_box.translate(1, 1);
  const int placement = f.extra.button.placement;
  const bool draw_caption = !has_image || placement != 0;
  QString caption = field_qstring(f.extra.button.caption);
  if (draw_caption && !caption.isEmpty()) {
    int h_align = (f.flags & ff::kCentred) ? Qt::AlignHCenter : Qt::AlignLeft;
    int v_align = Qt::AlignTop;
    bool several = false;
    if (placement >= 1 && placement <= 19 && placement % 10 != 0) {
      several = placement > 10;
      const int unit = placement % 10;
      h_align = (unit - 1) % 3 == 0   ? Qt::AlignLeft
                : (unit - 1) % 3 == 1 ? Qt::AlignHCenter
                                      : Qt::AlignRight;
      v_align = unit <= 3 ? Qt::AlignTop : unit <= 6 ? Qt::AlignVCenter : Qt::AlignBottom;
    } else {
      several = !single_row(f) && f.size_percent <= 100;
      v_align = f.size_percent > 100 ? Qt::AlignVCenter : Qt::AlignTop;
    }
    if (!several && (h_align == Qt::AlignHCenter)) {
      while (!caption.isEmpty() && caption.back().unicode() <= 0x20)
        caption.chop(1);
    }
    const QStringList lines = caption_lines(caption, several);
    p.setFont(font());
    const QFontMetrics fm(font());
    const int pitch = fm.height();
    const int block = pitch * static_cast<int>(lines.size());
    int top = text_box.top();
    if (v_align == Qt::AlignVCenter) top = text_box.top() + (text_box.height() - block) / 2;
    if (v_align == Qt::AlignBottom) top = text_box.bottom() + 1 - block;
    auto draw_lines = [&](const QColor& colour, int dx, int dy) {
      p.setPen(colour);
      int y = top + dy;
      for (const QString& line : lines) {
        p.drawText(QRect(text_box.left() + dx, y, text_box.width(), pitch),
                   h_align | Qt::AlignVCenter | Qt::TextShowMnemonic, line);
        y += pitch;
      }
    };
    if (look.state == ButtonState::Disabled) {
      draw_lines(Qt::white, 1, 1);
      draw_lines(QColor(128, 128, 128), 0, 0);
    } else {
      draw_lines(styled ? palette().color(QPalette::ButtonText) : qcolour(c.text), 0, 0);
    }
  }

  const bool focused = look.state == ButtonState::Focused || (look.default_colours && over_);
  const ColourPair def = scheme.classes.default_button, plain = scheme.classes.button;
  const bool same_colours = def.text == plain.text && def.background == plain.background;
  if (focused && ((!has_image && (same_colours || flat)) ||
                  (has_image && native_.images[kFocusedImage].isNull()))) {
    const int inset = flat ? 1 : 3;
    p.setPen(QPen(qcolour(c.text), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(inset, inset, -inset - 1, -inset - 1));
  }
}

}  // namespace veslink
