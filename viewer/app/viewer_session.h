// What the viewer window does, without the window: which page a command
// goes to, making that page, zoom and hold heading with their fallbacks, the
// page-count and show-window polls of the exchange key, and the clean-up at
// close. The window turns its results into widgets and message boxes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "viewer/app/report_attributes.h"
#include "viewer/feed/exchange_key.h"
#include "viewer/report/derived_stylesheet.h"
#include "viewer/report/open_report.h"
#include "viewer/report/page_maker.h"

namespace repscope::app {

struct RefreshOutcome {
  std::string message;  // a registry failure: shown, and polling stops
  bool stop = false;    // no more ticks are needed
  bool became_finished = false;
  std::vector<std::string> zoom_messages;  // rebuilding the stylesheet at the end
};

struct ServerOutcome {
  std::string message;
  bool show_window = false;
  bool stop = false;  // the key is gone: nothing more will come
};

class ViewerSession {
 public:
  ViewerSession(const ReportAttributes& attributes, report::OpenReport& report,
                report::DerivedStylesheet& stylesheet, report::PageMaker& pages,
                feed::ExchangeKey& key);

  const ReportAttributes& attributes() const { return attributes_; }
  report::OpenReport& report() { return report_; }
  report::DerivedStylesheet& stylesheet() { return stylesheet_; }

  // The page a command goes to from `current` (0 when the box is empty), or
  // nothing when the command does nothing there. `upper` is the highest
  // page the page box offers.
  static std::optional<int> page_for(int command, int current, int upper);

  // Makes page `page` and its HTML (file mode); "" or the page maker's text.
  std::string show_page(int page);

  // A zoom command (200: page width). Every failure is returned, in order;
  // a failed page width is retried at 100.
  std::vector<std::string> zoom(int percent);
  // Hold heading on (a failure falls back to zoom 100) or off (the form for
  // the current zoom).
  std::vector<std::string> toggle_hold_heading();

  RefreshOutcome refresh();
  ServerOutcome server();

  // The files of this process, the end flag of a live report, the zoom.
  void close(bool deleted);
  // Delete in file mode: the report's XML stem with ".xml", ".xsl", ".acl".
  void delete_report_files();

 private:
  const ReportAttributes& attributes_;
  report::OpenReport& report_;
  report::DerivedStylesheet& stylesheet_;
  report::PageMaker& pages_;
  feed::ExchangeKey& key_;
};

// "1,024": page numbers as the page box shows them.
std::string with_thousands(int number);
// The number in a page box text, commas removed; 0 when there is none.
int page_number(const std::string& text);

}  // namespace repscope::app
