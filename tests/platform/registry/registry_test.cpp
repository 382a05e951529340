// The registry stand-in: typed values kept byte for byte, names without case,
// subtrees, enumeration, last-write times, and clear failures.
#include "platform/registry/registry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/registry/key_name.h"
#include "tests/support/temp_dir.h"

namespace vestra::registry {
namespace {

using test::TempDir;

constexpr Hive kHkcu = Hive::CurrentUser;

class RegistryTest : public ::testing::Test {
 protected:
  TempDir dir;
  Registry reg{Locations::single(dir.path())};
};

TEST_F(RegistryTest, ValuesKeepTheirTypeAndEveryByte) {
  std::string all_bytes;
  for (int b = 1; b < 256; ++b)
    all_bytes += static_cast<char>(b);
  struct Case {
    std::string name;
    ValueType type;
    std::string data;
  } cases[] = {
      {"ansi", ValueType::Sz, all_bytes},
      {"empty", ValueType::Sz, ""},
      {"", ValueType::Sz, "the default value"},
      {"expand", ValueType::ExpandSz, "%TMP%\\veslink"},
      {"dword", ValueType::Dword, dword_bytes(0xDEADBEEF)},
  };
  for (const Case& c : cases)
    ASSERT_TRUE(reg.set_value(kHkcu, "Software\\T", c.name, c.type, c.data).ok());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Value v;
    ASSERT_TRUE(reg.get_value(kHkcu, "Software\\T", c.name, v).ok());
    EXPECT_EQ(v.type, c.type);
    EXPECT_EQ(v.data, c.data);
  }
  Value v;
  reg.get_value(kHkcu, "Software\\T", "dword", v);
  EXPECT_EQ(v.dword(), 0xDEADBEEFu);

  // A second connection (another process would have one) sees the same bytes.
  Registry other{Locations::single(dir.path())};
  std::string text;
  ASSERT_TRUE(other.get_string(kHkcu, "Software/T", "ansi", text).ok());
  EXPECT_EQ(text, all_bytes);
}

TEST_F(RegistryTest, NamesCompareWithoutCaseAndKeepTheirFirstSpelling) {
  ASSERT_TRUE(reg.set_string(kHkcu, "Software\\VESTRA\\Settings", "Interface", "telnet,a").ok());
  ASSERT_TRUE(reg.set_string(kHkcu, "software/vestra/SETTINGS", "INTERFACE", "telnet,b").ok());

  std::vector<Value> values;
  ASSERT_TRUE(reg.list_values(kHkcu, "SOFTWARE\\Vestra\\settings", values).ok());
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].name, "Interface");
  EXPECT_EQ(values[0].data, "telnet,b");

  std::vector<std::string> keys;
  ASSERT_TRUE(reg.list_subkeys(kHkcu, "software", keys).ok());
  EXPECT_EQ(keys, std::vector<std::string>{"VESTRA"});
  // Separators may be doubled or mixed; empty names are skipped.
  EXPECT_TRUE(reg.key_exists(kHkcu, "\\Software//VESTRA\\/Settings\\").ok());
}

TEST_F(RegistryTest, MissingKeysAndValuesAreNotFoundNotErrors) {
  Value v;
  std::vector<Value> values;
  // Nothing written yet: the hive file does not even exist.
  EXPECT_TRUE(reg.key_exists(kHkcu, "Software").not_found());
  EXPECT_TRUE(reg.get_value(kHkcu, "Software", "x", v).not_found());
  EXPECT_TRUE(reg.list_values(kHkcu, "Software", values).not_found());
  EXPECT_FALSE(std::filesystem::exists(reg.database_path(kHkcu)));

  ASSERT_TRUE(reg.create_key(kHkcu, "Software\\Empty").ok());
  EXPECT_TRUE(reg.list_values(kHkcu, "Software\\Empty", values).ok());
  EXPECT_TRUE(values.empty());
  EXPECT_TRUE(reg.get_value(kHkcu, "Software\\Empty", "x", v).not_found());
  EXPECT_TRUE(reg.delete_value(kHkcu, "Software\\Empty", "x").not_found());
  EXPECT_TRUE(reg.delete_key(kHkcu, "Software\\Other").not_found());
  EXPECT_TRUE(reg.key_exists(kHkcu, "Software\\Empty\\Deeper").not_found());
}

