// The native controls of edits, prompts, pictures, radio buttons and check
// boxes. Each keeps its field (null once the field has gone) and leaves the
// decisions to QtFieldUi: keys go through the host windows' key table,
// focus changes through the focus rules, clicks to the field layer. Push
// buttons and scrolling areas have files of their own.
#pragma once

#include <QCheckBox>
#include <QFrame>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "client/terminal/terminal_colours.h"

namespace veslink {

class QtFieldUi;
struct ScreenField;

// What every field control shares: its field and its owner.
class FieldLink {
 public:
  FieldLink(QtFieldUi& ui, ScreenField& field) : ui_(ui), field_(&field) {}
  virtual ~FieldLink() = default;
  ScreenField* field() const { return field_; }
  void detach() { field_ = nullptr; }

 protected:
  QtFieldUi& ui_;
  ScreenField* field_;
};

// A single-row edit.
class FieldLineEdit : public QLineEdit, public FieldLink {
  Q_OBJECT
 public:
  FieldLineEdit(QtFieldUi& ui, ScreenField& field, QWidget* parent);
  // A thin one-pixel border instead of the platform's frame (field flag 0x1).
  void set_thin_border(bool on);

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  bool thin_border_ = false;
};

// An edit of several rows (or one character wide).
class FieldTextEdit : public QPlainTextEdit, public FieldLink {
  Q_OBJECT
 public:
  FieldTextEdit(QtFieldUi& ui, ScreenField& field, QWidget* parent);
  int limit = 0;  // the input limit while an input runs; 0 none

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
};

// A prompt with a frame, colours or a row place: a static text control
// (no prefix processing, no word wrap; a word ellipsis for single-row
// centred or right-aligned texts that are too long).
class FieldStatic : public QFrame, public FieldLink {
  Q_OBJECT
 public:
  FieldStatic(QtFieldUi& ui, ScreenField& field, QWidget* parent);
  QString text;
  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
  bool ellipsis = false;
  ColourPair colours{};

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
};

// A picture field with its own control.
class FieldPicture : public QFrame, public FieldLink {
  Q_OBJECT
 public:
  FieldPicture(QtFieldUi& ui, ScreenField& field, QWidget* parent);
  QImage image;
  bool stretch = false;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
};

// Radio buttons and three-state check boxes: a click never changes their
// state; the host sets it through the field flags. The two differ only in
// their Qt button, so one template makes both.
template <class Button>
class ChoiceField : public Button, public FieldLink {
 public:
  ChoiceField(QtFieldUi& ui, ScreenField& field, QWidget* parent);

 protected:
  bool event(QEvent* e) override;
  void nextCheckState() override {}
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
};
using FieldRadio = ChoiceField<QRadioButton>;
using FieldCheck = ChoiceField<QCheckBox>;

// Draws a picture into a rectangle: stretched, or with its proportions kept
// and centred.
void draw_picture(QPainter& p, const QImage& image, const QRect& target, bool stretch);

}  // namespace veslink
