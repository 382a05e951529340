// A private temporary directory for one test, removed with everything in it.
#pragma once

#include <string>

namespace vestra::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  // Writes `bytes` to the file `name` below the directory; returns its path.
  std::string write(const std::string& name, const std::string& bytes) const;
  static std::string read(const std::string& path);

 private:
  std::string path_;
};

}  // namespace vestra::test
