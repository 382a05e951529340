// The colours the terminal window paints with, one text and background pair
// per cell class, as Windows colour references (0x00BBGGRR). Until the
// colour-scheme settings exist this holds the default scheme; that work
// replaces the one table behind current_terminal_colours() and repaints.
#pragma once

#include <cstdint>

#include "client/terminal/cell_style.h"

namespace veslink {

using ColourRef = std::uint32_t;  // red in the low byte

struct ColourPair {
  ColourRef text;
  ColourRef background;
};

struct TerminalColours {
  ColourPair normal;
  ColourRef dim_text;  // prompts and dimmed text, on the normal background
  ColourPair input_area;
  ColourPair normal_data;
  ColourPair static_data;  // its text; fields use the normal data background
  ColourPair button;
  ColourPair default_button;
  ColourPair reverse;
  ColourPair flashing;
};

// The "*Default Scheme" colours.
TerminalColours default_terminal_colours();

// The colours in use, process-wide.
TerminalColours& current_terminal_colours();

// The pair a cell class is painted in. Line-drawing cells take the normal
// text colour as their line colour: the scheme has no class of its own for
// lines, and lines must stand out from the normal background.
ColourPair class_colours(const TerminalColours& colours, CellClass c);

}  // namespace veslink
