// The field font table: fonts of single fields derived from the screen font
// or the terminal font by size percentage and style bits (underline, bold,
// italic), one entry per combination shared by every field that uses it,
// with a count of its users. Entry 0 is the screen font itself.
#pragma once

#include <QFont>
#include <cstdint>
#include <vector>

namespace veslink {

class FieldFontTable {
 public:
  // The two fonts the entries derive from; changing them drops every other
  // entry (fields ask again when they are next shown).
  void set_base_fonts(const QFont& screen, const QFont& terminal);
  const QFont& screen_font() const { return entries_.empty() ? fallback_ : entries_[0].font; }

  // The entry for a size percentage (0 counts as 100) and the field flags'
  // style bits, created on first use; `previous` is the entry the field
  // used so far (-1: none), whose use it gives up.
  int acquire(int percent, std::uint32_t flags, int previous = -1);
  void release(int entry);
  const QFont& font(int entry) const;
  // A font at a percentage of the screen font (text measurement).
  QFont screen_at(int percent) const;
  int users(int entry) const;
  std::size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    int percent = 100;
    std::uint32_t style = 0;
    QFont font;
    int users = 0;
  };
  void ensure_base();
  QFont derive(int percent, std::uint32_t style) const;

  std::vector<Entry> entries_;
  QFont terminal_;
  QFont fallback_;
};

}  // namespace veslink
