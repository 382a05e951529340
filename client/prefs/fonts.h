// The two fonts of the client (screen font and terminal font), their defaults
// and the cell metrics derived from them.
#pragma once

#include <QFont>

#include "client/settings/client_settings.h"

namespace veslink {

// The defaults, before the stored values are read: "Arial" 15 and "Courier
// New" 16 x 8; on screens at most 640 pixels wide "Arial" 12 and "Courier
// New" 15 with automatic width.
void set_default_fonts(ClientSettings& settings, int screen_width);

struct CellMetrics {
  int terminal_char_width = 8;
  int terminal_line_height = 16;
  int screen_char_width = 8;
  int screen_max_char_width = 8;
  int screen_line_height = 15;
  int cell_height = 19;  // screen line height + 4
};

// A Qt font for a stored description. The face goes through fontconfig, which
// gives the metric-compatible substitutes for "Arial" and "Courier New".
QFont make_font(const FontSpec& spec);

// Measures both fonts (the character width rule: "M" less one pixel for a
// variable-pitch font, the average width for a fixed-pitch one).
CellMetrics compute_cell_metrics(const FontSpec& screen_font, const FontSpec& terminal_font);

// The metrics in use, process-wide.
CellMetrics& cell_metrics();

}  // namespace veslink
