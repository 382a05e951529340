// Seeding the URL cache with the images the host's stylesheets refer to at a
// web location ("open.gif", "close.gif"), from the program directory, so the
// page view shows them without network access.
#pragma once

#include <cstdint>
#include <string>

#include "platform/urlcache/url_cache.h"

namespace repscope::report {

// Where the host's stylesheets expect the images unless configured otherwise.
inline constexpr const char kDefaultImageLocation[] = "http://www.vestra.com/images/";

// Places `file_name` from `directory` in the cache under `location` +
// `file_name`, valid for a year from `now`. False when the file cannot be
// read or the entry cannot be made (nothing is left behind then).
bool seed_image(vestra::urlcache::UrlCache& cache, const std::string& directory,
                const std::string& file_name, const std::string& location, std::int64_t now);

}  // namespace repscope::report
