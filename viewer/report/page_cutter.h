// Cutting page files out of a report's text: the offset index of the page
// breaks, the cut of a finished report through that index, the sequential cut
// of a report that is still growing, and a received pages file made complete.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "viewer/report/report_file.h"
#include "viewer/report/report_head.h"

namespace repscope::report {

// Where the page breaks of the source lie. Entry 0 is the start of the file;
// entry k (k >= 1) is break k, kept with its exact start and end so that a
// page starts right after the break that ends the page before it, whatever the
// line lengths are. The index only grows, never beyond the known page count.
class PageIndex {
 public:
  // Breaks recorded so far.
  int breaks() const { return static_cast<int>(breaks_.size()); }
  // Where page `page` starts: 0 for page 1, else just after break page-1.
  std::int64_t page_start(int page) const;
  // Where break `k` (1-based) starts.
  std::int64_t break_start(int k) const { return breaks_[k - 1].start; }
  void clear() { breaks_.clear(); }

  // Extends the index so that it covers `page` (up to the known count).
  std::string storePageFilePoint(SourceFile& source, int page, int known_count);

 private:
  struct Break {
    std::int64_t start;
    std::int64_t end;
  };
  std::vector<Break> breaks_;
};

// Pages from..to of a finished report into `target`, through the index.
// With `load_heading` (or no heading read yet) the heading texts are read first.
std::string buildXmlPages(bool load_heading, ReportHeading& heading, PageIndex& index,
                          const std::string& source, const std::string& target, int from, int to,
                          int known_count);

// The same by a scan from the start, for a report that may still be growing.
std::string buildXmlPagesDuringRun(ReportHeading& heading, const std::string& source,
                                   const std::string& target, int from, int to);

// Makes a complete document of a received pages file: the heading texts, then
// the file. Writes the file's name without ".xml" followed by "tmp.xml" and
// checks it by parsing. `made` receives that name.
std::string createXmlWithHeader(const ReportHeading& heading, const std::string& received,
                                std::string& made);

}  // namespace repscope::report
