// Text edits that make the zoom, page-width and hold-heading stylesheets.
#include "viewer/report/stylesheet_rewrite.h"

#include <cstdio>
#include <functional>
#include <vector>

#include "viewer/report/page_scripts.h"
#include "viewer/report/report_file.h"
#include "viewer/report/sax_support.h"
#include "viewer/report/text_lines.h"

namespace repscope::report {

namespace {

constexpr const char kHeaderTemplate[] = "<xsl:template match=\"/report/page_header\">";
constexpr const char kDetailTemplate[] = "<xsl:template match=\"/report/detail\">";
constexpr const char kTemplateEnd[] = "</xsl:template>";
constexpr const char kClosingSections[] =
    "<xsl:apply-templates select=\"./report_finished|./finish_report|./summary_print|"
    "./trans_summary|./skip_one|./total_tax_by_account|./account_details\"/>\n";

// The line opens the template `which` (and does not also close it).
bool opens_template(const std::string& line, const char* which) {
  const std::string low = to_lower(line);
  return low.find(which) != std::string::npos && low.find(kTemplateEnd) == std::string::npos;
}

// Where "<body" followed by a blank or ">" starts in the line, or npos.
std::size_t body_tag(const std::string& line) {
  std::size_t at = 0;
  while ((at = find_ci(line, "<body", at)) != std::string::npos) {
    const std::size_t after = at + 5;
    if (after < line.size() && (line[after] == ' ' || line[after] == '>')) return at;
    at = after;
  }
  return std::string::npos;
}

// "<body id="body"" and the rest of the line after "<body".
std::string body_line(const std::string& line, std::size_t at) {
  return "<body id=\"body\"" + line.substr(at + 5);
}

std::string box_width(long real_width) {
  if (real_width <= 0) return "158.4";
  char text[64];
  std::snprintf(text, sizeof text, "%f", real_width * 1.2 + 3);
  return text;
}

// What a rewrite does with the lines: writes `out` and returns whether all
// its anchors were found.
using Rewrite = std::function<bool(const std::vector<std::string>&, std::string&)>;

std::string rewrite_file(const std::string& source, const std::string& target, const char* method,
                         const char* bad_arguments, const char* anchor_failure,
                         const Rewrite& rewrite) {
  const std::string in_method = std::string(" Method(") + method + ")";
  if (source.empty() || target.empty()) return bad_arguments + in_method;
  std::vector<std::string> lines;
  if (!read_lines(source, lines)) return "Can't open and read file " + source + "." + in_method;
  std::string out;
  const bool complete = rewrite(lines, out);
  std::remove(target.c_str());
  if (!complete) return std::string(anchor_failure) + in_method;
  TargetFile file;
  if (!file.create(target)) return "Can't open and write file " + target + "." + in_method;
  file.write(out);
  if (!file.close()) return "Can't open and write file " + target + "." + in_method;
  // The result must still be a well-formed stylesheet.
  ReportSaxHandler check;
  if (!parse_report_file(target, check)) {
    std::remove(target.c_str());
    return "Can't create hold heading page." + in_method;
  }
  return std::string();
}

// Copies from lines[i] (a template's first line, already written by the
// caller) up to and including the template's end, wrapping the body in
// `open` ... "</div>\n". Returns the index after the end line.
std::size_t wrap_template(const std::vector<std::string>& lines, std::size_t i,
                          const std::string& open, const std::string& after_open,
                          std::string& out) {
  out += open;
  out += after_open;
  ++i;
  while (i < lines.size() && lines[i].find(kTemplateEnd) == std::string::npos)
    out += lines[i++];
  out += "</div>\n";
  if (i < lines.size()) out += lines[i++];
  return i;
}

}  // namespace

bool is_valid_zoom(int percent) {
  return percent == 200 || (percent >= 50 && percent <= 150 && percent % 5 == 0);
}

std::string setZoom(const std::string& report_xsl, const std::string& target, int percent) {
  if (report_xsl.empty() || target.empty()) return "Can't create zoom-xsl file. (setzoom-1)";
  if (!is_valid_zoom(percent) || percent == 200) return "Can't create zoom xsl file.";
  std::remove(target.c_str());
  std::string text;
  if (!read_text(report_xsl, text)) return "Can't open file " + report_xsl + ". (setZoom)";
  const std::size_t style = find_ci(text, "<style>");
  if (style == std::string::npos) return "Can't create zoom-xsl file. (setzoom-2";
  const std::size_t style_start = style + 7;
  const std::size_t style_end = find_ci(text, "</style>", style_start);
  if (style_end == std::string::npos) return "Can't create zoom-xsl file. setzoom-3";
  const std::size_t screen = text.find("@media screen", style_start);
  if (screen == std::string::npos || screen >= style_end) {
    return "Can't create zoom-xsl file. setzoom-4";
  }
  const std::size_t body = text.find("body", screen + 13);
  if (body == std::string::npos || body >= style_end) {
    return "Can't create zoom-xsl file. (setzoom-5)";
  }
  const std::size_t brace = text.find('{', body + 4);
  if (brace == std::string::npos || brace >= style_end) {
    return "Can't create zoom-xsl file. (setzoom-6)";
  }
  const std::string digits = std::to_string(percent);
  const std::string declaration =
      digits.size() == 2 ? "zoom: 0." + digits + ";"
                         : "zoom: " + digits.substr(0, 1) + "." + digits.substr(1) + ";";
  TargetFile file;
  if (!file.create(target)) return "Can't create file " + target + ". (setZoom)";
  file.write(std::string_view(text).substr(0, brace + 1));
  file.write(declaration);
  file.write(std::string_view(text).substr(brace + 1));
  if (!file.close()) return "Can't create file " + target + ". (setZoom)";
  return std::string();
}

namespace {

std::string page_width(const std::string& report_xsl, const std::string& target, bool basic) {
  const char* method = basic ? "setPageWidthForBasicXml" : "setPageWidthForFullXml";
  return rewrite_file(
      report_xsl, target, method, "Can't set page width.", "Can't create page width.",
      [basic](const std::vector<std::string>& lines, std::string& out) {
        bool body_done = false;
        bool header_done = false;
        std::size_t i = 0;
        while (i < lines.size()) {
          const std::string& line = lines[i];
          if (!body_done) {
            const std::size_t at = body_tag(line);
            if (at == std::string::npos) {
              out += line;
            } else {
              out += kPageWidthScript;
              out += body_line(line, at);
              body_done = true;
            }
            ++i;
            continue;
          }
          if (header_done || !opens_template(line, kHeaderTemplate)) {
            out += line;
            ++i;
            continue;
          }
          out += line;
          ++i;
          header_done = true;
          if (!basic) {
            out += "<div id=\"PageHeader\" class=\"page_header\">\n";
            while (i < lines.size() && lines[i].find(kTemplateEnd) == std::string::npos) {
              out += lines[i++];
            }
            out += "</div>\n";
            continue;
          }
          // Basic: the heading's <h1> becomes the element the script measures.
          bool found = false;
          while (i < lines.size() && lines[i].find(kTemplateEnd) == std::string::npos) {
            const std::string_view trimmed = trim_leading(lines[i]);
            if (!found && trimmed.substr(0, 4) == "<h1>") {
              out += "<h1 id=\"PageHeader\" class=\"Page_header\">";
              out += trimmed.substr(4);
              found = true;
            } else {
              out += lines[i];
            }
            ++i;
          }
          header_done = found;
        }
        return body_done && header_done;
      });
}

}  // namespace

std::string setPageWidthForFullXml(const std::string& report_xsl, const std::string& target) {
  return page_width(report_xsl, target, false);
}

std::string setPageWidthForBasicXml(const std::string& report_xsl, const std::string& target) {
  return page_width(report_xsl, target, true);
}

std::string setHoldHeadingForFullXml(const std::string& report_xsl, const std::string& target,
                                     long real_width) {
  const std::string box =
      "<div id=\"KeepBottom\" style=\"bottom-margin:0ex; height:10px; "
      "overflow-x:visible; overflow-y:auto; width:" +
      box_width(real_width) + "ex\">\n";
  return rewrite_file(report_xsl, target, "setHoldHeadingForFullXml", "Can't set hold heading.",
                      "Can't create hold heading page.",
                      [&box](const std::vector<std::string>& lines, std::string& out) {
                        bool body_done = false;
                        bool header_done = false;
                        bool detail_done = false;
                        std::size_t i = 0;
                        while (i < lines.size()) {
                          const std::string& line = lines[i];
                          if (!body_done) {
                            const std::size_t at = body_tag(line);
                            if (at != std::string::npos) {
                              out += kHoldHeadingScript;
                              out += body_line(line, at);
                              body_done = true;
                              ++i;
                              continue;
                            }
                          }
                          if (!header_done && opens_template(line, kHeaderTemplate)) {
                            out += line;
                            i = wrap_template(
                                lines, i, "<div id=\"KeepTop\" style=\"width:1ex\">\n", "", out);
                            header_done = true;
                            continue;
                          }
                          if (!detail_done && opens_template(line, kDetailTemplate)) {
                            out += line;
                            i = wrap_template(lines, i, box, kClosingSections, out);
                            detail_done = true;
                            continue;
                          }
                          out += line;
                          ++i;
                        }
                        return body_done && header_done && detail_done;
                      });
}

std::string setHoldHeadingForBasicXml(const std::string& report_xsl, const std::string& target,
                                      long real_width) {
  const std::string box =
      "<pre id=\"KeepBottom\" style=\"height:10px; overflow-x:visible; "
      "overflow-y:auto; width:" +
      box_width(real_width) + "ex; position: relative; top: -1.2em\">";
  return rewrite_file(
      report_xsl, target, "setHoldHeadingForBasicXml", "Can't set hold heading.",
      "Can't create hold heading page.",
      [&box](const std::vector<std::string>& lines, std::string& out) {
        bool body_done = false;
        bool header_done = false;
        bool detail_done = false;
        bool in_screen = false;
        std::size_t i = 0;
        while (i < lines.size()) {
          std::string line = lines[i];
          if (!body_done) {
            const std::size_t at = body_tag(line);
            if (at != std::string::npos) {
              out += kHoldHeadingScript;
              out += body_line(line, at);
              body_done = true;
              ++i;
              continue;
            }
            // The heading sits on the body, so its negative bottom margin in
            // the screen style goes.
            if (line.find("@media screen") != std::string::npos) in_screen = true;
            if (line.find("@media print") != std::string::npos) in_screen = false;
            if (in_screen && (line.find("H1 PRE") != std::string::npos ||
                              line.find("H1 {") != std::string::npos)) {
              const std::size_t margin = line.find("margin-bottom");
              const std::size_t minus =
                  margin == std::string::npos ? std::string::npos : line.find("-1.2", margin);
              if (minus != std::string::npos) line.replace(minus, 4, " 0.0");
            }
            out += line;
            ++i;
            continue;
          }
          const bool detail = !detail_done && opens_template(line, kDetailTemplate);
          const bool header = !header_done && opens_template(line, kHeaderTemplate);
          out += line;
          ++i;
          if ((!detail && !header) || i >= lines.size()) continue;
          const std::string_view next = trim_leading(lines[i]);
          if (detail && starts_with_ci(next, "<pre")) {
            const std::size_t close = next.find('>');
            out += box;
            out += close == std::string_view::npos ? std::string_view() : next.substr(close + 1);
            detail_done = true;
            ++i;
          } else if (header && next.substr(0, 4) == "<h1>") {
            out += "<h1 id=\"KeepTop\" style=\"width:1ex\">";
            out += next.substr(4);
            header_done = true;
            ++i;
          }
        }
        return body_done && header_done && detail_done;
      });
}

}  // namespace repscope::report
