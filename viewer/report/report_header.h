// The few header values of a report that steer the viewer (title, widths and
// the stylesheet kind), shared by the parsers, the page maker and rendering.
#pragma once

#include <string>

namespace repscope::report {

// Which rewrites of the host's stylesheet apply: "basic" reports are fixed-width
// text inside <h1>/<pre>, every other report is structured ("full").
enum class StylesheetKind { Unknown, Basic, Full };

struct ReportHeader {
  std::string title;     // decoded text, UTF-8
  long width = 0;        // report width in characters: key of the remembered zoom
  long real_width = 0;   // width of the scrolling body in the hold-heading form
  long real_length = 0;  // kept; nothing depends on it
  StylesheetKind kind = StylesheetKind::Unknown;
};

// "basic" exactly gives Basic; any other text (even "Basic") gives Full.
StylesheetKind kind_from_text(const std::string& text);

// "Basic" or "Full" for the status bar; empty while unknown.
const char* kind_name(StylesheetKind kind);

}  // namespace repscope::report
