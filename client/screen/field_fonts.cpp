// The field font table.
#include "client/screen/field_fonts.h"

#include "client/screen/field_flags.h"

namespace veslink {

namespace ff = field_flag;

void FieldFontTable::set_base_fonts(const QFont& screen, const QFont& terminal) {
  entries_.clear();
  entries_.reserve(10);  // grown by ten as the table needs
  entries_.push_back(Entry{100, 0, screen, 0});
  terminal_ = terminal;
}

void FieldFontTable::ensure_base() {
  if (entries_.empty()) set_base_fonts(QFont(), QFont());
}

QFont FieldFontTable::derive(int percent, std::uint32_t style) const {
  QFont font = (style & ff::kTerminalFont) ? terminal_ : entries_[0].font;
  if (percent != 100) {
    if (font.pixelSize() > 0) {
      font.setPixelSize(std::max(1, font.pixelSize() * percent / 100));
    } else {
      font.setPointSizeF(font.pointSizeF() * percent / 100.0);
    }
  }
  if (style & ff::kUnderline) font.setUnderline(true);
  if (style & ff::kBold) font.setBold(true);
  if (style & ff::kItalic) font.setItalic(true);
  return font;
}

int FieldFontTable::acquire(int percent, std::uint32_t flags, int previous) {
  ensure_base();
  if (percent == 0) percent = 100;
  const std::uint32_t style = flags & ff::kFontStyle;
  int found = -1;
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].percent == percent && entries_[i].style == style) found = static_cast<int>(i);
  if (found < 0) {
    if (entries_.size() == entries_.capacity()) entries_.reserve(entries_.size() + 10);
    entries_.push_back(Entry{percent, style, derive(percent, style), 0});
    found = static_cast<int>(entries_.size()) - 1;
  }
  if (found != previous) {
    release(previous);
    ++entries_[static_cast<std::size_t>(found)].users;
  }
  return found;
}

void FieldFontTable::release(int entry) {
  if (entry >= 0 && static_cast<std::size_t>(entry) < entries_.size() &&
      entries_[static_cast<std::size_t>(entry)].users > 0)
    --entries_[static_cast<std::size_t>(entry)].users;
}

const QFont& FieldFontTable::font(int entry) const {
  if (entry < 0 || static_cast<std::size_t>(entry) >= entries_.size()) return screen_font();
  return entries_[static_cast<std::size_t>(entry)].font;
}

QFont FieldFontTable::screen_at(int percent) const {
  if (entries_.empty()) return fallback_;
  // Measured as the entry for that size will draw it.
  return derive(percent == 0 ? 100 : percent, 0);
}

int FieldFontTable::users(int entry) const {
  if (entry < 0 || static_cast<std::size_t>(entry) >= entries_.size()) return 0;
  return entries_[static_cast<std::size_t>(entry)].users;
}

}  // namespace veslink
