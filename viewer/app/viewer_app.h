// ViewerApp: the start of repscope, in order: a bundle unpacked, the command
// line's attributes, the page file names, the first page, the exchange key,
// the bundle association, the window and its placement. It owns the open
// report and everything that works on it.
#pragma once

#include <memory>
#include <string>

#include "platform/registry/registry.h"
#include "platform/urlcache/url_cache.h"
#include "viewer/app/file_association.h"
#include "viewer/app/report_attributes.h"
#include "viewer/feed/exchange_key.h"
#include "viewer/report/derived_stylesheet.h"
#include "viewer/report/open_report.h"
#include "viewer/report/page_maker.h"

namespace repscope::app {

class CMainFrame;
class ViewerSession;

inline constexpr const char kViewerSettingsKey[] = "Software\\VESTRA\\REPSCOPEINIT";
// Where the host's stylesheets fetch their images from; configurable because
// the host decides it.
inline constexpr const char kImageLocationValue[] = "ImageLocation";

struct ViewerOptions {
  std::string program_path;   // the running program
  std::string process_tag;    // empty: a new one
  DesktopDirs desktop;        // where the bundle association goes
  std::string url_cache_dir;  // empty: the user's cache directory
  bool retry_pauses = true;   // false: the first page's retries do not wait (tests)
};

class ViewerApp {
 public:
  ViewerApp(vestra::registry::Registry& registry, std::string command_line, ViewerOptions options);
  ~ViewerApp();

  // Runs the start-up; false when it failed (its message has been shown) and
  // the program must end.
  bool init_instance();

  CMainFrame* frame() const { return frame_.get(); }
  ViewerSession* session() const { return session_.get(); }
  const ReportAttributes& attributes() const { return attributes_; }
  report::OpenReport& report() { return report_; }
  const std::string& process_tag() const { return tag_; }

 private:
  bool fail(const std::string& message);
  std::string prepare_role();
  void place_window();

  vestra::registry::Registry& registry_;
  std::string command_line_;
  ViewerOptions options_;
  std::string tag_;
  vestra::urlcache::UrlCache cache_;
  ReportAttributes attributes_;
  report::OpenReport report_;
  std::unique_ptr<report::DerivedStylesheet> stylesheet_;
  std::unique_ptr<report::PageMaker> pages_;
  std::unique_ptr<feed::ExchangeKey> key_;
  std::unique_ptr<ViewerSession> session_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace repscope::app
