// Seeding the URL cache with the program's images, and what the cache hands
// back: only committed, unexpired entries.
#include "viewer/report/image_seeding.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace repscope::report {
namespace {

using vestra::test::TempDir;
using vestra::urlcache::UrlCache;

TEST(ImageSeeding, ImagesFromTheProgramDirectoryServeTheWebLocation) {
  TempDir program;
  TempDir cache_dir;
  UrlCache cache(cache_dir.file("cache"));
  const std::string gif = std::string("GIF89a") + std::string(3000, '\x01');
  program.write("open.gif", gif);
  const std::int64_t now = 1700000000;
  ASSERT_TRUE(seed_image(cache, program.path(), "open.gif", kDefaultImageLocation, now));
  auto file = cache.lookup(std::string(kDefaultImageLocation) + "open.gif", now);
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(TempDir::read(*file), gif) << "the whole image, not a cut one";
  EXPECT_EQ(file->substr(file->size() - 4), ".gif");
  auto name = cache.entry_name(std::string(kDefaultImageLocation) + "open.gif", now);
  ASSERT_TRUE(name.has_value());
  EXPECT_EQ(cache.file_of_name(*name, now), file);
  EXPECT_FALSE(cache.file_of_name("../" + *name, now).has_value());

  // A year later the entry has expired; seeding again renews it.
  EXPECT_FALSE(cache.lookup(std::string(kDefaultImageLocation) + "open.gif", now + 366LL * 86400));
  ASSERT_TRUE(
      seed_image(cache, program.path(), "open.gif", kDefaultImageLocation, now + 366LL * 86400));
  EXPECT_TRUE(cache.lookup(std::string(kDefaultImageLocation) + "open.gif", now + 366LL * 86400));

  EXPECT_FALSE(seed_image(cache, program.path(), "close.gif", kDefaultImageLocation, now));
  EXPECT_FALSE(cache.lookup(std::string(kDefaultImageLocation) + "close.gif", now));
  EXPECT_TRUE(cache.delete_entry(std::string(kDefaultImageLocation) + "open.gif"));
  EXPECT_FALSE(cache.lookup(std::string(kDefaultImageLocation) + "open.gif", now));
}

}  // namespace
}  // namespace repscope::report
