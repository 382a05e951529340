// The screen model: programs, windows, showing and hiding, the caret.
#include "client/screen/screen_model.h"

#include <algorithm>

#include "client/protocol/interpreter.h"
#include "client/screen/field_layer.h"
#include "client/screen/help_files.h"
#include "platform/registry/registry.h"

namespace veslink {

namespace wf = window_flag;

ScreenModel::ScreenModel(Interpreter& in)
    : in_(in), fields_(std::make_unique<FieldLayer>(*this)), root_(std::make_unique<ScreenWindow>()) {
  root_->flags = wf::kHidden;
  root_->width = CellValue::of(1);
  root_->height = CellValue::of(1);
  in_.programs.set_owner([] { return std::make_unique<HostProgram>(); },
                         [this](ProgramRecord& r) {
                           if (HostProgram* p = host(&r)) program_leaving(*p);
                         });
  keys.bell = [this] { bell(); };
}

ScreenModel::~ScreenModel() {
  set_ui(nullptr);
  in_.programs.clear();
  in_.programs.set_owner(nullptr, nullptr);
}

void ScreenModel::bell() {
  if (in_.ui.bell) in_.ui.bell();
}

HostProgram* ScreenModel::host(ProgramRecord* record) {
  return dynamic_cast<HostProgram*>(record);
}

HostProgram* ScreenModel::current_program() {
  return host(in_.programs.current());
}

void ScreenModel::program_became_current(HostProgram& p) {
  HostProgram* previous = base_program_;
  base_program_ = &p;
  if (ScreenWindow* base = p.base_window.get(); base && !base->visible) {
    if (base->has_native()) {
      reveal(*base);
    } else {
      show_window(*base, std::string_view());
    }
  }
  if (previous && previous != &p && previous->base_window && previous->base_window->visible)
    hide(*previous->base_window);
}

void ScreenModel::program_leaving(HostProgram& p) {
  while (!p.windows.empty())
    destroy_window(*p.windows.front());
  if (p.base_window) destroy_window(*p.base_window);
  p.browser_address.reset();
  if (base_program_ == &p) base_program_ = nullptr;
}

void ScreenModel::enlarge_root(ScreenWindow& w) {
  ScreenWindow& r = *root_;
  const bool main_shown = ui_->main_window_shown();
  const double columns = std::max(80.0, w.width.real + (main_shown ? w.column.real : 0));
  const double rows = std::max(23.0, w.height.real + (main_shown ? w.row.real : 0));
  bool grew = false;
  if (columns > r.width.real) {
    r.width = CellValue::of(columns);
    grew = true;
  }
  if (rows > r.height.real) {
    r.height = CellValue::of(rows);
    grew = true;
  }
  if ((w.flags & wf::kScrollBar) && !(r.flags & wf::kScrollBar)) {
    r.flags |= wf::kScrollBar;
    grew = true;
  }
  if (!grew) return;
  ui_->recompute_cell_metrics();
  ui_->fit_main_window();
  if (w.has_native()) ui_->relayout(w);
}

ScreenWindow* ScreenModel::find_window(std::uint32_t number) {
  HostProgram* p = current_program();
  if (!p) return nullptr;
  if (number == 1) return p->base_window.get();
  if (number < 10) return nullptr;
  for (auto& w : p->windows)
    if (w->number == number) return w.get();
  return nullptr;
}

ScreenWindow* ScreenModel::window_or_current(std::uint32_t number) {
  return number == 0 ? current_window_ : find_window(number);
}

ScreenField* ScreenModel::find_field(ScreenWindow& w, int type, std::uint32_t number) {
  for (auto& f : w.fields)
    if (f->number == number && (type == 0 || f->type == type)) return f.get();
  return nullptr;
}

ScreenWindow* ScreenModel::choose_parent(HostProgram& program, std::uint32_t p) {
  if (p >= 10 && !program.windows.empty()) {
    for (auto& w : program.windows)
      if (w->number == p) return w.get();
    return program.windows.front().get();
  }
  if (p == 1 && program.base_window) return program.base_window.get();
  const auto& list = in_.programs.programs();
  if (!list.empty()) {
    // The first-created window of the newest program, else the newest
    // window of the next program that has any.
    if (HostProgram* first = host(list.front().get()); first && !first->windows.empty())
      return first->windows.back().get();
    for (std::size_t i = 1; i < list.size(); ++i)
      if (HostProgram* h = host(list[i].get()); h && !h->windows.empty())
        return h->windows.front().get();
  }
  return root_.get();
}

ScreenWindow& ScreenModel::add_window(HostProgram& program, ScreenWindow* parent,
                                      std::unique_ptr<ScreenWindow> window) {
  ScreenWindow& w = *window;
  w.program = &program;
  w.parent = parent ? parent : root_.get();
  w.parent->children.push_back(&w);
  program.windows.insert(program.windows.begin(), std::move(window));
  return w;
}

ScreenWindow& ScreenModel::add_base_window(HostProgram& program) {
  auto base = std::make_unique<ScreenWindow>();
  base->number = 1;
  base->flags = wf::kOldStyle;
  base->width = CellValue::of(80);
  base->height = CellValue::of(1);
  base->column = CellValue::of(0);
  base->row = CellValue::of(22);
  base->program = &program;
  base->parent = root_.get();
  root_->children.push_back(base.get());
  program.base_window = std::move(base);
  return *program.base_window;
}

bool ScreenModel::ensure_native(ScreenWindow& w) {
  if (w.has_native()) return true;
  if (!ui_->create_native(w)) return false;
  if (w.flags & wf::kFullScreen) {
    if (++full_screen_windows_ == 1) ui_->full_screen_started();
  }
  return true;
}

bool ScreenModel::show_window(ScreenWindow& w, std::optional<std::string_view> title) {
  if (title) w.title = std::string(*title);
  if (w.has_native()) {
    if (title) ui_->set_native_title(w);
    return true;
  }
  if (!ensure_native(w)) return false;
  if (!w.hidden()) reveal(w);
  return true;
}

void ScreenModel::reveal(ScreenWindow& w) {
  if (!w.has_native()) return;
  w.flags &= ~wf::kHidden;
  if (w.visible) return;
  enlarge_root(w);
  w.visible = true;
  ++visible_windows_;
  ui_->show_native(w);
  if (visible_count() == 1) ui_->repaint_work_area();
  if (ui_->terminal_visible()) ui_->hide_terminal_window();
  if (&w == current_window_) ui_->activate_native(w, true);
  if (!ui_->main_window_shown()) ui_->first_show();
}

void ScreenModel::hide(ScreenWindow& w) {
  w.flags |= wf::kHidden;
  w.flags &= ~wf::kOldStyle;
  if (!w.visible) {
    if (w.has_native()) ui_->hide_native(w);
    return;
  }
  w.visible = false;
  --visible_windows_;
  if (visible_count() == 0) ui_->repaint_work_area();
  ui_->hide_native(w);
}

void ScreenModel::delete_field(ScreenField& f) {
  ScreenWindow& w = *f.window;
  if (f.type == field_type::kDataGrid) {
    const std::uint32_t grid = f.number;
    for (std::size_t i = 0; i < w.fields.size();) {
      ScreenField& c = *w.fields[i];
      if (c.type == field_type::kGridColumn && c.limit == grid) {
        fields_->field_removed(c);
        ui_->field_removed(c);
        if (w.focus == &c) w.focus = nullptr;
        w.fields.erase(w.fields.begin() + static_cast<std::ptrdiff_t>(i));
      } else {
        ++i;
      }
    }
  }
  fields_->field_removed(f);
  ui_->field_removed(f);
  if (w.focus == &f) w.focus = nullptr;
  auto it =
      std::find_if(w.fields.begin(), w.fields.end(), [&f](const auto& p) { return p.get() == &f; });
  if (it != w.fields.end()) w.fields.erase(it);
}

void ScreenModel::destroy_window(ScreenWindow& w) {
  while (!w.children.empty())
    destroy_window(*w.children.back());
  for (auto& f : w.fields) {
    fields_->field_removed(*f);
    ui_->field_removed(*f);
  }
  w.fields.clear();
  fields_->window_destroyed(w);
  w.focus = nullptr;
  if (caret.window == &w) destroy_caret();
  if (w.visible) {
    w.visible = false;
    --visible_windows_;
    if (visible_count() == 0) ui_->repaint_work_area();
  }
  if (w.has_native()) {
    ui_->destroy_native(w);
    w.native = nullptr;
    if ((w.flags & wf::kFullScreen) && --full_screen_windows_ == 0) ui_->full_screen_ended();
  }
  forget(w);
  unlink(w);  // last: this deletes the window
}

void ScreenModel::forget(ScreenWindow& w) {
  if (current_window_ == &w) current_window_ = nullptr;
  if (last_input_window_ == &w) last_input_window_ = nullptr;
  hidden_for_pane_.erase(std::remove(hidden_for_pane_.begin(), hidden_for_pane_.end(), &w),
                         hidden_for_pane_.end());
}

void ScreenModel::unlink(ScreenWindow& w) {
  if (ScreenWindow* parent = w.parent) {
    auto& siblings = parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), &w), siblings.end());
  }
  HostProgram* p = w.program;
  if (!p) return;
  if (p->base_window.get() == &w) {
    p->base_window.reset();
    return;
  }
  auto it = std::find_if(p->windows.begin(), p->windows.end(),
                         [&w](const auto& q) { return q.get() == &w; });
  if (it != p->windows.end()) p->windows.erase(it);
}

