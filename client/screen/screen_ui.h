// ScreenUi: all the screen model asks of the windows: the native window of a
// host window (created hidden, shown, hidden, retitled, laid out again,
// destroyed), the main window's part in showing windows, the frame's bars
// and texts, and the few services of the desktop the commands need. Every
// member has a harmless default so tests override only what they watch; the
// Qt window layer implements all of it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "client/screen/cell_colour.h"
#include "client/screen/frame_texts.h"
#include "client/screen/window_geometry.h"

namespace veslink {

struct ScreenWindow;
struct ScreenField;

class ScreenUi {
 public:
  virtual ~ScreenUi() = default;

  // Native windows. `create_native` makes the frame and window hidden with
  // the window's title, computing its pixel geometry; false when the
  // platform could not make them.
  virtual bool create_native(ScreenWindow&) { return true; }
  virtual void destroy_native(ScreenWindow&) {}
  virtual void set_native_title(ScreenWindow&) {}
  virtual void show_native(ScreenWindow&) {}
  virtual void hide_native(ScreenWindow&) {}
  virtual void activate_native(ScreenWindow&, bool take_focus) {}
  virtual void minimise_native(ScreenWindow&) {}
  // The pixel geometry again (flags or cell metrics changed).
  virtual void relayout(ScreenWindow&) {}
  // A field's contents, colours or flags changed, or it is about to go.
  virtual void field_changed(ScreenField&) {}
  virtual void field_removed(ScreenField&) {}
  // The caret left `from` or entered `to` (either may be null): repaint.
  virtual void caret_changed(ScreenWindow* from, ScreenWindow* to) {}

  // The main window.
  virtual CellPixels cell_pixels() const { return {}; }
  virtual void recompute_cell_metrics() {}
  virtual void fit_main_window() {}
  virtual bool main_window_shown() const { return true; }
  virtual void first_show() {}
  virtual void repaint_work_area() {}
  virtual bool terminal_visible() const { return false; }
  virtual void hide_terminal_window() {}
  // A full-screen window arrived, or the last one went.
  virtual void full_screen_started() {}
  virtual void full_screen_ended() {}

  // The frame's texts and bars changed: show them.
  virtual void frame_changed(const FrameTexts&) {}
  // The product name changed: the main window shows it until the title is
  // next rebuilt.
  virtual void show_product_name(const std::string&) {}

  // Desktop services.
  virtual bool open_document(const std::string& path) { return false; }
  virtual std::optional<ColourRef> choose_colour(ColourRef initial) { return std::nullopt; }
  virtual std::string program_directory() const { return {}; }
  // Metrics in pixels: screen width and height, the work area's.
  virtual int screen_width() const { return 0; }
  virtual int screen_height() const { return 0; }
  virtual int work_area_width() const { return 0; }
  virtual int work_area_height() const { return 0; }
};

}  // namespace veslink
