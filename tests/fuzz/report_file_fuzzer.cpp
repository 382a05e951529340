// Fuzz target for report files from the host: the header scan, the parser's
// page count, the index cut and the sequential cut of the same bytes, and the
// same bytes read as a report bundle. Any crash or sanitizer report is a
// finding; messages about bad input are the expected outcome.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "viewer/report/bundle_file.h"
#include "viewer/report/page_counter.h"
#include "viewer/report/page_cutter.h"
#include "viewer/report/report_head.h"
#include "viewer/report/xml_libraries.h"

namespace {
std::string work_file(const char* name) {
  static const std::string dir = [] {
    std::string d = "/tmp/report-fuzz-" + std::to_string(getpid());
    mkdir(d.c_str(), 0700);
    return d;
  }();
  return dir + "/" + name;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace repscope::report;
  ensure_xml_libraries();
  const std::string source = work_file("report.xml");
  {
    std::ofstream out(source, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  ReportHeader header;
  scan_header_text(std::string(reinterpret_cast<const char*>(data), size), header);
  int pages = 0;
  count_pages(source, pages, header);

  ReportHeading heading;
  PageIndex index;
  const int known = pages > 0 ? pages : 3;
  buildXmlPages(true, heading, index, source, work_file("page.xml"), 1, known, known);
  buildXmlPages(false, heading, index, source, work_file("last.xml"), known, known, known);
  ReportHeading running;
  buildXmlPagesDuringRun(running, source, work_file("run.xml"), 2, 3);

  unpack_bundle(source, work_file("bundle.xml"), work_file("bundle.xsl"));
  return 0;
}
