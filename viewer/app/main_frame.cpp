// The viewer window's commands, widgets and close.
#include "viewer/app/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWebEnginePage>

#include "platform/events/posted_events.h"
#include "platform/messages/message_box.h"
#include "viewer/app/goto_dialog.h"
#include "viewer/app/page_box.h"
#include "viewer/app/report_view.h"
#include "viewer/app/viewer_ids.h"
#include "viewer/app/viewer_session.h"
#include "viewer/app/window_placement.h"

namespace repscope::app {

using vestra::messages::Answer;
using vestra::messages::Buttons;
using vestra::messages::Icon;

CMainFrame::CMainFrame(ViewerSession& session, vestra::registry::Registry& registry)
    : session_(session), registry_(registry) {
  setObjectName(QString::number(ids::IDR_MAINFRAME));
  const ReportAttributes& a = session_.attributes();
  const QString title = QString::fromStdString(a.title.empty() ? a.base_name : a.title);
  setWindowTitle(title + " - " + ids::kDocumentString);
  view_ = new CMfcieView(session_, this);
  setCentralWidget(view_);
  build_menus();
  build_toolbars();
  build_status_bar();
  widen_range(session_.report().known_pages);
  update_command_states();
}

QAction* CMainFrame::action(int command) const {
  auto it = actions_.find(command);
  return it == actions_.end() ? nullptr : it->second;
}

QAction* CMainFrame::add_command(int command, const QString& text, const QKeySequence& key,
                                 const QString& label) {
  auto* a = new QAction(text, this);
  a->setData(command);
  if (!key.isEmpty()) a->setShortcut(key);
  if (!label.isEmpty()) a->setIconText(label);
  connect(a, &QAction::triggered, this, [this, command] { run_command(command); });
  actions_[command] = a;
  addAction(a);  // accelerators work without the menu open
  return a;
}

void CMainFrame::build_menus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->addAction(
      add_command(ids::ID_FILE_SAVE_AS, "Save &As...", QKeySequence("A"), ids::IDS_SAVE));
  // Print and Previous share the letter P in the key table; the letter moves
  // through the report, and printing keeps the usual Ctrl+P.
  file->addAction(
      add_command(ids::ID_FILE_PRINT, "&Print", QKeySequence("Ctrl+P"), ids::IDS_PRINT));
  file->addAction(add_command(ids::ID_FILE_PRINT_PREVIEW, "Print Pre&view..."));
  file->addSeparator();
  file->addAction(add_command(ids::ID_MAIL, "&Mail", QKeySequence("M"), ids::IDS_MAIL));
  file->addAction(add_command(ids::ID_EXCEL, "&Excel", QKeySequence("E"), ids::IDS_EXCEL));
  file->addSeparator();
  file->addAction(add_command(ids::ID_CLOSE, "&Close", QKeySequence(Qt::Key_Escape)));
  add_command(ids::ID_CLOSE_HOME, "Close", QKeySequence(Qt::Key_Home));

  QMenu* edit = menuBar()->addMenu("&Edit");
  edit->addAction(add_command(ids::ID_EDIT_COPY, "&Copy", QKeySequence("C"), ids::IDS_COPY));
  edit->addAction(add_command(ids::ID_DELETE, "&Delete", QKeySequence("D"), ids::IDS_DELETE));
  edit->addSeparator();
  edit->addAction(add_command(ids::ID_SEARCH, "&Search...", QKeySequence("Ctrl+F")));

  QMenu* go = menuBar()->addMenu("&Go");
  go->addAction(add_command(ids::ID_PREVIOUS, "&Previous", QKeySequence("P"), ids::IDS_PREV));
  go->addAction(add_command(ids::ID_NEXT, "&Next", QKeySequence("N"), ids::IDS_NEXT));
  go->addAction(add_command(ids::ID_START_PAGE, "&Start page", QKeySequence("S"), ids::IDS_FIRST));
  go->addAction(add_command(ids::ID_LAST_PAGE, "&Last page", QKeySequence("L"), ids::IDS_LAST));
  go->addAction(add_command(ids::ID_GOTO, "&Go To...", QKeySequence("G")));
  go->addSeparator();
  go->addAction(
      add_command(ids::ID_REFRESH, "&Refresh", QKeySequence(Qt::Key_F5), ids::IDS_REFRESH));

