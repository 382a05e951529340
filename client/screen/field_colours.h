// Which colours a field is painted in: edits and prompts by the first
// matching row of their colour table, group frames, push buttons by state,
// the bands of a scrolling area. The classes come from the colour scheme in
// use (the default scheme until the colour-scheme settings replace it); a
// field's own C and B win where the table says so.
#pragma once

#include "client/screen/cell_colour.h"
#include "client/screen/screen_types.h"
#include "client/terminal/terminal_colours.h"

namespace veslink {

// The scheme's classes as fields read them: the terminal's table plus the
// current-row and alternate-row classes, and the button-theme switch.
struct FieldScheme {
  TerminalColours classes;
  ColourPair current_row;
  ColourPair alternate_row;
  bool button_theme = true;
};

// The scheme in use, read afresh at each call so a changed scheme shows at
// the next paint.
FieldScheme field_scheme();

// An edit or a prompt (`focused`: it is its window's focused field).
ColourPair edit_or_prompt_colours(const ScreenField& f, const ScreenWindow& w, bool focused,
                                  const FieldScheme& s);
// A group frame's caption and its lines (text: the line colour when C is given).
ColourPair group_frame_colours(const ScreenField& f, const ScreenWindow& w, const FieldScheme& s);

// Push buttons: the states of their drawing, also the visual style's numbers.
enum class ButtonState { Normal = 1, MouseOver = 2, Pressed = 3, Disabled = 4, Focused = 5 };
ColourPair push_button_colours(const ScreenField& f, const ScreenWindow& w, ButtonState state,
                               bool styled, const FieldScheme& s);

// The background of one character row of a scrolling area.
ColourRef area_row_background(const ScreenField& area, int window_row, const FieldScheme& s);

// A field marked for copying swaps its colours; text and background that
// come out equal draw the text in the inverted colour.
ColourPair swapped(ColourPair c);
ColourPair readable(ColourPair c);

}  // namespace veslink
