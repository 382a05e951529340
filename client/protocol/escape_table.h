// The EscapeTable: every control sequence the host may send, as data (the
// sequence bytes, the kind of entry, its handler or the variable it sets),
// sorted once at start-up, with the LeadIndex that finds the group of
// entries sharing a first byte. The matcher searches it; nothing else
// decides what a sequence means.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veslink {

class Interpreter;

// Called with the last byte of its sequence while no byte hook is set.
using EscapeHandler = void (*)(Interpreter&, std::uint8_t last);

// The interpreter variables that set-variable entries write.
enum class Variable : std::uint8_t {
  None,
  MonitorMode,        // ESC U, ESC u, ESC X
  InsertMode,         // ESC q, ESC r
  CursorVisible,      // ESC GRAVE 0, ESC GRAVE 1
  PageClearsOnWidth,  // ESC e., ESC e/ (kept per page)
  PrintMode,          // ESC d#, ESC d~[(ON]), ESC d~[(OFF]), ^T
};

enum class EntryKind : std::uint8_t { Handler, SetVariable, Ignore };

struct EscapeEntry {
  std::string_view sequence;  // 1 to 10 bytes, the first a control byte
  EscapeHandler action = nullptr;
  Variable target = Variable::None;
  std::uint16_t value = 0;

  EntryKind kind() const {
    if (action) return EntryKind::Handler;
    return target != Variable::None ? EntryKind::SetVariable : EntryKind::Ignore;
  }
};

// The entries as written down, in no particular order.
std::span<const EscapeEntry> escape_entries();

class EscapeTable {
 public:
  static constexpr std::size_t kMaxLeads = 32;

  struct Lead {
    std::uint8_t byte = 0;
    std::uint16_t first = 0;  // index of the group's first entry
  };
  struct Range {
    int low = 0;
    int high = -1;  // inclusive; high < low when the byte starts nothing
  };

  // Sorts the entries (bytes compared unsigned) and builds the LeadIndex in
  // one pass; false with `error` set when a 33rd lead byte would be needed.
  bool build(std::span<const EscapeEntry> entries, std::string& error);

  const std::vector<EscapeEntry>& entries() const { return entries_; }
  std::span<const Lead> leads() const { return {leads_, lead_count_}; }
  // The group of entries starting with `byte`: a scan of the lead bytes.
  Range lead_group(std::uint8_t byte) const {
    for (std::size_t i = 0; i < lead_count_; ++i) {
      if (leads_[i].byte != byte) continue;
      const int high =
          i + 1 < lead_count_ ? leads_[i + 1].first - 1 : static_cast<int>(entries_.size()) - 1;
      return {leads_[i].first, high};
    }
    return {};
  }

 private:
  std::vector<EscapeEntry> entries_;
  Lead leads_[kMaxLeads];
  std::size_t lead_count_ = 0;
};

// The table of the process, sorted on first use (start-up calls it first).
const EscapeTable& escape_table();
// Why the table could not be built; empty when it was.
const std::string& escape_table_error();

}  // namespace veslink