  QMenu* view = menuBar()->addMenu("&View");
  QMenu* zoom = view->addMenu("&Zoom");
  QAction* width = add_command(ids::ID_PAGE_WIDTH, "Page &Width");
  width->setCheckable(true);
  zoom->addAction(width);
  zoom->addAction(add_command(ids::ID_ZOOM_DEFAULT, "&Default"));
  zoom->addSeparator();
  for (int percent = 50; percent <= 150; percent += 5) {
    QAction* a = add_command(ids::zoom_command(percent), QString("%1%").arg(percent));
    a->setCheckable(true);
    zoom->addAction(a);
  }
  QAction* hold = add_command(ids::ID_HOLD_HEADING, "&Hold Heading", QKeySequence("H"));
  hold->setCheckable(true);
  view->addAction(hold);
  connect(view, &QMenu::aboutToShow, this, &CMainFrame::update_command_states);
  connect(zoom, &QMenu::aboutToShow, this, &CMainFrame::update_command_states);

  QMenu* help = menuBar()->addMenu("&Help");
  help->addAction(add_command(ids::ID_APP_ABOUT, "&About VESTRA Report Viewer..."));

  QStyle* s = style();
  action(ids::ID_EDIT_COPY)
      ->setIcon(QIcon::fromTheme("edit-copy", s->standardIcon(QStyle::SP_FileIcon)));
  action(ids::ID_FILE_PRINT)
      ->setIcon(QIcon::fromTheme("document-print", s->standardIcon(QStyle::SP_ComputerIcon)));
  action(ids::ID_FILE_SAVE_AS)
      ->setIcon(QIcon::fromTheme("document-save", s->standardIcon(QStyle::SP_DialogSaveButton)));
  action(ids::ID_DELETE)
      ->setIcon(QIcon::fromTheme("edit-delete", s->standardIcon(QStyle::SP_TrashIcon)));
  action(ids::ID_START_PAGE)->setIcon(s->standardIcon(QStyle::SP_MediaSkipBackward));
  action(ids::ID_PREVIOUS)->setIcon(s->standardIcon(QStyle::SP_ArrowLeft));
  action(ids::ID_NEXT)->setIcon(s->standardIcon(QStyle::SP_ArrowRight));
  action(ids::ID_LAST_PAGE)->setIcon(s->standardIcon(QStyle::SP_MediaSkipForward));
  action(ids::ID_REFRESH)->setIcon(s->standardIcon(QStyle::SP_BrowserReload));
  action(ids::ID_MAIL)
      ->setIcon(QIcon::fromTheme("mail-send", s->standardIcon(QStyle::SP_MessageBoxInformation)));
  action(ids::ID_EXCEL)
      ->setIcon(
          QIcon::fromTheme("x-office-spreadsheet", s->standardIcon(QStyle::SP_FileDialogListView)));
}

void CMainFrame::build_toolbars() {
  auto band = [this](const char* name) {
    QToolBar* bar = addToolBar(name);
    bar->setObjectName(name);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(22, 22));
    return bar;
  };
  QToolBar* edit = band("Band1");
  edit->addAction(action(ids::ID_EDIT_COPY));
  edit->addSeparator();
  edit->addAction(action(ids::ID_FILE_PRINT));
  edit->addAction(action(ids::ID_FILE_SAVE_AS));
  edit->addSeparator();
  edit->addAction(action(ids::ID_DELETE));
  QToolBar* back = band("Band2");
  back->addAction(action(ids::ID_START_PAGE));
  back->addAction(action(ids::ID_PREVIOUS));
  QToolBar* number = band("Band3");
  page_box_ = new PageNumberBox(number);
  number->addWidget(page_box_);
  QToolBar* forward = band("Band4");
  forward->addAction(action(ids::ID_NEXT));
  forward->addAction(action(ids::ID_LAST_PAGE));
  QToolBar* more = band("Band5");
  more->addAction(action(ids::ID_REFRESH));
  more->addAction(action(ids::ID_MAIL));
  more->addAction(action(ids::ID_EXCEL));

  connect(page_box_, &PageNumberBox::enterPressed, this, &CMainFrame::on_page_enter);
  connect(page_box_, &PageNumberBox::upDownReleased, this, &CMainFrame::on_updown_released);
}

