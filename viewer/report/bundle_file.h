// Report bundles (".kvr"): the stylesheet, one separator line and the report
// XML in one text file, so a report can travel as one attachment.
#pragma once

#include <string>

namespace repscope::report {

// The separator line's text (84 characters); a line is the separator when it
// starts with this text, letters compared in any case.
extern const char kBundleSeparator[];

// Writes every line before the separator to `xsl` and every line after it to
// `xml`; the separator itself goes to neither. A half-written stylesheet is
// removed when the XML cannot be created.
std::string unpack_bundle(const std::string& bundle, const std::string& xml,
                          const std::string& xsl);

}  // namespace repscope::report
