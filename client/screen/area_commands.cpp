// ESC mrc, mrh, mrm, mrt, mrs and mrx: scrolling areas here, data grids
// through their routes.
#include <algorithm>
#include <cmath>

#include "client/protocol/interpreter.h"
#include "client/screen/field_flags.h"
#include "client/screen/field_layer.h"
#include "client/screen/screen_model.h"

namespace veslink {

namespace ff = field_flag;
namespace ft = field_type;

namespace {
constexpr double kTolerance = 0.000001;

bool inside_columns(const ScreenField& f, const ScreenField& area) {
  return f.column.real >= area.column.real - kTolerance &&
         f.column.real < area.column.real + area.width.real - kTolerance;
}

bool inside(const ScreenField& f, const ScreenField& area) {
  return &f != &area && f.type != ft::kScrollingArea && f.type != ft::kDataGrid &&
         f.type != ft::kGridColumn && inside_columns(f, area) &&
         f.row.real >= area.row.real - kTolerance &&
         f.row.real < area.row.real + area.height.real - kTolerance;
}

bool on_row(const ScreenField& f, int row) {
  return std::fabs(f.row.real - row) < kTolerance;
}

int number_or(const CommandParams& p, char letter, int fallback) {
  return p.has(letter) ? static_cast<int>(p.number(letter)) : fallback;
}
}  // namespace

ScreenField* FieldLayer::area_for(ScreenWindow& w, std::uint32_t number, bool grids_too) {
  auto fits = [grids_too](const ScreenField& f) {
    return f.type == ft::kScrollingArea || (grids_too && f.type == ft::kDataGrid);
  };
  for (auto& f : w.fields)
    if ((number == 0 || f->number == number) && fits(*f)) return f.get();
  return nullptr;
}

void FieldLayer::set_row_flags(ScreenWindow& w, ScreenField& area, int row) {
  for (auto& owned : w.fields) {
    ScreenField& f = *owned;
    if (!inside(f, area)) continue;
    const bool wanted =
        row >= 0 && on_row(f, row) && (f.type == ft::kEdit || f.type == ft::kPrompt);
    const bool has = f.flags & ff::kCurrentRow;
    if (wanted == has) continue;
    f.flags ^= ff::kCurrentRow;
    if (f.extra.displayed) show(f);
  }
}

void FieldLayer::set_current_row(const GuiCall& call) {
  const CommandParams& p = call.params;
  ScreenWindow* w = model_.window_or_current(p.P);
  ScreenField* area = w ? area_for(*w, p.I, true) : nullptr;
  if (!area) return;
  const int y = number_or(p, 'Y', 999);
  if (area->type == ft::kDataGrid) {
    if (grid.current_row) grid.current_row(*area, y);
    return;
  }
  const int first = area->row.byte;
  const int row = (y >= first && y < first + area->height.byte) ? y : -1;
  area->current_row = row;
  set_row_flags(*w, *area, row);
  ui_->area_changed(*area);
}

void FieldLayer::mark_grid_row(const GuiCall& call) {
  const CommandParams& p = call.params;
  ScreenWindow* w = model_.window_or_current(p.P);
  ScreenField* area = w ? area_for(*w, p.I, true) : nullptr;
  if (area && area->type == ft::kDataGrid && grid.mark_row)
    grid.mark_row(*area, static_cast<int>(p.Y), (p.S & 1) != 0);
}

void FieldLayer::add_column_separator(const GuiCall& call) {
  const CommandParams& p = call.params;
  ScreenWindow* w = model_.window_or_current(p.P);
  if (!w) return;
  // A number names that area only; without one, the area last named here,
  // else the window's first.
  ScreenField* area = nullptr;
  if (p.I != 0) {
    area = area_for(*w, p.I, false);
  } else {
    if (w->field_extra.separator_area_named)
      area = area_for(*w, w->field_extra.separator_area, false);
    if (!area) area = area_for(*w, 0, false);
  }
  if (!area) return;
  w->field_extra.separator_area_named = true;
  w->field_extra.separator_area = area->number;
  const int x = number_or(p, 'X', 9999);
  std::vector<int>& list = area->extra.separators;
  if (x != 9999 && std::find(list.begin(), list.end(), x) == list.end() &&
      list.size() < static_cast<std::size_t>(w->width.byte)) {
    list.push_back(x);
    // Rows that end at the new separator are narrower now.
    for (auto& f : w->fields)
      if ((f->flags & ff::kRow) && f->extra.displayed && inside(*f, *area)) show(*f);
  }
  ui_->area_changed(*area);
}

void FieldLayer::set_position_indicator(const GuiCall& call) {
  const CommandParams& p = call.params;
  ScreenWindow* w = model_.window_or_current(p.P);
  ScreenField* area = w ? area_for(*w, p.I, true) : nullptr;
  if (!area) return;
  const int percent = static_cast<int>(p.H);
  if (area->type == ft::kDataGrid) {
    if (grid.indicator) grid.indicator(*area, percent);
    return;
  }
  area->extra.indicator = std::clamp(percent, 1, 100);
  ui_->area_changed(*area);
}

void FieldLayer::scroll_rows(const GuiCall& call) {
  const CommandParams& p = call.params;
  ScreenWindow* w = model_.window_or_current(p.P);
  ScreenField* area = w ? area_for(*w, p.I, true) : nullptr;
  if (!area) return;
  const int from = static_cast<int>(p.F), to = static_cast<int>(p.T);
  const bool down = p.S != 0;
  if (area->type == ft::kDataGrid) {
    if (grid.scroll) grid.scroll(*area, from, to, down);
    return;
  }
  if (to <= from) return;
  // The rows' fields move one row; those of the row that leaves the area
  // come in at the other end, blanked, so the host refills them in place.
  const int leaving = down ? to : from;
  const int arriving = down ? from : to;
  std::vector<ScreenField*> moved;
  for (auto& owned : w->fields) {
    ScreenField& f = *owned;
    if (!inside(f, *area)) continue;
    const int r = f.row.byte;
    if (std::fabs(f.row.real - r) > kTolerance || r < from || r > to) continue;
    if (r == leaving) {
      f.row = CellValue::of(arriving);
      f.contents.clear();
      f.extra.button.caption.clear();
      if (f.type == ft::kEdit) ui_->set_edit_text(f, "");
    } else {
      f.row = CellValue::of(r + (down ? 1 : -1));
    }
    moved.push_back(&f);
  }
  area->extra.indicator = 50;
  // The current row stays where it is on the window.
  set_row_flags(*w, *area, area->current_row);
  for (ScreenField* f : moved)
    if (f->extra.displayed) show(*f);
  ui_->area_changed(*area);
}

void FieldLayer::clear_rows(const GuiCall& call) {
  const CommandParams& p = call.params;
  ScreenWindow* w = model_.window_or_current(p.P);
  ScreenField* area = w ? area_for(*w, p.I, true) : nullptr;
  if (!area) return;
  const int from = static_cast<int>(p.F), to = static_cast<int>(p.T);
  if (area->type == ft::kDataGrid) {
    if (grid.clear_rows) grid.clear_rows(*area, from, to);
    return;
  }
  for (auto& owned : w->fields) {
    ScreenField& f = *owned;
    if (!inside(f, *area) || f.row.byte < from || f.row.byte > to) continue;
    f.contents.clear();
    f.extra.button.caption.clear();
    if (f.type == ft::kEdit) ui_->set_edit_text(f, "");
    if (f.extra.displayed) show(f);
  }
}

}  // namespace veslink