void CMainFrame::build_status_bar() {
  for (int i = 0; i < 4; ++i) {
    panes_[i] = new QLabel(this);
    panes_[i]->setObjectName(QString("pane%1").arg(i));
  }
  panes_[1]->setMinimumWidth(40);
  panes_[3]->setMinimumWidth(200);
  panes_[3]->setText("Page Number");
  statusBar()->addWidget(panes_[0], 1);
  statusBar()->addPermanentWidget(panes_[1]);
  statusBar()->addPermanentWidget(panes_[2]);
  statusBar()->addPermanentWidget(panes_[3]);
  panes_[2]->setText(QString::fromStdString(session_.attributes().title));
  update_status();
}

void CMainFrame::show_error(const std::string& text) {
  vestra::messages::show_notice(ids::kCaption, text, Icon::Error, this);
}

void CMainFrame::widen_range(int known_pages) {
  if (known_pages > page_box_->upper() || page_box_->upper() <= 1) {
    page_box_->set_range(1, known_pages < 1 ? 1 : known_pages);
  }
}

void CMainFrame::update_status(const QString& extra) {
  const report::OpenReport& report = session_.report();
  QString text = QString("Page: %1 of %2").arg(page_box_->text()).arg(report.known_pages);
  if (!report.finished) text += "+";
  if (!extra.isEmpty()) text += "  " + extra;
  panes_[3]->setText(text);
  panes_[0]->setText(report.finished ? "Done" : "Spooling report");
  const report::StylesheetKind kind = session_.stylesheet().header().kind;
  if (!kind_shown_ && kind != report::StylesheetKind::Unknown) {
    panes_[1]->setText(report::kind_name(kind));
    kind_shown_ = true;
  }
}

void CMainFrame::update_command_states() {
  const report::OpenReport& report = session_.report();
  const report::DerivedStylesheet& s = session_.stylesheet();
  // Printing, saving, mail, the spreadsheet export and search are not part
  // of this viewer yet: their commands stay in place, disabled.
  for (int c : {ids::ID_FILE_PRINT, ids::ID_FILE_PRINT_PREVIEW, ids::ID_FILE_SAVE_AS, ids::ID_MAIL,
                ids::ID_EXCEL, ids::ID_SEARCH}) {
    action(c)->setEnabled(false);
  }
  const bool zoom_ok = report.finished;
  for (int percent = 50; percent <= 150; percent += 5) {
    QAction* a = action(ids::zoom_command(percent));
    a->setEnabled(zoom_ok);
    a->setChecked(!s.hold_heading() && s.current_zoom() == percent);
  }
  action(ids::ID_PAGE_WIDTH)->setEnabled(zoom_ok);
  action(ids::ID_PAGE_WIDTH)->setChecked(!s.hold_heading() && s.current_zoom() == 200);
  // Default is held back only by the search window, which this viewer has
  // not got yet.
  action(ids::ID_ZOOM_DEFAULT)->setEnabled(true);
  action(ids::ID_HOLD_HEADING)->setEnabled(zoom_ok);
  action(ids::ID_HOLD_HEADING)->setChecked(s.hold_heading());
}

bool CMainFrame::event(QEvent* e) {
  if (e->type() == vestra::events::CommandEvent::type()) {
    run_command(static_cast<vestra::events::CommandEvent*>(e)->command_id());
    return true;
  }
  return QMainWindow::event(e);
}