TEST_F(RegistryTest, DeletingAKeyTakesItsWholeSubtreeAndNothingElse) {
  // Neighbours whose names sort right before and after "B\" must survive.
  for (const char* key : {"A\\B", "A\\B\\C", "A\\B\\C\\D", "A\\B[", "A\\B]", "A\\B2", "A\\BB"})
    ASSERT_TRUE(reg.set_string(kHkcu, key, "v", key).ok());
  ASSERT_TRUE(reg.delete_key(kHkcu, "a\\b").ok());

  for (const char* gone : {"A\\B", "A\\B\\C", "A\\B\\C\\D"}) {
    Value v;
    EXPECT_TRUE(reg.key_exists(kHkcu, gone).not_found()) << gone;
    EXPECT_TRUE(reg.get_value(kHkcu, gone, "v", v).not_found()) << gone;
  }
  std::vector<std::string> keys;
  ASSERT_TRUE(reg.list_subkeys(kHkcu, "A", keys).ok());
  EXPECT_EQ(keys, (std::vector<std::string>{"B2", "B[", "B]", "BB"}));
  EXPECT_TRUE(reg.delete_key(kHkcu, "").failed());
}

TEST_F(RegistryTest, ValuesEnumerateInCreationOrder) {
  for (const char* name : {"zeta", "alpha", "Mid"})
    reg.set_string(kHkcu, "K", name, name);
  reg.set_string(kHkcu, "K", "ALPHA", "again");  // overwriting keeps the place
  std::vector<Value> values;
  ASSERT_TRUE(reg.list_values(kHkcu, "K", values).ok());
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values[0].name, "zeta");
  EXPECT_EQ(values[1].name, "alpha");
  EXPECT_EQ(values[1].data, "again");
  EXPECT_EQ(values[2].name, "Mid");
}

TEST_F(RegistryTest, LastWriteTimeFollowsChangesToTheKey) {
  ASSERT_TRUE(reg.create_key(kHkcu, "P\\K").ok());
  std::int64_t parent0 = 0, key0 = 0, key1 = 0, key2 = 0, parent1 = 0;
  ASSERT_TRUE(reg.last_write_time(kHkcu, "P", parent0).ok());
  ASSERT_TRUE(reg.last_write_time(kHkcu, "P\\K", key0).ok());
  const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  EXPECT_LE(key0, now);
  EXPECT_GT(key0, now - 60'000'000);

  std::this_thread::sleep_for(std::chrono::milliseconds(3));
  reg.set_string(kHkcu, "P\\K", "v", "1");
  ASSERT_TRUE(reg.last_write_time(kHkcu, "P\\K", key1).ok());
  EXPECT_GT(key1, key0);
  std::this_thread::sleep_for(std::chrono::milliseconds(3));
  reg.delete_value(kHkcu, "P\\K", "v");
  reg.last_write_time(kHkcu, "P\\K", key2);
  EXPECT_GT(key2, key1);

  // A value change does not touch the parent; a new subkey does.
  reg.last_write_time(kHkcu, "P", parent1);
  EXPECT_EQ(parent1, parent0);
  reg.create_key(kHkcu, "P\\K2");
  reg.last_write_time(kHkcu, "P", parent1);
  EXPECT_GT(parent1, parent0);
  std::int64_t t;
  EXPECT_TRUE(reg.last_write_time(kHkcu, "P\\None", t).not_found());
}

TEST_F(RegistryTest, RefusesValuesTheTypeCannotHold) {
  EXPECT_TRUE(reg.set_value(kHkcu, "K", "d", ValueType::Dword, "123").failed());
  EXPECT_TRUE(reg.set_value(kHkcu, "K", "s", ValueType::Sz, std::string("a\0b", 3)).failed());
}

