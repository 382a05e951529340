// Contents items: the three forms in which the host passes a field's
// contents ("f," a local file name, "t," data as text, "e," data in Base64),
// and the contents of a push button (caption, up to five image items, a
// placement number). Plain parsing, shared by pictures, push buttons and
// later the transfer files and the picture store.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace veslink {

enum class ItemKind : unsigned char { None, File, Text, Data };

struct ContentsItem {
  ItemKind kind = ItemKind::None;  // None: no item given
  std::string value;               // the file name, or the data (Base64 already decoded)
  bool empty() const { return kind == ItemKind::None || value.empty(); }
  bool operator==(const ContentsItem&) const = default;
};

// One item. Without one of the prefixes it takes the kind of the previous
// item (a file name when there is none).
ContentsItem parse_contents_item(std::string_view text, ItemKind previous = ItemKind::None);

// The images of a push button, in this order.
enum ButtonImage { kNormalImage, kPressedImage, kFocusedImage, kDisabledImage, kMouseOverImage };

struct ButtonContents {
  std::string caption;
  std::array<ContentsItem, 5> images;
  int placement = 0;  // 0: none given
};

// "caption<TAB>item<TAB>item...<TAB>number": up to five items, then the
// placement number read as a decimal integer (0 when absent or not a number).
ButtonContents parse_button_contents(std::string_view text);

}  // namespace veslink
