// The marker scanner: the same markers whatever the pieces the text arrives in.
#include "viewer/report/marker_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace repscope::report {
namespace {

std::string describe(const Marker& m) {
  static const char* names[] = {"page", "soft", "end", "info", "/info"};
  return std::string(names[static_cast<int>(m.type)]) + "@" + std::to_string(m.start) + "-" +
         std::to_string(m.end);
}

std::vector<std::string> scan_in_pieces(const std::string& text, std::size_t piece) {
  std::vector<std::string> seen;
  MarkerScanner scanner;
  auto sink = [&](const Marker& m) {
    seen.push_back(describe(m));
    return true;
  };
  for (std::size_t at = 0; at < text.size(); at += piece) {
    scanner.feed(text.data() + at, std::min(piece, text.size() - at), sink);
  }
  scanner.finish(sink);
  return seen;
}

TEST(MarkerScanner, SameMarkersForEverySplit) {
  const std::string text =
      "<report><report_info><page/><title>x</title></report_info>\n"
      "<page_header/>a<PAGE/>b<Soft_Page/><page />c<pagex/><soft_page/>"
      "<report_infos>d<page/></REPORT>";
  const std::vector<std::string> expected = {"info@8-20",  "/info@44-58",  "page@74-81",
                                             "soft@82-94", "soft@111-123", "page@138-145",
                                             "end@145-154"};
  EXPECT_EQ(scan_in_pieces(text, text.size()), expected);
  for (std::size_t piece = 1; piece < 40; ++piece) {
    SCOPED_TRACE(piece);
    EXPECT_EQ(scan_in_pieces(text, piece), expected);
  }
}

TEST(MarkerScanner, MarkerAtTheVeryEndIsReportedByFinish) {
  EXPECT_EQ(scan_in_pieces("abc<page/>", 100), std::vector<std::string>{"page@3-10"});
  EXPECT_EQ(scan_in_pieces("abc</report>", 5), std::vector<std::string>{"end@3-12"});
  EXPECT_EQ(scan_in_pieces("abc<page", 100), std::vector<std::string>{});
}

TEST(MarkerScanner, StopsWhenTheSinkSaysSo) {
  MarkerScanner scanner(1000);
  std::vector<std::string> seen;
  const std::string text = std::string(20, 'x') + "<page/>" + std::string(20, 'y') + "<page/>";
  const bool went_on = scanner.feed(text.data(), text.size(), [&](const Marker& m) {
    seen.push_back(describe(m));
    return false;
  });
  EXPECT_FALSE(went_on);
  EXPECT_EQ(seen, std::vector<std::string>{"page@1020-1027"});
}

}  // namespace
}  // namespace repscope::report
