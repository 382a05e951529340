// Two processes hammer one key at once: every write lands and no read sees
// half of another process's write.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/registry/registry.h"
#include "tests/support/temp_dir.h"

namespace vestra::registry {
namespace {

pid_t start_hammer(const std::string& dir, const char* letter, int iterations) {
  const std::string count = std::to_string(iterations);
  pid_t pid = fork();
  if (pid == 0) {
    execl(REGISTRY_HAMMER, REGISTRY_HAMMER, dir.c_str(), letter, count.c_str(), nullptr);
    _exit(127);
  }
  return pid;
}

int wait_exit_code(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(RegistryConcurrency, TwoProcessesHammeringOneKeyLoseAndTearNothing) {
  test::TempDir dir;
  constexpr int kIterations = 400;
  // Both start on a registry that does not exist yet, so they also race to
  // create the database.
  pid_t a = start_hammer(dir.path(), "a", kIterations);
  pid_t b = start_hammer(dir.path(), "b", kIterations);
  ASSERT_GT(a, 0);
  ASSERT_GT(b, 0);
  EXPECT_EQ(wait_exit_code(a), 0);
  EXPECT_EQ(wait_exit_code(b), 0);

  Registry reg{Locations::single(dir.path())};
  std::vector<Value> values;
  ASSERT_TRUE(reg.list_values(Hive::CurrentUser, "Software\\VESTRA\\Hammer", values).ok());
  EXPECT_EQ(values.size(), 2u * kIterations + 1);
  for (const char* letter : {"a", "b"}) {
    for (int i = 0; i < kIterations; ++i) {
      std::string text;
      ASSERT_TRUE(reg.get_string(Hive::CurrentUser, "Software\\VESTRA\\Hammer",
                                 letter + std::to_string(i), text)
                      .ok());
      EXPECT_EQ(text, std::to_string(i * 7));
    }
  }
  std::vector<std::string> churn;
  reg.list_subkeys(Hive::CurrentUser, "Software\\VESTRA\\Hammer\\Churn", churn);
  EXPECT_TRUE(churn.empty());
}

}  // namespace
}  // namespace vestra::registry
