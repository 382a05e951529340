// The Go To dialog and its check.
#include "viewer/app/goto_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/messages/message_box.h"
#include "viewer/app/page_box.h"
#include "viewer/app/viewer_ids.h"

namespace repscope::app {

GoToDialog::GoToDialog(int upper, int current, QWidget* parent) : QDialog(parent), upper_(upper) {
  setObjectName(QString::number(ids::IDD_GOTO));
  setWindowTitle("Go To Page");
  box_ = new PageNumberBox(this);
  box_->set_range(1, upper);
  if (current > 0) box_->set_page(current);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Page number:", this));
  row->addWidget(box_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &GoToDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &GoToDialog::reject);
  auto* column = new QVBoxLayout(this);
  column->addLayout(row);
  column->addWidget(buttons);
  box_->edit()->selectAll();
  box_->edit()->setFocus();
}

int GoToDialog::page() const {
  return box_->page();
}

void GoToDialog::accept() {
  const int page = box_->page();
  if (page < 1 || page > upper_) {
    vestra::messages::show_notice(ids::kCaption,
                                  "Please enter number (1 to " + std::to_string(upper_) + ").",
                                  vestra::messages::Icon::Warning, this);
    return;
  }
  QDialog::accept();
}

}  // namespace repscope::app
