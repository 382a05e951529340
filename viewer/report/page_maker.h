// Making the page on screen: cut the page XML (through the index once the
// report is finished, by a scan while it grows, by the parser as the last
// resort) and transform it into the page HTML with the stylesheet in use.
#pragma once

#include <functional>
#include <string>

#include "viewer/report/derived_stylesheet.h"
#include "viewer/report/open_report.h"

namespace repscope::report {

class PageMaker {
 public:
  PageMaker(OpenReport& report, DerivedStylesheet& stylesheet);

  // The wait between attempts of the first page (the stylesheet may still be
  // in use by its writer); one second unless a test shortens it.
  void set_retry_pause(std::function<void()> pause) { pause_ = std::move(pause); }

  std::string createOnePageForWindow(int page);
  std::string createFirstPageForWindow(int from, int to);

 private:
  std::string transform_page();
  std::string createOnePageByParse(int page);
  std::string createFirstPageByParse(int from, int to);

  OpenReport& report_;
  DerivedStylesheet& stylesheet_;
  std::function<void()> pause_;
};

}  // namespace repscope::report
