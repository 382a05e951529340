// Dialog 171 "Go To Page": a page number between 1 and the known page count.
#pragma once

#include <QDialog>

namespace repscope::app {

class PageNumberBox;

class GoToDialog : public QDialog {
  Q_OBJECT
 public:
  GoToDialog(int upper, int current, QWidget* parent = nullptr);
  int page() const;
  PageNumberBox* box() const { return box_; }

  // OK: a number outside 1..upper (or none) is refused with a warning and
  // the dialog stays open.
  void accept() override;

 private:
  PageNumberBox* box_;
  int upper_;
};

}  // namespace repscope::app
