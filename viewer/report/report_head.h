// The start of a report, read once: the prologue (everything through the
// <report> start tag) and the <report_info> block that every page file after
// the first repeats, and the title and header values found in that block.
#pragma once

#include <string>

#include "viewer/report/report_header.h"

namespace repscope::report {

struct ReportHeading {
  // The source from its first character through the <report> start tag,
  // followed by "</report>" so that it is a small complete document.
  std::string prologue;
  std::string info_block;  // "<report_info>...</report_info>", or empty
  // False while the source is still being written and its header block has
  // not ended yet: such a heading is used once but not kept.
  bool complete = false;

  // The prologue without its closing tag, as written in front of a page.
  std::string opening() const { return prologue.substr(0, prologue.size() - 9); }
  bool empty() const { return prologue.empty(); }
};

// Reads the heading texts of the report at `xml_path`.
std::string read_report_heading(const std::string& xml_path, ReportHeading& heading);

// The text of the first <title> after <report_info>, entity-decoded.
// Messages: "Can't find %s." (no file), "Can't open %s." (unreadable).
std::string read_report_title(const std::string& xml_path, std::string& title);

// The header values by a text scan of the <report_info> block (no parse of
// the whole file): the stylesheet kind, width and real width.
// Messages: "Can't find %s.", "Can't open %s to read.".
std::string scan_header_values(const std::string& xml_path, ReportHeader& header);

// The header block of a report start held in memory (for tests and callers
// that already have it): the text between <report_info> and its end tag.
void scan_header_text(const std::string& info_block, ReportHeader& header);

}  // namespace repscope::report
