// The index, the two text cutters and the heading writer for received pages.
#include "viewer/report/page_cutter.h"

#include <algorithm>

#include "viewer/report/page_files.h"
#include "viewer/report/sax_support.h"

namespace repscope::report {

namespace {

constexpr const char kReportEnd[] = "</report>";

bool is_break(MarkerType t) {
  return t == MarkerType::PageBreak || t == MarkerType::SoftPageBreak;
}

// Reads the heading when it is not held yet (or not complete) or when asked.
std::string ensure_heading(ReportHeading& heading, const std::string& source, bool reload) {
  if (!reload && !heading.empty() && heading.complete) return std::string();
  return read_report_heading(source, heading);
}

// True when the source has at least one byte at `offset`.
bool has_byte_at(SourceFile& source, std::int64_t offset) {
  char c;
  return source.seek(offset) && source.read(&c, 1) == 1;
}

}  // namespace

std::int64_t PageIndex::page_start(int page) const {
  return page <= 1 ? 0 : breaks_[page - 2].end;
}

std::string PageIndex::storePageFilePoint(SourceFile& source, int page, int known_count) {
  const int wanted = std::min(page, known_count);
  if (breaks() >= wanted) return std::string();
  // Resume right after the last recorded break; from the start the scanner
  // must also pass the header block, whose breaks are no pages.
  const std::int64_t from = breaks_.empty() ? 0 : breaks_.back().end;
  MarkerScanner scanner(from);
  auto sink = [&](const Marker& m) {
    if (m.type == MarkerType::ReportEnd) return false;
    if (!is_break(m.type)) return true;
    breaks_.push_back({m.start, m.end});
    return breaks() < wanted;
  };
  bool stopped = false;
  if (!scan_file(source, from, scanner, sink, &stopped) && !stopped) {
    return "Error:fseek, Method(storePageFilePoint)";
  }
  return std::string();
}

std::string buildXmlPages(bool load_heading, ReportHeading& heading, PageIndex& index,
                          const std::string& source_path, const std::string& target_path, int from,
                          int to, int known_count) {
  if (load_heading || from > 1) {
    const std::string message = ensure_heading(heading, source_path, load_heading);
    if (!message.empty()) return message;
  }
  SourceFile source;
  if (!source.open(source_path))
    return "Can't open file: " + source_path + ". Method(buildXmlPages)";
  std::string message = index.storePageFilePoint(source, to, known_count);
  if (!message.empty()) return message;
  // The last page runs to the end of the report, so it needs only the break
  // before it; any other page needs the break that ends it.
  const bool to_end = to == known_count;
  const int needed = to_end ? to - 1 : to;
  if (from < 1 || from > to || index.breaks() < needed) {
    return "Can't find page " + std::to_string(to) + ". Method(buildXmlPages)";
  }
  TargetFile target;
  const std::string cannot_write =
      "Can't open file: " + target_path + " to write. Mehtod(buildXmlPages)";
  if (!target.create(target_path)) return cannot_write;
  if (from > 1) {
    target.write(heading.opening());
    target.write(heading.info_block);
  }
  const std::int64_t start = index.page_start(from);
  if (!source.seek(start)) return "Error:fseek, Method(buildXmlPages)";
  if (from > 1 && !has_byte_at(source, start)) return "Can not read file " + source_path;
  if (to_end) {
    copy_range(source, start, -1, target);
  } else {
    copy_range(source, start, index.break_start(to), target);
    target.write(kReportEnd);
  }
  if (!target.close()) return cannot_write;
  return std::string();
}

std::string buildXmlPagesDuringRun(ReportHeading& heading, const std::string& source_path,
                                   const std::string& target_path, int from, int to) {
  std::string message = ensure_heading(heading, source_path, false);
  if (!message.empty()) return message;
  SourceFile source;
  if (!source.open(source_path)) {
    return "Can't open file: " + source_path + ". Method(buildXmlPagesDuringRun)";
  }
  TargetFile target;
  const std::string cannot_write =
      "Can't open file: " + target_path + " to write. Method(buildXmlPagesDuringRun)";
  if (!target.create(target_path)) return cannot_write;

  // One pass finds where page `from` starts and where page `to` ends.
  std::int64_t start = from > 1 ? -1 : 0;
  std::int64_t end = -1;
  int seen = 0;
  MarkerScanner scanner;
  auto sink = [&](const Marker& m) {
    if (m.type == MarkerType::ReportEnd) return false;
    if (!is_break(m.type)) return true;
    ++seen;
    if (seen == from - 1) start = m.end;
    if (seen == to) {
      end = m.start;
      return false;
    }
    return true;
  };
  scan_file(source, 0, scanner, sink);
  if (start < 0) return "Can't find startPage. Method(buildXmlPagesDuringRun)";
  if (from > 1) {
    target.write(heading.opening());
    target.write(heading.info_block);
  }
  copy_range(source, start, end, target);
  if (end >= 0) target.write(kReportEnd);
  if (!target.close()) return cannot_write;
  return std::string();
}

std::string createXmlWithHeader(const ReportHeading& heading, const std::string& received,
                                std::string& made) {
  made = with_header_name(received);
  SourceFile source;
  if (!file_exists(received) || !source.open(received)) {
    return "Can't find fromFile. Method(createXmlWithHeader)";
  }
  TargetFile target;
  if (!target.create(made)) return "Can't create toFile. Method(createXmlWithHeader)";
  target.write(heading.opening());
  target.write(heading.info_block);
  copy_range(source, 0, -1, target);
  if (!target.close()) return "Can't create toFile. Method(createXmlWithHeader)";
  ReportSaxHandler check;
  if (!parse_report_file(made, check)) return "Can't create " + made + "." + check.messages.text();
  return std::string();
}

}  // namespace repscope::report
