// Unpacking a bundle in one pass with a fixed buffer, looking for the
// separator only at real line starts, whatever the lines' lengths.
#include "viewer/report/bundle_file.h"

#include <cstdio>
#include <string_view>

#include "viewer/report/report_file.h"
#include "viewer/report/text_lines.h"

namespace repscope::report {

const char kBundleSeparator[] =
    "****** This is seaprate line for xsl file and xml file in KVR file. 123456789 ******";

std::string unpack_bundle(const std::string& bundle, const std::string& xml,
                          const std::string& xsl) {
  if (!file_exists(bundle)) return "Can't find kvr file.";
  if (xsl.empty()) return "Can't get xsl file name.";
  if (xml.empty()) return "Can't get xml file name.";
  SourceFile in;
  if (!in.open(bundle)) return "Can't open file(" + bundle + ") to read.";
  TargetFile xsl_out;
  if (!xsl_out.create(xsl)) return "Can't create xsl file " + xsl + ".";
  TargetFile xml_out;
  const std::string_view separator(kBundleSeparator, sizeof kBundleSeparator - 1);
  bool in_xml = false;
  bool skipping = false;  // the rest of the separator line
  bool line_start = true;
  std::string head;  // a line's start, until it can be told from the separator

  auto start_xml = [&]() {
    in_xml = true;
    if (!xsl_out.close()) return "Can't create xsl file " + xsl + ".";
    if (!xml_out.create(xml)) {
      std::remove(xsl.c_str());
      return "Can't create xml file " + xml + ".";
    }
    return std::string();
  };

  std::string piece(kReadPiece, '\0');
  for (;;) {
    const std::size_t n = in.read(piece.data(), piece.size());
    if (n == 0) break;
    std::size_t i = 0;
    while (i < n) {
      const std::string_view rest(piece.data() + i, n - i);
      if (in_xml && !skipping) {
        xml_out.write(rest);
        break;
      }
      const std::size_t nl = rest.find('\n');
      if (skipping) {
        if (nl == std::string_view::npos) break;
        i += nl + 1;
        skipping = false;
        continue;
      }
      if (!line_start) {
        const std::size_t end = nl == std::string_view::npos ? rest.size() : nl + 1;
        xsl_out.write(rest.substr(0, end));
        line_start = nl != std::string_view::npos;
        i += end;
        continue;
      }
      // At a line start: gather as much as the separator is long, or the line.
      while (i < n && head.size() < separator.size() && (head.empty() || head.back() != '\n')) {
        head += piece[i++];
      }
      if (head.size() < separator.size() && head.back() != '\n') break;  // wait for more
      if (head.size() == separator.size() && starts_with_ci(head, separator)) {
        const std::string message = start_xml();
        if (!message.empty()) return message;
        skipping = head.back() != '\n';
      } else {
        xsl_out.write(head);
        line_start = head.back() == '\n';
      }
      head.clear();
    }
  }
  if (!in_xml) {
    // No separator: all of it was stylesheet, and the report is empty.
    xsl_out.write(head);
    const std::string message = start_xml();
    if (!message.empty()) return message;
  }
  if (!xml_out.close()) return "Can't create xml file " + xml + ".";
  return std::string();
}

}  // namespace repscope::report
