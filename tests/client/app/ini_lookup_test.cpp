// Where the INI file is looked for and what happens when it is missing.
#include "client/app/ini_lookup.h"

#include <gtest/gtest.h>

#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace veslink {
namespace {

using vestra::test::ScriptedMessages;
using vestra::test::TempDir;

TEST(IniLookup, ExplicitNameWithOrWithoutExtensionOpensTheIniFile) {
  TempDir dir;
  dir.write("site.INI", "host=fromsite\n");
  for (const std::string& name : {dir.file("site"), dir.file("site.cfg")}) {
    SCOPED_TRACE(name);
    ClientSettings s;
    IniLookup r = read_ini_file(s, name, true);
    EXPECT_TRUE(r.ini_read);
    EXPECT_EQ(r.ini_path, dir.file("site.INI"));
    EXPECT_EQ(s.current_host, "fromsite");
  }
}

TEST(IniLookup, DotInADirectoryNameIsNoExtension) {
  TempDir dir;
  dir.write("dir1.2/site.INI", "host=dotted\n");
  ClientSettings s;
  IniLookup r = read_ini_file(s, dir.file("dir1.2/site"), true);
  EXPECT_TRUE(r.ini_read);
  EXPECT_EQ(s.current_host, "dotted");
}

TEST(IniLookup, LowerCaseExtensionIsFoundAndRewrittenInPlace) {
  TempDir dir;
  dir.write("site.ini", "host=lower\n");
  ClientSettings s;
  IniLookup r = read_ini_file(s, dir.file("site"), true);
  EXPECT_TRUE(r.ini_read);
  EXPECT_EQ(r.ini_path, dir.file("site.ini"));
  EXPECT_EQ(s.current_host, "lower");
}

TEST(IniLookup, MissingExplicitFileIsReported) {
  TempDir dir;
  dir.write("VESLINK.INI", "host=shared\n");
  ScriptedMessages boxes;
  ClientSettings s;
  IniLookup r = read_ini_file(s, dir.file("nosuch.cfg"), true);
  EXPECT_FALSE(r.ini_read);
  EXPECT_EQ(s.current_host, "");  // no fallback for an explicit name
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, "Can't open '" + dir.file("nosuch.INI") + "'");
  EXPECT_EQ(boxes.shown()[0].caption, "VESTRA-Nu Thin Client");
}

TEST(IniLookup, ProgramIniThenVeslinkIniThenNothing) {
  TempDir dir;
  const std::string program = dir.file("veslink");
  ClientSettings none;
  IniLookup r = read_ini_file(none, program, false);  // silently nothing
  EXPECT_FALSE(r.ini_read);
  EXPECT_EQ(r.ini_path, dir.file("veslink.INI"));

  dir.write("VESLINK.INI", "host=shared\n");
  ClientSettings shared;
  r = read_ini_file(shared, dir.file("client2"), false);
  EXPECT_TRUE(r.ini_read);
  EXPECT_EQ(shared.current_host, "shared");
  EXPECT_EQ(r.ini_path, dir.file("client2.INI"));  // the first name is kept for rewriting

  dir.write("client2.INI", "host=own\n");
  ClientSettings own;
  r = read_ini_file(own, dir.file("client2"), false);
  EXPECT_EQ(own.current_host, "own");
}

}  // namespace
}  // namespace veslink