TEST_F(RegistryTest, DamagedDatabaseGivesAClearError) {
  dir.write("HKEY_CURRENT_USER.db", std::string(4096, 'x'));
  Value v;
  Result read = reg.get_value(kHkcu, "Software", "x", v);
  ASSERT_TRUE(read.failed());
  EXPECT_NE(read.error.find("not a database"), std::string::npos) << read.error;
  EXPECT_NE(read.error.find(dir.file("HKEY_CURRENT_USER.db")), std::string::npos) << read.error;
  EXPECT_TRUE(reg.set_string(kHkcu, "Software", "x", "1").failed());
  // The damaged file is left as it was for someone to look at.
  EXPECT_EQ(TempDir::read(dir.file("HKEY_CURRENT_USER.db")), std::string(4096, 'x'));
}

TEST_F(RegistryTest, DirectoryThatCannotBeMadeGivesAClearError) {
  const std::string blocker = dir.write("not-a-dir", "file");
  Registry blocked{Locations::single(blocker + "/hives")};
  Result r = blocked.set_string(kHkcu, "Software", "x", "1");
  ASSERT_TRUE(r.failed());
  EXPECT_NE(r.error.find(blocker + "/hives"), std::string::npos) << r.error;
  Value v;
  EXPECT_TRUE(blocked.get_value(kHkcu, "Software", "x", v).not_found());
}

TEST_F(RegistryTest, MissingDirectoryIsCreatedOnFirstWrite) {
  Registry fresh{Locations::single(dir.path() + "/a/b/c")};
  ASSERT_TRUE(fresh.set_string(kHkcu, "Software", "x", "1").ok());
  EXPECT_TRUE(std::filesystem::exists(dir.path() + "/a/b/c/HKEY_CURRENT_USER.db"));
}

TEST_F(RegistryTest, ReadOnlyHiveReadsButRefusesWrites) {
  ASSERT_TRUE(
      reg.set_string(Hive::LocalMachine, "Software\\VESTRA\\Veslink", "DirPath", "/opt").ok());
  reg.set_read_only(Hive::LocalMachine, true);
  std::string text;
  ASSERT_TRUE(
      reg.get_string(Hive::LocalMachine, "Software\\VESTRA\\Veslink", "DirPath", text).ok());
  EXPECT_EQ(text, "/opt");
  Result r = reg.set_string(Hive::LocalMachine, "Software\\VESTRA\\Veslink", "DirPath", "/x");
  ASSERT_TRUE(r.failed());
  EXPECT_NE(r.error.find("read-only"), std::string::npos) << r.error;
  EXPECT_TRUE(reg.delete_key(Hive::LocalMachine, "Software").failed());
  // The other hives are not affected.
  EXPECT_TRUE(reg.set_string(kHkcu, "Software", "x", "1").ok());
}

TEST_F(RegistryTest, FilePermissionsMakeAHiveReadOnly) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes regardless of permissions";
  ASSERT_TRUE(reg.set_string(kHkcu, "Software", "x", "1").ok());
  std::filesystem::permissions(
      dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  Registry reader{Locations::single(dir.path())};
  std::string text;
  EXPECT_TRUE(reader.get_string(kHkcu, "Software", "x", text).ok());
  EXPECT_EQ(text, "1");
  EXPECT_TRUE(reader.set_string(kHkcu, "Software", "x", "2").failed());
}

TEST(KeyName, FullNamesInEveryAcceptedSpelling) {
  struct Case {
    const char* text;
    bool valid;
    Hive hive;
    const char* path;
  } cases[] = {
      {"HKEY_CURRENT_USER\\Software\\VESTRA\\Settings", true, Hive::CurrentUser,
       "Software\\VESTRA\\Settings"},
      {"HKCU/Software/VESTRA", true, Hive::CurrentUser, "Software\\VESTRA"},
      {"hklm\\Software\\VESTRA\\Veslink", true, Hive::LocalMachine, "Software\\VESTRA\\Veslink"},
      {"HKEY_CLASSES_ROOT\\.kvr", true, Hive::ClassesRoot, ".kvr"},
      {"HKCR", true, Hive::ClassesRoot, ""},
      {"HKEY_USERS\\x", false, Hive::CurrentUser, ""},
      {"", false, Hive::CurrentUser, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    auto parsed = parse_full_key_name(c.text);
    ASSERT_EQ(parsed.has_value(), c.valid);
    if (!c.valid) continue;
    EXPECT_EQ(parsed->hive, c.hive);
    EXPECT_EQ(parsed->path, c.path);
  }
}

}  // namespace
}  // namespace vestra::registry
