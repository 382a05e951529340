// Entries as "<hash>.<ext>" files with a "<hash>.entry" record beside them,
// written to a temporary name and renamed, so readers never see half a record.
#include "platform/urlcache/url_cache.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vestra::urlcache {

namespace {

// FNV-1a, 64 bits: a stable file name for any URL.
std::string hash_text(const std::string& text) {
  std::uint64_t h = 1469598103934665603ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  char out[17];
  std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(h));
  return out;
}

struct Record {
  std::string url;
  std::string file;
  std::int64_t expires = 0;
  std::int64_t last_modified = 0;
};

bool read_record(const std::string& path, Record& r) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string name = line.substr(0, eq);
    const std::string value = line.substr(eq + 1);
    if (name == "url") r.url = value;
    if (name == "file") r.file = value;
    if (name == "expires") r.expires = std::atoll(value.c_str());
    if (name == "last_modified") r.last_modified = std::atoll(value.c_str());
  }
  return !r.url.empty() && !r.file.empty();
}

}  // namespace

UrlCache::UrlCache(std::string directory) : directory_(std::move(directory)) {}

std::string UrlCache::default_directory() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache && *cache) return std::string(cache) + "/vestra/urlcache";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.cache/vestra/urlcache";
}

std::string UrlCache::key(const std::string& url) const {
  return hash_text(url);
}

std::string UrlCache::record_path(const std::string& k) const {
  return directory_ + "/" + k + ".entry";
}

bool UrlCache::delete_entry(const std::string& url) {
  const std::string k = key(url);
  Record r;
  if (read_record(record_path(k), r)) std::remove((directory_ + "/" + r.file).c_str());
  std::remove(record_path(k).c_str());
  std::error_code ec;
  return !std::filesystem::exists(record_path(k), ec);
}

std::string UrlCache::create_entry(const std::string& url, const std::string& extension) {
  std::error_code ec;
  std::filesystem::create_directories(directory_, ec);
  const std::string name = key(url) + (extension.empty() ? "" : "." + extension);
  const std::string path = directory_ + "/" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  return out ? path : std::string();
}

bool UrlCache::commit_entry(const std::string& url, const std::string& local_file,
                            std::int64_t expires, std::int64_t last_modified) {
  const std::string k = key(url);
  const std::string name = std::filesystem::path(local_file).filename().string();
  if (std::filesystem::path(local_file).parent_path() != std::filesystem::path(directory_)) {
    return false;
  }
  struct stat st;
  if (::stat(local_file.c_str(), &st) != 0) return false;
  const std::string temp = record_path(k) + ".new";
  {
    std::ofstream out(temp, std::ios::trunc);
    out << "url=" << url << "\nfile=" << name << "\nexpires=" << expires
        << "\nlast_modified=" << last_modified << "\n";
    if (!out.flush()) return false;
  }
  return std::rename(temp.c_str(), record_path(k).c_str()) == 0;
}

std::optional<std::string> UrlCache::entry_name(const std::string& url, std::int64_t now) const {
  Record r;
  if (!read_record(record_path(key(url)), r) || r.url != url) return std::nullopt;
  if (r.expires <= now) return std::nullopt;
  return r.file;
}

std::optional<std::string> UrlCache::lookup(const std::string& url, std::int64_t now) const {
  auto name = entry_name(url, now);
  if (!name) return std::nullopt;
  return directory_ + "/" + *name;
}

std::optional<std::string> UrlCache::file_of_name(const std::string& name, std::int64_t now) const {
  if (name.empty() || name.find('/') != std::string::npos || name[0] == '.') return std::nullopt;
  const std::size_t dot = name.find('.');
  Record r;
  if (!read_record(record_path(name.substr(0, dot)), r) || r.file != name) return std::nullopt;
  if (r.expires <= now) return std::nullopt;
  return directory_ + "/" + name;
}

}  // namespace vestra::urlcache
