// The field layer's notices from the model, its layout and display of
// fields, and what the controls report: focus, presses, clicks, pastes.
#include "client/screen/field_layer.h"

#include <algorithm>
#include <cstdlib>

#include "client/protocol/interpreter.h"
#include "client/screen/field_flags.h"
#include "client/screen/key_queue.h"
#include "client/screen/screen_model.h"

namespace veslink {

namespace ff = field_flag;
namespace ft = field_type;

FieldLayer::FieldLayer(ScreenModel& model) : model_(model) {}

Interpreter& FieldLayer::in() {
  return model_.interpreter();
}

bool FieldLayer::editing() const {
  return input_field_ && input_field_->type == ft::kEdit;
}

void FieldLayer::lay_out(ScreenWindow& w, ScreenField& f) {
  for (ScreenField* done : lay_out_field(w, f, ui_->metrics(), ui_->sizes()))
    if (done != &f && done->extra.displayed) ui_->show_field(*done);
}

bool FieldLayer::shows_window(const ScreenWindow& w, const ScreenField& f) const {
  const bool second_icon = w.flags & window_flag::kSecondIcon;
  switch (f.type) {
    case ft::kEdit:
    case ft::kPushButton:
    case ft::kPicture:
    case ft::kScrollingArea:
      return !second_icon;
    case ft::kPrompt:
      return (w.flags & window_flag::kOldStyle) && !second_icon;
    case ft::kRadioButton:
    case ft::kCheckBox:
      return true;
    default:
      return false;
  }
}

void FieldLayer::show(ScreenField& f) {
  ScreenWindow& w = *f.window;
  if (!w.has_native()) return;  // the controls come with the native window
  if (f.type == ft::kDataGrid || f.type == ft::kGridColumn) {
    if (grid.field_shown) grid.field_shown(f);
    return;
  }
  if (f.flags & ff::kRow) {
    // A row lives inside its area, which must have its rectangle first.
    if (ScreenField* area = area_of_row_field(w, f); area && !area->extra.displayed) show(*area);
  }
  lay_out(w, f);
  if (f.type == ft::kEdit || f.type == ft::kPrompt)
    fit_text(f, normalise_field_text(f, f.contents), ui_->measure());
  f.extra.displayed = true;
  ui_->show_field(f);
  model_.ui().field_changed(f);
  if (w.hidden() && !w.visible && shows_window(w, f)) model_.reveal(w);
}

void FieldLayer::field_changed(ScreenField& f) {
  show(f);
}

void FieldLayer::field_removed(ScreenField& f) {
  if (input_field_ == &f) {
    // The wait sees it went; its event loop must wake to see it.
    input_field_ = nullptr;
    if (running_) model_.keys.abandon();
  }
  if (f.type == ft::kDataGrid || f.type == ft::kGridColumn) {
    if (grid.field_removed) grid.field_removed(f);
  }
  ui_->remove_field(f);
}

void FieldLayer::window_destroyed(ScreenWindow& w) {
  const bool waiting_here = wait_window_ == &w || (input_field_ && input_field_->window == &w);
  if (wait_window_ == &w) wait_window_ = nullptr;
  if (input_field_ && input_field_->window == &w) input_field_ = nullptr;
  // A wait on the window that went (the host deleted it, or the session
  // closed) ends now, sending nothing, instead of waiting for a key that
  // can no longer come.
  if (waiting_here && running_) model_.keys.abandon();
}

ScreenField* FieldLayer::named_or_focused(ScreenWindow* w, std::uint32_t number) {
  if (!w) return nullptr;
  return number != 0 ? ScreenModel::find_field(*w, 0, number) : w->focus;
}

void FieldLayer::window_ready(ScreenWindow& w) {
  // Areas first: their rows are placed inside them.
  for (auto& f : w.fields)
    if (f->type == ft::kScrollingArea) show(*f);
  for (auto& f : w.fields)
    if (f->type != ft::kScrollingArea) show(*f);
}

std::string FieldLayer::value_of(const ScreenField& f) {
  switch (f.type) {
    case ft::kEdit:
      return ui_->edit_text(f);
    case ft::kRadioButton:
    case ft::kCheckBox:
      return (f.flags & ff::kPressed) ? "1" : "0";
    case ft::kPushButton:
      return f.extra.button.caption;
    default:
      return f.contents;
  }
}

void FieldLayer::set_click_target(const ScreenField& f) {
  EventValues& v = in().events;
  const ScreenWindow& w = *f.window;
  v.target = f.number;
  v.click_column = w.column.byte + f.column.byte;
  v.click_row = w.row.byte + f.row.byte;
}

FocusVerdict FieldLayer::focus_arrived(ScreenField& n) {
  ScreenWindow& w = *n.window;
  ScreenWindow* current = model_.current_window();
  KeyQueue& keys = model_.keys;
  FocusVerdict verdict;
  if (current && &w != current) {
    // Only the current window's fields take the focus.
    verdict.keep = false;
    verdict.back_to = current->focus;
    verdict.back_window = current;
    return verdict;
  }
  ScreenField* r = w.focus;
  if (r == &n) return verdict;
  const int mode = keys.mode();
  const bool waiting = keys.waiting();
  const bool control_input = mode & wait_mode::kControlInput;
  auto row = [](const ScreenField* f) { return f && (f->flags & ff::kRow); };
  auto on_current_row = [](const ScreenField* f) { return f && (f->flags & ff::kCurrentRow); };
  const std::int16_t refused_code = (w.flags & window_flag::kFocusNotices) ? -32 : -26;
  auto give_back = [&] {
    verdict.keep = false;
    verdict.back_to = r;
    verdict.back_window = &w;
  };

  const bool normal = !r || (!row(r) && !row(&n)) || (row(r) && on_current_row(&n));
  if (normal) {
    if (!waiting || control_input) {
      w.focus = &n;
      if (input_field_ && input_field_ != &n) {
        // The running input loses its control's focus: it ends with the click.
        set_click_target(n);
        keys.push(n.type == ft::kPushButton ? -26 : -20);
      }
      return verdict;
    }
    give_back();
    set_click_target(n);
    keys.push(refused_code);
    return verdict;
  }
  give_back();
  set_click_target(n);
  if (row(&n) && !on_current_row(&n)) {
    if (!row(r) && input_field_) keys.push(-26);
    return verdict;
  }
  if (waiting && control_input) {
    model_.bell();
  } else {
    keys.push(refused_code);
  }
  return verdict;
}

void FieldLayer::push_button_pressed(ScreenField& b) {
  KeyQueue& keys = model_.keys;
  const int mode = keys.mode();
  if (keys.waiting() && b.window != model_.current_window()) {
    model_.bell();
    return;
  }
  if ((b.flags & ff::kReadOnly) || (b.flags & ff::kHidden)) return;
  if (editing() || (mode & wait_mode::kButtons)) {
    set_click_target(b);
    keys.push(-26);
  } else if (mode & wait_mode::kWindowClicks) {
    set_click_target(b);
    keys.push(-20);
  } else {
    model_.bell();
  }
}

void FieldLayer::choice_button_clicked(ScreenField& b) {
  // Only the button input on this very button takes its click; elsewhere
  // the focus rules have said what a click on it means.
  if (input_field_ != &b || !running_ || running_->kind != InputRequest::Kind::ButtonChoice) return;
  set_click_target(b);
  model_.keys.push(-26);
}

void FieldLayer::area_clicked(ScreenField& area, int column, int row, bool double_click) {
  if (!(model_.keys.mode() & wait_mode::kWindowClicks)) return;
  EventValues& v = in().events;
  v.target = area.number;
  v.click_column = column;
  v.click_row = row;
  model_.keys.push(double_click ? -40 : -39);
}

void FieldLayer::area_scrolled(ScreenField& area, int selector) {
  ScreenWindow& w = *area.window;
  KeyQueue& keys = model_.keys;
  if (!keys.waiting() || model_.current_window() != &w || !keys.empty()) return;
  if (w.flags & window_flag::kHostScrolling) {
    EventValues& v = in().events;
    v.target = area.number;
    v.selector = selector;
    keys.push(-29);
    return;
  }
  static constexpr std::int16_t kCodes[5] = {0, -7, -8, -2, -4};
  if (selector >= 1 && selector <= 4) keys.push(kCodes[selector]);
}

void FieldLayer::area_wheel(ScreenField& area, int notches) {
  KeyQueue& keys = model_.keys;
  // A field input keeps the wheel out of its way.
  if (keys.mode() & wait_mode::kFieldRunning) return;
  const bool host = area.window->flags & window_flag::kHostScrolling;
  for (int i = 0; i < std::min(std::abs(notches), 4); ++i) {
    const bool up = notches > 0;
    if (host) {
      EventValues& v = in().events;
      v.target = area.number;
      v.selector = up ? 1 : 2;
      keys.push(-29);
    } else {
      keys.push(up ? -7 : -8);
    }
  }
}

void FieldLayer::background_dragged(ScreenWindow& w) {
  ScreenField* b = w.focus;
  if (!b || b->type != ft::kPushButton) return;
  if ((b->flags & (ff::kFocused | ff::kPressed)) != (ff::kFocused | ff::kPressed)) return;
  b->flags &= ~ff::kPressed;
  if (b->extra.displayed) show(*b);
}

void FieldLayer::paste(std::string_view text) {
  if (!editing()) return;
  pending_paste_ = std::string(text);
  replay_paste(*input_field_);
}

void FieldLayer::replay_paste(ScreenField& f) {
  const bool one_row = single_row(f);
  while (!pending_paste_.empty()) {
    const char c = pending_paste_.front();
    pending_paste_.erase(0, 1);
    if (c == '\r') continue;
    if (one_row && (c == '\t' || c == '\n')) {
      // The rest waits for the next field input, as tab-separated text
      // fills successive fields.
      model_.keys.push(13);
      return;
    }
    if (!one_row && c == '\n') continue;
    ui_->type_into_edit(f, static_cast<std::uint8_t>(c));
  }
}

}  // namespace veslink
