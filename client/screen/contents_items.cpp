// Parsing of contents items and push-button contents.
#include "client/screen/contents_items.h"

#include <cstdlib>
#include <vector>

#include "client/protocol/base64.h"

namespace veslink {

ContentsItem parse_contents_item(std::string_view text, ItemKind previous) {
  ContentsItem item;
  item.kind = previous == ItemKind::None ? ItemKind::File : previous;
  if (text.size() >= 2 && text[1] == ',') {
    switch (text[0]) {
      case 'f':
        item.kind = ItemKind::File;
        text.remove_prefix(2);
        break;
      case 't':
        item.kind = ItemKind::Text;
        text.remove_prefix(2);
        break;
      case 'e':
        item.kind = ItemKind::Data;
        text.remove_prefix(2);
        break;
      default:
        break;
    }
  }
  item.value = std::string(text);
  if (item.kind == ItemKind::Data)
    item.value.resize(base64_decode_in_place(item.value.data(), item.value.size()));
  return item;
}

namespace {
std::vector<std::string_view> split_tabs(std::string_view text) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t tab = text.find('\t');
    parts.push_back(text.substr(0, tab));
    if (tab == std::string_view::npos) break;
    text.remove_prefix(tab + 1);
  }
  return parts;
}

int decimal(std::string_view text) {
  // As atoi: optional blanks and sign, then digits up to the first other byte.
  std::string copy(text.substr(0, 16));
  return static_cast<int>(std::strtol(copy.c_str(), nullptr, 10));
}
}  // namespace

ButtonContents parse_button_contents(std::string_view text) {
  ButtonContents c;
  const std::vector<std::string_view> parts = split_tabs(text);
  c.caption = std::string(parts[0]);
  ItemKind previous = ItemKind::None;
  for (std::size_t i = 1; i < parts.size() && i <= 5; ++i) {
    if (parts[i].empty()) continue;  // no image in this place
    c.images[i - 1] = parse_contents_item(parts[i], previous);
    previous = c.images[i - 1].kind;
  }
  if (parts.size() > 6) c.placement = decimal(parts[6]);
  return c;
}

}  // namespace veslink
