// The update check: set-up dates, the 3605-second slack, and the question.
#include "client/app/update_check.h"

#include <gtest/gtest.h>

#include "client/settings/client_texts.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

namespace veslink {
namespace {

using vestra::messages::Answer;
using vestra::registry::Hive;
using vestra::test::ScriptedMessages;

TEST(SetupDateTime, Parsing) {
  const auto t = parse_setup_date_time("1/5/07 10:00:00");
  ASSERT_TRUE(t.has_value());
  std::tm tm{};
  localtime_r(&*t, &tm);
  EXPECT_EQ(tm.tm_year + 1900, 2007);
  EXPECT_EQ(tm.tm_mon + 1, 1);  // month first: 5 January
  EXPECT_EQ(tm.tm_mday, 5);
  EXPECT_EQ(tm.tm_hour, 10);
  EXPECT_EQ(tm.tm_min, 0);

  EXPECT_TRUE(parse_setup_date_time("12/31/1999 23:59:59").has_value());
  EXPECT_TRUE(parse_setup_date_time("07/04/2021 08:05:09").has_value());
  for (const char* bad :
       {"", "1/5/07 10:00:00 ", "1/5/07 10:00", "0/5/07 10:00:00", "1/0/07 10:00:00",
        "13/5/07 10:00:00", "1-5-07 10:00:00", "1/5/07  10:00:00", "1/5/07T10:00:00",
        "a/5/07 10:00:00", "1/5/07 24:00:00", "1/5/07 10:60:00", "1/5/-7 10:00:00"})
    EXPECT_FALSE(parse_setup_date_time(bad).has_value()) << bad;
}

class UpdateCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reg.set_string(Hive::LocalMachine, kInstallKey, "DirPath", "/opt/vestra");
    reg.set_string(Hive::LocalMachine, kInstallKey, "SetupPath", "/media/cd/setup-veslink");
    reg.set_string(Hive::LocalMachine, kInstallKey, "SetupDateTime", "1/5/07 10:00:00");
    hooks.file_time = [this](const std::string& path) -> std::optional<std::time_t> {
      if (path != "/media/cd/setup-veslink") return std::nullopt;
      return *parse_setup_date_time("1/5/07 10:00:00") + file_offset;
    };
    hooks.exec_program = [this](const std::string& program) { executed.push_back(program); };
  }
  UpdateOutcome check(const std::string& program = "/opt/vestra/veslink/veslink") {
    return check_for_update(program, reg, hooks);
  }
  vestra::test::TempDir dir;
  vestra::registry::Registry reg{vestra::registry::Locations::single(dir.path())};
  UpdateHooks hooks;
  long file_offset = 0;
  std::vector<std::string> executed;
};

TEST_F(UpdateCheckTest, SetupFileMustBeMoreThan3605SecondsNewer) {
  ScriptedMessages boxes;
  file_offset = 3605;
  EXPECT_EQ(check(), UpdateOutcome::UpToDate);
  EXPECT_TRUE(boxes.shown().empty());

  file_offset = 3606;
  boxes.answer(Answer::No);
  EXPECT_EQ(check(), UpdateOutcome::Declined);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].caption, "VESTRA Thin Client Update");
  EXPECT_EQ(boxes.shown()[0].text,
            "A new VESTRA Thin Client Setup program has been detected.\n"
            "Update your version of VESTRA Thin Client?");
  EXPECT_EQ(boxes.shown()[0].buttons, vestra::messages::Buttons::YesNo);
  EXPECT_EQ(boxes.shown()[0].icon, vestra::messages::Icon::Question);
  EXPECT_TRUE(executed.empty());
}

TEST_F(UpdateCheckTest, YesRunsTheSetupProgramAndReportsWhenItCannot) {
  ScriptedMessages boxes;
  file_offset = 86400;
  boxes.answer(Answer::Yes);
  EXPECT_EQ(check(), UpdateOutcome::SetupNotStarted);
  EXPECT_EQ(executed, std::vector<std::string>{"/media/cd/setup-veslink"});
  ASSERT_EQ(boxes.shown().size(), 2u);
  EXPECT_EQ(boxes.shown()[1].text, "Could not run Setup program!");
  EXPECT_EQ(boxes.shown()[1].caption, "VESLINK");
}

TEST_F(UpdateCheckTest, OnlyTheInstalledCopyChecks) {
  ScriptedMessages boxes;
  file_offset = 86400;
  boxes.answer(Answer::No);
  // Case and doubled separators do not matter; another copy does not check.
  reg.set_string(Hive::LocalMachine, kInstallKey, "DirPath", "/OPT/Vestra/");
  EXPECT_EQ(check("/opt/vestra/veslink/veslink"), UpdateOutcome::Declined);
  EXPECT_EQ(check("/home/dev/build/veslink"), UpdateOutcome::NoCheck);
  EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST_F(UpdateCheckTest, MissingOrMalformedValuesMeanNoCheck) {
  ScriptedMessages boxes;
  file_offset = 86400;
  struct Case {
    const char* value;
    const char* text;  // nullptr: delete the value
  } cases[] = {
      {"SetupDateTime", "5 January 2007"},
      {"SetupDateTime", nullptr},
      {"SetupPath", "/x/setup.bin"},  // 12 characters: too short
      {"SetupPath", "/media/cd/missing-setup"},
      {"DirPath", nullptr},
  };
  for (const Case& c : cases) {
    SetUp();
    SCOPED_TRACE(std::string(c.value) + "=" + (c.text ? c.text : "(none)"));
    if (c.text) {
      reg.set_string(Hive::LocalMachine, kInstallKey, c.value, c.text);
    } else {
      reg.delete_value(Hive::LocalMachine, kInstallKey, c.value);
    }
    EXPECT_EQ(check(), UpdateOutcome::NoCheck);
  }
  reg.delete_key(Hive::LocalMachine, "Software");
  EXPECT_EQ(check(), UpdateOutcome::NoCheck);
  EXPECT_TRUE(boxes.shown().empty());
}

}  // namespace
}  // namespace veslink
