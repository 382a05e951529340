// Host list updates: the used host moves to the front; the list never grows
// past its limit and never keeps part of an entry.
#include "client/settings/host_list.h"

#include <vector>

#include "client/settings/client_settings.h"
#include "client/settings/text_rules.h"

namespace veslink {

namespace {

struct Entry {
  std::size_t begin;
  std::size_t end;  // one past the last byte, before the comma
};

std::vector<Entry> entries_of(std::string_view list) {
  std::vector<Entry> entries;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) comma = list.size();
    entries.push_back({start, comma});
    start = comma + 1;
  }
  return entries;
}

std::string compare_form(std::string_view entry) {
  return to_lower(entry.substr(0, entry.find(';')));
}

}  // namespace

std::optional<std::string> updated_host_list(std::string_view list, std::string_view host) {
  const std::string new_host = to_lower(host);
  std::string old(list);

  bool first = true;
  std::vector<Entry> entries = entries_of(old);
  std::vector<Entry> matches;
  for (const Entry& e : entries) {
    if (e.begin == e.end) continue;  // empty entries do not count
    if (compare_form(std::string_view(old).substr(e.begin, e.end - e.begin)) == new_host) {
      if (first) return std::nullopt;
      matches.push_back(e);
    }
    first = false;
  }
  // Back to front, so that removing an entry keeps the earlier offsets.
  for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
    if (it->end < old.size()) {
      old.erase(it->begin, it->end - it->begin + 1);  // the entry and its comma
    } else if (it->begin > 0) {
      old.erase(it->begin - 1, it->end - it->begin + 1);  // the last entry and the comma before
    } else {
      old.erase(it->begin, it->end - it->begin);
    }
  }

  std::string updated = cut(new_host, kHostListMax);
  if (updated.size() < kHostListMax) updated += ',';
  const std::size_t room = kHostListMax - updated.size();
  const bool fits = old.size() <= room;
  updated += old.substr(0, room);
  if (!fits) {
    const std::size_t last_comma = updated.rfind(',');
    updated = last_comma == std::string::npos ? std::string() : updated.substr(0, last_comma + 1);
  }
  return updated;
}

std::vector<std::string> host_list_entries(std::string_view list, std::size_t max_length) {
  std::vector<std::string> out;
  for (const Entry& e : entries_of(list)) {
    std::string_view entry = list.substr(e.begin, e.end - e.begin);
    entry = entry.substr(0, entry.find(';'));
    if (!entry.empty()) out.push_back(cut(entry, max_length));
  }
  return out;
}

}  // namespace veslink