void ScreenModel::change_window_flags(ScreenWindow& w, std::uint32_t bits, bool set) {
  const std::uint32_t old = w.flags;
  if (set) {
    w.flags |= bits;
  } else {
    w.flags &= ~bits;
  }
  if (!w.has_native()) return;
  if (bits & wf::kHidden) {
    if (set && !(old & wf::kHidden)) {
      hide(w);
    } else if (!set && (old & wf::kHidden) && !(w.flags & wf::kSecondIcon)) {
      reveal(w);
    }
  }
  if (set && (bits & wf::kScrollBar)) {
    ui_->relayout(w);
    if (!(root_->flags & wf::kScrollBar)) {
      root_->flags |= wf::kScrollBar;
      ui_->recompute_cell_metrics();
      ui_->fit_main_window();
    }
  }
  if (set && (bits & wf::kSecondIcon) && !(w.flags & wf::kOldStyle) && services.open_secondary_tree)
    services.open_secondary_tree(w);
}

void ScreenModel::hide_all_windows() {
  hidden_for_pane_.clear();
  for_each_window([this](ScreenWindow& w) {
    if (!w.visible) return;
    hidden_for_pane_.push_back(&w);
    if (&w == current_window_) {
      ui_->minimise_native(w);
    } else {
      hide(w);
    }
  });
}

