// ESC mpi, mpd, mcw, maw, mdw, muw, mtw, mxw and the caret commands on the
// screen model.
#include <memory>
#include <vector>

#include "client/protocol/interpreter.h"
#include "client/screen/cell_colour.h"
#include "client/screen/field_layer.h"
#include "client/screen/screen_commands.h"
#include "client/screen/screen_model.h"

namespace veslink::screen_commands {

namespace {
namespace wf = window_flag;
namespace ft = field_type;

// Positions are reals; two that differ by less than this are the same cell.
constexpr double kTolerance = 0.000001;

std::uint32_t window_flags_of(const HostProgram& program, std::uint32_t f) {
  return program.level < 2 ? convert_old_window_flags(f) : f;
}

// What the last program's departure leaves behind: an empty frame.
void reset_frame(ScreenModel& m) {
  ScreenServices& s = m.services;
  if (s.reset_menu_tree) s.reset_menu_tree();
  if (s.set_root_label) s.set_root_label("VESTRA");
  FrameTexts& f = m.frame;
  const bool area_changed = !f.data_area.empty();
  f.data_area.clear();
  f.beta = false;
  if (area_changed && s.data_area_changed) s.data_area_changed("");
  f.pane_104.clear();
  f.pane_103.clear();
  if (s.set_home_or_background) s.set_home_or_background("");
  f.menu_bar_shown = true;
  m.frame_changed();
}
}  // namespace

void select_program(ScreenModel& m, const GuiCall& call) {
  HostProgram* p = m.current_program();
  ScreenServices& s = m.services;
  switch (call.program_change) {
    case ProgramChange::Kept:
      if (p && s.browser_address) {
        if (std::optional<std::string> address = s.browser_address())
          p->browser_address = std::move(*address);
      }
      return;
    case ProgramChange::Selected:
      if (!p) return;
      m.program_became_current(*p);
      if (s.browser_address && s.browser_address() && s.show_browser_at)
        s.show_browser_at(p->browser_address.value_or(std::string()));
      return;
    case ProgramChange::Created:
      if (!p) return;
      if (p->level < 2) m.add_base_window(*p);
      m.program_became_current(*p);
      if (s.browser_address) {
        if (std::optional<std::string> address = s.browser_address())
          p->browser_address = std::move(*address);
      }
      return;
    default:
      return;
  }
}

void delete_program(ScreenModel& m, const GuiCall& call) {
  if (call.program_change != ProgramChange::Deleted &&
      call.program_change != ProgramChange::DeletedLast)
    return;
  ScreenServices& s = m.services;
  if (HostProgram* now = m.current_program(); now && s.browser_address && s.show_browser_at) {
    const std::optional<std::string> shown = s.browser_address();
    const std::string wanted = now->browser_address.value_or(std::string());
    if (shown && *shown != wanted) s.show_browser_at(wanted);
  }
  if (call.program_change == ProgramChange::DeletedLast && call.interpreter.gui_mode)
    reset_frame(m);
}

void create_window(ScreenModel& m, const GuiCall& call) {
  const CommandParams& p = call.params;
  HostProgram* program = m.current_program();
  if (p.I < 10 || !program) return;
  ScreenWindow* parent = m.choose_parent(*program, p.P);

  auto window = std::make_unique<ScreenWindow>();
  ScreenWindow& w = *window;
  w.number = p.I;
  w.flags = window_flags_of(*program, p.F);
  if (w.flags & wf::kFullScreen) {
    w.width = w.height = CellValue::of(255);
  } else {
    w.width = CellValue::of(p.has('W') ? p.w_real : 80);
    w.height = CellValue::of(p.has('H') ? p.h_real : 23);
    w.column = CellValue::of(p.x_real);
    w.row = CellValue::of(p.y_real);
  }
  if (has_own_colour(static_cast<std::uint16_t>(p.C))) w.colour = static_cast<std::uint16_t>(p.C);
  if (has_own_colour(static_cast<std::uint16_t>(p.B)))
    w.background = static_cast<std::uint16_t>(p.B);
  if (p.D != 0) w.placement = static_cast<int>(p.D);
  m.add_window(*program, parent, std::move(window));

  if (p.A & 1) return;  // the native window comes later
  // A window the platform cannot make leaves the model as it was.
  if (!m.show_window(w, call.string.value_or(std::string_view()))) m.destroy_window(w);
}

void show_window(ScreenModel& m, const GuiCall& call) {
  if (ScreenWindow* w = m.find_window(call.params.I)) m.show_window(*w, call.string);
}

void delete_window(ScreenModel& m, const GuiCall& call) {
  if (ScreenWindow* w = m.find_window(call.params.I)) m.destroy_window(*w);
}

void change_window_flags(ScreenModel& m, const GuiCall& call) {
  const CommandParams& p = call.params;
  ScreenWindow* w = m.find_window(p.I);
  HostProgram* program = m.current_program();
  if (!w || !program) return;
  m.change_window_flags(*w, window_flags_of(*program, p.F), p.T != 1);
}

void set_window_tag(ScreenModel& m, const GuiCall& call) {
  ScreenWindow* w = m.window_or_current(call.params.I);
  if (w && call.string && !call.string->empty()) w->tag = std::string(*call.string);
}

void blank_window_area(ScreenModel& m, const GuiCall& call) {
  const CommandParams& p = call.params;
  ScreenWindow* w = m.window_or_current(p.I);
  if (!w) return;
  const double x = p.x_real, y = p.y_real, width = p.w_real, height = p.h_real;
  const bool whole = x == 0 && y == 0 && width == 0 && height == 0;
  const bool blank = p.F == 0;
  const bool overlapping = (p.F & 0x2) != 0;

  std::vector<ScreenField*> chosen;
  for (auto& owned : w->fields) {
    ScreenField& f = *owned;
    if (whole) {
      chosen.push_back(&f);
      continue;
    }
    if (f.type == ft::kGridColumn) continue;  // only with their grid
    const double top = f.row.real, bottom = top + f.height.real;
    const double left = f.column.real, right = left + f.width.real;
    if (top < y - kTolerance || bottom > y + height + kTolerance) continue;
    const bool inside = left >= x - kTolerance && right <= x + width + kTolerance;
    const bool overlaps = left < x + width - kTolerance && right > x + kTolerance;
    if (inside ||
        (overlaps && f.type != ft::kGroupFrame && (overlapping || (blank && (f.flags & 0x2000)))))
      chosen.push_back(&f);
  }

  auto still_there = [w](ScreenField* f) {
    for (auto& owned : w->fields)
      if (owned.get() == f) return true;
    return false;
  };
  const std::uint16_t colour =
      has_own_colour(static_cast<std::uint16_t>(p.C)) ? static_cast<std::uint16_t>(p.C) : 0;
  const std::uint16_t background =
      has_own_colour(static_cast<std::uint16_t>(p.B)) ? static_cast<std::uint16_t>(p.B) : 0;
  for (ScreenField* f : chosen) {
    // A grid deleted before its columns has taken them already.
    if (!still_there(f)) continue;
    if (!blank) {
      m.delete_field(*f);
      continue;
    }
    switch (f->type) {
      case ft::kPrompt:
        if (f->flags & 0x7) break;  // an attributed prompt is emptied like an edit
        m.delete_field(*f);
        continue;
      case ft::kPushButton:
      case ft::kGroupFrame:
      case ft::kPicture:
        m.delete_field(*f);
        continue;
      case ft::kScrollingArea:
      case ft::kDataGrid:
        continue;
      default:
        break;
    }
    f->contents.clear();
    f->flags &= ~0x1E0u;
    f->colour = colour;
    f->background = background;
    m.fields().field_changed(*f);
    if (f->type == ft::kEdit) m.fields().ui().set_edit_text(*f, "");
  }
}

void show_caret(ScreenModel& m, const GuiCall& call) {
  if (ScreenWindow* w = m.window_or_current(call.params.P)) m.show_caret(*w);
}

void hide_caret(ScreenModel& m, const GuiCall& call) {
  ScreenWindow* w = m.window_or_current(call.params.P);
  if (w && m.caret.window == w) m.destroy_caret();
}

void move_caret(ScreenModel& m, const GuiCall& call) {
  ScreenWindow* w = m.window_or_current(call.params.P);
  if (w && m.caret.window == w)
    m.move_caret(static_cast<int>(call.params.X), static_cast<int>(call.params.Y));
}

}  // namespace veslink::screen_commands
