// File names of the page maker, rendering and printing.
#include "viewer/report/page_files.h"

namespace repscope::report {

PageFileNames make_page_file_names(const std::string& w, const std::string& b, const std::string& s,
                                   const std::string& t) {
  PageFileNames n;
  n.page_xml = w + "/" + b + "xml" + t + ".xml";
  n.page_html = w + "/" + b + t + "html" + ".html";
  n.print_html = w + "/" + b + t + "prthtml" + ".html";
  n.live_page_html = w + "/" + b + "html" + ".html";
  n.received_xml = w + "/" + b + ".xml";
  n.live_print_html = w + "/" + b + "prthtml" + ".html";
  n.print_pages_xml = w + "/" + b + "xmlSol" + t + ".xml";
  n.print_process_html = w + "/" + t + "printSols" + ".html";
  n.plain_print_xsl = w + "/" + b + "none.xsl";
  n.wait_page = w + "/" + b + "wait" + "html" + ".html";
  n.zoom_xsl = w + "/" + t + "zoom.xsl";
  n.ruler_temp = w + "/" + b + t + "eq";
  n.source_xml = s + ".xml";
  return n;
}

std::string with_header_name(const std::string& received_xml) {
  std::string stem = received_xml;
  if (stem.size() >= 4 && stem.compare(stem.size() - 4, 4, ".xml") == 0)
    stem.resize(stem.size() - 4);
  return stem + "tmp.xml";
}

}  // namespace repscope::report
