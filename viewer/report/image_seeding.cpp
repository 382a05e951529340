// One image into the URL cache.
#include "viewer/report/image_seeding.h"

#include <fstream>
#include <iterator>

#include "viewer/report/report_file.h"
#include "viewer/report/text_lines.h"

namespace repscope::report {

namespace {
constexpr std::int64_t kYear = 365LL * 24 * 60 * 60;
// Icons are small; anything far larger is not one of them.
constexpr std::size_t kLargestImage = 1024 * 1024;
}  // namespace

bool seed_image(vestra::urlcache::UrlCache& cache, const std::string& directory,
                const std::string& file_name, const std::string& location, std::int64_t now) {
  std::string bytes;
  if (!read_text(directory + "/" + file_name, bytes) || bytes.empty() ||
      bytes.size() > kLargestImage) {
    return false;
  }
  const std::string url = location + file_name;
  cache.delete_entry(url);
  const std::size_t dot = file_name.rfind('.');
  const std::string extension = dot == std::string::npos ? "" : file_name.substr(dot + 1);
  const std::string local = cache.create_entry(url, extension);
  if (local.empty()) return false;
  TargetFile out;
  bool ok = out.create(local);
  out.write(bytes);
  ok = out.close() && ok;
  if (!ok || !cache.commit_entry(url, local, now + kYear, now)) {
    cache.delete_entry(url);
    std::remove(local.c_str());
    return false;
  }
  return true;
}

}  // namespace repscope::report
