// Sequence recognition by binary search.
#include "client/protocol/escape_matcher.h"

namespace veslink {

namespace {
// The byte of an entry at the matched position. Bytes are compared unsigned,
// the same order the table was sorted in, so the search and the sort can
// never disagree about a byte of 0x80 or more.
inline std::uint8_t at(const EscapeEntry& e, int n) {
  return static_cast<std::uint8_t>(e.sequence[n]);
}
}  // namespace

EscapeMatcher::Step EscapeMatcher::feed(std::uint8_t byte, const EscapeEntry*& entry) {
  const std::vector<EscapeEntry>& entries = table_->entries();
  const int n = matched_;
  // Every entry of the range matches the bytes before n, and none ends
  // before n (no sequence is a prefix of another), so position n exists.
  int lo = low_;
  int hi = high_;
  int found = -1;
  while (lo <= hi) {
    const int mid = lo + (hi - lo) / 2;
    const std::uint8_t b = at(entries[mid], n);
    if (b < byte) {
      lo = mid + 1;
    } else {
      if (b == byte) found = mid;
      hi = mid - 1;
    }
  }
  if (found < 0) {
    matched_ = 0;
    return Step::Dropped;
  }
  const EscapeEntry& first = entries[found];
  if (static_cast<int>(first.sequence.size()) > n + 1) {
    // The last entry that still matches at n closes the new range.
    lo = found;
    hi = high_;
    int last = found;
    while (lo <= hi) {
      const int mid = lo + (hi - lo) / 2;
      if (at(entries[mid], n) == byte) {
        last = mid;
        lo = mid + 1;
      } else {
        hi = mid - 1;
      }
    }
    low_ = found;
    high_ = last;
    matched_ = n + 1;
    return Step::More;
  }
  matched_ = 0;
  entry = &first;
  return Step::Complete;
}

}  // namespace veslink
