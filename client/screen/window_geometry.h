// A host window's pixel geometry from its cells: the rounding rule, the
// scroll bar and frame allowances, a saved larger size, and where its frame
// goes in the work area for each placement code. Plain arithmetic, so every
// figure can be checked without a display.
#pragma once

#include <optional>

#include "client/screen/screen_types.h"

namespace veslink {

// The platform's measures that the frame adds.
struct FrameMetrics {
  int scroll_bar_width = 0;
  int frame_width = 0;  // the sizing frame, each side
  int frame_height = 0;
  int caption_height = 0;
};

// The cells the window is measured in.
struct CellPixels {
  int cell_width = 8;           // the screen character width
  int terminal_char_width = 8;  // for windows with flag 0x200
  int cell_height = 19;
};

struct SavedSize {
  int width = 0;
  int height = 0;
};

// cells x pixels per cell, rounded down and then up by one when the
// fraction is at least 0.49999998.
int cells_to_pixels(double cells, int pixels_per_cell);

struct WindowGeometry {
  PixelRect cells;      // position (column, row) and size of the window's cells
  int frame_width = 0;  // the frame's outer size, allowances and saved size included
  int frame_height = 0;
  int computed_width = 0;  // the same before a saved size enlarged it
  int computed_height = 0;
};

// `framed`: the window gets a frame of its own (not flag 0x2); without one
// only the scroll bar is added.
WindowGeometry compute_window_geometry(const ScreenWindow& window, const CellPixels& cells,
                                       const FrameMetrics& frame, std::optional<SavedSize> saved,
                                       bool framed = true);

// The work area the frames are placed in.
struct WorkArea {
  int width = 0;
  int height = 0;
  int tree_width = 0;       // the menu tree pane at its left, 0 without one
  int base_work_width = 0;  // what the tree must leave free (plus two frame widths)
  int frame_width = 0;
};

// The frame's top-left corner for placement code 0 to 9 (1 to 9 like the
// keys of a numeric keypad; 0 centred in the area right of and below the
// window's own position). Never negative.
struct FramePosition {
  int left = 0;
  int top = 0;
};
FramePosition place_frame(int placement, int frame_width, int frame_height, const PixelRect& cells,
                          const WorkArea& area);

}  // namespace veslink
