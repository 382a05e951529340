// Finds the markers the page maker cuts at, in a report's raw text fed in
// pieces of any size: "<page/>" and "<soft_page/>" (letters in any case),
// "</report>", and the start and end of <report_info>. A marker split across
// two pieces is still found, and breaks inside <report_info> are no pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace repscope::report {

enum class MarkerType { PageBreak, SoftPageBreak, ReportEnd, InfoStart, InfoEnd };

struct Marker {
  MarkerType type;
  std::int64_t start;  // file offset of the '<'
  std::int64_t end;    // file offset just after the marker
};

class MarkerScanner {
 public:
  // `offset` is the file offset of the first byte that will be fed.
  explicit MarkerScanner(std::int64_t offset = 0) : base_(offset) {}

  // Feeds the next bytes. `sink(const Marker&)` is called for each marker in
  // file order and returns false to stop; then feed returns false.
  template <class Sink>
  bool feed(const char* data, std::size_t size, Sink&& sink) {
    work_.append(data, size);
    return scan(false, sink);
  }

  // Reports what the last bytes held; call at the end of the file.
  template <class Sink>
  bool finish(Sink&& sink) {
    return scan(true, sink);
  }

  bool inside_info() const { return inside_info_; }

  // The longest marker; a '<' closer than this to the end of the data fed so
  // far waits for the next piece.
  static constexpr std::size_t kLongest = 14;

 private:
  // What the text at `p` is: one of the markers, or nothing.
  bool match(std::size_t p, MarkerType& type, std::size_t& length) const;

  template <class Sink>
  bool scan(bool final, Sink& sink) {
    std::size_t p = 0;
    const std::size_t n = work_.size();
    bool go_on = true;
    while (go_on) {
      const void* hit = p < n ? std::memchr(work_.data() + p, '<', n - p) : nullptr;
      if (!hit) {
        p = n;
        break;
      }
      p = static_cast<std::size_t>(static_cast<const char*>(hit) - work_.data());
      if (!final && n - p < kLongest) break;  // wait for the rest of this tag
      MarkerType type;
      std::size_t length = 0;
      if (!match(p, type, length)) {
        ++p;
        continue;
      }
      const Marker m{type, base_ + static_cast<std::int64_t>(p),
                     base_ + static_cast<std::int64_t>(p + length)};
      p += length;
      if (type == MarkerType::InfoStart) {
        inside_info_ = true;
      } else if (type == MarkerType::InfoEnd) {
        inside_info_ = false;
      } else if (inside_info_ &&
                 (type == MarkerType::PageBreak || type == MarkerType::SoftPageBreak)) {
        continue;  // a break inside the header block is not a page
      }
      go_on = sink(m);
    }
    // Keep what was not looked at yet; drop the rest.
    base_ += static_cast<std::int64_t>(p);
    work_.erase(0, p);
    return go_on;
  }

  std::string work_;
  std::int64_t base_;
  bool inside_info_ = false;
};

}  // namespace repscope::report
