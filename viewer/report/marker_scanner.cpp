// Recognising one marker at a '<'.
#include "viewer/report/marker_scanner.h"

#include <cstring>

namespace repscope::report {

namespace {

char lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when `text` (of `available` bytes) starts with the lower-case `literal`,
// letters compared in any case.
bool starts_with_ci(const char* text, std::size_t available, const char* literal,
                    std::size_t length) {
  if (available < length) return false;
  for (std::size_t i = 0; i < length; ++i) {
    if (lower(text[i]) != literal[i]) return false;
  }
  return true;
}

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

bool MarkerScanner::match(std::size_t p, MarkerType& type, std::size_t& length) const {
  const char* s = work_.data() + p;
  const std::size_t available = work_.size() - p;
  if (available < 2) return false;
  static constexpr const char kPage[] = "<page/>";
  static constexpr const char kSoft[] = "<soft_page/>";
  static constexpr const char kEnd[] = "</report>";
  static constexpr const char kInfoEnd[] = "</report_info>";
  static constexpr const char kInfo[] = "<report_info";
  switch (lower(s[1])) {
    case 'p':
      if (starts_with_ci(s, available, kPage, sizeof kPage - 1)) {
        type = MarkerType::PageBreak;
        length = sizeof kPage - 1;
        return true;
      }
      return false;
    case 's':
      if (starts_with_ci(s, available, kSoft, sizeof kSoft - 1)) {
        type = MarkerType::SoftPageBreak;
        length = sizeof kSoft - 1;
        return true;
      }
      return false;
    case '/':
      if (starts_with_ci(s, available, kEnd, sizeof kEnd - 1)) {
        type = MarkerType::ReportEnd;
        length = sizeof kEnd - 1;
        return true;
      }
      if (starts_with_ci(s, available, kInfoEnd, sizeof kInfoEnd - 1)) {
        type = MarkerType::InfoEnd;
        length = sizeof kInfoEnd - 1;
        return true;
      }
      return false;
    case 'r': {
      const std::size_t n = sizeof kInfo - 1;
      if (!starts_with_ci(s, available, kInfo, n)) return false;
      if (available == n) return false;  // the name might go on
      if (s[n] != '>' && !is_blank(s[n])) return false;
      type = MarkerType::InfoStart;
      length = n;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace repscope::report
