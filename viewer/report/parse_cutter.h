// The fallback page cutter: parses the report and writes the requested pages
// as a new, complete document, for when the text cut or its transform fails
// (a report whose text the cutter cannot follow still shows).
#pragma once

#include <string>

namespace repscope::report {

// Writes pages from..to of `source` into `target`: the heading (the report
// start tag and <report_info>), the pages' content with the elements open at
// the page start opened again, closing tags for every element still open at a
// break, the break itself between pages and "\n</report>" after the last.
// `found` tells whether page `from` exists in the source.
std::string cut_pages_by_parse(const std::string& source, const std::string& target, int from,
                               int to, bool& found);

}  // namespace repscope::report
