// FieldUi: what the field layer asks of the native controls of fields. The
// layer decides (layout, contents, which input runs, what is sent); the
// controls show and take the user's typing. Every member has a harmless
// default so the core tests override only what they watch; the Qt controls
// implement all of it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "client/screen/field_layout.h"
#include "client/screen/screen_types.h"

namespace veslink {

// How an edit starts a field input.
struct EditInputStart {
  bool select_all = false;  // one row, not empty, input flags without 0x10
  std::uint32_t limit = 0;  // the most characters the edit takes
};

class FieldUi {
 public:
  virtual ~FieldUi() = default;

  // The cell metrics and the sizes only the controls know.
  virtual LayoutMetrics metrics() const { return {}; }
  virtual LayoutSizes sizes() { return {}; }
  virtual TextMeasure measure() { return {}; }

  // Creates the field's control on its first display, else brings it up to
  // date (text, flags, colours, font, rectangle, help text). Fields without
  // a control of their own (group frames, painted prompts, background
  // pictures) repaint their window.
  virtual void show_field(ScreenField&) {}
  // The field goes: its control with it.
  virtual void remove_field(ScreenField&) {}
  // A scrolling area's bands, separators or indicator changed.
  virtual void area_changed(ScreenField&) {}
  virtual bool has_control(const ScreenField&) const { return true; }

  // Edits: the text the control shows now, and replacing it.
  virtual std::string edit_text(const ScreenField& f) { return f.contents; }
  virtual void set_edit_text(ScreenField&, std::string_view) {}
  // A field input on the edit begins: the focus, the selection, the limit,
  // the lookup or date button.
  virtual void begin_edit_input(ScreenField&, const EditInputStart&) {}
  // A typed-ahead character (or Backspace, 8) typed into the edit being input.
  virtual void type_into_edit(ScreenField&, std::int16_t) {}
  // The input ended: the button goes, the selection is removed, the caret
  // scrolled into view.
  virtual void end_edit_input(ScreenField&) {}

  // The focus: into a field's control, or onto the window itself.
  virtual void focus_field(ScreenField&) {}
  virtual void focus_window(ScreenWindow&) {}
};

}  // namespace veslink
