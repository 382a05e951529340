// Edits, static prompts, pictures, radio buttons and check boxes.
#include "client/screen/field_widgets.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTextBlock>
#include <type_traits>

#include "client/screen/field_controls.h"
#include "client/screen/field_flags.h"
#include "client/screen/field_layer.h"
#include "client/screen/field_layout.h"
#include "client/screen/screen_types.h"

namespace veslink {

namespace {
QColor qcolour(ColourRef c) {
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

bool is_tab(QEvent* e) {
  if (e->type() != QEvent::KeyPress) return false;
  const int k = static_cast<QKeyEvent*>(e)->key();
  return k == Qt::Key_Tab || k == Qt::Key_Backtab;
}
}  // namespace

void draw_picture(QPainter& p, const QImage& image, const QRect& target, bool stretch) {
  if (image.isNull() || target.isEmpty()) return;
  if (stretch) {
    p.drawImage(target, image);
    return;
  }
  // Keep the proportions: the side with less room fills the target.
  QRect r = target;
  if (static_cast<long long>(target.width()) * 100 / target.height() <
      static_cast<long long>(image.width()) * 100 / image.height()) {
    r.setHeight(target.width() * image.height() / image.width());
  } else {
    r.setWidth(target.height() * image.width() / image.height());
  }
  r.moveCenter(target.center());
  p.drawImage(r, image);
}

// Single-row edits ---------------------------------------------------------------

FieldLineEdit::FieldLineEdit(QtFieldUi& ui, ScreenField& field, QWidget* parent)
    : QLineEdit(parent), FieldLink(ui, field) {
  setObjectName(QStringLiteral("edit %1").arg(field.number));
  setFocusPolicy(Qt::ClickFocus);
  setTextMargins(0, 0, 0, 0);
  setContextMenuPolicy(Qt::DefaultContextMenu);
  setReadOnly(true);
}

void FieldLineEdit::set_thin_border(bool on) {
  if (thin_border_ == on) return;
  thin_border_ = on;
  setTextMargins(on ? 1 : 0, 0, on ? 1 : 0, 0);
  update();
}

bool FieldLineEdit::event(QEvent* e) {
  // Tab and Shift+Tab are keys for the host, not focus moves.
  if (is_tab(e)) {
    keyPressEvent(static_cast<QKeyEvent*>(e));
    return true;
  }
  return QLineEdit::event(e);
}

void FieldLineEdit::keyPressEvent(QKeyEvent* e) {
  if (!field_) return;
  if (ui_.edit_key(*field_, e, false) == QtFieldUi::KeyRoute::Control) QLineEdit::keyPressEvent(e);
  // edit_key has queued what the key means; a key the edit ignores must
  // not reach the window as well and be queued a second time.
  e->accept();
}

void FieldLineEdit::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  if (field_) ui_.control_focused(*field_, e->reason());
}

void FieldLineEdit::mousePressEvent(QMouseEvent* e) {
  if (field_ && ui_.copy_field_click(*field_)) return;
  QLineEdit::mousePressEvent(e);
}

void FieldLineEdit::contextMenuEvent(QContextMenuEvent* e) {
  ui_.context_menu(field_, e->globalPos());
}

void FieldLineEdit::paintEvent(QPaintEvent* e) {
  QLineEdit::paintEvent(e);
  if (!thin_border_) return;
  QPainter p(this);
  p.setPen(palette().color(QPalette::Text));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

// Multi-row edits ---------------------------------------------------------------

FieldTextEdit::FieldTextEdit(QtFieldUi& ui, ScreenField& field, QWidget* parent)
    : QPlainTextEdit(parent), FieldLink(ui, field) {
  setObjectName(QStringLiteral("edit %1").arg(field.number));
  setFocusPolicy(Qt::ClickFocus);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setTabChangesFocus(false);
  document()->setDocumentMargin(0);
  setReadOnly(true);
  // The input limit counts characters; typing beyond it is undone.
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (limit <= 0) return;
    const QString text = toPlainText();
    if (text.size() <= limit) return;
    QTextCursor c = textCursor();
    c.movePosition(QTextCursor::End);
    c.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor,
                   static_cast<int>(text.size()) - limit);
    c.removeSelectedText();
  });
}

bool FieldTextEdit::event(QEvent* e) {
  if (is_tab(e)) {
    keyPressEvent(static_cast<QKeyEvent*>(e));
    return true;
  }
  return QPlainTextEdit::event(e);
}

void FieldTextEdit::keyPressEvent(QKeyEvent* e) {
  if (!field_) return;
  // A one-cell edit is made multi-line but keys work on it as on one row:
  // Enter and Tab end its input.
  if (ui_.edit_key(*field_, e, !single_row(*field_)) == QtFieldUi::KeyRoute::Control)
    QPlainTextEdit::keyPressEvent(e);
  e->accept();  // as for single-row edits: queued once only
}

