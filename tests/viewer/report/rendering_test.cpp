// Rendering: the zoom declaration and the rewrites' failure texts, heading
// ruler removal, the remembered zoom per report width, the page makers'
// fallbacks, and the wait page.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_dir.h"
#include "viewer/report/derived_stylesheet.h"
#include "viewer/report/page_maker.h"
#include "viewer/report/stylesheet_rewrite.h"
#include "viewer/report/transform.h"
#include "viewer/report/wait_page.h"

namespace repscope::report {
namespace {

using vestra::registry::Hive;
using vestra::registry::Locations;
using vestra::registry::Registry;
using vestra::test::TempDir;

const char kStyle[] =
    "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">\n"
    "<xsl:output method=\"html\" indent=\"no\"/>\n"
    "<xsl:template match=\"/\"><html><head><STYLE>\n"
    "@media print { body { color: black; } }\n"
    "@media screen { p { margin: 0; } body { font-size: 9pt; } }\n"
    "</STYLE></head>\n"
    "<body>\n<xsl:apply-templates select=\"report/page_header|report/detail\"/></body></html>\n"
    "</xsl:template>\n"
    "<xsl:template match=\"/report/page_header\">\n<h1>H</h1>\n</xsl:template>\n"
    "<xsl:template match=\"/report/detail\">\n<pre><xsl:value-of select=\".\"/></pre>\n"
    "</xsl:template>\n"
    "</xsl:stylesheet>\n";

TEST(Zoom, DeclarationAfterTheScreenBodyRule) {
  TempDir dir;
  const std::string xsl = dir.write("r.xsl", kStyle);
  struct Case {
    int percent;
    const char* declaration;
  } cases[] = {
      {100, "zoom: 1.00;"}, {95, "zoom: 0.95;"}, {50, "zoom: 0.50;"}, {125, "zoom: 1.25;"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.percent);
    ASSERT_EQ(setZoom(xsl, dir.file("z.xsl"), c.percent), "");
    const std::string out = TempDir::read(dir.file("z.xsl"));
    EXPECT_NE(out.find(std::string("body {") + c.declaration + " font-size: 9pt; }"),
              std::string::npos);
    EXPECT_EQ(out.size(), std::string(kStyle).size() + std::string(c.declaration).size());
  }
}

TEST(Zoom, FailuresLeaveNoDerivedFile) {
  TempDir dir;
  struct Case {
    const char* name;
    std::string text;
    int percent;
    const char* message;
  } cases[] = {
      {"no style tag", "<a>@media screen body {}</a>", 100,
       "Can't create zoom-xsl file. (setzoom-2"},
      {"no style end", "<style>@media screen body {", 100, "Can't create zoom-xsl file. setzoom-3"},
      {"no screen block", "<style>body { x }</style>", 100,
       "Can't create zoom-xsl file. setzoom-4"},
      {"no body", "<style>@media screen { p {} }</style>", 100,
       "Can't create zoom-xsl file. (setzoom-5)"},
      {"no brace", "<style>@media screen body</style>{", 100,
       "Can't create zoom-xsl file. (setzoom-6)"},
      {"not a zoom step", kStyle, 97, "Can't create zoom xsl file."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dir.write("z.xsl", "stale");
    EXPECT_EQ(setZoom(dir.write("r.xsl", c.text), dir.file("z.xsl"), c.percent), c.message);
    if (c.percent != 97) EXPECT_FALSE(std::filesystem::exists(dir.file("z.xsl")));
  }
  EXPECT_EQ(setZoom(dir.file("gone.xsl"), dir.file("z.xsl"), 100),
            "Can't open file " + dir.file("gone.xsl") + ". (setZoom)");
  EXPECT_EQ(setZoom("", dir.file("z.xsl"), 100), "Can't create zoom-xsl file. (setzoom-1)");
}

TEST(Rewrites, MissingAnchorsAndBrokenResults) {
  TempDir dir;
  const std::string no_body = dir.write("nobody.xsl", "<xsl:stylesheet/>\n");
  const std::string xsl = dir.write("r.xsl", kStyle);
  const std::string out = dir.file("d.xsl");
  EXPECT_EQ(setPageWidthForFullXml(no_body, out),
            "Can't create page width. Method(setPageWidthForFullXml)");
  EXPECT_EQ(setPageWidthForBasicXml(no_body, out),
            "Can't create page width. Method(setPageWidthForBasicXml)");
  // The full kind needs a detail template for hold heading; this one has it.
  EXPECT_EQ(setHoldHeadingForFullXml(xsl, out, 0), "");
  EXPECT_EQ(setHoldHeadingForFullXml(no_body, out, 0),
            "Can't create hold heading page. Method(setHoldHeadingForFullXml)");
  // The basic kind's detail line starts with <pre and its heading with <h1>.
  EXPECT_EQ(setHoldHeadingForBasicXml(xsl, out, 0), "");
  EXPECT_NE(TempDir::read(out).find("width:158.4ex; position: relative"), std::string::npos);
  EXPECT_EQ(setPageWidthForBasicXml(xsl, out), "");
  EXPECT_NE(TempDir::read(out).find("<h1 id=\"PageHeader\" class=\"Page_header\">H</h1>"),
            std::string::npos);
  // A rewrite whose result is no longer well-formed is rejected.
  std::string broken = kStyle;
  broken.replace(broken.find("<h1>H</h1>"), 10, "<h1>H</h2>");
  EXPECT_EQ(setPageWidthForFullXml(dir.write("b.xsl", broken), out),
            "Can't create hold heading page. Method(setPageWidthForFullXml)");
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(
      setPageWidthForFullXml(dir.file("gone.xsl"), out),
      "Can't open and read file " + dir.file("gone.xsl") + ". Method(setPageWidthForFullXml)");
  EXPECT_EQ(setHoldHeadingForFullXml(xsl, dir.file("no/dir/d.xsl"), 0),
            "Can't open and write file " + dir.file("no/dir/d.xsl") +
                ". Method(setHoldHeadingForFullXml)");
}

TEST(HeadingRuler, OnlyTheRulerRightBeforeThePreEndGoes) {
  TempDir dir;
  const std::string ruler(72, '=');
  const std::string short_ruler(70, '=');
  const std::string html =
      dir.write("p.html", "<body>\n" + ruler + "\n</pre>\n<H1 id=\"x\"><pre>Head\n" + ruler +
                              "\nmore\n" + short_ruler + "\n</pre>\n" + ruler +
                              "\n</PRE>\n</h1>\n" + ruler + "\n</pre>\n");
  ASSERT_EQ(removeEquals(html, dir.file("eq")), "");
  EXPECT_EQ(TempDir::read(html), "<body>\n" + ruler + "\n</pre>\n<H1 id=\"x\"><pre>Head\n" + ruler +
                                     "\nmore\n" + short_ruler + "\n</pre>\n</PRE>\n</h1>\n" +
                                     ruler + "\n</pre>\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("eq")));
}

class RememberedZoom : public ::testing::Test {
 protected:
  TempDir dir_;
  Registry registry_{Locations::single(dir_.path())};
};

TEST_F(RememberedZoom, DefaultPerWidthAndSavedAtClose) {
  const std::string xsl = dir_.write("r.xsl", kStyle);
  ReportHeader header;
  header.width = 132;
  header.kind = StylesheetKind::Full;
  {
    DerivedStylesheet s(registry_, xsl, dir_.file("zoom.xsl"));
    s.set_header(header);
    ASSERT_EQ(s.make_current(), "");
    std::string stored;
    EXPECT_TRUE(registry_.get_string(Hive::CurrentUser, kZoomKey, "132", stored).ok());
    EXPECT_EQ(stored, "100");
    EXPECT_EQ(s.in_use(), dir_.file("zoom.xsl"));
    ASSERT_EQ(s.apply_zoom(85), "");
    s.save_zoom();
    s.remove();
    EXPECT_FALSE(std::filesystem::exists(dir_.file("zoom.xsl")));
  }
  DerivedStylesheet again(registry_, xsl, dir_.file("zoom.xsl"));
  again.set_header(header);
  ASSERT_EQ(again.make_current(), "");
  EXPECT_EQ(again.default_zoom(), 85);
  EXPECT_EQ(again.current_zoom(), 85);
  EXPECT_NE(TempDir::read(dir_.file("zoom.xsl")).find("zoom: 0.85;"), std::string::npos);
}

TEST_F(RememberedZoom, FailedPageWidthDefaultFallsBackTo100) {
  // This stylesheet has no page-heading template, so page width fails.
  std::string text = kStyle;
  text.erase(
      text.find("<xsl:template match=\"/report/page_header\">"),
      std::string("<xsl:template match=\"/report/page_header\">\n<h1>H</h1>\n</xsl:template>\n")
          .size());
  const std::string xsl = dir_.write("r.xsl", text);
  ASSERT_TRUE(registry_.set_string(Hive::CurrentUser, kZoomKey, "80", "200").ok());
  ReportHeader header;
  header.width = 80;
  DerivedStylesheet s(registry_, xsl, dir_.file("zoom.xsl"));
  s.set_header(header);
  EXPECT_EQ(s.make_current(), "");
  EXPECT_EQ(s.default_zoom(), 100);
  EXPECT_EQ(s.current_zoom(), 100);
  // Invalid stored zooms are ignored.
  ASSERT_TRUE(registry_.set_string(Hive::CurrentUser, kZoomKey, "81", "97").ok());
  header.width = 81;
  DerivedStylesheet t(registry_, xsl, dir_.file("zoom2.xsl"));
  t.set_header(header);
  EXPECT_EQ(t.make_current(), "");
  EXPECT_EQ(t.default_zoom(), 100);
}

TEST_F(RememberedZoom, StylesheetThatCannotBeZoomedIsUsedAsItIs) {
  const std::string xsl = dir_.write("r.xsl", "<style>no screen block</style>");
  DerivedStylesheet s(registry_, xsl, dir_.file("zoom.xsl"));
  EXPECT_EQ(s.make_current(), "Can't create zoom-xsl file. setzoom-4");
  EXPECT_EQ(s.in_use(), xsl);
  EXPECT_EQ(s.current_zoom(), 100);
}

class Pages : public ::testing::Test {
 protected:
  void SetUp() override {
    report_.source_xml =
        dir_.write("Sales.xml",
                   "<report><report_info><title>T</title></report_info>\n"
                   "<page_header>A</page_header><detail>one</detail><page/>\n"
                   "<page_header>B</page_header><detail>two</detail><page/>\n</report>\n");
    report_.report_xsl = dir_.write("Sales.xsl", kStyle);
    report_.names = make_page_file_names(dir_.path(), "Sales", dir_.file("Sales"), "TAG123");
    report_.known_pages = 2;
    maker_.set_retry_pause([this] { ++pauses_; });
  }

  TempDir dir_;
  Registry registry_{Locations::single(dir_.path())};
  OpenReport report_;
  DerivedStylesheet stylesheet_{registry_, dir_.file("Sales.xsl"), dir_.file("TAG123zoom.xsl")};
  PageMaker maker_{report_, stylesheet_};
  int pauses_ = 0;
};

TEST_F(Pages, FirstPageThenIndexedPages) {
  ASSERT_EQ(maker_.createFirstPageForWindow(1, 1), "");
  EXPECT_NE(TempDir::read(report_.names.page_html).find("<pre>one</pre>"), std::string::npos);
  report_.finished = true;
  ASSERT_EQ(maker_.createOnePageForWindow(2), "");
  EXPECT_NE(TempDir::read(report_.names.page_html).find("<pre>two</pre>"), std::string::npos);
  EXPECT_EQ(report_.index.breaks(), 2);  // never beyond the known page count
  EXPECT_EQ(pauses_, 0);
}

TEST_F(Pages, BadRangesAndPagesBeyondTheReport) {
  EXPECT_EQ(maker_.createOnePageForWindow(0),
            "Invalid page number. Method(createOnePageForWindow)");
  EXPECT_EQ(maker_.createFirstPageForWindow(2, 1),
            "Invalid page number. Method(createFirstPageForWindow)");
  report_.finished = true;
  report_.known_pages = 6;
  // The index cut cannot find page 7; only the parser's outcome is reported.
  EXPECT_EQ(maker_.createOnePageForWindow(7),
            "Can't create page 7. Method(createOnePageForWindow)");
}

TEST_F(Pages, BrokenStylesheetIsRetriedThenReportedWithItsError) {
  dir_.write("Sales.xsl",
             "<xsl:stylesheet version=\"1.0\" "
             "xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\"><xsl:bogus/>"
             "</xsl:stylesheet>");
  const std::string before = dir_.write("Salesold.html", "old");
  const std::string message = maker_.createFirstPageForWindow(1, 1);
  EXPECT_EQ(pauses_, 5);  // six attempts in all
  EXPECT_EQ(message.rfind("Can't create page 1. Method(createFirstPageForWindow)\n", 0), 0u)
      << message;
  EXPECT_NE(message.find("bogus"), std::string::npos) << message;
}

TEST(WaitPage, ExactTextOrNothing) {
  TempDir dir;
  ASSERT_TRUE(write_wait_page(dir.file("w.html")));
  const std::string text = TempDir::read(dir.file("w.html"));
  EXPECT_EQ(text.substr(0, 35), "<HTML>\n<HEAD>\n<TITLE>XML View</TITL");
  EXPECT_NE(text.find("<b>Loading xml report...</b>"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 15), "</BODY>\n</HTML>");
  EXPECT_FALSE(write_wait_page(dir.file("no/dir/w.html")));
}

}  // namespace
}  // namespace repscope::report
