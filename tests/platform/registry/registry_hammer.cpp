// A second process for the registry concurrency test: writes its own values
// and overwrites one shared value with long uniform texts, reading the shared
// value back after every write. Exit 0 when every read was whole.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/registry/registry.h"

using namespace vestra::registry;

int main(int argc, char** argv) {
  if (argc != 4) return 64;
  Registry reg{Locations::single(argv[1])};
  const char letter = argv[2][0];
  const int iterations = std::atoi(argv[3]);
  const char* key = "Software\\VESTRA\\Hammer";
  for (int i = 0; i < iterations; ++i) {
    Result r = reg.set_string(Hive::CurrentUser, key, std::string(1, letter) + std::to_string(i),
                              std::to_string(i * 7));
    if (r.ok())
      r = reg.set_string(Hive::CurrentUser, key, "shared",
                         std::string(1000 + (i * 37) % 3000, letter));
    if (r.ok()) r = reg.create_key(Hive::CurrentUser, std::string(key) + "\\Churn\\" + letter);
    if (r.ok()) r = reg.delete_key(Hive::CurrentUser, std::string(key) + "\\Churn\\" + letter);
    std::string shared;
    if (r.ok()) r = reg.get_string(Hive::CurrentUser, key, "shared", shared);
    if (!r.ok()) {
      std::fprintf(stderr, "hammer %c: %s\n", letter, r.error.c_str());
      return 3;
    }
    if (shared.size() < 1000 || shared.find_first_not_of(shared[0]) != std::string::npos) {
      std::fprintf(stderr, "hammer %c: torn value of %zu bytes\n", letter, shared.size());
      return 2;
    }
  }
  return 0;
}
