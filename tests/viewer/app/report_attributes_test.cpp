// getAttrs as a table of command lines: the program path, the report paths
// and their stem, page counts in each role, print ranges, copies and printer
// names with ";", and the work directory chosen from the environment.
#include "viewer/app/report_attributes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>

#include "tests/support/temp_dir.h"

namespace repscope::app {
namespace {

using vestra::test::TempDir;

class Attributes : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.write("tmp/keep", "");
    twelve_ = "<report><report_info><title>Q&amp;A</title></report_info>";
    for (int i = 0; i < 12; ++i)
      twelve_ += "<detail>x</detail><page/>";
    twelve_ += "</report>";
    dir_.write("r/Sales.xml", twelve_);
    dir_.write("r/Sales.xsl", "<xsl/>");
    dir_.write("r/Empty.xml", "<report><detail>x</detail></report>");
    env_.getenv = [this](const char* name) -> const char* {
      auto it = vars_.find(name);
      return it == vars_.end() ? nullptr : it->second.c_str();
    };
    env_.seed_images = [this](const std::string& d) { seeded_ = d; };
    env_.set_temp_dir = [this](const std::string& d) { spool_ = d; };
    vars_["TMPDIR"] = dir_.file("tmp");
  }

  std::string run(const std::string& line, ReportAttributes& a) { return getAttrs(line, a, env_); }

  TempDir dir_;
  std::string twelve_;
  std::map<std::string, std::string> vars_;
  AttrEnvironment env_;
  std::string seeded_;
  std::string spool_;
};

