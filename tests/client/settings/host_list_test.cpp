// The most-recently-used host list.
#include "client/settings/host_list.h"

#include <gtest/gtest.h>

#include "client/settings/client_settings.h"

namespace veslink {
namespace {

TEST(HostList, UsedHostMovesToTheFront) {
  struct Case {
    const char* list;
    const char* host;
    const char* expected;  // nullptr: unchanged, nothing to write
  } cases[] = {
      {"a,b,c,", "b", "b,a,c,"},
      {"a,b,c,", "a", nullptr},
      {"a,b,c,", "c", "c,a,b,"},
      {"a,b,c,", "A", nullptr},
      {"a,b,c,", "New", "new,a,b,c,"},
      {"", "h", "h,"},
      {"a;office,b", "A", nullptr},  // text after ";" is not compared
      {"x,a;office,b", "a", "a,x,b"},
      {",,a,b", "a", nullptr},  // empty entries do not count as first
      {"a,b", "b", "b,a"},
      {"a,b,a,c", "a", nullptr},
      {"x,a,b,a,", "a", "a,x,b,"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.list) + " + " + c.host);
    auto updated = updated_host_list(c.list, c.host);
    if (!c.expected) {
      EXPECT_FALSE(updated.has_value());
    } else {
      ASSERT_TRUE(updated.has_value());
      EXPECT_EQ(*updated, c.expected);
    }
  }
}

TEST(HostList, FullListLosesWholeEntriesAtItsEndNeverPartOfOne) {
  std::string list;
  std::vector<std::string> entries;
  for (int i = 0; list.size() < 190; ++i) {
    entries.push_back("host" + std::to_string(i) + ".example.com");
    list += entries.back() + ",";
  }
  list.resize(kHostListMax);
  auto updated = updated_host_list(list, "newhost.example.com");
  ASSERT_TRUE(updated.has_value());
  EXPECT_LE(updated->size(), kHostListMax);
  EXPECT_EQ(updated->back(), ',');
  // What is left is the new host and a prefix of the old entries, each whole.
  std::string expected = "newhost.example.com,";
  for (const std::string& e : entries) {
    if (expected.size() + e.size() + 1 > kHostListMax) break;
    expected += e + ",";
  }
  EXPECT_EQ(*updated, expected);
}

TEST(HostList, HostAsLongAsTheWholeList) {
  const std::string host(kHostListMax, 'h');
  EXPECT_EQ(*updated_host_list("", host), host);
  EXPECT_EQ(*updated_host_list("a,b,", host), "");
  EXPECT_EQ(*updated_host_list("a,", std::string(300, 'h')), "");
}

TEST(HostList, EntriesAsTheLoginDialogListsThem) {
  EXPECT_EQ(host_list_entries("a;office,,b,c;x,", 98), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(host_list_entries(std::string(120, 'h') + ",", 98),
            (std::vector<std::string>{std::string(98, 'h')}));
}

}  // namespace
}  // namespace veslink
