// Stylesheet kinds from the header text and for the status bar.
#include "viewer/report/report_header.h"

namespace repscope::report {

StylesheetKind kind_from_text(const std::string& text) {
  return text == "basic" ? StylesheetKind::Basic : StylesheetKind::Full;
}

const char* kind_name(StylesheetKind kind) {
  switch (kind) {
    case StylesheetKind::Basic:
      return "Basic";
    case StylesheetKind::Full:
      return "Full";
    case StylesheetKind::Unknown:
      break;
  }
  return "";
}

}  // namespace repscope::report
