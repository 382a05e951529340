// What the field layer keeps with each field and window beside the host's
// values: the layout's neighbour and font marks, the parsed contents of push
// buttons and pictures, a scrolling area's column separators and position
// indicator. Plain data in the model's records, so that the rules that read
// them stay testable without controls.
#pragma once

#include <cstdint>
#include <vector>

#include "client/screen/contents_items.h"

namespace veslink {

struct FieldExtras {
  // Layout: another edit or prompt touches the left or right edge; lay out
  // again once the current field is done; a smaller font so that an
  // upper-case text fits; the right edge is a column separator of the area.
  bool left_neighbour = false;
  bool right_neighbour = false;
  bool relayout = false;
  bool shrunk_font = false;
  bool ends_at_separator = false;
  int font_percent = 0;  // the shrunk font's size; 0 while not shrunk
  // The minimum width a narrow field got at its first layout (0: none); it
  // holds for later layouts, which find the right-neighbour mark it set.
  int minimum_width = 0;
  bool displayed = false;  // laid out and given its control once

  // Push buttons: caption, images and placement; pictures: their one item.
  ButtonContents button;
  ContentsItem picture;

  // Scrolling areas: window columns of the separator lines, and the
  // position indicator (1 to 100) the host last set.
  std::vector<int> separators;
  int indicator = 50;
};

struct WindowFieldExtras {
  // The scrolling area ESC mrm last named (its field number), if any.
  bool separator_area_named = false;
  std::uint32_t separator_area = 0;
};

}  // namespace veslink
