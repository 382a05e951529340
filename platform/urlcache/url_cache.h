// The URL cache stand-in: entries keyed by URL, each a local file with an
// expiry and a last-modified time, kept in one directory. Programs seed it
// (the viewer puts its images there) and the web view reads from it instead
// of the network. Plain C++: no Qt.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vestra::urlcache {

class UrlCache {
 public:
  explicit UrlCache(std::string directory);

  // $XDG_CACHE_HOME/vestra/urlcache, or ~/.cache/vestra/urlcache.
  static std::string default_directory();
  const std::string& directory() const { return directory_; }

  // Removes the entry and its file; true when nothing of it is left.
  bool delete_entry(const std::string& url);
  // A new local file for the entry (not visible until committed); "" on failure.
  std::string create_entry(const std::string& url, const std::string& extension);
  // Makes the entry visible; times are seconds since 1970.
  bool commit_entry(const std::string& url, const std::string& local_file, std::int64_t expires,
                    std::int64_t last_modified);
  // The local file of a committed entry that has not expired at `now`.
  std::optional<std::string> lookup(const std::string& url, std::int64_t now) const;
  // The local file behind a name handed out by `entry_name`, if committed.
  std::optional<std::string> file_of_name(const std::string& name, std::int64_t now) const;
  // The file name of the entry inside the directory ("<hash>.<ext>").
  std::optional<std::string> entry_name(const std::string& url, std::int64_t now) const;

 private:
  std::string key(const std::string& url) const;
  std::string record_path(const std::string& key) const;

  std::string directory_;
};

}  // namespace vestra::urlcache
