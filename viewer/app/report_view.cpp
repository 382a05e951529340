// Navigation and the polls of the view.
#include "viewer/app/report_view.h"

#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>

#include "platform/messages/message_box.h"
#include "viewer/app/main_frame.h"
#include "viewer/app/viewer_ids.h"
#include "viewer/app/viewer_session.h"
#include "viewer/report/wait_page.h"

namespace repscope::app {

namespace {
constexpr int kRefreshFirst = 1000;
constexpr int kRefreshNext = 500;
constexpr int kServerFirst = 5000;
constexpr int kServerNext = 1000;
constexpr int kRestoreDelay = 100;
}  // namespace

CMfcieView::CMfcieView(ViewerSession& session, CMainFrame* frame)
    : QWebEngineView(frame),
      session_(session),
      frame_(frame),
      profile_(new QWebEngineProfile(this)) {
  setPage(new QWebEnginePage(profile_, this));
  // Page files are local; the host's stylesheets may point at web images,
  // which the URL cache answers.
  settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
  settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
  refresh_timer_.setSingleShot(true);
  server_timer_.setSingleShot(true);
  connect(&refresh_timer_, &QTimer::timeout, this, &CMfcieView::refresh_tick);
  connect(&server_timer_, &QTimer::timeout, this, &CMfcieView::server_tick);
}

CMfcieView::~CMfcieView() {
  // The page must go before its profile.
  delete page();
}

void CMfcieView::navigate(const std::string& path) {
  load(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void CMfcieView::start() {
  report::OpenReport& report = session_.report();
  if (report.live && report.known_pages == 0) {
    if (report::write_wait_page(report.names.wait_page)) navigate(report.names.wait_page);
  } else {
    navigate(report.live ? report.names.live_page_html : report.names.page_html);
  }
  refresh_timer_.start(kRefreshFirst);
  server_timer_.start(kServerFirst);
}

void CMfcieView::refresh_tick() {
  refresh_timer_.stop();
  const RefreshOutcome out = session_.refresh();
  frame_->widen_range(session_.report().known_pages);
  frame_->update_status();
  if (!out.message.empty()) frame_->show_error(out.message);
  for (const std::string& message : out.zoom_messages)
    frame_->show_error(message);
  frame_->update_command_states();
  if (!out.stop) refresh_timer_.start(kRefreshNext);
}

void CMfcieView::server_tick() {
  server_timer_.stop();
  const ServerOutcome out = session_.server();
  if (!out.message.empty()) {
    frame_->show_error(out.message);
    return;
  }
  if (out.stop) return;  // the exchange is over
  if (out.show_window) {
    // Minimising and restoring brings the window to the front.
    const Qt::WindowStates before = frame_->windowState() & ~Qt::WindowMinimized;
    frame_->showMinimized();
    QTimer::singleShot(kRestoreDelay, frame_, [this, before] {
      frame_->setWindowState(before);
      frame_->show();
      frame_->raise();
      frame_->activateWindow();
    });
  }
  server_timer_.start(kServerNext);
}

}  // namespace repscope::app
