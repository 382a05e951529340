// Counting the pages of a report by parsing it, collecting the header values
// of <report_info> on the way; also the header-only read of a settings file.
#pragma once

#include <string>

#include "viewer/report/report_header.h"

namespace repscope::report {

// Counts the `page` and `soft_page` elements outside <report_info> and fills
// `header`. Returns "" or the failure with the parser's messages; on failure
// `pages` is 0 (a failed count is never used).
std::string count_pages(const std::string& xml_path, int& pages, ReportHeader& header);

// The stylesheet kind and width (and the other header values) by a parse that
// ends with <report_info>.
std::string read_header_values(const std::string& xml_path, ReportHeader& header);

}  // namespace repscope::report
