// Choosing and building the derived stylesheet; the remembered zoom.
#include "viewer/report/derived_stylesheet.h"

#include <cstdio>
#include <cstdlib>

#include "viewer/report/stylesheet_rewrite.h"

namespace repscope::report {

using vestra::registry::Hive;

DerivedStylesheet::DerivedStylesheet(vestra::registry::Registry& registry, std::string report_xsl,
                                     std::string derived_path)
    : registry_(registry),
      report_xsl_(std::move(report_xsl)),
      derived_path_(std::move(derived_path)) {}

void DerivedStylesheet::read_default() {
  defaults_read_ = true;
  // Without a width there is nothing to remember the zoom by.
  if (header_.width <= 0) return;
  const std::string name = std::to_string(header_.width);
  std::string text;
  auto r = registry_.get_string(Hive::CurrentUser, kZoomKey, name, text);
  if (r.not_found()) {
    registry_.set_string(Hive::CurrentUser, kZoomKey, name, "100");
    return;
  }
  if (!r.ok()) return;
  const int zoom = std::atoi(text.c_str());
  if (is_valid_zoom(zoom)) default_ = current_ = zoom;
}

std::string DerivedStylesheet::make_current() {
  if (!defaults_read_) {
    read_default();
    std::string message = apply_zoom(current_);
    if (!message.empty() && current_ == 200) {
      default_ = current_ = 100;
      message = apply_zoom(100);
    }
    return message;
  }
  return apply_zoom(current_);
}

std::string DerivedStylesheet::apply_zoom(int percent) {
  std::string message;
  if (percent == 200) {
    message = header_.kind == StylesheetKind::Basic
                  ? setPageWidthForBasicXml(report_xsl_, derived_path_)
                  : setPageWidthForFullXml(report_xsl_, derived_path_);
  } else if (!is_valid_zoom(percent) && percent != default_) {
    std::remove(derived_path_.c_str());
    message = "Can't create zoom xsl file.";
  } else {
    message = setZoom(report_xsl_, derived_path_, percent);
  }
  built_ = message.empty();
  if (built_) {
    current_ = percent;
    hold_ = false;
  }
  return message;
}

std::string DerivedStylesheet::apply_hold_heading() {
  const std::string message =
      header_.kind == StylesheetKind::Basic
          ? setHoldHeadingForBasicXml(report_xsl_, derived_path_, header_.real_width)
          : setHoldHeadingForFullXml(report_xsl_, derived_path_, header_.real_width);
  built_ = message.empty();
  if (built_) hold_ = true;
  return message;
}

void DerivedStylesheet::save_zoom() {
  if (header_.width <= 0 || !is_valid_zoom(current_)) return;
  registry_.set_string(Hive::CurrentUser, kZoomKey, std::to_string(header_.width),
                       std::to_string(current_));
}

void DerivedStylesheet::remove() {
  std::remove(derived_path_.c_str());
  built_ = false;
}

}  // namespace repscope::report
