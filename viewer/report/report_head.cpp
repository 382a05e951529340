// Reading the report's start up to the end of <report_info>, in pieces, and
// taking the heading texts and header values from it.
#include "viewer/report/report_head.h"

#include <cstdlib>

#include "viewer/report/entities.h"
#include "viewer/report/report_file.h"

namespace repscope::report {

namespace {

// A report whose header block does not end within this much text has none
// that the viewer can use; the limit keeps memory bounded on broken input.
constexpr std::size_t kHeadLimit = 16 * 1024 * 1024;

char lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::size_t find_ci(const std::string& text, const std::string& lower_literal,
                    std::size_t from = 0) {
  if (lower_literal.empty() || text.size() < lower_literal.size()) return std::string::npos;
  for (std::size_t i = from; i + lower_literal.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < lower_literal.size() && lower(text[i + k]) == lower_literal[k])
      ++k;
    if (k == lower_literal.size()) return i;
  }
  return std::string::npos;
}

struct Head {
  std::string text;              // the report from its start to the end of <report_info>
  std::int64_t info_start = -1;  // offsets into `text`
  std::int64_t info_end = -1;
  bool ended = false;  // a marker, not the end of the file, ended the read
};

enum class HeadResult { Ok, Missing, Unreadable };

// Reads until the end of <report_info>, the first page break, the end of the
// report or the end of the file, whichever comes first.
HeadResult read_head(const std::string& path, Head& head) {
  if (!file_exists(path)) return HeadResult::Missing;
  SourceFile source;
  if (!source.open(path)) return HeadResult::Unreadable;
  MarkerScanner scanner;
  std::string piece(kReadPiece, '\0');
  bool done = false;
  auto sink = [&](const Marker& m) {
    switch (m.type) {
      case MarkerType::InfoStart:
        if (head.info_start < 0) head.info_start = m.start;
        return true;
      case MarkerType::InfoEnd:
        if (head.info_start < 0) return true;
        head.info_end = m.end;
        return false;
      default:
        return false;  // a page or the end before any header block
    }
  };
  while (!done && head.text.size() < kHeadLimit) {
    const std::size_t n = source.read(piece.data(), piece.size());
    if (n == 0) {
      scanner.finish(sink);
      break;
    }
    head.text.append(piece.data(), n);
    done = !scanner.feed(piece.data(), n, sink);
  }
  head.ended = done;
  if (head.info_end >= 0) head.text.resize(static_cast<std::size_t>(head.info_end));
  return HeadResult::Ok;
}

// The end of the <report> start tag: the '>' after "<report", outside quotes.
std::size_t report_tag_end(const std::string& text) {
  std::size_t at = 0;
  while ((at = find_ci(text, "<report", at)) != std::string::npos) {
    const std::size_t after = at + 7;
    if (after < text.size()) {
      const char c = text[after];
      if (c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\r' || c == '\n') break;
    }
    at = after;
  }
  if (at == std::string::npos) return std::string::npos;
  char quote = 0;
  for (std::size_t i = at + 7; i < text.size(); ++i) {
    const char c = text[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      return i;
    }
  }
  return std::string::npos;
}

// The text between <tag> and </tag> (tag names in any case), or npos.
bool element_text(const std::string& block, const std::string& tag, std::string& out) {
  const std::string open = "<" + tag + ">";
  const std::size_t s = find_ci(block, open);
  if (s == std::string::npos) return false;
  const std::size_t e = find_ci(block, "</" + tag + ">", s + open.size());
  if (e == std::string::npos) return false;
  out = block.substr(s + open.size(), e - s - open.size());
  return true;
}

}  // namespace

std::string read_report_heading(const std::string& xml_path, ReportHeading& heading) {
  Head head;
  switch (read_head(xml_path, head)) {
    case HeadResult::Missing:
      return "Can't find " + xml_path + ".";
    case HeadResult::Unreadable:
      return "Can't open " + xml_path + " to read.";
    case HeadResult::Ok:
      break;
  }
  const std::size_t tag_end = report_tag_end(head.text);
  if (tag_end == std::string::npos) return "Can't find report heading in " + xml_path + ".";
  heading.prologue = head.text.substr(0, tag_end + 1) + "</report>";
  heading.complete = head.ended;
  heading.info_block.clear();
  if (head.info_start >= 0 && head.info_end >= 0) {
    heading.info_block =
        head.text.substr(static_cast<std::size_t>(head.info_start),
                         static_cast<std::size_t>(head.info_end - head.info_start));
  }
  return std::string();
}

std::string read_report_title(const std::string& xml_path, std::string& title) {
  Head head;
  switch (read_head(xml_path, head)) {
    case HeadResult::Missing:
      return "Can't find " + xml_path + ".";
    case HeadResult::Unreadable:
      return "Can't open " + xml_path + ".";
    case HeadResult::Ok:
      break;
  }
  title.clear();
  if (head.info_start < 0) return std::string();
  std::string raw;
  const std::string after_info = head.text.substr(static_cast<std::size_t>(head.info_start));
  if (element_text(after_info, "title", raw)) title = decode_entities(raw);
  return std::string();
}

void scan_header_text(const std::string& info_block, ReportHeader& header) {
  std::string value;
  if (element_text(info_block, "style_sheet_type", value)) header.kind = kind_from_text(value);
  if (element_text(info_block, "width", value)) header.width = std::atol(value.c_str());
  if (element_text(info_block, "real_width", value)) header.real_width = std::atol(value.c_str());
  if (element_text(info_block, "real_length", value)) {
    header.real_length = std::atol(value.c_str());
  }
}

std::string scan_header_values(const std::string& xml_path, ReportHeader& header) {
  Head head;
  switch (read_head(xml_path, head)) {
    case HeadResult::Missing:
      return "Can't find " + xml_path + ".";
    case HeadResult::Unreadable:
      return "Can't open " + xml_path + " to read.";
    case HeadResult::Ok:
      break;
  }
  if (head.info_start >= 0 && head.info_end >= 0) {
    scan_header_text(head.text.substr(static_cast<std::size_t>(head.info_start)), header);
  }
  return std::string();
}

}  // namespace repscope::report
