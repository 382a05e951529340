// The EscapeTable as data, and the matcher over it: sorted, no sequence a
// prefix of another, the lead bytes the dialect has, and every entry found
// byte by byte exactly at its last byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "client/protocol/escape_matcher.h"
#include "client/protocol/escape_table.h"

namespace veslink {
namespace {

TEST(EscapeTable, SortedOnceWithoutPrefixes) {
  const EscapeTable& table = escape_table();
  const auto& e = table.entries();
  // The families of the dialect: 45 ESC m commands, 13 more of the GUI
  // family, 71 character-terminal commands (handlers and set-variable
  // entries) and 148 swallowed sequences. Their lists add up to 277, not to
  // the 280 the dialect's summary states.
  EXPECT_EQ(e.size(), 277u);
  for (std::size_t i = 1; i < e.size(); ++i) {
    const auto& a = e[i - 1].sequence;
    const auto& b = e[i].sequence;
    EXPECT_TRUE(std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](char x, char y) { return (unsigned char)x < (unsigned char)y; }))
        << "not sorted or duplicated at " << i;
  }
  for (const EscapeEntry& x : e) {
    EXPECT_GE(x.sequence.size(), 1u);
    EXPECT_LE(x.sequence.size(), 10u);
    const auto lead = static_cast<unsigned char>(x.sequence[0]);
    EXPECT_TRUE(lead < 0x20 || lead >= 0x7F);
    for (const EscapeEntry& y : e) {
      if (&x != &y && y.sequence.size() > x.sequence.size()) {
        EXPECT_FALSE(y.sequence.starts_with(x.sequence));
      }
    }
  }
}

TEST(EscapeTable, KindsAreExclusive) {
  int handlers = 0, variables = 0, ignored = 0;
  for (const EscapeEntry& x : escape_table().entries()) {
    EXPECT_FALSE(x.action && x.target != Variable::None);
    switch (x.kind()) {
      case EntryKind::Handler:
        ++handlers;
        break;
      case EntryKind::SetVariable:
        ++variables;
        break;
      case EntryKind::Ignore:
        ++ignored;
        break;
    }
  }
  EXPECT_EQ(handlers + variables, 129);
  EXPECT_EQ(ignored, 148);
}

TEST(EscapeTable, SixteenLeadBytes) {
  const EscapeTable& table = escape_table();
  std::set<int> leads;
  for (const auto& l : table.leads())
    leads.insert(l.byte);
  EXPECT_EQ(leads, (std::set<int>{0x05, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x12,
                                  0x14, 0x16, 0x1A, 0x1B, 0x1E}));
  // Each group holds exactly the entries with its lead byte.
  for (const auto& l : table.leads()) {
    const EscapeTable::Range r = table.lead_group(l.byte);
    for (int i = r.low; i <= r.high; ++i)
      EXPECT_EQ((unsigned char)table.entries()[i].sequence[0], l.byte);
    if (r.low > 0) {
      EXPECT_NE((unsigned char)table.entries()[r.low - 1].sequence[0], l.byte);
    }
    if (r.high + 1 < (int)table.entries().size()) {
      EXPECT_NE((unsigned char)table.entries()[r.high + 1].sequence[0], l.byte);
    }
  }
  const EscapeTable::Range none = table.lead_group(0x01);
  EXPECT_LT(none.high, none.low);
}

TEST(EscapeTable, ThirtyThirdLeadByteIsRefused) {
  std::vector<std::string> texts;
  for (int b = 0; b < 33; ++b)
    texts.push_back(std::string(1, static_cast<char>(b)));
  std::vector<EscapeEntry> entries;
  for (const std::string& t : texts)
    entries.push_back(EscapeEntry{t});
  EscapeTable table;
  std::string error;
  EXPECT_FALSE(table.build(entries, error));
  EXPECT_EQ(error, "Too many escape sequences");
  entries.pop_back();
  EXPECT_TRUE(table.build(entries, error));
  EXPECT_EQ(table.leads().size(), 32u);
}

// Every sequence, fed byte by byte, goes on until its last byte and then
// names exactly its own entry.
TEST(EscapeMatcher, FindsEveryEntryAtItsLastByte) {
  const EscapeTable& table = escape_table();
  EscapeMatcher m;
  for (const EscapeEntry& e : table.entries()) {
    const auto& s = e.sequence;
    m.start(table, table.lead_group(static_cast<std::uint8_t>(s[0])));
    const EscapeEntry* found = nullptr;
    for (std::size_t i = 0; i < s.size(); ++i) {
      const auto step = m.feed(static_cast<std::uint8_t>(s[i]), found);
      if (i + 1 < s.size()) {
        ASSERT_EQ(step, EscapeMatcher::Step::More) << "entry ended early: " << i;
      } else {
        ASSERT_EQ(step, EscapeMatcher::Step::Complete);
        EXPECT_EQ(found, &e);
      }
    }
  }
}

TEST(EscapeMatcher, DropsAtTheFirstByteThatFitsNoEntry) {
  const EscapeTable& table = escape_table();
  EscapeMatcher m;
  const EscapeEntry* found = nullptr;
  m.start(table, table.lead_group(0x1B));
  EXPECT_EQ(m.feed(0x1B, found), EscapeMatcher::Step::More);
  EXPECT_EQ(m.feed('c', found), EscapeMatcher::Step::More);
  EXPECT_EQ(m.feed('9', found), EscapeMatcher::Step::Dropped);
  // Bytes of 0x80 and more fit nothing after the lead byte.
  m.start(table, table.lead_group(0x1B));
  m.feed(0x1B, found);
  EXPECT_EQ(m.feed(0xE1, found), EscapeMatcher::Step::Dropped);
  // A long sequence that turns away at its last byte.
  m.start(table, table.lead_group(0x1B));
  for (char c : std::string_view("\x1b"
                                 "d~[(OFF]"))
    ASSERT_EQ(m.feed(static_cast<std::uint8_t>(c), found), EscapeMatcher::Step::More);
  EXPECT_EQ(m.feed('}', found), EscapeMatcher::Step::Dropped);
}

}  // namespace
}  // namespace veslink
