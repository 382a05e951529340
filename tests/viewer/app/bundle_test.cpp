// Report bundles: unpacking at the separator line (in any case, at real line
// starts only), and the start that turns a bundle into a file-mode report
// with its exchange key.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_dir.h"
#include "viewer/app/bundle_start.h"
#include "viewer/feed/exchange_key.h"
#include "viewer/report/bundle_file.h"

namespace repscope::app {
namespace {

using vestra::test::TempDir;

const std::string kSep = report::kBundleSeparator;

TEST(Bundle, UnpacksAtTheSeparatorLine) {
  TempDir dir;
  const std::string long_line(200000, 'x');
  std::string lower = kSep;
  for (char& c : lower)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  struct Case {
    const char* name;
    std::string bundle;
    std::string xsl;
    std::string xml;
  } cases[] = {
      {"plain", "<xsl>\n" + kSep + "\n<report/>\n", "<xsl>\n", "<report/>\n"},
      {"separator in lower case, text after it ignored", "a\n" + lower + " trailing\nb\nc", "a\n",
       "b\nc"},
      {"separator not at a line start", "<xsl>" + kSep + "\n<report/>\n",
       "<xsl>" + kSep + "\n<report/>\n", ""},
      {"the separator text inside a very long line",
       long_line + kSep + "\n" + kSep + "\n" + long_line, long_line + kSep + "\n", long_line},
      {"a short last line", "a\n" + kSep + "\nz", "a\n", "z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string bundle = dir.write("b.kvr", c.bundle);
    ASSERT_EQ(report::unpack_bundle(bundle, dir.file("b.xml"), dir.file("b.xsl")), "");
    EXPECT_EQ(TempDir::read(dir.file("b.xsl")), c.xsl);
    EXPECT_EQ(TempDir::read(dir.file("b.xml")), c.xml);
  }
  EXPECT_EQ(report::unpack_bundle(dir.file("none.kvr"), dir.file("b.xml"), dir.file("b.xsl")),
            "Can't find kvr file.");
  const std::string bundle = dir.write("c.kvr", "a\n" + kSep + "\nb\n");
  EXPECT_EQ(report::unpack_bundle(bundle, dir.file("no/dir/c.xml"), dir.file("c.xsl")),
            "Can't create xml file " + dir.file("no/dir/c.xml") + ".");
  EXPECT_FALSE(std::filesystem::exists(dir.file("c.xsl"))) << "the half-written stylesheet goes";
}

TEST(Bundle, StartBecomesFileModeWithAKey) {
  TempDir dir;
  vestra::registry::Registry registry(vestra::registry::Locations::single(dir.file("reg")));
  const std::string bundle = dir.write(
      "Sales.KVR", "<xsl/>\n" + kSep + "\n<report><detail/><page/><detail/><page/></report>\n");
  ASSERT_TRUE(names_bundle("\"/p/repscope\" \"" + bundle + "\""));
  EXPECT_FALSE(names_bundle("\"/p/repscope\" xml=a.kvr;"));
  std::string line;
  ASSERT_EQ(
      ProcessKvr("\"/p/repscope\" \"" + bundle + "\"", "/p/repscope", registry, 1700000000, line),
      "");
  EXPECT_EQ(line, "\"/p/repscope\" \"/p/repscope\" xml=" + dir.file("Sales.xml") +
                      ";xsl=" + dir.file("Sales.xsl") + ";num=1;mode=FALSE;");
  EXPECT_EQ(TempDir::read(dir.file("Sales.xsl")), "<xsl/>\n");
  std::string total;
  ASSERT_TRUE(registry
                  .get_string(vestra::registry::Hive::CurrentUser, "Software\\REPSCOPE\\Sales",
                              "TOTALPAGE", total)
                  .ok());
  EXPECT_EQ(total, "2END");
  EXPECT_EQ(ProcessKvr("\"/p/repscope\" \"\"", "/p/repscope", registry, 0, line),
            "Can't find kvr file ");
  const std::string broken = dir.write("Bad.kvr", "<xsl/>\n" + kSep + "\n<report>\n");
  EXPECT_EQ(ProcessKvr("\"/p/repscope\" \"" + broken + "\"", "/p/repscope", registry, 0, line)
                .rfind("Find error in file " + dir.file("Bad.xml"), 0),
            0u);
}

}  // namespace
}  // namespace repscope::app
