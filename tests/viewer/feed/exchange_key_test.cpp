// The exchange key: the start-up check, the stale-key sweep, page counts with
// their end mark, server requests, flags that mean busy or not ready, and
// the key made for bundle files.
#include "viewer/feed/exchange_key.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace repscope::feed {
namespace {

using vestra::registry::Hive;
using vestra::registry::Locations;
using vestra::registry::Registry;

class Exchange : public ::testing::Test {
 protected:
  std::string get(const std::string& key, const char* name) {
    std::string v;
    registry_.get_string(Hive::CurrentUser, key, name, v);
    return v;
  }
  void set(const std::string& key, const char* name, const std::string& value) {
    ASSERT_TRUE(registry_.set_string(Hive::CurrentUser, key, name, value).ok());
  }
  bool exists(const std::string& key) { return registry_.key_exists(Hive::CurrentUser, key).ok(); }

  vestra::test::TempDir dir_;
  Registry registry_{Locations::single(dir_.path())};
  const std::string path_ = ExchangeKey::path_for("Sales");
  ExchangeKey key_{registry_, path_};
  const std::int64_t now_ = 1700000000;
};

TEST_F(Exchange, CheckNamesWhatIsMissing) {
  EXPECT_EQ(ExchangeKey(registry_, "").check(), "Can't get server registry path.");
  EXPECT_EQ(key_.check(), "Can't registry server path.");
  ASSERT_TRUE(registry_.create_key(Hive::CurrentUser, path_).ok());
  EXPECT_EQ(key_.check(), "Can't get request flag.");
  set(path_, "RequestFlag", "0");
  EXPECT_EQ(key_.check(), "Can't get response flag.");
  set(path_, "ResponseFlag", "0");
  EXPECT_EQ(key_.check(), "Can't get end-flag.");
  set(path_, "EndFlag", "0");
  EXPECT_EQ(key_.check(), "");
  EXPECT_EQ(path_, "Software\\REPSCOPE\\Sales");
}

TEST_F(Exchange, CreateWritesEveryValue) {
  ASSERT_EQ(key_.create(12, now_), "");
  EXPECT_EQ(key_.check(), "");
  EXPECT_EQ(get(path_, "TOTALPAGE"), "12END");
  EXPECT_EQ(get(path_, "XmlDate"), "1700000000");
  EXPECT_EQ(get(path_, "EndFlag"), "0");
  EXPECT_EQ(ExchangeKey(registry_, "").create(1, now_), "Can't find server registry path.");
  EXPECT_EQ(key_.remove(), "");
  EXPECT_FALSE(exists(path_));
}

TEST_F(Exchange, StaleKeysGoOneAtATime) {
  const std::string root = kExchangeRoot;
  struct Old {
    const char* name;
    const char* date;  // nullptr: no XmlDate at all
    bool stale;
  } keys[] = {
      {"Day29", "", false},    {"Day30", "", true},       {"Zero", "0", false},
      {"Text", "soon", false}, {"NoDate", nullptr, true}, {"Empty", "", true},
  };
  for (const Old& k : keys) {
    std::string date = k.date ? k.date : "";
    if (std::string(k.name) == "Day29") date = std::to_string(now_ - 29 * 86400);
    if (std::string(k.name) == "Day30") date = std::to_string(now_ - 30 * 86400);
    set(root + "\\" + k.name, "EndFlag", "1");
    if (k.date) set(root + "\\" + k.name, "XmlDate", date);
  }
  ASSERT_EQ(key_.create(3, now_ - 90 * 86400), "");  // the own key is never swept
  int swept = 0;
  for (int start = 0; start < 4; ++start) {
    key_.sweep_stale(now_);
    int left = 0;
    for (const Old& k : keys)
      left += exists(root + "\\" + k.name);
    EXPECT_EQ(left, 6 - std::min(++swept, 3)) << "one key per start";
  }
  for (const Old& k : keys)
    EXPECT_EQ(exists(root + "\\" + k.name), !k.stale) << k.name;
  EXPECT_TRUE(exists(path_));
}

TEST_F(Exchange, PageCountsAndTheEndMark) {
  ASSERT_EQ(key_.create(0, now_), "");
  struct Case {
    const char* total;
    int pages;
    bool finished;
  } cases[] = {{"7", 7, false},   {"9", 9, false},  {"9END", 9, true},
               {"8END", 8, true}, {"EN", 0, false}, {"END", 0, true}};
  for (const Case& c : cases) {
    set(path_, "TOTALPAGE", c.total);
    int pages = -1;
    bool finished = false;
    bool there = false;
    EXPECT_EQ(key_.read_page_count(pages, finished, &there), "");
    EXPECT_EQ(pages, c.pages) << c.total;
    EXPECT_EQ(finished, c.finished) << c.total;
    EXPECT_TRUE(there);
  }
  key_.remove();
  int pages = 0;
  bool finished = false;
  bool there = true;
  EXPECT_EQ(key_.read_page_count(pages, finished, &there), "");
  EXPECT_FALSE(there);
  EXPECT_EQ(key_.read_page_count(pages, finished), "Can't set response flag.");
}

TEST_F(Exchange, ServerRequestsAreActedOnOnce) {
  ASSERT_EQ(key_.create(1, now_), "");
  struct Case {
    const char* request;
    bool show;
  } cases[] = {{"server=SHOWWINDOW;", true},
               {"", false},
               {"server=HIDE;", false},
               {"server=SHOWWINDOWS;", false},
               {"server=SHOWWINDOW", true}};
  for (const Case& c : cases) {
    set(path_, "ServerRequest", c.request);
    bool show = !c.show;
    EXPECT_EQ(key_.read_server_request(show), "");
    EXPECT_EQ(show, c.show) << c.request;
    EXPECT_EQ(get(path_, "ServerRequest"), "");
  }
}

TEST_F(Exchange, RequestAndReplyFlags) {
  ASSERT_EQ(key_.create(1, now_), "");
  bool posted = false;
  set(path_, "RequestFlag", "2");
  EXPECT_EQ(key_.post_request("FLAG=GET;FROMPAGE=3;TOPAGE=3;", posted), "");
  EXPECT_FALSE(posted) << "any non-zero flag means busy";
  set(path_, "RequestFlag", "0");
  EXPECT_EQ(key_.post_request("FLAG=GET;FROMPAGE=3;TOPAGE=3;", posted), "");
  EXPECT_TRUE(posted);
  EXPECT_EQ(get(path_, "Request"), "FLAG=GET;FROMPAGE=3;TOPAGE=3;");
  EXPECT_EQ(get(path_, "RequestFlag"), "1");

  Reply reply;
  bool ready = true;
  set(path_, "ResponseFlag", "2");
  EXPECT_EQ(key_.poll_reply(reply, ready), "");
  EXPECT_FALSE(ready) << "only 1 means a reply";
  set(path_, "Response", "FLAG=SEND;FROMPAGE=3;TOPAGE=3;TMPFILE=/tmp/x.xml;TOTALPAGE=9");
  set(path_, "ResponseFlag", "1");
  EXPECT_EQ(key_.poll_reply(reply, ready), "");
  EXPECT_TRUE(ready);
  EXPECT_EQ(get(path_, "ResponseFlag"), "0");
  EXPECT_TRUE(reply.sent());
  EXPECT_EQ(reply.field("FROMPAGE"), "3");
  EXPECT_EQ(reply.field("TMPFILE"), "/tmp/x.xml");
  EXPECT_EQ(reply.field("TOTALPAGE"), "") << "no closing ';': absent";
}

}  // namespace
}  // namespace repscope::feed
