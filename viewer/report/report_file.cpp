// stdio with 64-bit offsets and checked writes.
#include "viewer/report/report_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace repscope::report {

SourceFile::~SourceFile() {
  close();
}

bool SourceFile::open(const std::string& path) {
  close();
  file_ = std::fopen(path.c_str(), "rb");
  return file_ != nullptr;
}

bool SourceFile::seek(std::int64_t offset) {
  return file_ && fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
}

std::size_t SourceFile::read(char* data, std::size_t size) {
  if (!file_) return 0;
  return std::fread(data, 1, size, file_);
}

void SourceFile::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

TargetFile::~TargetFile() {
  if (file_) std::fclose(file_);
}

bool TargetFile::create(const std::string& path) {
  if (file_) std::fclose(file_);
  ::unlink(path.c_str());
  file_ = std::fopen(path.c_str(), "wb");
  failed_ = file_ == nullptr;
  return file_ != nullptr;
}

void TargetFile::write(std::string_view bytes) {
  if (!file_ || failed_ || bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
}

bool TargetFile::close() {
  if (!file_) return false;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return closed && !failed_;
}

bool copy_range(SourceFile& source, std::int64_t from, std::int64_t to, TargetFile& target) {
  if (!source.seek(from)) return false;
  std::vector<char> piece(kReadPiece);
  std::int64_t left = to < 0 ? -1 : to - from;
  while (left != 0) {
    std::size_t want = piece.size();
    if (left > 0 && static_cast<std::int64_t>(want) > left) want = static_cast<std::size_t>(left);
    const std::size_t n = source.read(piece.data(), want);
    if (n == 0) break;
    target.write(std::string_view(piece.data(), n));
    if (left > 0) left -= static_cast<std::int64_t>(n);
  }
  return true;
}

bool file_exists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

}  // namespace repscope::report
