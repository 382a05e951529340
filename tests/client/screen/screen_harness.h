// A private interpreter with the screen model's routes and a window layer
// that records what the model asks of it, one line per call ("create 10",
// "show 10", "hide 1", "fit"), so the commands' effects on the model, the
// windows and the replies can be checked without a display.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "client/protocol/interpreter.h"
#include "client/screen/screen_model.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/function_keys.h"

namespace veslink::test {

class RecordingUi : public ScreenUi {
 public:
  std::vector<std::string> lines;
  bool main_shown = true;
  bool terminal_shown = false;
  bool refuse_create = false;
  CellPixels cells{7, 8, 20};
  std::optional<ColourRef> colour_answer;
  ColourRef colour_asked = 0xFFFFFFFF;
  std::vector<std::string> opened;
  std::string directory = "/opt/veslink";

  bool create_native(ScreenWindow& w) override;
  void destroy_native(ScreenWindow& w) override;
  void set_native_title(ScreenWindow& w) override;
  void show_native(ScreenWindow& w) override;
  void hide_native(ScreenWindow& w) override;
  void activate_native(ScreenWindow& w, bool focus) override;
  void minimise_native(ScreenWindow& w) override;
  void relayout(ScreenWindow& w) override;
  void field_changed(ScreenField& f) override;
  void field_removed(ScreenField& f) override;
  void caret_changed(ScreenWindow* from, ScreenWindow* to) override;
  CellPixels cell_pixels() const override { return cells; }
  void recompute_cell_metrics() override { lines.push_back("metrics"); }
  void fit_main_window() override { lines.push_back("fit"); }
  bool main_window_shown() const override { return main_shown; }
  void first_show() override;
  void repaint_work_area() override { lines.push_back("repaint"); }
  bool terminal_visible() const override { return terminal_shown; }
  void hide_terminal_window() override;
  void full_screen_started() override { lines.push_back("full screen on"); }
  void full_screen_ended() override { lines.push_back("full screen off"); }
  void frame_changed(const FrameTexts&) override { lines.push_back("frame"); }
  void show_product_name(const std::string& name) override { lines.push_back("product " + name); }
  bool open_document(const std::string& path) override;
  std::optional<ColourRef> choose_colour(ColourRef initial) override;
  std::string program_directory() const override { return directory; }
  int screen_width() const override { return 1280; }
  int screen_height() const override { return 1024; }
  int work_area_width() const override { return 1000; }
  int work_area_height() const override { return 700; }

  static std::string name(const ScreenWindow& w);
};

class ScreenHarness {
 public:
  ScreenHarness();
  ~ScreenHarness();

  void feed(std::string_view bytes);
  // Everything sent to the host since the last call, as readable text.
  std::string replies();
  // The window layer's lines since the last call (bells included).
  std::vector<std::string> calls();

  HostProgram* program(std::uint32_t number);
  ScreenWindow* window(std::uint32_t number) { return model.find_window(number); }
  // Adds a field to a window as the field commands will.
  ScreenField& add_field(ScreenWindow& w, std::uint32_t number, int type, double x, double y,
                         double width, double height = 1, std::uint32_t flags = 0,
                         std::uint32_t limit = 0);

  CharScreen screen;
  FunctionKeys keys;
  Interpreter in{screen, keys};
  RecordingUi ui;
  ScreenModel model{in};

 private:
  std::string sent_;
};

// Bytes as readable text: \e, \r, \n and \xNN for other controls.
std::string readable(std::string_view bytes);

}  // namespace veslink::test
