// The open report: its paths, file names, heading texts, page index, header
// values and page counts. One per viewer process; everything that makes or
// shows pages reads it.
#pragma once

#include <string>

#include "viewer/report/page_cutter.h"
#include "viewer/report/page_files.h"
#include "viewer/report/report_head.h"
#include "viewer/report/report_header.h"

namespace repscope::report {

struct OpenReport {
  std::string source_xml;  // the report XML as named on the command line
  std::string report_xsl;  // its stylesheet
  PageFileNames names;
  ReportHeading heading;
  PageIndex index;
  ReportHeader header;
  bool live = false;
  bool finished = false;  // the page count ends in END (always so in file mode, once read)
  int known_pages = 0;    // the highest count seen; never decreases

  void raise_known(int pages) {
    if (pages > known_pages) known_pages = pages;
  }
};

}  // namespace repscope::report
