// The matcher: follows one sequence through the sorted EscapeTable, one
// binary search per byte within the candidate range that the bytes so far
// have left. It keeps its state between bytes, so a sequence may arrive
// split across any number of blocks.
#pragma once

#include <cstdint>

#include "client/protocol/escape_table.h"

namespace veslink {

class EscapeMatcher {
 public:
  enum class Step { More, Dropped, Complete };

  // The lead byte's group becomes the candidate range; the lead byte itself
  // is then fed like every other byte.
  void start(const EscapeTable& table, EscapeTable::Range group) {
    table_ = &table;
    low_ = group.low;
    high_ = group.high;
    matched_ = 0;
  }

  // One byte at the matched position. Complete: `entry` is the sequence
  // ended by this byte. Dropped: no entry continues with it.
  Step feed(std::uint8_t byte, const EscapeEntry*& entry);

  int matched() const { return matched_; }

 private:
  const EscapeTable* table_ = nullptr;
  int low_ = 0;
  int high_ = -1;
  int matched_ = 0;
};

}  // namespace veslink
