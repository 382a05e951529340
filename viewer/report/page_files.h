// The names of every file the viewer writes for a report, formed once from the
// work directory, the report's base name, its XML stem and the process tag.
// Names with the process tag let several viewers share one work directory.
#pragma once

#include <string>

namespace repscope::report {

struct PageFileNames {
  std::string page_xml;            // W/B xml T .xml: the cut page(s) on screen
  std::string page_html;           // W/B T html .html: the page on screen
  std::string print_html;          // W/B T prthtml .html
  std::string live_page_html;      // W/B html .html
  std::string received_xml;        // W/B .xml: the live report as received
  std::string live_print_html;     // W/B prthtml .html
  std::string print_pages_xml;     // W/B xmlSol T .xml (print process)
  std::string print_process_html;  // W/T printSols .html (print process)
  std::string plain_print_xsl;     // W/B none.xsl
  std::string wait_page;           // W/B wait html .html
  std::string zoom_xsl;            // W/T zoom.xsl: the derived stylesheet in use
  std::string ruler_temp;          // W/B T eq: heading-ruler removal's copy
  std::string source_xml;          // S.xml
};

PageFileNames make_page_file_names(const std::string& work_dir, const std::string& base_name,
                                   const std::string& xml_stem, const std::string& process_tag);

// "x/Sales.xml" -> "x/Salestmp.xml": where a received pages file gets its heading.
std::string with_header_name(const std::string& received_xml);

}  // namespace repscope::report
