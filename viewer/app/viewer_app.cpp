// The start-up sequence of repscope.
#include "viewer/app/viewer_app.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QScreen>
#include <QWebEngineProfile>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/messages/message_box.h"
#include "platform/urlcache/url_cache_scheme.h"
#include "viewer/app/bundle_start.h"
#include "viewer/app/main_frame.h"
#include "viewer/app/page_box.h"
#include "viewer/app/report_view.h"
#include "viewer/app/viewer_ids.h"
#include "viewer/app/viewer_session.h"
#include "viewer/app/window_placement.h"
#include "viewer/report/image_seeding.h"
#include "viewer/report/report_head.h"
#include "viewer/report/transform.h"

namespace repscope::app {

using vestra::registry::Hive;

namespace {
constexpr int kLiveFirstPageAttempts = 5;

std::int64_t now() {
  return QDateTime::currentSecsSinceEpoch();
}
}  // namespace

ViewerApp::ViewerApp(vestra::registry::Registry& registry, std::string command_line,
                     ViewerOptions options)
    : registry_(registry),
      command_line_(std::move(command_line)),
      options_(std::move(options)),
      tag_(options_.process_tag.empty() ? make_process_tag() : options_.process_tag),
      cache_(options_.url_cache_dir.empty() ? vestra::urlcache::UrlCache::default_directory()
                                            : options_.url_cache_dir) {}

ViewerApp::~ViewerApp() = default;

bool ViewerApp::fail(const std::string& message) {
  vestra::messages::show_notice(ids::kCaption, message, vestra::messages::Icon::Error);
  return false;
}

bool ViewerApp::init_instance() {
  // A bundle becomes an XML and an XSL file beside it, and a file-mode start.
  if (names_bundle(command_line_)) {
    std::string rewritten;
    const std::string message =
        ProcessKvr(command_line_, options_.program_path, registry_, now(), rewritten);
    if (!message.empty()) return fail(message);
    command_line_ = rewritten;
  }

  std::string location = report::kDefaultImageLocation;
  registry_.get_string(Hive::CurrentUser, kViewerSettingsKey, kImageLocationValue, location);
  AttrEnvironment env;
  env.getenv = [](const char* name) { return std::getenv(name); };
  env.seed_images = [this, location](const std::string& dir) {
    for (const char* image : {"open.gif", "close.gif"}) {
      report::seed_image(cache_, dir, image, location, now());
    }
  };
  env.set_temp_dir = [](const std::string& dir) {
    for (const char* name : {"TMPDIR", "TMP", "TEMP"})
      setenv(name, dir.c_str(), 1);
  };
  std::string message = getAttrs(command_line_, attributes_, env);
  if (!message.empty()) return fail(message);

  report_.source_xml = attributes_.xml_path;
  report_.report_xsl = attributes_.xsl_path;
  report_.names = report::make_page_file_names(attributes_.work_dir, attributes_.base_name,
                                               attributes_.xml_stem, tag_);
  report_.live = attributes_.live;
  report_.known_pages = attributes_.page_count;
  if (attributes_.live) {
    report_.header = attributes_.header;
  } else {
    // What steers zoom, page width and hold heading, without parsing the
    // whole report.
    report::scan_header_values(report_.source_xml, report_.header);
  }
  if (report_.header.title.empty()) report_.header.title = attributes_.title;
  stylesheet_ = std::make_unique<report::DerivedStylesheet>(registry_, report_.report_xsl,
                                                            report_.names.zoom_xsl);
  stylesheet_->set_header(report_.header);
  pages_ = std::make_unique<report::PageMaker>(report_, *stylesheet_);
  if (!options_.retry_pauses) pages_->set_retry_pause([] {});
  key_ = std::make_unique<feed::ExchangeKey>(registry_, attributes_.exchange_key);

  message = prepare_role();
  if (!message.empty()) return fail(message);

  message = key_->check();
  if (!message.empty()) return fail(message);
  key_->sweep_stale(now());

  const AssociationResult association = register_bundle_association(
      registry_, QString::fromStdString(options_.program_path), options_.desktop);
  if (association.mime_package_written) refresh_mime_database(options_.desktop);

  session_ = std::make_unique<ViewerSession>(attributes_, report_, *stylesheet_, *pages_, *key_);
  frame_ = std::make_unique<CMainFrame>(*session_, registry_);
  vestra::urlcache::serve_cache(frame_->view()->page()->profile(), cache_);
  place_window();
  frame_->view()->start();
  if (!report_.live) frame_->page_box()->set_page(1);
  frame_->update_status();
  return true;
}

std::string ViewerApp::prepare_role() {
  if (attributes_.print_process) {
    return "Printing reports is not available in this version of the viewer.";
  }
  if (attributes_.live) {
    if (attributes_.page_count == 0) return std::string();  // the wait page shows
    std::string message;
    for (int attempt = 1; attempt <= kLiveFirstPageAttempts; ++attempt) {
      stylesheet_->make_current();
      message = report::transformPage(report_.source_xml, stylesheet_->in_use(),
                                      report_.names.live_page_html, report_.header.kind,
                                      report_.names.ruler_temp);
      if (message.empty()) break;
      if (attempt < kLiveFirstPageAttempts && options_.retry_pauses) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
      }
    }
    return message;
  }
  return pages_->createFirstPageForWindow(1, 1);
}

void ViewerApp::place_window() {
  const QRect screen = QGuiApplication::primaryScreen()
                           ? QGuiApplication::primaryScreen()->availableGeometry()
                           : QRect(0, 0, 1280, 1024);
  const Placement p = app::place_window(
      read_placement(registry_), Rect{screen.x(), screen.y(), screen.width(), screen.height()});
  frame_->setGeometry(p.rect.x, p.rect.y, p.rect.width, p.rect.height);
  if (p.maximised) {
    frame_->showMaximized();
  } else {
    frame_->show();
  }
}

}  // namespace repscope::app