void ScreenModel::show_all_windows() {
  const std::vector<ScreenWindow*> windows = std::move(hidden_for_pane_);
  hidden_for_pane_.clear();
  for (ScreenWindow* w : windows) {
    if (w->visible) {
      ui_->show_native(*w);  // the minimised current window comes back
    } else {
      reveal(*w);
    }
  }
}

int ScreenModel::visible_count() const {
  return visible_windows_ + (ui_->terminal_visible() ? 1 : 0);
}

void ScreenModel::set_current_window(ScreenWindow* w) {
  current_window_ = w;
}

CloseDecision ScreenModel::close_requested(ScreenWindow& w) {
  const CloseDecision d = request_window_close(in_, w.number, &w == current_window_, w.hidden());
  if (d == CloseDecision::CloseAtOnce) destroy_window(w);
  return d;
}

void ScreenModel::show_caret(ScreenWindow& w) {
  ScreenWindow* previous = caret.window;
  caret = Caret{&w, 0, 0};
  if (previous && previous != &w) ui_->caret_changed(previous, nullptr);
  ui_->caret_changed(nullptr, &w);
}

void ScreenModel::destroy_caret() {
  ScreenWindow* previous = caret.window;
  caret = Caret{};
  if (previous) ui_->caret_changed(previous, nullptr);
}

void ScreenModel::move_caret(int column, int row) {
  ScreenWindow* w = caret.window;
  if (!w) return;
  // A coordinate outside the window keeps the caret where it is on that axis.
  if (column >= 0 && column < w->width.real) caret.column = column;
  if (row >= 0 && row < w->height.real) caret.row = row;
  ui_->caret_changed(w, w);
}

const std::string& ScreenModel::help_directory() {
  if (!help_directory_)
    help_directory_ =
        read_help_directory(registry_ ? *registry_ : vestra::registry::Registry::process());
  return *help_directory_;
}

void ScreenModel::gui_mode_left() {
  destroy_caret();
  keys.clear();
  fields_->gui_mode_left();
}

ScreenModel& screen_model() {
  static ScreenModel model(interpreter());
  return model;
}

}  // namespace veslink