void FieldTextEdit::focusInEvent(QFocusEvent* e) {
  QPlainTextEdit::focusInEvent(e);
  if (field_) ui_.control_focused(*field_, e->reason());
}

void FieldTextEdit::mousePressEvent(QMouseEvent* e) {
  if (field_ && ui_.copy_field_click(*field_)) return;
  QPlainTextEdit::mousePressEvent(e);
}

void FieldTextEdit::contextMenuEvent(QContextMenuEvent* e) {
  ui_.context_menu(field_, e->globalPos());
}

// Static prompts -------------------------------------------------------------

FieldStatic::FieldStatic(QtFieldUi& ui, ScreenField& field, QWidget* parent)
    : QFrame(parent), FieldLink(ui, field) {
  setObjectName(QStringLiteral("prompt %1").arg(field.number));
  setFocusPolicy(Qt::NoFocus);
}

void FieldStatic::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  p.fillRect(rect(), qcolour(colours.background));
  p.setPen(qcolour(colours.text));
  p.setFont(font());
  const QRect r = contentsRect();
  QString shown = text;
  if (ellipsis) shown = fontMetrics().elidedText(text, Qt::ElideRight, r.width());
  p.drawText(r, static_cast<int>(alignment), shown);
  p.end();
  QFrame::paintEvent(e);
}

void FieldStatic::mousePressEvent(QMouseEvent* e) {
  if (field_ && ui_.copy_field_click(*field_)) return;
  QFrame::mousePressEvent(e);  // the window sees the click as on its background
}

void FieldStatic::mouseDoubleClickEvent(QMouseEvent* e) {
  // A row of a scrolling area leaves its clicks to the area, the double
  // click too: it picks the row (-40), as the single click does (-39).
  if (field_ && (field_->flags & field_flag::kRow)) {
    e->ignore();
    return;
  }
  if (field_ && e->button() == Qt::LeftButton) {
    ui_.prompt_double_clicked(*field_, e->position().toPoint());
    return;
  }
  QFrame::mouseDoubleClickEvent(e);
}

void FieldStatic::contextMenuEvent(QContextMenuEvent* e) {
  ui_.context_menu(field_, e->globalPos());
}

// Pictures -------------------------------------------------------------------

FieldPicture::FieldPicture(QtFieldUi& ui, ScreenField& field, QWidget* parent)
    : QFrame(parent), FieldLink(ui, field) {
  setObjectName(QStringLiteral("picture %1").arg(field.number));
  setFocusPolicy(Qt::NoFocus);
}

void FieldPicture::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  draw_picture(p, image, contentsRect(), stretch);
  p.end();
  QFrame::paintEvent(e);
}

void FieldPicture::contextMenuEvent(QContextMenuEvent* e) {
  ui_.context_menu(field_, e->globalPos());
}

// Radio buttons and check boxes -------------------------------------------------

template <class Button>
ChoiceField<Button>::ChoiceField(QtFieldUi& ui, ScreenField& field, QWidget* parent)
    : Button(parent), FieldLink(ui, field) {
  if constexpr (std::is_same_v<Button, QCheckBox>) {
    this->setObjectName(QStringLiteral("check %1").arg(field.number));
    this->setTristate(true);
  } else {
    this->setObjectName(QStringLiteral("radio %1").arg(field.number));
    this->setAutoExclusive(false);
  }
  this->setFocusPolicy(Qt::ClickFocus);
  QObject::connect(this, &QAbstractButton::clicked, this, [this] {
    if (field_) ui_.layer().choice_button_clicked(*field_);
  });
}

template <class Button>
bool ChoiceField<Button>::event(QEvent* e) {
  // Tab and Shift+Tab end the button input: keys for the host, not focus
  // moves to the next control.
  if (is_tab(e)) {
    keyPressEvent(static_cast<QKeyEvent*>(e));
    return true;
  }
  return Button::event(e);
}

template <class Button>
void ChoiceField<Button>::keyPressEvent(QKeyEvent* e) {
  if (field_) ui_.forward_key(*field_, e);
}

template <class Button>
void ChoiceField<Button>::focusInEvent(QFocusEvent* e) {
  Button::focusInEvent(e);
  if (field_) ui_.control_focused(*field_, e->reason());
}

template <class Button>
void ChoiceField<Button>::contextMenuEvent(QContextMenuEvent* e) {
  ui_.context_menu(field_, e->globalPos());
}

template class ChoiceField<QRadioButton>;
template class ChoiceField<QCheckBox>;

}  // namespace veslink
