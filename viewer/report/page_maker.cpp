// The page makers of the window.
#include "viewer/report/page_maker.h"

#include <chrono>
#include <thread>

#include "viewer/report/parse_cutter.h"
#include "viewer/report/transform.h"

namespace repscope::report {

namespace {
constexpr int kFirstPageAttempts = 6;

// The fixed text, and what went wrong below it when there is something to say.
std::string with_detail(std::string text, const std::string& detail) {
  if (!detail.empty()) text += "\n" + detail;
  return text;
}
}  // namespace

PageMaker::PageMaker(OpenReport& report, DerivedStylesheet& stylesheet)
    : report_(report), stylesheet_(stylesheet) {
  pause_ = [] { std::this_thread::sleep_for(std::chrono::seconds(1)); };
}

std::string PageMaker::transform_page() {
  const PageFileNames& n = report_.names;
  return transformPage(n.page_xml, stylesheet_.in_use(), n.page_html, report_.header.kind,
                       n.ruler_temp);
}

std::string PageMaker::createOnePageForWindow(int page) {
  if (page <= 0) return "Invalid page number. Method(createOnePageForWindow)";
  if (!report_.finished) return createFirstPageForWindow(page, page);
  std::string message = buildXmlPages(false, report_.heading, report_.index, report_.source_xml,
                                      report_.names.page_xml, page, page, report_.known_pages);
  if (message.empty()) message = transform_page();
  if (message.empty()) {
    report_.raise_known(page);
    return message;
  }
  // The text cut or its transform failed: the parser's cut is the fallback,
  // and only its outcome is reported.
  return createOnePageByParse(page);
}

std::string PageMaker::createOnePageByParse(int page) {
  if (page <= 0) return "Invalid page number. Method(createOnePageByParse)";
  bool found = false;
  std::string detail =
      cut_pages_by_parse(report_.source_xml, report_.names.page_xml, page, page, found);
  if (detail.empty() && found) detail = transform_page();
  if (detail.empty() && found) {
    report_.raise_known(page);
    return detail;
  }
  return with_detail(
      "Can't create page " + std::to_string(page) + ". Method(createOnePageForWindow)", detail);
}

std::string PageMaker::createFirstPageForWindow(int from, int to) {
  if (from <= 0 || to < from) return "Invalid page number. Method(createFirstPageForWindow)";
  std::string message =
      buildXmlPagesDuringRun(report_.heading, report_.source_xml, report_.names.page_xml, from, to);
  if (message.empty()) {
    for (int attempt = 1; attempt <= kFirstPageAttempts; ++attempt) {
      // A stylesheet that cannot be rewritten leaves the report's own in use.
      stylesheet_.make_current();
      message = transform_page();
      if (message.empty()) break;
      if (attempt < kFirstPageAttempts) pause_();
    }
  }
  if (message.empty()) {
    report_.raise_known(to);
    return message;
  }
  return createFirstPageByParse(from, to);
}

std::string PageMaker::createFirstPageByParse(int from, int to) {
  if (from <= 0 || to < from) return "Invalid page number. Method(createFirstPageByParse)";
  bool found = false;
  std::string detail =
      cut_pages_by_parse(report_.source_xml, report_.names.page_xml, from, to, found);
  if (detail.empty() && found) detail = transform_page();
  if (detail.empty() && found) {
    report_.raise_known(to);
    return detail;
  }
  return with_detail(
      "Can't create page " + std::to_string(from) + ". Method(createFirstPageForWindow)", detail);
}

}  // namespace repscope::report