TEST_F(Attributes, CommandLinesAndTheirMessages) {
  const std::string x = dir_.file("r/Sales.xml");
  const std::string s = dir_.file("r/Sales.xsl");
  const std::string prog = "\"/opt/repscope/bin/repscope\" ";
  struct Case {
    std::string line;
    std::string message;
  } cases[] = {
      {"", "Can't get xml file, xsl file and page count."},
      {"\"/opt/bin/viewer\" xml=a;",
       "Can't get full path of repScope.exe. comline(\"/opt/bin/viewer\" xml=a;)"},
      {prog + "xsl=" + s + ";num=1;",
       "Can't get xml file. comline(" + prog + "xsl=" + s + ";num=1;)"},
      {prog + "xml=" + x + ";num=1;",
       "Can't get xsl file. comline(" + prog + "xml=" + x + ";num=1;)"},
      {prog + "xml=;xsl=" + s + ";num=1;",
       "Can't get xml file. comline(" + prog + "xml=;xsl=" + s + ";num=1;)"},
      {prog + "xml=" + x + ";xsl=" + s + ";num=0;", "Invalid page number."},
      {prog + "xml=" + x + ";xsl=" + s + ";", "Invalid page number."},
      {prog + "xml=" + x + ";xsl=" + s + ";num=-2;mode=TRUE;", "Invalid page number."},
      {prog + "xml=" + x + ";xsl=" + s + ";num=0;mode=true;", "Invalid page number."},
      {prog + "xml=" + x + ";xsl=" + s + ";num=0;mode=TRUE;", ""},
      {prog + "num=3;xsl=" + s + ";xml=" + x, ""},
      {prog + "xml=" + dir_.file("r/None.xml") + ";xsl=" + s + ";num=2;",
       "Can't find " + dir_.file("r/None.xml") + "."},
      // print processes
      {prog + "xml=" + dir_.file("r/None.xml") + ";xsl=" + s + ";printerName=P;copy=1;",
       "Can't find file(" + dir_.file("r/None.xml") + ") to print report. Method(getAttrs)"},
      {prog + "xml=" + dir_.file("r/Empty.xml") + ";xsl=" + s + ";printerName=P;copy=1;",
       "Total pages is 0 in file (" + dir_.file("r/Empty.xml") + "). Method(getAttrs)"},
      {prog + "xml=" + x + ";xsl=" + s + ";fromPage=5;toPage=3;printerName=P;copy=1;",
       "invalid Page number for printing."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ReportAttributes a;
    EXPECT_EQ(run(c.line, a), c.message);
  }
}

TEST_F(Attributes, PathsStemAndTitle) {
  struct Case {
    std::string line;
    const char* program_dir;
    std::string stem, base, report_dir;
  } cases[] = {
      {"\"/opt/repscope/bin/repscope\" xml=" + dir_.file("r/Sales.xml") + ";xsl=a;num=2;",
       "/opt/repscope/bin", dir_.file("r/Sales"), "Sales", dir_.file("r")},
      {"\"/opt/x/RepScope\" xml=" + dir_.file("r/Sales.XML") + ";xsl=a;num=0;mode=TRUE;", "/opt/x",
       dir_.file("r/Sales"), "Sales", dir_.file("r")},
      {"\"/opt/x/repscope\" xml=" + dir_.file("r/Sales.data") + ";xsl=a;num=0;mode=TRUE;", "/opt/x",
       dir_.file("r/Sales.data"), "Sales.data", dir_.file("r")},
      {"\"C:\\Vestra\\repscope\" xml=C:\\rep\\Sales.xml;xsl=C:\\rep\\Sales.xsl;num=0;mode=TRUE;",
       "C:\\Vestra", "C:\\rep\\Sales", "Sales", "C:\\rep"},
      {"\"repscope\" xml=Sales.xml;xsl=Sales.xsl;num=0;mode=TRUE;", "", "Sales", "Sales", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ReportAttributes a;
    seeded_ = "none";
    ASSERT_EQ(run(c.line, a), "");
    EXPECT_EQ(a.program_dir, c.program_dir);
    EXPECT_EQ(a.xml_stem, c.stem);
    EXPECT_EQ(a.base_name, c.base);
    EXPECT_EQ(a.report_dir, c.report_dir);
    EXPECT_EQ(a.exchange_key, "Software\\REPSCOPE\\" + c.base);
    EXPECT_EQ(seeded_, *c.program_dir ? std::string(c.program_dir) : "none")
        << "images are seeded only from a known program directory";
  }
  ReportAttributes a;
  ASSERT_EQ(run("\"/p/repscope\" xml=" + dir_.file("r/Sales.xml") + ";xsl=a;num=12;", a), "");
  EXPECT_EQ(a.title, "Q&A");
  EXPECT_EQ(a.page_count, 12);
  EXPECT_FALSE(a.live);
  EXPECT_FALSE(a.print_process);
}

TEST_F(Attributes, PrintRangesCopiesAndPrinterNames) {
  const std::string base = "\"/p/repscope\" \"/p/repscope\" xml=" + dir_.file("r/Sales.xml") +
                           ";xsl=" + dir_.file("r/Sales.xsl") + ";";
  struct Case {
    std::string attrs;
    int from, to, copies;
    std::string printer;
    bool unattended, keep_source;
  } cases[] = {
      {"fromPage=0;toPage=0;printerName=HP;copy=1;", 1, 12, 1, "HP", false, false},
      {"fromPage=3;toPage=99;printerName=Office;Floor 2;copy=0;", 3, 12, 1, "Office;Floor 2", false,
       false},
      {"fromPage=-4;toPage=5;printerName=\\\\srv\\q;copy=3;flag=;pMode=FALSE;", 1, 5, 3,
       "\\\\srv\\q", true, true},
      {"fromPage=12;toPage=12;printerName=X;copy=2;pMode=false;", 12, 12, 2, "X", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attrs);
    ReportAttributes a;
    spool_.clear();
    ASSERT_EQ(run(base + c.attrs, a), "");
    EXPECT_TRUE(a.print_process);
    EXPECT_EQ(a.total_pages, 12);
    EXPECT_EQ(a.from_page, c.from);
    EXPECT_EQ(a.to_page, c.to);
    EXPECT_EQ(a.copies, c.copies);
    EXPECT_EQ(a.printer_name, c.printer);
    EXPECT_EQ(a.unattended, c.unattended);
    EXPECT_EQ(!a.delete_source, c.keep_source);
    EXPECT_EQ(spool_, dir_.file("tmp/tmpxml/tmpie"));
  }
  ReportAttributes a;
  ASSERT_EQ(run(base + "printerName=P;copy=1;orien=2;fontname=Liberation Mono;fontsize=7.5;"
                       "lineheight=1.2;unit=1;left=0.5;right=0.4;top=0.3;bottom=0.2;colprint=1;"
                       "info=/x/i.txt;",
                a),
            "");
  EXPECT_EQ(a.orientation, 2);
  EXPECT_EQ(a.font_name, "Liberation Mono");
  EXPECT_EQ(a.font_size, "7.5");
  EXPECT_EQ(a.line_height, "1.2");
  EXPECT_EQ(a.unit, 1);
  EXPECT_EQ(a.left + a.right + a.top + a.bottom, "0.50.40.30.2");
  EXPECT_EQ(a.colour_print, 1);
  EXPECT_EQ(a.info_file, "/x/i.txt");
}

TEST_F(Attributes, WorkDirectoryFromTheEnvironment) {
  const std::string report_dir = dir_.file("r");
  dir_.write("tmp2/keep", "");
  dir_.write("afile", "not a directory");
  struct Case {
    const char* name;
    std::map<std::string, std::string> vars;
    std::string expected;
  } cases[] = {
      {"TMPDIR first",
       {{"TMPDIR", dir_.file("tmp")}, {"TMP", dir_.file("tmp2")}},
       dir_.file("tmp/tmpxml")},
      {"TMP unset, TEMP set", {{"TEMP", dir_.file("tmp2")}}, dir_.file("tmp2/tmpxml")},
      {"empty TMP is skipped",
       {{"TMP", ""}, {"TEMP", dir_.file("tmp2") + "/"}},
       dir_.file("tmp2/tmpxml")},
      {"not usable: next to the report", {{"TMPDIR", dir_.file("afile")}}, report_dir},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vars_ = c.vars;
    EXPECT_EQ(choose_work_directory(env_.getenv, report_dir), c.expected);
  }
  vars_ = {{"TMPDIR", dir_.file("afile")}};
  EXPECT_EQ(choose_work_directory(env_.getenv, ""), ".");
  // Somebody else's directory is not used.
  ::mkdir(dir_.file("tmp3").c_str(), 0755);
  ::mkdir(dir_.file("tmp3/tmpxml").c_str(), 0777);
  ASSERT_EQ(::chown(dir_.file("tmp3/tmpxml").c_str(), 12345, 12345), 0);
  vars_ = {{"TMPDIR", dir_.file("tmp3")}};
  EXPECT_EQ(choose_work_directory(env_.getenv, report_dir), report_dir);
}

TEST(CommandLine, ComposedFromTheArguments) {
  char prog[] = "repscope";
  char one[] = "xml=/a b/r.xml;xsl=/a b/r.xsl;num=2;";
  char* single[] = {prog, one};
  EXPECT_EQ(compose_command_line("/opt/repscope", 2, single),
            "\"/opt/repscope\" xml=/a b/r.xml;xsl=/a b/r.xsl;num=2;");
  char a[] = "xml=/r.xml;";
  char b[] = "xsl=/r.xsl;";
  char c[] = "num=2;";
  char* several[] = {prog, a, b, c};
  EXPECT_EQ(compose_command_line("/opt/repscope", 4, several),
            "\"/opt/repscope\" xml=/r.xml; xsl=/r.xsl; num=2;");
  char bundle[] = "/home/u/Sales.KVR";
  char* kvr[] = {prog, bundle};
  EXPECT_EQ(compose_command_line("/opt/repscope", 2, kvr),
            "\"/opt/repscope\" \"/home/u/Sales.KVR\"");
}

TEST(ProcessTag, SixCharactersThatDiffer) {
  const std::string a = make_process_tag();
  const std::string b = make_process_tag();
  EXPECT_EQ(a.size(), 6u);
  EXPECT_NE(a, b);
  for (char ch : a)
    EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(ch)));
}

}  // namespace
}  // namespace repscope::app
