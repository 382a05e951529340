// Turning a page XML into the page HTML with Xalan-C, and, for reports of the
// basic kind, taking the "=" ruler out of the page heading afterwards.
#pragma once

#include <string>

#include "viewer/report/report_header.h"

namespace repscope::report {

// Applies `xsl` to `xml` and writes `html`. With the basic kind the heading
// ruler is removed through the temporary file `ruler_temp`. "" or the
// transformer's error text.
std::string transformPage(const std::string& xml, const std::string& xsl, const std::string& html,
                          StylesheetKind kind, const std::string& ruler_temp);

// In the heading (from the line after one that starts with "<h1>" or "<h1 "
// to the line that starts with "</h1>"), drops the line right before a line
// that starts with "</pre>" when its first 71 characters are all "=".
std::string removeEquals(const std::string& html, const std::string& temp);

}  // namespace repscope::report