void CMainFrame::run_command(int command) {
  QAction* a = action(command);
  if (a && !a->isEnabled()) return;
  switch (command) {
    case ids::ID_PREVIOUS:
    case ids::ID_NEXT:
    case ids::ID_START_PAGE:
    case ids::ID_LAST_PAGE:
    case ids::ID_REFRESH: {
      auto target = ViewerSession::page_for(command, page_box_->page(), page_box_->upper());
      if (target) show_page(*target);
      return;
    }
    case ids::ID_GOTO:
      on_goto();
      return;
    case ids::ID_CLOSE:
    case ids::ID_CLOSE_HOME:
      close();
      return;
    case ids::ID_EDIT_COPY:
      view_->triggerPageAction(QWebEnginePage::Copy);
      return;
    case ids::ID_DELETE:
      on_delete();
      return;
    case ids::ID_PAGE_WIDTH:
      on_zoom(200);
      return;
    case ids::ID_ZOOM_DEFAULT:
      on_zoom(session_.stylesheet().default_zoom());
      return;
    case ids::ID_HOLD_HEADING:
      on_hold_heading();
      return;
    case ids::ID_APP_ABOUT:
      on_about();
      return;
    default:
      if (command >= ids::ID_ZOOM_50 && command <= ids::ID_ZOOM_150) {
        on_zoom(50 + (command - ids::ID_ZOOM_50) * 5);
      }
  }
}

void CMainFrame::show_page(int page) {
  // Pages of a live report come through the exchange with the thin client;
  // this window shows those of a report on disk.
  if (session_.report().live) return;
  panes_[0]->setText(QString("Loading Page %1 ...").arg(page));
  panes_[0]->repaint();
  const std::string message = session_.show_page(page);
  panes_[0]->setText(" ");
  if (!message.empty()) {
    show_error(message);
    return;
  }
  page_box_->set_page(page);
  widen_range(session_.report().known_pages);
  view_->navigate(session_.report().names.page_html);
  update_status();
}

void CMainFrame::on_page_enter() {
  const int page = page_box_->page();
  if (page == 0) {
    vestra::messages::show_notice(ids::kCaption, "Please enter page number.", Icon::Warning, this);
    return;
  }
  if (page > page_box_->upper()) {
    vestra::messages::show_notice(ids::kCaption, "Wrong page number.", Icon::Warning, this);
    return;
  }
  show_page(page);
}

void CMainFrame::on_updown_released() {
  const int page = page_box_->page();
  if (page >= page_box_->lower() && page <= page_box_->upper()) show_page(page);
}

void CMainFrame::on_goto() {
  GoToDialog dialog(page_box_->upper(), page_box_->page(), this);
  if (dialog.exec() == QDialog::Accepted) show_page(dialog.page());
}

void CMainFrame::reload_current_page() {
  const int page = page_box_->page();
  if (page > 0) show_page(page);
}

void CMainFrame::on_zoom(int percent) {
  for (const std::string& message : session_.zoom(percent))
    show_error(message);
  reload_current_page();
  update_command_states();
}

void CMainFrame::on_hold_heading() {
  for (const std::string& message : session_.toggle_hold_heading())
    show_error(message);
  reload_current_page();
  update_command_states();
}

void CMainFrame::on_delete() {
  vestra::messages::Request box;
  box.owner = this;
  box.caption = ids::kConfirmDeleteCaption;
  box.text = "Remove the report ?";
  box.icon = Icon::Question;
  box.buttons = Buttons::YesNo;
  if (vestra::messages::show_message(box) != Answer::Yes) return;
  if (!session_.report().live) session_.delete_report_files();
  deleting_ = true;
  close();
}

void CMainFrame::on_about() {
  QDialog about(this);
  about.setObjectName(QString::number(ids::IDD_ABOUTBOX));
  about.setWindowTitle("About VESTRA Report Viewer");
  auto* column = new QVBoxLayout(&about);
  column->addWidget(
      new QLabel(QString("<b>%1</b><br>Version %2<br>Shows host reports page by page.")
                     .arg(ids::kDocumentString, QApplication::applicationVersion()),
                 &about));
  about.exec();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (closed_) {
    event->accept();
    return;
  }
  closed_ = true;
  session_.close(deleting_);
  const QRect normal = normalGeometry();
  int status = kShowNormal;
  if (isMaximized()) status = kShowMaximized;
  if (isMinimized()) status = kShowMinimized;
  save_placement(registry_, Rect{normal.x(), normal.y(), normal.width(), normal.height()}, status);
  view_->refresh_timer().stop();
  view_->server_timer().stop();
  event->accept();
}

}  // namespace repscope::app
