// vesreg's interface, which tests and users rely on: the commands, their
// output lines and their exit codes.
#include "tools/vesreg/vesreg_commands.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "tests/support/temp_dir.h"

namespace vestra::vesreg {
namespace {

struct Outcome {
  int code;
  std::string out;
  std::string err;
};

class VesregTest : public ::testing::Test {
 protected:
  Outcome run_args(std::vector<std::string> args) {
    std::ostringstream out, err;
    int code = run(reg, args, out, err);
    return {code, out.str(), err.str()};
  }
  test::TempDir dir;
  registry::Registry reg{registry::Locations::single(dir.path())};
};

TEST_F(VesregTest, SetQueryKeysDeleteAndTheirExitCodes) {
  const std::string key = "HKEY_CURRENT_USER\\Software\\VESTRA\\Settings";
  struct Step {
    std::vector<std::string> args;
    int code;
    std::string out;
  } steps[] = {
      {{"query", key}, kMissing, ""},
      {{"set", key, "interface", "telnet,myhost"}, kOk, ""},
      {{"set", "HKCU/Software/VESTRA/Settings", "count", "42", "--type", "REG_DWORD"}, kOk, ""},
      {{"set", key, "path", "%HOME%/x", "--type", "REG_EXPAND_SZ"}, kOk, ""},
      {{"set", key, "hex", "0x10", "--type", "reg_dword"}, kOk, ""},
      {{"query", key},
       kOk,
       "interface\tREG_SZ\ttelnet,myhost\ncount\tREG_DWORD\t42\npath\tREG_EXPAND_SZ\t%HOME%/x\n"
       "hex\tREG_DWORD\t16\n"},
      {{"query", "hkcu\\software\\vestra\\settings", "INTERFACE"},
       kOk,
       "interface\tREG_SZ\ttelnet,myhost\n"},
      {{"query", key, "nothing"}, kMissing, ""},
      {{"keys", "HKCU\\Software"}, kOk, "VESTRA\n"},
      {{"keys", "HKCU\\Software\\VESTRA\\Settings"}, kOk, ""},
      {{"delete", key, "count"}, kOk, ""},
      {{"delete", key, "count"}, kMissing, ""},
      {{"delete", "HKCU\\Software\\VESTRA"}, kOk, ""},
      {{"keys", "HKCU\\Software\\VESTRA"}, kMissing, ""},
      {{"set", key, "n", "12x", "--type", "REG_DWORD"}, kUsage, ""},
      {{"set", key, "n", "1", "--type", "REG_BINARY"}, kUsage, ""},
      {{"query", "HKEY_USERS\\x"}, kUsage, ""},
      {{"frobnicate", key}, kUsage, ""},
      {{}, kUsage, ""},
  };
  for (const Step& s : steps) {
    std::string line;
    for (const auto& a : s.args)
      line += a + " ";
    SCOPED_TRACE(line);
    Outcome o = run_args(s.args);
    EXPECT_EQ(o.code, s.code) << o.err;
    EXPECT_EQ(o.out, s.out);
    if (s.code != kOk) {
      EXPECT_FALSE(o.err.empty());
    }
  }
}

TEST_F(VesregTest, ExportWritesTheSubtreeAsReadableText) {
  run_args({"set", "HKCU\\Software\\VESTRA\\Settings", "host_list", "a,\"b\",c\\d"});
  run_args({"set", "HKCU\\Software\\VESTRA\\Settings", "n", "255", "--type", "REG_DWORD"});
  run_args({"set", "HKCU\\Software\\VESTRA\\Color", "tab", "x\ty"});
  Outcome o = run_args({"export", "HKCU\\software\\vestra"});
  EXPECT_EQ(o.code, kOk);
  EXPECT_EQ(o.out,
            "[HKEY_CURRENT_USER\\Software\\VESTRA]\n\n"
            "[HKEY_CURRENT_USER\\Software\\VESTRA\\Color]\n"
            "\"tab\"=\"x\\x09y\"\n\n"
            "[HKEY_CURRENT_USER\\Software\\VESTRA\\Settings]\n"
            "\"host_list\"=\"a,\\\"b\\\",c\\\\d\"\n"
            "\"n\"=dword:000000ff\n\n");
}

TEST_F(VesregTest, BinaryUsesTheRegistryDirectoryOfItsEnvironment) {
  const std::string prefix = "VESTRA_REGISTRY_DIR='" + dir.path() + "' " VESREG_BINARY " ";
  EXPECT_EQ(std::system((prefix + "set HKLM/Software/VESTRA/Veslink DirPath /opt/vestra").c_str()),
            0);
  std::string text;
  ASSERT_TRUE(
      reg.get_string(registry::Hive::LocalMachine, "Software\\VESTRA\\Veslink", "DirPath", text)
          .ok());
  EXPECT_EQ(text, "/opt/vestra");
  int status =
      std::system((prefix + "query HKLM/Software/VESTRA/Veslink Missing 2>/dev/null").c_str());
  EXPECT_EQ(WEXITSTATUS(status), kMissing);
  dir.write("HKEY_CLASSES_ROOT.db",
            "garbage that is not a database at all.........................");
  status = std::system((prefix + "query HKCR/x 2>/dev/null").c_str());
  EXPECT_EQ(WEXITSTATUS(status), kFailed);
}

}  // namespace
}  // namespace vestra::vesreg
