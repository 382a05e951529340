// The recording window layer and the screen harness.
#include "tests/client/screen/screen_harness.h"

#include <cstdio>

#include "client/screen/screen_commands.h"

namespace veslink::test {

std::string RecordingUi::name(const ScreenWindow& w) {
  return std::to_string(w.number);
}

bool RecordingUi::create_native(ScreenWindow& w) {
  lines.push_back("create " + name(w) + (w.title.empty() ? "" : " \"" + w.title + "\""));
  if (refuse_create) return false;
  // Any non-null handle will do: the model only tests it.
  w.native = reinterpret_cast<NativeWindow*>(&w);
  return true;
}
void RecordingUi::destroy_native(ScreenWindow& w) {
  lines.push_back("destroy " + name(w));
}
void RecordingUi::set_native_title(ScreenWindow& w) {
  lines.push_back("title " + name(w) + " \"" + w.title + "\"");
}
void RecordingUi::show_native(ScreenWindow& w) {
  lines.push_back("show " + name(w));
}
void RecordingUi::hide_native(ScreenWindow& w) {
  lines.push_back("hide " + name(w));
}
void RecordingUi::activate_native(ScreenWindow& w, bool focus) {
  lines.push_back("activate " + name(w) + (focus ? " focus" : ""));
}
void RecordingUi::minimise_native(ScreenWindow& w) {
  lines.push_back("minimise " + name(w));
}
void RecordingUi::relayout(ScreenWindow& w) {
  lines.push_back("relayout " + name(w));
}
void RecordingUi::field_changed(ScreenField& f) {
  lines.push_back("field changed " + std::to_string(f.number));
}
void RecordingUi::field_removed(ScreenField& f) {
  lines.push_back("field removed " + std::to_string(f.number));
}
void RecordingUi::caret_changed(ScreenWindow* from, ScreenWindow* to) {
  lines.push_back("caret " + (from ? name(*from) : std::string("-")) + " " +
                  (to ? name(*to) : std::string("-")));
}
void RecordingUi::first_show() {
  lines.push_back("first show");
  main_shown = true;
}
void RecordingUi::hide_terminal_window() {
  lines.push_back("terminal hidden");
  terminal_shown = false;
}
bool RecordingUi::open_document(const std::string& path) {
  opened.push_back(path);
  return true;
}
std::optional<ColourRef> RecordingUi::choose_colour(ColourRef initial) {
  colour_asked = initial;
  return colour_answer;
}

std::string readable(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b == 0x1B) {
      out += "\\e";
    } else if (b == '\r') {
      out += "\\r";
    } else if (b == '\n') {
      out += "\\n";
    } else if (b < 0x20 || b >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", b);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

ScreenHarness::ScreenHarness() {
  in.message_buffer.allocate();
  in.ui.send_byte = [this](std::uint8_t b) {
    sent_ += static_cast<char>(b);
    return true;
  };
  in.ui.bell = [this] { ui.lines.push_back("bell"); };
  in.ui.gui_mode_left = [this] {
    ui.lines.push_back("gui off");
    model.gui_mode_left();
  };
  in.ui.tcp_transport = [] { return false; };
  model.set_ui(&ui);
  screen_commands::install(in.routes, model);
}

ScreenHarness::~ScreenHarness() {
  model.set_ui(nullptr);
}

void ScreenHarness::feed(std::string_view bytes) {
  in.feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string ScreenHarness::replies() {
  std::string out = readable(sent_);
  sent_.clear();
  return out;
}

std::vector<std::string> ScreenHarness::calls() {
  std::vector<std::string> out = std::move(ui.lines);
  ui.lines.clear();
  return out;
}

HostProgram* ScreenHarness::program(std::uint32_t number) {
  return ScreenModel::host(in.programs.find(number));
}

ScreenField& ScreenHarness::add_field(ScreenWindow& w, std::uint32_t number, int type, double x,
                                      double y, double width, double height, std::uint32_t flags,
                                      std::uint32_t limit) {
  auto f = std::make_unique<ScreenField>();
  f->window = &w;
  f->number = number;
  f->type = type;
  f->column = CellValue::of(x);
  f->row = CellValue::of(y);
  f->width = CellValue::of(width);
  f->height = CellValue::of(height <= 0 ? 1 : height);
  f->flags = flags;
  f->limit = limit;
  f->contents = "text" + std::to_string(number);
  w.fields.push_back(std::move(f));
  return *w.fields.back();
}

}  // namespace veslink::test
