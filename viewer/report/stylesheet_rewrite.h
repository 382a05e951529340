// The derived stylesheets written from the host's report stylesheet: a zoom
// factor in the screen style, the page-width form and the hold-heading form,
// each for the basic and the full kind. The edits work on the stylesheet's
// text, keyed on fixed markers that the host's stylesheets contain.
#pragma once

#include <string>

namespace repscope::report {

// 50 to 150 in steps of 5, or 200 (page width).
bool is_valid_zoom(int percent);

// The zoom form for `percent` (not 200): "zoom: 0.95;" or "zoom: 1.25;" right
// after the "{" of the body rule in "@media screen".
std::string setZoom(const std::string& report_xsl, const std::string& target, int percent);

std::string setPageWidthForFullXml(const std::string& report_xsl, const std::string& target);
std::string setPageWidthForBasicXml(const std::string& report_xsl, const std::string& target);

// `real_width` is the report's real width; 0 or less gives the fixed box width.
std::string setHoldHeadingForFullXml(const std::string& report_xsl, const std::string& target,
                                     long real_width);
std::string setHoldHeadingForBasicXml(const std::string& report_xsl, const std::string& target,
                                      long real_width);

}  // namespace repscope::report
