// The page number box of the toolbar (and of the Go To dialog): an edit with
// an up-down beside it. The arrows only move the number within the range;
// the owner loads the page on Enter or when the mouse button is released
// over the arrows. Numbers are shown with thousands separators.
#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace repscope::app {

class PageNumberBox : public QWidget {
  Q_OBJECT
 public:
  explicit PageNumberBox(QWidget* parent = nullptr);

  void set_range(int lower, int upper);
  int lower() const { return lower_; }
  int upper() const { return upper_; }

  // The number in the edit, commas removed; 0 when there is none.
  int page() const;
  void set_page(int page);
  QString text() const { return edit_->text(); }
  void set_text(const QString& text) { edit_->setText(text); }
  QLineEdit* edit() const { return edit_; }

  // One step of the arrows: the number moves within the range.
  void step(int delta);

 signals:
  void enterPressed();
  void stepped(int page);
  void upDownReleased();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* edit_;
  QToolButton* up_;
  QToolButton* down_;
  int lower_ = 1;
  int upper_ = 1;
};

}  // namespace repscope::app
