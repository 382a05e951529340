// Report parsing: page counts and header values, the parser's error texts with
// file, line and column, the text-scan header read, the title and entities.
#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "viewer/report/entities.h"
#include "viewer/report/page_counter.h"
#include "viewer/report/report_head.h"
#include "viewer/report/sax_support.h"

namespace repscope::report {
namespace {

using vestra::test::TempDir;

TEST(CountPages, BreaksOutsideTheHeaderAndHeaderValues) {
  struct Case {
    const char* name;
    const char* xml;
    int pages;
    const char* title;
    long width;
    long real_width;
    StylesheetKind kind;
  } cases[] = {
      {"page inside report_info is no page",
       "<report><report_info><title>T</title><page/><width>132</width></report_info>"
       "<detail>a</detail><page/><detail>b</detail><page/></report>",
       2, "T", 132, 0, StylesheetKind::Unknown},
      {"only soft pages",
       "<report><report_info><style_sheet_type>basic</style_sheet_type></report_info>"
       "<detail>a</detail><soft_page/><detail>b</detail><soft_page/><soft_page/></report>",
       3, "", 0, 0, StylesheetKind::Basic},
      {"Basic with a capital is the full kind",
       "<report><report_info><style_sheet_type>Basic</style_sheet_type>"
       "<real_width>120</real_width></report_info><page/></report>",
       1, "", 0, 120, StylesheetKind::Full},
      {"first stylesheet type wins",
       "<report><report_info><style_sheet_type>full</style_sheet_type>"
       "<style_sheet_type>basic</style_sheet_type></report_info></report>",
       0, "", 0, 0, StylesheetKind::Full},
      {"references in the title arrive in pieces and are joined",
       "<report><report_info><title>Sales &amp; Costs &#233;t&lt;e</title></report_info>"
       "<page/></report>",
       1, "Sales & Costs \xC3\xA9t<e", 0, 0, StylesheetKind::Unknown},
      {"breaks nested in detail count",
       "<report><report_info/><detail><line>x</line><page/><line>y</line><PAGE/></detail>"
       "<page/></report>",
       2, "", 0, 0, StylesheetKind::Unknown},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.write("r.xml", c.xml);
    int pages = -1;
    ReportHeader header;
    EXPECT_EQ(count_pages(path, pages, header), "");
    EXPECT_EQ(pages, c.pages);
    EXPECT_EQ(header.title, c.title);
    EXPECT_EQ(header.width, c.width);
    EXPECT_EQ(header.real_width, c.real_width);
    EXPECT_EQ(header.kind, c.kind);
  }
}

TEST(CountPages, ErrorTextsCarryFileLineAndColumn) {
  TempDir dir;
  struct Case {
    const char* xml;
    std::string expected_tail;
  } cases[] = {
      {"<report>\n<detail>\n<item>a</detail>\n</report>",
       ", line 3, char 10): expected end of tag 'item'"},
      {"<report>\n<doc a='1' a='2'/></report>",
       ", line 2, char 14): attribute 'a' is already specified for element 'doc'"},
      {"<report>&undefined;</report>", ", line 1, char 20): entity 'undefined' not found"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xml);
    const std::string path = dir.write("bad.xml", c.xml);
    int pages = 7;
    ReportHeader header;
    const std::string message = count_pages(path, pages, header);
    EXPECT_EQ(pages, 0);
    EXPECT_EQ(message, "Find error in file " + path +
                           ". Method(parservoid)\nFatal Error at (file " + path + c.expected_tail);
  }
  int pages = 0;
  ReportHeader header;
  const std::string missing = dir.file("none.xml");
  EXPECT_NE(count_pages(missing, pages, header).find("unable to open primary document entity"),
            std::string::npos);
}

TEST(CountPages, ValidityErrorsOnlyWithADeclaredGrammar) {
  TempDir dir;
  dir.write("r.dtd", "<!ELEMENT report (detail)*><!ELEMENT detail (#PCDATA)>");
  const std::string declared =
      dir.write("d.xml", "<!DOCTYPE report SYSTEM \"r.dtd\">\n<report><other/></report>");
  const std::string plain = dir.write("p.xml", "<report><other/></report>");
  int pages = 0;
  ReportHeader header;
  const std::string message = count_pages(declared, pages, header);
  EXPECT_NE(message.find("\nError at (file " + declared + ", line 2, char "), std::string::npos)
      << message;
  EXPECT_EQ(count_pages(plain, pages, header), "");
}

TEST(ParseMessages, PiecesThatDoNotFitAreDropped) {
  ParseMessages m;
  m.append(std::string(1000, 'a'));
  m.append(std::string(30, 'b'));  // would pass 1023: dropped whole
  m.append(std::string(23, 'c'));  // fits exactly
  m.append("d");
  EXPECT_EQ(m.text(), std::string(1000, 'a') + std::string(23, 'c'));
}

TEST(HeaderValues, ParseAndTextScanAgree) {
  TempDir dir;
  const std::string path =
      dir.write("h.xml",
                "<?xml version=\"1.0\"?>\n<report>\n<REPORT_INFO>\n<title>A</title>\n"
                "<Style_Sheet_Type>basic</Style_Sheet_Type>\n<WIDTH>132</WIDTH>\n"
                "<real_width>120</real_width>\n</REPORT_INFO>\n<page/></report>");
  ReportHeader scanned;
  EXPECT_EQ(scan_header_values(path, scanned), "");
  EXPECT_EQ(scanned.kind, StylesheetKind::Basic);
  EXPECT_EQ(scanned.width, 132);
  EXPECT_EQ(scanned.real_width, 120);

  const std::string lower =
      dir.write("l.xml",
                "<report><report_info><style_sheet_type>basic</style_sheet_type><width>80</width>"
                "</report_info><detail>x</detail><page/></report>");
  ReportHeader parsed;
  EXPECT_EQ(read_header_values(lower, parsed), "");
  ReportHeader text;
  EXPECT_EQ(scan_header_values(lower, text), "");
  EXPECT_EQ(parsed.kind, text.kind);
  EXPECT_EQ(parsed.width, text.width);

  ReportHeader none;
  EXPECT_EQ(scan_header_values(dir.file("gone.xml"), none),
            "Can't find " + dir.file("gone.xml") + ".");
}

TEST(ReportTitle, FirstTitleAfterReportInfoDecoded) {
  struct Case {
    const char* name;
    const char* xml;
    const char* title;
  } cases[] = {
      {"entities", "<report><REPORT_INFO><Title>Q&amp;A &lt;1&gt; &eacute;&#153;</Title>",
       "Q&A <1> \xC3\xA9\xE2\x84\xA2"},
      {"title before report_info is not the report's",
       "<report><title>No</title><report_info>\n<title>Yes</title></report_info>", "Yes"},
      {"no report_info", "<report><title>No</title><page/>", ""},
      {"over two lines", "<report><report_info><title>Two\nLines</title></report_info>",
       "Two\nLines"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string title = "stale";
    EXPECT_EQ(read_report_title(dir.write("t.xml", c.xml), title), "");
    EXPECT_EQ(title, c.title);
  }
  std::string title;
  EXPECT_EQ(read_report_title(dir.file("gone.xml"), title),
            "Can't find " + dir.file("gone.xml") + ".");
}

TEST(ReportTitle, ALongTitleInAVeryLongLine) {
  TempDir dir;
  const std::string long_title(3000, 'T');
  std::string xml = "<report><report_info>" + std::string(70000, ' ') + "<title>" + long_title +
                    "</title></report_info>";
  std::string title;
  EXPECT_EQ(read_report_title(dir.write("t.xml", xml), title), "");
  EXPECT_EQ(title, long_title);
}

TEST(Entities, TableAndNumericReferences) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"a&nbsp;b", "a b"},
      {"&amp;&lt;&gt;&quot;&apos;", "&<>\"'"},
      {"&Agrave;&yuml;&times;&divide;&ETH;&thorn;",
       "\xC3\x80\xC3\xBF\xC3\x97\xC3\xB7\xC3\x90\xC3\xBE"},
      {"&#65;&#233;&#x41;&#153;",
       "A\xC3\xA9"
       "A\xE2\x84\xA2"},
      {"&unknown; & alone &#; &#xZZ;", "&unknown; & alone &#; &#xZZ;"},
      {"R&D;", "R&D;"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(decode_entities(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace repscope::report
