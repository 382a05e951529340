// Page cutting: the index cut and the sequential cut give the same pages, the
// rules at breaks on a line with other text and at a line end, very long
// lines, growing reports, the parser-based fallback and received pages.
#include "viewer/report/page_cutter.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "viewer/report/parse_cutter.h"
#include "viewer/report/sax_support.h"

namespace repscope::report {
namespace {

using vestra::test::TempDir;

const char kHead[] =
    "<?xml version=\"1.0\"?>\n"
    "<report id=\"r>1\">\n"
    "<report_info><title>T</title><page/></report_info>\n";

// Three pages: the first break on the line of the heading's end tag, the
// second at a line end, the third (the last) followed by the report's end.
const std::string kReport = std::string(kHead) +
                            "<page_header>H1</page_header><page/>\n"
                            "<detail>d2</detail><soft_page/>\n"
                            "<detail>d3</detail>\n"
                            "<page/>\n"
                            "</report>\n";

std::string cut_with_index(const TempDir& dir, const std::string& source, int from, int to,
                           int known, std::string* message = nullptr) {
  ReportHeading heading;
  PageIndex index;
  const std::string target = dir.file("page.xml");
  const std::string m = buildXmlPages(true, heading, index, source, target, from, to, known);
  if (message) *message = m;
  return m.empty() ? TempDir::read(target) : std::string();
}

std::string cut_by_scan(const TempDir& dir, const std::string& source, int from, int to,
                        std::string* message = nullptr) {
  ReportHeading heading;
  const std::string target = dir.file("scan.xml");
  const std::string m = buildXmlPagesDuringRun(heading, source, target, from, to);
  if (message) *message = m;
  return m.empty() ? TempDir::read(target) : std::string();
}

const std::string kOpening =
    "<?xml version=\"1.0\"?>\n<report "
    "id=\"r>1\"><report_info><title>T</title><page/></report_info>";

TEST(PageCutter, PagesOfASmallReport) {
  TempDir dir;
  const std::string source = dir.write("r.xml", kReport);
  struct Case {
    int from, to;
    std::string page;
  } cases[] = {
      // The break shares its line with the heading's end tag: the page ends
      // with the text before the break.
      {1, 1, std::string(kHead) + "<page_header>H1</page_header></report>"},
      // A break at a line end: the next page starts with the following line.
      {2, 2, kOpening + "\n<detail>d2</detail></report>"},
      // The last page runs to the end of the report.
      {3, 3, kOpening + "\n<detail>d3</detail>\n<page/>\n</report>\n"},
      // A range keeps the break between its pages.
      {1, 2,
       std::string(kHead) + "<page_header>H1</page_header><page/>\n<detail>d2</detail></report>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + "-" + std::to_string(c.to));
    EXPECT_EQ(cut_with_index(dir, source, c.from, c.to, 3), c.page);
    // The scan of a growing report cuts the same pages, except that it ends
    // the last page at its break.
    if (c.to < 3) EXPECT_EQ(cut_by_scan(dir, source, c.from, c.to), c.page);
  }
  EXPECT_EQ(cut_by_scan(dir, source, 3, 3), kOpening + "\n<detail>d3</detail>\n</report>");
}

TEST(PageCutter, PageBeyondTheReport) {
  TempDir dir;
  const std::string source = dir.write("r.xml", kReport);
  std::string message;
  cut_with_index(dir, source, 7, 7, 6, &message);
  EXPECT_EQ(message, "Can't find page 7. Method(buildXmlPages)");
  cut_by_scan(dir, source, 7, 7, &message);
  EXPECT_EQ(message, "Can't find startPage. Method(buildXmlPagesDuringRun)");
  cut_with_index(dir, dir.file("none.xml"), 1, 1, 3, &message);
  EXPECT_EQ(message, "Can't find " + dir.file("none.xml") + ".");
  ReportHeading heading;
  PageIndex index;
  message = buildXmlPages(false, heading, index, source, dir.file("no/dir/p.xml"), 1, 1, 3);
  EXPECT_EQ(message,
            "Can't open file: " + dir.file("no/dir/p.xml") + " to write. Mehtod(buildXmlPages)");
}

// A report with lines far longer than any read piece, breaks straddling the
// piece boundaries, and several breaks on one line.
std::string long_line_report(int pages) {
  std::string r = kHead;
  for (int p = 1; p <= pages; ++p) {
    r += "<detail>";
    r += std::string(4095 - 9 + p * 7001 % 9000, 'a' + p % 26);
    r += "</detail>";
    r += (p % 2) ? "<page/>" : "<soft_page/>";
  }
  return r + "</report>";
}

TEST(PageCutter, LongLinesAndEverySplitOfABreak) {
  TempDir dir;
  for (std::size_t pad : {65536u - 3u, 65536u - 60u - 5u, 4095u - 60u}) {
    SCOPED_TRACE(pad);
    // The break starts a few bytes before a piece boundary.
    std::string text = std::string(kHead) + "<detail>" + std::string(pad, 'x') +
                       "</detail><page/>" + "<detail>two</detail><page/></report>";
    const std::string source = dir.write("long.xml", text);
    EXPECT_EQ(cut_with_index(dir, source, 2, 2, 3), kOpening + "<detail>two</detail></report>");
    EXPECT_EQ(cut_by_scan(dir, source, 2, 2), kOpening + "<detail>two</detail></report>");
  }
  const std::string source = dir.write("many.xml", long_line_report(30));
  ReportHeading heading;
  PageIndex index;
  for (int page = 1; page <= 30; ++page) {
    SCOPED_TRACE(page);
    const std::string target = dir.file("p.xml");
    ASSERT_EQ(buildXmlPages(false, heading, index, source, target, page, page, 31), "");
    const std::string by_index = TempDir::read(target);
    EXPECT_EQ(cut_by_scan(dir, source, page, page), by_index);
    EXPECT_NE(by_index.find(std::string(50, 'a' + page % 26)), std::string::npos);
    ReportSaxHandler check;
    EXPECT_TRUE(parse_report_file(target, check)) << check.messages.text();
  }
}

TEST(PageCutter, IndexGrowsOnlyAsFarAsAsked) {
  TempDir dir;
  const std::string source = dir.write("many.xml", long_line_report(30));
  SourceFile file;
  ASSERT_TRUE(file.open(source));
  PageIndex index;
  EXPECT_EQ(index.storePageFilePoint(file, 5, 30), "");
  EXPECT_EQ(index.breaks(), 5);
  EXPECT_EQ(index.storePageFilePoint(file, 3, 30), "");
  EXPECT_EQ(index.breaks(), 5);
  EXPECT_EQ(index.storePageFilePoint(file, 100, 12), "");
  EXPECT_EQ(index.breaks(), 12);
  EXPECT_EQ(index.storePageFilePoint(file, 100, 100), "");
  EXPECT_EQ(index.breaks(), 30);
}

TEST(PageCutter, GrowingReportEndsWhereTheSourceEnds) {
  TempDir dir;
  const std::string partial =
      std::string(kHead) + "<page_header>H1</page_header><page/>\n<detail>d2";
  const std::string source = dir.write("g.xml", partial);
  EXPECT_EQ(cut_by_scan(dir, source, 2, 2), kOpening + "\n<detail>d2");
}

TEST(ParseCutter, WritesCompleteDocuments) {
  TempDir dir;
  const std::string source =
      dir.write("p.xml",
                "<?xml version=\"1.0\"?>\n<?xml-stylesheet href=\"a.xsl\"?>\n"
                "<report a=\"x&amp;y\"><report_info><title>T</title><page/></report_info>"
                "<page_header>H</page_header><detail><l>1 &lt; 2</l><page/><l>2</l><soft_page/>"
                "<l>3</l></detail><page/></report>");
  struct Case {
    int from, to;
    bool found;
    std::string text;
  } cases[] = {
      {1, 1, true,
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?xml-stylesheet href=\"a.xsl\"?>\n"
       "<report a=\"x&amp;y\"><report_info><title>T</title><page></page></report_info>"
       "<page_header>H</page_header><detail><l>1 &lt; 2</l></detail>\n\n</report>"},
      {2, 3, true,
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?xml-stylesheet href=\"a.xsl\"?>\n"
       "<report a=\"x&amp;y\"><report_info><title>T</title><page></page></report_info>"
       "<detail><l>2</l></detail>\n<soft_page/><detail><l>3</l></detail>\n</report>"},
      {4, 4, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    bool found = !c.found;
    const std::string target = dir.file("out.xml");
    EXPECT_EQ(cut_pages_by_parse(source, target, c.from, c.to, found), "");
    EXPECT_EQ(found, c.found);
    if (c.found) {
      EXPECT_EQ(TempDir::read(target), c.text);
      ReportSaxHandler check;
      EXPECT_TRUE(parse_report_file(target, check)) << check.messages.text();
    }
  }
  bool found = true;
  const std::string bad = dir.write("bad.xml", "<report><detail></report>");
  const std::string m = cut_pages_by_parse(bad, dir.file("out.xml"), 1, 1, found);
  EXPECT_EQ(m.rfind("Find error in creating xml pages.\nFatal Error at (file " + bad, 0), 0u) << m;
}

TEST(ReceivedPages, HeadingIsAddedAndTheResultChecked) {
  TempDir dir;
  ReportHeading heading;
  ASSERT_EQ(read_report_heading(dir.write("r.xml", kReport), heading), "");
  std::string made;
  const std::string received = dir.write("Sales.xml", "\n<detail>d9</detail><page/>\n</report>\n");
  EXPECT_EQ(createXmlWithHeader(heading, received, made), "");
  EXPECT_EQ(made, dir.file("Salestmp.xml"));
  EXPECT_EQ(TempDir::read(made), kOpening + "\n<detail>d9</detail><page/>\n</report>\n");

  const std::string broken = dir.write("B.xml", "<detail>");
  const std::string m = createXmlWithHeader(heading, broken, made);
  EXPECT_EQ(m.rfind("Can't create " + dir.file("Btmp.xml") + ".\nFatal Error", 0), 0u) << m;
  EXPECT_EQ(createXmlWithHeader(heading, dir.file("gone.xml"), made),
            "Can't find fromFile. Method(createXmlWithHeader)");
}

}  // namespace
}  // namespace repscope::report
