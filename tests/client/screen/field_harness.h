// The screen harness with the field layer's controls stood in for: edits
// that keep a text, a selection and a limit as a real edit would, one line
// per call the layer makes ("show 12", "begin 12 select 10"), and a
// scripted user: each time a wait runs out of codes, the next step runs
// (typing into the edit, keys, clicks, presses, host bytes arriving).
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "client/screen/field_layer.h"
#include "tests/client/screen/screen_harness.h"

namespace veslink::test {

class FakeFieldUi : public FieldUi {
 public:
  struct Edit {
    std::string text;
    bool selected = false;  // the next typed character replaces all of it
    std::uint32_t limit = 0;
  };
  std::map<const ScreenField*, Edit> edits;
  std::vector<std::string> lines;
  LayoutMetrics cells;         // the defaults of LayoutMetrics: 8 x 19 cells, 15-pixel lines
  bool out_of_memory = false;  // the next input's start fails to allocate

  LayoutMetrics metrics() const override { return cells; }
  void show_field(ScreenField& f) override;
  void remove_field(ScreenField& f) override;
  void area_changed(ScreenField& f) override;
  std::string edit_text(const ScreenField& f) override;
  void set_edit_text(ScreenField& f, std::string_view text) override;
  void begin_edit_input(ScreenField& f, const EditInputStart& start) override;
  void type_into_edit(ScreenField& f, std::int16_t code) override;
  void end_edit_input(ScreenField& f) override;
  void focus_field(ScreenField& f) override;
  void focus_window(ScreenWindow& w) override;
};

class FieldHarness : public ScreenHarness {
 public:
  // A level 2 program (1) with window 10 of 60 x 20 cells, shown.
  FieldHarness() : FieldHarness(2) {}
  explicit FieldHarness(int level);
  ~FieldHarness();

  FieldLayer& layer() { return model.fields(); }
  ScreenField* field(std::uint32_t number, std::uint32_t window = 10);

  // The user's next steps, taken one each time a wait finds no code.
  void then(std::function<void()> step) { steps_.push_back(std::move(step)); }
  // Steps as a wait sees them: typing into the edit being input, keys
  // into the queue, a click that moves the focus onto a field, a press.
  void type(std::string_view text);
  void key(std::int16_t code);
  void click(std::uint32_t field);
  void press(std::uint32_t button);
  std::size_t steps_left() const { return steps_.size(); }
  // Waits that found neither a code nor a step (each ends as a quit would).
  int starved = 0;

  std::vector<std::string> ui_lines();
  FakeFieldUi fields;

 private:
  bool next_step();
  std::deque<std::function<void()>> steps_;
};

}  // namespace veslink::test
