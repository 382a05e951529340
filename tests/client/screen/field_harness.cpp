// The stand-in controls and the scripted user of the field tests.
#include "tests/client/screen/field_harness.h"

#include <gtest/gtest.h>

#include <new>
#include <utility>

#include "client/screen/field_layout.h"

namespace veslink::test {

namespace {
std::string number(const ScreenField& f) {
  return std::to_string(f.number);
}
}  // namespace

void FakeFieldUi::show_field(ScreenField& f) {
  lines.push_back("show " + number(f));
  // A new edit shows its contents, as the control does when it is made.
  if (f.type == field_type::kEdit && !edits.count(&f))
    edits[&f].text = normalise_field_text(f, f.contents);
}

void FakeFieldUi::remove_field(ScreenField& f) {
  lines.push_back("remove " + number(f));
  edits.erase(&f);
}

void FakeFieldUi::area_changed(ScreenField& f) {
  lines.push_back("area " + number(f));
}

std::string FakeFieldUi::edit_text(const ScreenField& f) {
  auto it = edits.find(&f);
  return it == edits.end() ? f.contents : it->second.text;
}

void FakeFieldUi::set_edit_text(ScreenField& f, std::string_view text) {
  Edit& e = edits[&f];
  e.text = std::string(text);
  e.selected = false;
}

void FakeFieldUi::begin_edit_input(ScreenField& f, const EditInputStart& start) {
  if (std::exchange(out_of_memory, false)) throw std::bad_alloc();
  Edit& e = edits[&f];
  e.selected = start.select_all;
  e.limit = start.limit;
  lines.push_back("begin " + number(f) + (start.select_all ? " select " : " ") +
                  std::to_string(start.limit));
}

void FakeFieldUi::type_into_edit(ScreenField& f, std::int16_t code) {
  Edit& e = edits[&f];
  if (e.selected) e.text.clear();
  e.selected = false;
  if (code == 8) {
    if (!e.text.empty()) e.text.pop_back();
    return;
  }
  // The edit takes no more than the input limit.
  if (e.limit == 0 || e.text.size() < e.limit) e.text += static_cast<char>(code);
}

void FakeFieldUi::end_edit_input(ScreenField& f) {
  edits[&f].selected = false;
  lines.push_back("end " + number(f));
}

void FakeFieldUi::focus_field(ScreenField& f) {
  lines.push_back("focus " + number(f));
}

void FakeFieldUi::focus_window(ScreenWindow& w) {
  lines.push_back("focus window " + std::to_string(w.number));
}

FieldHarness::FieldHarness(int level) {
  layer().set_ui(&fields);
  layer().wait_for_events = [this] { return next_step(); };
  in.ui.cancel_input_requests = [this] { layer().cancel_requests(); };
  feed("\x1bmpi1P" + std::to_string(level) + "F\r\x1bmcw10I60W20H\r");
  replies();
  calls();
  fields.lines.clear();
}

FieldHarness::~FieldHarness() {
  in.programs.clear();
  layer().wait_for_events = nullptr;
  layer().set_ui(nullptr);
}

ScreenField* FieldHarness::field(std::uint32_t number, std::uint32_t window) {
  ScreenWindow* w = model.find_window(window);
  return w ? ScreenModel::find_field(*w, 0, number) : nullptr;
}

bool FieldHarness::next_step() {
  if (steps_.empty()) {
    ++starved;
    return false;
  }
  std::function<void()> step = std::move(steps_.front());
  steps_.pop_front();
  step();
  return true;
}

void FieldHarness::type(std::string_view text) {
  std::string copy(text);
  then([this, copy] {
    ScreenField* f = layer().input_field();
    if (!f) {
      ADD_FAILURE() << "no field input to type \"" << copy << "\" into";
      return;
    }
    for (char c : copy)
      fields.type_into_edit(*f, static_cast<std::uint8_t>(c));
  });
}

void FieldHarness::key(std::int16_t code) {
  then([this, code] { model.keys.push(code); });
}

void FieldHarness::click(std::uint32_t number) {
  then([this, number] {
    ScreenWindow* w = model.current_window();
    ScreenField* f = w ? ScreenModel::find_field(*w, 0, number) : nullptr;
    if (!f) {
      ADD_FAILURE() << "no field " << number << " to click";
      return;
    }
    layer().focus_arrived(*f);
  });
}

void FieldHarness::press(std::uint32_t number) {
  then([this, number] {
    ScreenWindow* w = model.current_window();
    ScreenField* f = w ? ScreenModel::find_field(*w, 0, number) : nullptr;
    if (!f) {
      ADD_FAILURE() << "no button " << number << " to press";
      return;
    }
    layer().push_button_pressed(*f);
  });
}

std::vector<std::string> FieldHarness::ui_lines() {
  return std::exchange(fields.lines, {});
}

}  // namespace veslink::test
