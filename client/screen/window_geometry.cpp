// Pixel geometry and placement of host windows.
#include "client/screen/window_geometry.h"

#include <algorithm>
#include <cmath>

namespace veslink {

int cells_to_pixels(double cells, int pixels_per_cell) {
  const double product = cells * pixels_per_cell;
  const double whole = std::floor(product);
  int pixels = static_cast<int>(whole);
  if (product - whole >= 0.49999998) ++pixels;
  return pixels;
}

WindowGeometry compute_window_geometry(const ScreenWindow& w, const CellPixels& c,
                                       const FrameMetrics& f, std::optional<SavedSize> saved,
                                       bool framed) {
  const int cell_width =
      (w.flags & window_flag::kTerminalWidth) ? c.terminal_char_width : c.cell_width;
  WindowGeometry g;
  g.cells.width = cells_to_pixels(w.width.real, cell_width);
  g.cells.height = cells_to_pixels(w.height.real, c.cell_height);
  g.cells.left = cells_to_pixels(w.column.real, cell_width);
  g.cells.top = cells_to_pixels(w.row.real, c.cell_height);

  int width = g.cells.width;
  int height = g.cells.height;
  if (w.flags & window_flag::kScrollBar) width += f.scroll_bar_width;
  if (framed) {
    width += 4 * f.frame_width;
    height += 4 * f.frame_height + f.caption_height;
  }
  g.computed_width = width;
  g.computed_height = height;
  if (saved) {
    width = std::max(width, saved->width);
    height = std::max(height, saved->height);
  }
  g.frame_width = width;
  g.frame_height = height;
  return g;
}

FramePosition place_frame(int placement, int w, int h, const PixelRect& cells,
                          const WorkArea& area) {
  const int right = area.width - 1;    // R
  const int bottom = area.height - 1;  // B
  FramePosition p;
  switch (placement) {
    case 1:
      break;
    case 2:
      p.left = (right - w) / 2;
      break;
    case 3:
      p.left = right - w;
      break;
    case 4:
      p.top = (bottom - h) / 2;
      break;
    case 5:
      p.left = (right - w) / 2;
      p.top = (bottom - h) / 2;
      break;
    case 6:
      p.left = right - w;
      p.top = (bottom - h) / 2;
      break;
    case 7:
      p.top = bottom - h;
      break;
    case 8:
      p.left = (right - w) / 2;
      p.top = bottom - h;
      break;
    case 9:
      p.left = right - w;
      p.top = bottom - h;
      break;
    default: {
      // Centred in what lies right of and below the window's own cells, and
      // right of the menu tree, which always leaves the base work width free.
      int tree = area.tree_width;
      if (tree > 0)
        tree =
            std::max(0, std::min(tree, area.width - area.base_work_width - 2 * area.frame_width));
      const int x0 = cells.left;
      const int y0 = cells.top;
      p.left = x0 + tree + (right - tree - x0 - w) / 2;
      p.top = y0 + (bottom - y0 - h) / 2;
      if (p.left + w > right) p.left = right - w - 2;
      if (p.top + h > bottom) p.top = bottom - h - 1;
      break;
    }
  }
  p.left = std::max(0, p.left);
  p.top = std::max(0, p.top);
  return p;
}

}  // namespace veslink
