// ESC mcf, maf, mdf, muf, mhf and mvf on the field layer.
#include <algorithm>
#include <cmath>

#include "client/protocol/interpreter.h"
#include "client/screen/cell_colour.h"
#include "client/screen/field_flags.h"
#include "client/screen/field_layer.h"
#include "client/screen/screen_model.h"

namespace veslink {

namespace ff = field_flag;
namespace ft = field_type;

namespace {
constexpr double kTolerance = 0.000001;

bool near(double a, double b) {
  return std::fabs(a - b) < kTolerance;
}

bool overlaps(const ScreenField& f, double x, double y, double w, double h) {
  return f.column.real < x + w - kTolerance && x < f.column.real + f.width.real - kTolerance &&
         f.row.real < y + h - kTolerance && y < f.row.real + f.height.real - kTolerance;
}

std::uint16_t own_or_none(std::uint32_t code) {
  return has_own_colour(static_cast<std::uint16_t>(code)) ? static_cast<std::uint16_t>(code) : 0;
}

// The contents string into the field: push buttons and pictures parse it.
void set_contents(ScreenField& f, std::string_view text) {
  f.contents = std::string(text);
  if (f.type == ft::kPushButton) {
    f.extra.button = parse_button_contents(text);
  } else if (f.type == ft::kPicture) {
    f.extra.picture = parse_contents_item(text);
  } else if (f.type == ft::kRadioButton || f.type == ft::kCheckBox) {
    f.extra.button.caption = f.contents;
  }
}

void move_to_end(ScreenWindow& w, ScreenField& f) {
  auto it =
      std::find_if(w.fields.begin(), w.fields.end(), [&f](const auto& p) { return p.get() == &f; });
  if (it == w.fields.end() || it + 1 == w.fields.end()) return;
  std::unique_ptr<ScreenField> owned = std::move(*it);
  w.fields.erase(it);
  w.fields.push_back(std::move(owned));
}

bool is_choice_or_button(int type) {
  return type == ft::kPushButton || type == ft::kRadioButton || type == ft::kCheckBox;
}
}  // namespace

void FieldLayer::create_field(const GuiCall& call) {
  const CommandParams& p = call.params;
  if (p.P == 0) return;
  ScreenWindow* w = model_.find_window(p.P);
  if (!w || !(p.w_real > 0)) return;  // W is required
  const int level = in().programs.level();
  const int type = p.has('T') ? static_cast<int>(p.T) : ft::kPrompt;
  std::uint32_t flags = field_flags_for_level(p.F, level);
  double x = p.x_real, y = p.y_real, width = p.w_real;
  double height = p.has('H') ? p.h_real : 1;
  if (!(height > 0)) height = 1;
  int percent = static_cast<int>(p.S);

  if (flags & ff::kAnchored) {
    // X is an anchor and S a width percentage: the field hangs from X.
    const double effective = percent >= 1 ? width * percent / 100.0 : width;
    double left = x;
    if (flags & ff::kRightAligned) {
      left = x - (effective - 1);
    } else if (flags & ff::kCentred) {
      left = x - effective / 2;
    }
    if (left < 0) {
      if (near(effective, width)) width += left;
      left = 0;
    }
    x = left;
    percent = 0;
    flags &= ~ff::kAnchored;
  }
  if (percent == 100) percent = 0;
  const std::uint16_t colour = own_or_none(p.C), background = own_or_none(p.B);

  ScreenField* field = nullptr;
  if (type == ft::kEdit || type == ft::kPrompt) {
    const std::uint32_t significant =
        type == ft::kEdit ? ff::kEditSignificant : ff::kPromptSignificant;
    for (auto& owned : w->fields) {
      ScreenField& g = *owned;
      if (g.type != ft::kEdit && g.type != ft::kPrompt) continue;
      if (!near(g.column.real, x) || !near(g.row.real, y) || !near(g.width.real, width) ||
          !near(g.height.real, height) || g.size_percent != percent)
        continue;
      const bool same = g.type == type && (g.flags & significant) == (flags & significant);
      if (same || (g.type == ft::kEdit && type == ft::kPrompt)) {
        field = &g;
        break;
      }
    }
    // What the new field covers goes: fields of its type, and prompts.
    std::vector<ScreenField*> covered;
    for (auto& owned : w->fields) {
      ScreenField& g = *owned;
      if (&g == field || (g.type != ft::kEdit && g.type != ft::kPrompt)) continue;
      if ((g.type == type || g.type == ft::kPrompt) && overlaps(g, x, y, width, height))
        covered.push_back(&g);
    }
    for (ScreenField* g : covered)
      model_.delete_field(*g);
  } else if (ScreenField* g = ScreenModel::find_field(*w, type, p.I)) {
    if (g->size_percent == percent) {
      field = g;
    } else {
      model_.delete_field(*g);
    }
  }

  // An area needs the window's vertical scroll bar beside it, unless the
  // window has one already or asks not to be widened for it.
  if (type == ft::kScrollingArea &&
      !(w->flags & (window_flag::kScrollBar | window_flag::kNoScrollWidening)))
    model_.change_window_flags(*w, window_flag::kScrollBar, true);

  if (field) {
    move_to_end(*w, *field);
    if (field->type == type) {
      field->number = p.I;
      if (type != ft::kPrompt) field->flags = flags;
    }
    if (type != ft::kEdit && type != ft::kPrompt) {
      field->column = CellValue::of(x);
      field->row = CellValue::of(y);
      field->width = CellValue::of(width);
      field->height = CellValue::of(height);
    }
    field->colour = colour;
    field->background = background;
  } else {
    auto owned = std::make_unique<ScreenField>();
    field = owned.get();
    field->window = w;
    field->number = p.I;
    field->type = type;
    field->flags = flags;
    field->column = CellValue::of(x);
    field->row = CellValue::of(y);
    field->width = CellValue::of(width);
    field->height = CellValue::of(height);
    field->size_percent = percent;
    field->colour = colour;
    field->background = background;
    if (field->number == 0 && is_choice_or_button(type)) field->number = ++button_counter_;
    w->fields.push_back(std::move(owned));
  }
  field->limit = p.M;
  field->a = static_cast<std::uint8_t>(p.A);
  field->e = p.E;
  const bool new_text = call.string.has_value();
  if (new_text) set_contents(*field, *call.string);
  show(*field);
  if (new_text && field->type == ft::kEdit)
    ui_->set_edit_text(*field, normalise_field_text(*field, field->contents));
  if (field->type == ft::kPushButton && (field->flags & ff::kDefault)) default_button_shown(*field);

  // An old-style host's prompt at the left of its base window is the status line.
  if (type == ft::kPrompt && w->number == 1 && level < 2 && near(x, 0)) {
    model_.frame.status_message = field->contents;
    model_.frame_changed();
  }
}

void FieldLayer::set_field_contents(const GuiCall& call) {
  const CommandParams& p = call.params;
  ScreenWindow* w = model_.window_or_current(p.P);
  ScreenField* f = w ? ScreenModel::find_field(*w, 0, p.I) : nullptr;
  if (!f) return;
  set_contents(*f, call.string.value_or(std::string_view()));
  show(*f);
  if (f->type == ft::kEdit) ui_->set_edit_text(*f, normalise_field_text(*f, f->contents));
}

void FieldLayer::delete_field(const GuiCall& call) {
  const CommandParams& p = call.params;
  ScreenWindow* w = model_.window_or_current(p.P);
  ScreenField* f = w ? ScreenModel::find_field(*w, 0, p.I) : nullptr;
  if (!f) return;
  if (w == model_.current_window() && w->focus == f) in().cancel_input_requests();
  if (f->type == ft::kPrompt && w->number == 1 && !model_.frame.status_message.empty()) {
    model_.frame.status_message.clear();
    model_.frame_changed();
  }
  model_.delete_field(*f);
}

void FieldLayer::change_field(const GuiCall& call) {
  const CommandParams& p = call.params;
  ScreenWindow* w = model_.window_or_current(p.P);
  ScreenField* f = w ? ScreenModel::find_field(*w, 0, p.I) : nullptr;
  if (!f) return;
  if (p.S != 0) {
    if (f->type == ft::kGridColumn && grid.sort_indicator) grid.sort_indicator(*f, p.S & 1);
    return;
  }
  const std::uint32_t bits = field_flags_for_level(p.F, in().programs.level());
  if (p.T == 1) {
    f->flags &= ~bits;
  } else {
    f->flags |= bits;
    if (f->type == ft::kPushButton && (bits & ff::kPressed)) f->flags &= ~ff::kFocused;
  }
  bool moved = false;
  if (p.has('X') && p.X < 9999) {
    f->column = CellValue::of(p.x_real);
    moved = true;
  }
  if (p.has('Y') && p.Y < 9999) {
    f->row = CellValue::of(p.y_real);
    moved = true;
  }
  if (moved) {
    // Its neighbours are found afresh at the new place.
    f->extra.left_neighbour = f->extra.right_neighbour = false;
    f->extra.minimum_width = 0;
  }
  auto colour_change = [](std::uint16_t& c, std::uint32_t value) {
    if (value & cell_colour::kGiven) {
      c = static_cast<std::uint16_t>(value);
    } else if (value & cell_colour::kRemove) {
      c = 0;
    }
  };
  colour_change(f->colour, p.C);
  colour_change(f->background, p.B);
  if (call.string) set_contents(*f, *call.string);
  show(*f);
  if (call.string && f->type == ft::kEdit)
    ui_->set_edit_text(*f, normalise_field_text(*f, f->contents));
  if (p.T != 1 && (bits & ff::kDefault) && f->type == ft::kPushButton) default_button_shown(*f);
}

void FieldLayer::default_button_shown(ScreenField& b) {
  // The window's default button takes the focus when the rules allow it:
  // its window is current and no control runs its own input.
  ScreenWindow& w = *b.window;
  if (&w != model_.current_window() || input_field_ || (b.flags & (ff::kHidden | ff::kReadOnly)))
    return;
  w.focus = &b;
  ui_->focus_field(b);
}

void FieldLayer::set_field_help(const GuiCall& call) {
  const CommandParams& p = call.params;
  ScreenWindow* w = model_.window_or_current(p.P);
  ScreenField* f = w ? ScreenModel::find_field(*w, 0, p.I) : nullptr;
  if (!f) return;
  f->help = std::string(call.string.value_or(std::string_view()));
  if (f->extra.displayed) ui_->show_field(*f);
}

void FieldLayer::field_value(const GuiCall& call) {
  const CommandParams& p = call.params;
  ScreenWindow* w = model_.window_or_current(p.P);
  ScreenField* f = named_or_focused(w, p.I);
  if (!f) {
    call.replies.cancel();
    return;
  }
  std::string value = value_of(*f);
  const std::size_t most = p.M >= 512 ? p.M : 511;
  if (value.size() > most) value.resize(most);
  call.replies.field_value(f->number, value);
}

}  // namespace veslink
