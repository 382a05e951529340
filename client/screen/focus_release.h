// Letting go of the keyboard focus before a widget is hidden or deleted:
// its own file because both the host windows and the field controls need it.
#pragma once

class QWidget;

namespace veslink {

// When `w` or a widget inside it holds the focus, the focus is cleared, so
// that hiding `w` does not make Qt pass it on as Tab would (an MDI frame
// whose other children cannot take it hands it back and forth without end).
void release_focus(QWidget& w);

}  // namespace veslink
