// The stylesheet the page view uses: the derived zoom, page-width or
// hold-heading form of the report's stylesheet, with the current and default
// zoom and the default remembered per report width under "ZOOM". When no
// derived form can be made the report's own stylesheet is used, so a report
// whose stylesheet cannot be rewritten still shows at its own size.
#pragma once

#include <string>

#include "platform/registry/registry.h"
#include "viewer/report/report_header.h"

namespace repscope::report {

inline constexpr const char kZoomKey[] = "Software\\VESTRA\\REPSCOPEINIT\\ZOOM";

class DerivedStylesheet {
 public:
  DerivedStylesheet(vestra::registry::Registry& registry, std::string report_xsl,
                    std::string derived_path);

  // The header values decide the kind of rewrite, the box width and the key
  // of the remembered zoom.
  void set_header(const ReportHeader& header) { header_ = header; }
  const ReportHeader& header() const { return header_; }

  // Builds the form for the current zoom. The first time, the default zoom
  // is read for the report width first (and "100" stored when there is
  // none); a failed page width there falls back to a default of 100.
  std::string make_current();

  // The zoom form for `percent` (200: page width); on success the current
  // zoom is `percent` and hold heading is off.
  std::string apply_zoom(int percent);

  // The hold-heading form; on success hold heading is on.
  std::string apply_hold_heading();

  // The stylesheet to transform with.
  const std::string& in_use() const { return built_ ? derived_path_ : report_xsl_; }
  const std::string& derived_path() const { return derived_path_; }
  const std::string& report_xsl() const { return report_xsl_; }

  int current_zoom() const { return current_; }
  int default_zoom() const { return default_; }
  bool hold_heading() const { return hold_; }

  // At close: the current zoom under the report width, and the derived file
  // deleted.
  void save_zoom();
  void remove();

 private:
  void read_default();

  vestra::registry::Registry& registry_;
  std::string report_xsl_;
  std::string derived_path_;
  ReportHeader header_;
  bool defaults_read_ = false;
  bool built_ = false;
  int current_ = 100;
  int default_ = 100;
  bool hold_ = false;
};

}  // namespace repscope::report
