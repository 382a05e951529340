// CMfcieView: the web view that shows one page of the report as an HTML
// file, and the view's timers of file mode: the page-count poll
// (ID_TIMER_REFRESH) and the show-window poll (ID_TIMER_SERVER).
#pragma once

#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <string>

namespace repscope::app {

class CMainFrame;
class ViewerSession;

class CMfcieView : public QWebEngineView {
  Q_OBJECT
 public:
  // The view has a profile of its own, so that what it is given (the URL
  // cache) belongs to this report only.
  CMfcieView(ViewerSession& session, CMainFrame* frame);
  ~CMfcieView() override;

  void navigate(const std::string& path);
  // First display: the first page (or, for a live report still without
  // pages, the wait page), then the two polls.
  void start();

  // One tick of each poll; the timers call them, tests may too.
  void refresh_tick();
  void server_tick();

  QTimer& refresh_timer() { return refresh_timer_; }
  QTimer& server_timer() { return server_timer_; }

 private:
  ViewerSession& session_;
  CMainFrame* frame_;
  QWebEngineProfile* profile_;
  QTimer refresh_timer_;
  QTimer server_timer_;
};

}  // namespace repscope::app
