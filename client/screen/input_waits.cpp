// ESC mif, mid, mib, mir and mic: the requests they post, and the waits
// that run them (field input, window action, button choice, characters).
#include <new>

#include "client/protocol/event_reply.h"
#include "client/protocol/interpreter.h"
#include "client/screen/field_flags.h"
#include "client/screen/field_layer.h"
#include "client/screen/screen_model.h"
#include "client/settings/client_texts.h"
#include "platform/messages/message_box.h"

namespace veslink {

namespace ff = field_flag;
namespace ft = field_type;
using Kind = InputRequest::Kind;

namespace {
// Larger inputs than this are refused before a buffer is made for them.
constexpr std::uint32_t kLargestInput = 65500;

bool is_typed_character(std::int16_t code) {
  return code >= 0x20 || code == 8;
}

// The most an input takes: the request's M, else the field's own limit
// (a grid column's M names its grid instead), else its width in cells.
std::uint32_t input_limit(const ScreenField& f, std::uint32_t requested) {
  if (requested != 0) return requested;
  if (f.type != ft::kGridColumn && f.limit != 0) return f.limit;
  return f.width.byte;
}

// Old hosts' flag bit 0 asks for what newer ones write as 0x23.
std::uint32_t input_flags(std::uint32_t flags, int level) {
  return (level < 2 && (flags & 0x1)) ? 0x23 : flags;
}

// Refuses an input larger than the client takes, as the user is told.
bool too_large(std::uint32_t limit) {
  if (limit <= kLargestInput) return false;
  vestra::messages::show_notice(kClientCaption, "Input buffer too large!",
                                vestra::messages::Icon::Warning);
  return true;
}
}  // namespace

// Requests ------------------------------------------------------------------

void FieldLayer::queue(const InputRequest& r) {
  requests_.push_back(r);
  if (post_request) {
    post_request(static_cast<int>(r.kind));
  } else {
    run_requests();
  }
}

void FieldLayer::run_requests() {
  // One wait at a time: a request posted while a wait runs is taken up by
  // the loop below once that wait has returned.
  if (running_) return;
  while (!requests_.empty()) {
    const InputRequest r = requests_.front();
    requests_.pop_front();
    running_ = &r;
    try {
      run(r);
    } catch (const std::bad_alloc&) {
      // The wait cannot go on: the user is told once, and the host gets
      // the cancel byte so that it does not wait for an answer.
      model_.keys.end_wait();
      input_field_ = nullptr;
      wait_window_ = nullptr;
      in().report_out_of_memory();
      in().replies.cancel();
    }
    running_ = nullptr;
  }
}

void FieldLayer::cancel_requests() {
  requests_.clear();
  model_.keys.abandon();
}

void FieldLayer::run(const InputRequest& r) {
  switch (r.kind) {
    case Kind::FieldInput:
      run_field_input(r);
      return;
    case Kind::WindowAction:
      run_window_action(r);
      return;
    case Kind::Character:
      run_character_input(r);
      return;
    case Kind::GridCell: {
      // As a field input, on the column's editor in the grid's row.
      ScreenWindow* w = model_.find_window(r.window);
      ScreenField* column = w ? ScreenModel::find_field(*w, ft::kGridColumn, r.field) : nullptr;
      const std::uint32_t limit = column ? input_limit(*column, r.limit) : 0;
      if (!column || too_large(limit) || !grid.cell_input ||
          !grid.cell_input(*column, r.row, input_flags(r.flags, in().programs.level()), limit))
        in().replies.cancel();
      return;
    }
    case Kind::ButtonChoice: {
      ScreenWindow* w = model_.find_window(r.window);
      ScreenField* f = w ? ScreenModel::find_field(*w, 0, r.field) : nullptr;
      if (!f) {
        in().replies.no_result();
      } else if (f->type != ft::kRadioButton && f->type != ft::kCheckBox) {
        in().replies.cancel();
      } else {
        run_button_choice(*w, *f);
      }
      return;
    }
  }
}

// Commands ------------------------------------------------------------------

void FieldLayer::field_input(const GuiCall& call) {
  const CommandParams& p = call.params;
  ScreenWindow* w = model_.window_or_current(p.P);
  ScreenField* f = named_or_focused(w, p.I);
  if (!f) {
    call.replies.cancel();
    return;
  }
  queue({Kind::FieldInput, w->number, f->number, p.F, p.M, 0});
}

void FieldLayer::grid_cell_input(const GuiCall& call) {
  const CommandParams& p = call.params;
  ScreenWindow* w = model_.window_or_current(p.P);
  ScreenField* column = w ? ScreenModel::find_field(*w, ft::kGridColumn, p.I) : nullptr;
  if (!column) {
    call.replies.cancel();
    return;
  }
  queue({Kind::GridCell, w->number, column->number, p.F, p.M, static_cast<int>(p.Y)});
}

void FieldLayer::window_action_wait(const GuiCall& call) {
  const CommandParams& p = call.params;
  ScreenWindow* w = model_.window_or_current(p.P);
  if (!w) {
    call.replies.cancel();
    return;
  }
  queue({Kind::WindowAction, w->number, p.I, 0, 0, 0});
}

void FieldLayer::button_choice(const GuiCall& call) {
  const CommandParams& p = call.params;
  ScreenWindow* w = model_.window_or_current(p.P);
  ScreenField* f = w ? ScreenModel::find_field(*w, 0, p.I) : nullptr;
  if (!f) {
    call.replies.no_result();
    return;
  }
  if (f->type != ft::kRadioButton && f->type != ft::kCheckBox) {
    call.replies.cancel();
    return;
  }
  queue({Kind::ButtonChoice, w->number, f->number, 0, 0, 0});
}

void FieldLayer::character_input(const GuiCall& call) {
  const CommandParams& p = call.params;
  if (p.F > 1) return;  // not a character input at all
  ScreenWindow* w = model_.window_or_current(p.P);
  if (!w) {
    call.replies.cancel();
    return;
  }
  queue({Kind::Character, w->number, 0, p.F, 0, 0});
}

// Waits ---------------------------------------------------------------------

std::int16_t FieldLayer::next_code(ScreenWindow& w) {
  // A quit answers -1, as Esc does; the waits that go on after a code
  // must know it was the quit.
  const std::function<bool()> wait = [this] {
    if (wait_for_events && wait_for_events()) return true;
    quit_seen_ = true;
    return false;
  };
  std::int16_t code = model_.keys.pop(wait);
  if (!wait_window_) return event_code::kAbandoned;  // the window went meanwhile
  // Without OK/Finish on the window, F4 and End page down instead.
  if (code == event_code::kFinish && !(w.flags & window_flag::kFinishAllowed))
    code = event_code::kPageDown;
  return code;
}

void FieldLayer::prepare_window(ScreenWindow& w, bool show_second_icon) {
  model_.set_current_window(&w);
  model_.set_last_input_window(&w);
  if (!w.has_native()) model_.show_window(w, std::nullopt);
  if (w.hidden() && (show_second_icon || !(w.flags & window_flag::kSecondIcon))) model_.reveal(w);
  if (w.visible) model_.ui().activate_native(w, true);
  wait_window_ = &w;
}

void FieldLayer::run_field_input(const InputRequest& r) {
  HostReplies& replies = in().replies;
  ScreenWindow* w = model_.find_window(r.window);
  ScreenField* f =
      w ? (r.field != 0 ? ScreenModel::find_field(*w, 0, r.field) : w->focus) : nullptr;
  if (!f) {
    replies.cancel();
    return;
  }
  const std::uint32_t flags = input_flags(r.flags, in().programs.level());
  const std::uint32_t limit = input_limit(*f, r.limit);
  if (too_large(limit)) {
    replies.cancel();
    return;
  }
  switch (f->type) {
    case ft::kEdit:
      run_edit_input(*w, *f, flags, limit);
      return;
    case ft::kRadioButton:
    case ft::kCheckBox:
      run_button_choice(*w, *f);
      return;
    case ft::kGridColumn:
      if (!grid.cell_input || !grid.cell_input(*f, 0, flags, limit)) replies.cancel();
      return;
    default:
      // Nothing here takes typing: the host must not wait for it.
      replies.cancel();
      return;
  }
}

void FieldLayer::run_edit_input(ScreenWindow& w, ScreenField& f, std::uint32_t flags,
                                std::uint32_t limit) {
  Interpreter& interpreter = in();
  KeyQueue& keys = model_.keys;
  prepare_window(w, true);
  if (f.flags & ff::kReadOnly) {
    f.flags &= ~ff::kReadOnly;  // editable for the input, and from now on
    show(f);
  }
  w.focus = &f;
  input_field_ = &f;
  const bool one_row = single_row(f);
  const std::string original = ui_->edit_text(f);
  // Without a base window the status line is free for the field's help.
  HostProgram* program = model_.current_program();
  const bool help_in_status = program && !program->base_window && !f.help.empty();
  if (help_in_status) {
    model_.frame.status_message = f.help;
    model_.frame_changed();
  }
  keys.begin_wait(wait_mode::kFieldInput);
  const EditInputStart start{one_row && !original.empty() && !(flags & 0x10), limit};

  bool done = false;
  while (!done) {
    ui_->begin_edit_input(f, start);
    replay_paste(f);
    while (auto c = keys.peek()) {
      if (!is_typed_character(*c)) break;
      keys.take();
      ui_->type_into_edit(f, *c);
    }
    for (;;) {
      std::int16_t code;
      if (interpreter.events.launch_pending) {
        code = event_code::kLaunch;  // a launched program's request goes first
      } else {
        code = next_code(w);
      }
      if (input_field_ != &f) {
        done = true;  // the field went during the wait
        break;
      }
      if (!one_row && (code == 9 || code == 10 || code == 13)) {
        ui_->type_into_edit(f, code == 13 ? 10 : code);  // a line break or tab in the text
        continue;
      }
      FieldInputContext ctx;
      ctx.single_row = one_row;
      ctx.window_flags = w.flags;
      ctx.input_flags = flags;
      ctx.original = original;
      ctx.text = ui_->edit_text(f);
      ctx.target = interpreter.events.target;
      const FieldInputResult result = evaluate_field_input(code, ctx);
      switch (result.kind) {
        case FieldInputResult::Kind::Nothing:
          done = true;
          break;
        case FieldInputResult::Kind::Text: {
          f.contents = ctx.text;
          // No more than the input takes, even from a longer text the host gave.
          std::string text = result.text;
          if (text.size() > limit) text.resize(limit);
          interpreter.replies.field_input(f.number, w.number, result.exit, text);
          done = true;
          break;
        }
        case FieldInputResult::Kind::Event:
          if (result.restore) ui_->set_edit_text(f, original);
          done = send_event(interpreter, result.event);
          break;
      }
      break;  // ended, or refused: the input starts again
    }
  }
  keys.end_wait();
  if (input_field_ == &f) {
    input_field_ = nullptr;
    ui_->end_edit_input(f);
  }
  wait_window_ = nullptr;
  if (help_in_status) {
    model_.frame.status_message.clear();
    model_.frame_changed();
  }
}

void FieldLayer::run_window_action(const InputRequest& r) {
  ScreenWindow* w = model_.find_window(r.window);
  if (!w) {
    in().replies.cancel();
    return;
  }
  prepare_window(*w, false);
  pending_paste_.clear();

  auto usable = [this](const ScreenField& f) {
    return f.type == ft::kPushButton && !(f.flags & ff::kHidden) && ui_->has_control(f);
  };
  ScreenField* chosen = nullptr;
  if (w->focus && w->focus->type == ft::kPushButton) {
    chosen = w->focus;
  } else {
    ScreenField* first_default = nullptr;
    ScreenField* last_default = nullptr;
    ScreenField* first = nullptr;
    ScreenField* numbered = nullptr;
    for (auto& owned : w->fields) {
      ScreenField& f = *owned;
      if (!usable(f)) continue;
      if (!first) first = &f;
      if (f.flags & ff::kDefault) {
        if (!first_default) first_default = &f;
        last_default = &f;
      }
      if (r.field != 0 && f.number == r.field && !numbered) numbered = &f;
    }
    if (r.field == 0) {
      chosen = first_default ? first_default : first;
    } else {
      chosen = numbered ? numbered : last_default ? last_default : first;
    }
  }
  if (chosen) {
    w->focus = chosen;
    for (auto& owned : w->fields) {
      ScreenField& f = *owned;
      if (&f == chosen || f.type != ft::kPushButton) continue;
      if (f.flags & (ff::kFocused | ff::kPressed | ff::kDefault)) {
        f.flags &= ~(ff::kFocused | ff::kPressed | ff::kDefault);
        if (f.extra.displayed) show(f);
      }
    }
    chosen->flags = (chosen->flags | ff::kFocused | ff::kDefault) & ~ff::kPressed;
    show(*chosen);
    ui_->focus_field(*chosen);
  } else {
    ui_->focus_window(*w);
  }
  model_.keys.begin_wait(chosen ? wait_mode::kWindowAction : wait_mode::kCharacterInput);
  for (;;) {
    const std::int16_t code = next_code(*w);
    if (code == event_code::kAbandoned || send_event(in(), code)) break;
  }
  model_.keys.end_wait();
  wait_window_ = nullptr;
}

void FieldLayer::run_button_choice(ScreenWindow& w, ScreenField& f) {
  prepare_window(w, true);
  w.focus = &f;
  input_field_ = &f;
  ui_->focus_field(f);
  model_.keys.begin_wait(wait_mode::kButtonChoice);
  for (;;) {
    std::int16_t code = next_code(w);
    if (input_field_ != &f || code == event_code::kAbandoned) break;
    if (code == 13 || code == 10) code = 0;
    if (code >= 0) {
      in().replies.number_result(code);
      break;
    }
    if (send_event(in(), code)) break;
  }
  model_.keys.end_wait();
  if (input_field_ == &f) input_field_ = nullptr;
  wait_window_ = nullptr;
}

void FieldLayer::run_character_input(const InputRequest& r) {
  ScreenWindow* w = model_.find_window(r.window);
  if (!w) {
    in().replies.cancel();
    return;
  }
  // Only window action waits leave a second-icon window hidden.
  prepare_window(*w, true);
  pending_paste_.clear();
  ui_->focus_window(*w);
  model_.keys.begin_wait(wait_mode::kCharacterInput);
  quit_seen_ = false;
  for (;;) {
    const std::int16_t code = next_code(*w);
    if (code == event_code::kAbandoned) break;
    // Each character goes to the host as it is typed; with F 1 the wait
    // goes on until the next command cancels it, or the client quits.
    if (send_event(in(), code) && r.flags == 0) break;
    if (quit_seen_) break;
  }
  model_.keys.end_wait();
  wait_window_ = nullptr;
}

}  // namespace veslink
