// QtScreenUi: the screen model's window layer on Qt. Host windows become
// ScreenWins in VestraMDIWin frames in the main window's work area (or in
// the work area itself without a frame), sized and placed by the window
// geometry rules with the style's frame measures; the frame keeps the user
// on the current window; the main window is fitted to the top-level root
// and shows the frame texts through FrameBars.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "client/screen/frame_bars.h"
#include "client/screen/screen_ui.h"
#include "client/screen/screen_win.h"
#include "client/screen/vestra_mdi_win.h"
#include "client/screen/window_geometry.h"

class QMainWindow;
class QMdiArea;
class QMdiSubWindow;

namespace vestra::registry {
class Registry;
}

namespace veslink {

class ScreenModel;

// What the window layer keeps of one host window.
struct NativeWindow {
  QPointer<VestraMDIWin> frame;  // none for a window without a frame
  QPointer<ScreenWin> view;
  WindowGeometry geometry;
};

// What the window layer needs of the application around it.
struct QtScreenHooks {
  std::function<void()> first_show;  // the main window's first show
  std::function<bool()> terminal_visible;
  std::function<void()> hide_terminal;
  std::function<void()> focus_terminal;
  std::function<void()> recompute_cell_metrics;  // fonts to metrics again
  std::function<std::string()> program_directory;
  std::function<std::string()> host;  // the current host, for the title
  FrameBars::Commands commands;       // the toolbar's buttons
  bool mail_pane = false;
};

class QtScreenUi : public QObject, public ScreenUi {
  Q_OBJECT
 public:
  QtScreenUi(ScreenModel& model, QMainWindow& main, QMdiArea& area, vestra::registry::Registry& reg,
             QtScreenHooks hooks);
  ~QtScreenUi() override;

  // Native windows.
  bool create_native(ScreenWindow& w) override;
  void destroy_native(ScreenWindow& w) override;
  void set_native_title(ScreenWindow& w) override;
  void show_native(ScreenWindow& w) override;
  void hide_native(ScreenWindow& w) override;
  void activate_native(ScreenWindow& w, bool take_focus) override;
  void minimise_native(ScreenWindow& w) override;
  void relayout(ScreenWindow& w) override;
  void field_changed(ScreenField& f) override;
  void field_removed(ScreenField& f) override;
  void caret_changed(ScreenWindow* from, ScreenWindow* to) override;

  // The main window.
  CellPixels cell_pixels() const override;
  void recompute_cell_metrics() override;
  void fit_main_window() override;
  bool main_window_shown() const override;
  void first_show() override;
  void repaint_work_area() override;
  bool terminal_visible() const override;
  void hide_terminal_window() override;
  void full_screen_started() override;
  void full_screen_ended() override;
  void frame_changed(const FrameTexts& texts) override;
  void show_product_name(const std::string& name) override;

  // Desktop services.
  bool open_document(const std::string& path) override;
  std::optional<ColourRef> choose_colour(ColourRef initial) override;
  std::string program_directory() const override;
  int screen_width() const override;
  int screen_height() const override;
  int work_area_width() const override;
  int work_area_height() const override;

  // The title from the frame texts, GUI mode and the host.
  void rebuild_title();
  FrameBars& bars() { return *bars_; }
  // The style's measures the frames are sized with.
  FrameMetrics frame_metrics() const;
  static ScreenWin* view_of(const ScreenWindow& w);
  static VestraMDIWin* frame_of(const ScreenWindow& w);

  // Replaceable for tests: the colour dialog and the desktop's opener.
  std::function<std::optional<ColourRef>(ColourRef)> colour_dialog;
  std::function<bool(const std::string&)> document_opener;

 private:
  void apply_geometry(ScreenWindow& w);
  void frame_activated(QMdiSubWindow* sub);
  void user_resized(VestraMDIWin& frame, QSize size);

  ScreenModel& model_;
  QMainWindow& main_;
  QMdiArea& area_;
  vestra::registry::Registry& reg_;
  QtScreenHooks hooks_;
  std::unique_ptr<FrameBars> bars_;
  bool first_fit_ = true;
  bool maximise_at_start_ = false;
  bool maximised_for_full_screen_ = false;
  std::string title_data_area_;  // what the title was last built from
  bool title_beta_ = false;
  std::string title_menu_item_;
};

}  // namespace veslink
