// Plain file access for the page maker: a source read from any 64-bit offset,
// a target that records whether every write reached the disk, byte-range
// copies and the marker scan over a file. Kept apart so the cutters read as
// their rules, not as stdio calls.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "viewer/report/marker_scanner.h"

namespace repscope::report {

// The size of the pieces a report is read in: large enough for a fast scan,
// small enough that memory never grows with the report or its line lengths.
constexpr std::size_t kReadPiece = 64 * 1024;

class SourceFile {
 public:
  SourceFile() = default;
  ~SourceFile();
  SourceFile(const SourceFile&) = delete;
  SourceFile& operator=(const SourceFile&) = delete;

  bool open(const std::string& path);
  bool is_open() const { return file_ != nullptr; }
  bool seek(std::int64_t offset);
  // Reads up to `size` bytes at the current position; 0 at the end or on error.
  std::size_t read(char* data, std::size_t size);
  void close();

 private:
  std::FILE* file_ = nullptr;
};

class TargetFile {
 public:
  TargetFile() = default;
  ~TargetFile();
  TargetFile(const TargetFile&) = delete;
  TargetFile& operator=(const TargetFile&) = delete;

  // Deletes the file and creates it anew.
  bool create(const std::string& path);
  void write(std::string_view bytes);
  // Closes the file; false when any write or the close failed.
  bool close();

 private:
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

// Copies the source bytes from `from` up to `to` (exclusive), or to the end
// of the file when `to` is negative. False when the source cannot be read at
// `from`.
bool copy_range(SourceFile& source, std::int64_t from, std::int64_t to, TargetFile& target);

// Feeds the source from `from` to its end through `scanner`, calling
// `sink(const Marker&)` (which returns false to stop). False when stopped or
// when the source cannot be read at `from`; `stopped` tells which.
template <class Sink>
bool scan_file(SourceFile& source, std::int64_t from, MarkerScanner& scanner, Sink&& sink,
               bool* stopped = nullptr) {
  if (stopped) *stopped = false;
  if (!source.seek(from)) return false;
  std::string piece(kReadPiece, '\0');
  for (;;) {
    const std::size_t n = source.read(piece.data(), piece.size());
    if (n == 0) break;
    if (!scanner.feed(piece.data(), n, sink)) {
      if (stopped) *stopped = true;
      return false;
    }
  }
  if (!scanner.finish(sink)) {
    if (stopped) *stopped = true;
    return false;
  }
  return true;
}

bool file_exists(const std::string& path);

}  // namespace repscope::report
