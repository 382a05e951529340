// ESC mnm, mns, mnh and mgv: the mail mark, the frame services, help files
// and the value queries.
#include <filesystem>

#include "client/protocol/interpreter.h"
#include "client/screen/cell_colour.h"
#include "client/screen/help_files.h"
#include "client/screen/screen_commands.h"
#include "client/screen/screen_model.h"
#include "platform/messages/message_box.h"

namespace veslink::screen_commands {

namespace {
namespace msg = vestra::messages;

// The data area (company) name becomes part of the title; a new name loads
// that area's colours.
void set_data_area(ScreenModel& m, std::string_view name, bool beta) {
  FrameTexts& f = m.frame;
  const bool changed = f.data_area != name;
  f.data_area = std::string(name);
  f.beta = beta;
  m.frame_changed();
  if (changed && m.services.data_area_changed) m.services.data_area_changed(name);
}

void set_status_message(ScreenModel& m, std::string_view text, bool raised, bool keep_raised) {
  // The message goes to the status bar of the frame that holds the window
  // with input; without such a window in a frame there is none to write to.
  ScreenWindow* w = m.current_window() ? m.current_window() : m.last_input_window();
  if (!w || !w->has_native() || (w->flags & window_flag::kNoFrame)) return;
  FrameTexts& f = m.frame;
  if (keep_raised && f.status_raised) return;
  f.status_message = std::string(text);
  f.status_raised = raised;
  m.frame_changed();
}

bool exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}
}  // namespace

void mail_mark(ScreenModel& m, const GuiCall& call) {
  FrameTexts& f = m.frame;
  if (call.params.F & 1) {
    f.mail_mark = false;
  } else {
    const bool was = f.mail_mark;
    f.mail_mark = true;
    if (!was && !(call.params.F & 2)) m.bell();
  }
  m.frame_changed();
}

void frame_services(ScreenModel& m, const GuiCall& call) {
  const CommandParams& p = call.params;
  const std::string_view text = call.string.value_or(std::string_view());
  const bool on = (p.H & 1) != 0;
  FrameTexts& f = m.frame;
  ScreenServices& s = m.services;
  switch (p.F) {
    case 1: {
      // Only while the one program has no windows: the label belongs to the
      // tree the user starts from.
      const auto& programs = call.interpreter.programs.programs();
      if (programs.size() != 1) return;
      HostProgram* only = ScreenModel::host(programs.front().get());
      if (only && only->windows.empty() && s.set_root_label) s.set_root_label(text);
      return;
    }
    case 2:
      set_data_area(m, text, on);
      return;
    case 4:
      f.pane_104 = std::string(text);
      break;
    case 5:
      f.pane_103 = std::string(text);
      break;
    case 6:
      if (s.set_home_or_background) s.set_home_or_background(text);
      return;
    case 7:
      set_status_message(m, text, on, (p.H & 2) != 0);
      return;
    case 8:
      f.pane_106 = std::string(text);
      break;
    case 9:
      if (s.progress_window) s.progress_window(static_cast<int>(p.H));
      return;
    case 10:
      f.menu_bar_shown = on;
      break;
    case 11:
      f.toolbar_shown = on;
      break;
    case 12: {
      const std::string name = product_name_of(text);
      if (name == f.product_name) return;
      f.product_name = name;
      m.ui().show_product_name(name);
      return;
    }
    case 13:
      f.status_bar_shown = on;
      break;
    case 14:
      if (ScreenWindow* w = m.find_window(p.I)) w->hot_keys = p.H;
      return;
    default:
      return;  // 3 and the rest do nothing
  }
  m.frame_changed();
}

void open_help(ScreenModel& m, const GuiCall& call) {
  const std::optional<HelpFile> file = find_help_file(call.string.value_or(std::string_view()),
                                                      call.params.I, m.help_directory(), exists);
  if (!file) {
    msg::show_notice("VESTRA", kManualsMissing, msg::Icon::Warning);
    return;
  }
  // The old help viewer opened its files only at a given topic.
  if (file->kind == HelpFile::Kind::Hlp && file->context == 0) return;
  if (!m.ui().open_document(file->path))
    msg::show_notice("VESTRA", "The help file " + file->path + " could not be opened.",
                     msg::Icon::Warning);
}

void query_value(ScreenModel& m, const GuiCall& call) {
  const CommandParams& p = call.params;
  HostReplies& r = call.replies;
  ScreenUi& ui = m.ui();
  switch (p.F) {
    case 1:
      r.text_result(ui.program_directory());
      return;
    case 2: {
      ScreenWindow* w = m.find_window(p.I);
      if (w && m.services.send_grid_view && m.services.send_grid_view(*w, r)) return;
      r.no_result();
      return;
    }
    case 3: {
      const std::uint16_t code = static_cast<std::uint16_t>(p.C);
      const ColourRef initial = has_own_colour(code) ? colour_of_cell_code(code) : 0;
      const std::optional<ColourRef> chosen = ui.choose_colour(initial);
      r.number_result(chosen ? cell_code_of_colour(*chosen) : 0);
      return;
    }
    case 4: {
      const CellPixels c = ui.cell_pixels();
      long long value = 0;
      switch (p.M) {
        case 1:
          value = c.cell_width;
          break;
        case 2:
          value = c.cell_height;
          break;
        case 3:
          value = ui.screen_width();
          break;
        case 4:
          value = ui.screen_height();
          break;
        case 5:
          value = ui.work_area_width();
          break;
        case 6:
          value = ui.work_area_height();
          break;
        default:
          break;
      }
      r.number_result(value);
      return;
    }
    case 5: {
      ScreenWindow* w = m.find_window(p.I);
      r.text_result(w ? w->title : std::string());
      return;
    }
    default:
      r.no_result();
      return;
  }
}

}  // namespace veslink::screen_commands
