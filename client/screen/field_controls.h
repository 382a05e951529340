// QtFieldUi: the fields' native controls on Qt. Each displayed field gets a
// NativeControl: its widget inside the window's ScreenWin (row fields inside
// their scrolling area), its entry of the field font table, its pictures.
// Prompts without frames or colours, group frames and background pictures
// have no widget and are painted with the window. Keys, focus changes,
// clicks, pastes and the context menus of the controls come back here and
// go on to the field layer and the key queue.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "client/screen/field_fonts.h"
#include "client/screen/field_ui.h"
#include "client/terminal/terminal_colours.h"

#include <QCalendarWidget>
#include <QToolButton>

class QKeyEvent;
class QPainter;

namespace veslink {

class FieldLayer;
class ScreenModel;

// What the window layer keeps of one field.
struct NativeControl {
  QPointer<QWidget> widget;  // none for painted fields
  int font_entry = -1;
  QImage picture;                // a picture field's image
  std::array<QImage, 5> images;  // a push button's images
  std::string loaded_from;       // the contents the images were read from
  bool multi_line = false;       // the kind of edit the widget was made as
  bool hidden_text = false;
};

struct QtFieldHooks {
  std::function<QFont()> screen_font;  // the client's two fonts (defaults when unset)
  std::function<QFont()> terminal_font;
  std::function<QWidget*()> main_window;  // where the date calendar opens
  // The main frame's Copy Field command armed the next click on a field.
  std::function<bool()> button_theme;  // push buttons drawn by the style
};

class QtFieldUi : public QObject, public FieldUi {
  Q_OBJECT
 public:
  QtFieldUi(FieldLayer& layer, QtFieldHooks hooks = {});
  ~QtFieldUi() override;

  FieldLayer& layer() { return layer_; }
  ScreenModel& model();
  FieldFontTable& fonts() { return fonts_; }
  // The fonts changed (settings): every field takes its entry again.
  void fonts_changed();

  LayoutMetrics metrics() const override;
  LayoutSizes sizes() override;
  TextMeasure measure() override;
  void show_field(ScreenField& f) override;
  void remove_field(ScreenField& f) override;
  void area_changed(ScreenField& area) override;
  bool has_control(const ScreenField& f) const override;
  std::string edit_text(const ScreenField& f) override;
  void set_edit_text(ScreenField& f, std::string_view text) override;
  void begin_edit_input(ScreenField& f, const EditInputStart& start) override;
  void type_into_edit(ScreenField& f, std::int16_t code) override;
  void end_edit_input(ScreenField& f) override;
  void focus_field(ScreenField& f) override;
  void focus_window(ScreenWindow& w) override;

  static QWidget* widget_of(const ScreenField& f);
  QFont font_of(const ScreenField& f) const;
  // Painted fields of a window (group frames, background pictures, prompts
  // without a control), in list order, over the background.
  void paint_window(QPainter& p, ScreenWindow& w, const QRect& dirty);
  // Whether a prompt is painted onto its window rather than given a control.
  static bool painted_prompt(const ScreenField& f);

  // From the controls.
  enum class KeyRoute { Consumed, Control };
  KeyRoute edit_key(ScreenField& f, QKeyEvent* e, bool multi_line);
  // Keys of buttons and other controls go the window's way.
  void forward_key(ScreenField& f, QKeyEvent* e);
  void control_focused(ScreenField& f, Qt::FocusReason reason);
  // A double click at `pos` in the prompt's control: -23 with the pointer's cell.
  void prompt_double_clicked(ScreenField& f, QPoint pos);
  // The Copy Field mode took this click: the field's text is on the clipboard.
  bool copy_field_click(ScreenField& f);
  // The same for a click on the window itself at `pos`: the painted prompt
  // under the pointer, if any, is copied. True when the mode took the click.
  bool copy_field_at(ScreenWindow& w, QPoint pos);
  // The right button on a field's control (`f`) or on the window itself.
  void context_menu(ScreenField* f, const QPoint& global);
  void window_menu(ScreenWindow& w, ScreenField* on, const QPoint& global);
  // The date calendar of the edit being input, opened or closed.
  void toggle_calendar(ScreenField& f);

  // The main frame's Copy Field command: the next click on a field copies it.
  void arm_copy_field() { copy_field_armed_ = true; }
  // The main frame's Edit commands on the edit being input: false when no
  // edit input runs (the command then does nothing).
  enum class EditCommand { Undo, Cut, Copy, Paste };
  bool edit_command(EditCommand command);
  bool edit_input_running() const;
  bool copy_field_armed() const { return copy_field_armed_; }
  // The lookup or date button of the running input, if any (tests).
  QToolButton* input_button() const { return input_button_; }
  QCalendarWidget* calendar() const { return calendar_; }

 private:
  QWidget* parent_for(ScreenField& f);
  void ensure_images(ScreenField& f);
  void show_edit(ScreenField& f, NativeControl& n, QWidget* parent);
  void show_prompt(ScreenField& f, NativeControl& n, QWidget* parent);
  void show_button(ScreenField& f, NativeControl& n, QWidget* parent);
  void show_area(ScreenField& f, NativeControl& n, QWidget* parent);
  void show_picture(ScreenField& f, NativeControl& n, QWidget* parent);
  void show_choice(ScreenField& f, NativeControl& n, QWidget* parent);
  void repaint_under(ScreenField& f);
  void drop_widget(NativeControl& n);
  void remove_input_button();
  void close_calendar();
  void date_chosen(ScreenField& f, int year, int month, int day);

  FieldLayer& layer_;
  QtFieldHooks hooks_;
  FieldFontTable fonts_;
  bool copy_field_armed_ = false;
  QPointer<QToolButton> input_button_;
  QPointer<QCalendarWidget> calendar_;
};

}  // namespace veslink
