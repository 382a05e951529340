// The fields' controls on Qt: creation and update by type, edits during an
// input, focus rules, keys, painted fields, the date calendar.
#include "client/screen/field_controls.h"
#include "client/screen/focus_release.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QPalette>
#include <QStyle>
#include <QTextOption>
#include <QTimer>
#include <QToolButton>

#include "client/prefs/fonts.h"
#include "client/protocol/interpreter.h"
#include "client/screen/builtin_icons.h"
#include "client/screen/date_text.h"
#include "client/screen/field_colours.h"
#include "client/screen/field_flags.h"
#include "client/screen/field_layer.h"
#include "client/screen/field_text.h"
#include "client/screen/field_widgets.h"
#include "client/screen/picture_loader.h"
#include "client/screen/push_button.h"
#include "client/screen/qt_keys.h"
#include "client/screen/qt_screen_ui.h"
#include "client/screen/screen_model.h"
#include "client/screen/scrolling_area.h"

namespace veslink {

namespace ff = field_flag;
namespace ft = field_type;

namespace {
QColor qcolour(ColourRef c) {
  return QColor(red_of(c), green_of(c), blue_of(c));
}

QFont default_screen_font() {
  return make_font(FontSpec{"Arial", 15, 400, 1, kVariablePitch, 0});
}
QFont default_terminal_font() {
  return make_font(FontSpec{"Courier New", 16, 400, 1, kFixedPitch | kFamilyModern, 8});
}

// The longest text a single-row edit holds.
constexpr int kMostInEdit = 32767;

NativeControl& native_of(ScreenField& f) {
  if (!f.control) f.control = new NativeControl;
  return *f.control;
}

Qt::Alignment text_alignment(const ScreenField& f) {
  if (f.flags & ff::kRightAligned) return Qt::AlignRight;
  if (f.flags & ff::kCentred) return Qt::AlignHCenter;
  return Qt::AlignLeft;
}

void apply_palette(QWidget* w, ColourPair c) {
  QPalette pal = w->palette();
  for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    pal.setColor(g, QPalette::Base, qcolour(c.background));
    pal.setColor(g, QPalette::Window, qcolour(c.background));
    pal.setColor(g, QPalette::Text, qcolour(c.text));
    pal.setColor(g, QPalette::WindowText, qcolour(c.text));
    pal.setColor(g, QPalette::ButtonText, qcolour(c.text));
  }
  w->setPalette(pal);
}

QRect rect_of(const ScreenField& f) {
  return QRect(f.pixels.left, f.pixels.top, std::max(0, f.pixels.width),
               std::max(0, f.pixels.height));
}

// A single-row caption without trailing blanks or control characters.
QString trimmed_caption(const ScreenField& f, const std::string& text) {
  std::string s = text.substr(0, 1022);
  if (single_row(f))
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20)
      s.pop_back();
  return field_qstring(s);
}
}  // namespace

QtFieldUi::QtFieldUi(FieldLayer& layer, QtFieldHooks hooks)
    : layer_(layer), hooks_(std::move(hooks)) {
  fonts_.set_base_fonts(hooks_.screen_font ? hooks_.screen_font() : default_screen_font(),
                        hooks_.terminal_font ? hooks_.terminal_font() : default_terminal_font());
}

QtFieldUi::~QtFieldUi() {
  close_calendar();
  remove_input_button();
}

ScreenModel& QtFieldUi::model() {
  return layer_.model();
}

void QtFieldUi::fonts_changed() {
  fonts_.set_base_fonts(hooks_.screen_font ? hooks_.screen_font() : default_screen_font(),
                        hooks_.terminal_font ? hooks_.terminal_font() : default_terminal_font());
  model().for_each_window([this](ScreenWindow& w) {
    for (auto& f : w.fields)
      if (f->control) f->control->font_entry = -1;
    if (w.has_native()) layer_.window_ready(w);
  });
}

LayoutMetrics QtFieldUi::metrics() const {
  const CellMetrics& c = cell_metrics();
  LayoutMetrics m;
  m.cell_width = c.screen_char_width;
  m.cell_height = c.cell_height;
  m.line_height = c.screen_line_height;
  m.terminal_char_width = c.terminal_char_width;
  m.terminal_line_height = c.terminal_line_height;
  m.max_char_width = c.screen_max_char_width;
  m.scroll_bar_width = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  return m;
}

void QtFieldUi::ensure_images(ScreenField& f) {
  NativeControl& n = native_of(f);
  if (n.loaded_from == f.contents && !n.loaded_from.empty()) return;
  n.loaded_from = f.contents;
  if (f.type == ft::kPicture) {
    n.picture = load_picture(f.extra.picture);
    return;
  }
  for (std::size_t i = 0; i < n.images.size(); ++i)
    n.images[i] =
        f.extra.button.images[i].empty() ? QImage() : load_picture(f.extra.button.images[i]);
}

LayoutSizes QtFieldUi::sizes() {
  LayoutSizes s;
  s.image_size = [this](const ScreenField& cf, int index) -> std::optional<PixelSize> {
    auto& f = const_cast<ScreenField&>(cf);
    if (f.type != ft::kPushButton && f.type != ft::kPicture) return std::nullopt;
    ensure_images(f);
    const NativeControl& n = *f.control;
    const QImage& image =
        f.type == ft::kPicture ? n.picture : n.images[static_cast<std::size_t>(index)];
    if (image.isNull() || (f.type == ft::kPicture && index != 0)) return std::nullopt;
    return PixelSize{image.width(), image.height()};
  };
  s.caption_width = [this](const ScreenField& f) {
    return QFontMetrics(fonts_.screen_font())
        .horizontalAdvance(trimmed_caption(f, f.extra.button.caption));
  };
  return s;
}

TextMeasure QtFieldUi::measure() {
  TextMeasure m;
  m.width = [this](int percent, std::string_view text) {
    return QFontMetrics(fonts_.screen_at(percent)).horizontalAdvance(field_qstring(text));
  };
  m.height = [this](int percent) { return QFontMetrics(fonts_.screen_at(percent)).height(); };
  return m;
}

QWidget* QtFieldUi::widget_of(const ScreenField& f) {
  return f.control ? f.control->widget.data() : nullptr;
}

QFont QtFieldUi::font_of(const ScreenField& f) const {
  return f.control ? fonts_.font(f.control->font_entry) : fonts_.screen_font();
}

bool QtFieldUi::painted_prompt(const ScreenField& f) {
  return f.type == ft::kPrompt &&
         !(f.flags & (ff::kAnyBorder | ff::kReverse | ff::kFlashing | ff::kRow));
}

bool QtFieldUi::has_control(const ScreenField& f) const {
  return widget_of(f) != nullptr;
}

QWidget* QtFieldUi::parent_for(ScreenField& f) {
  ScreenWindow& w = *f.window;
  if (f.flags & ff::kRow) {
    if (ScreenField* area = area_of_row_field(w, f))
      if (auto* a = qobject_cast<ScrollingAreaWin*>(widget_of(*area))) return a->inside();
  }
  return QtScreenUi::view_of(w);
}

void QtFieldUi::drop_widget(NativeControl& n) {
  if (QWidget* w = n.widget) {
    if (auto* link = dynamic_cast<FieldLink*>(w)) link->detach();
    // Hiding a control that holds the focus makes Qt pass the focus on as
    // Tab would; when nothing else in the frame can take it, the frame
    // hands it back and forth without end. The control lets go first.
    release_focus(*w);
    w->hide();
    w->deleteLater();
  }
  n.widget = nullptr;
}

void QtFieldUi::repaint_under(ScreenField& f) {
  if (ScreenWin* view = QtScreenUi::view_of(*f.window)) view->update();
}

void QtFieldUi::show_field(ScreenField& f) {
  QWidget* parent = parent_for(f);
  if (!parent) return;
  NativeControl& n = native_of(f);
  const int percent = f.extra.font_percent ? f.extra.font_percent : f.size_percent;
  n.font_entry = fonts_.acquire(percent, f.flags, n.font_entry);
  switch (f.type) {
    case ft::kEdit:
      show_edit(f, n, parent);
      break;
    case ft::kPrompt:
      show_prompt(f, n, parent);
      break;
    case ft::kPushButton:
      show_button(f, n, parent);
      break;
    case ft::kScrollingArea:
      show_area(f, n, parent);
      break;
    case ft::kPicture:
      show_picture(f, n, parent);
      break;
    case ft::kRadioButton:
    case ft::kCheckBox:
      show_choice(f, n, parent);
      break;
    case ft::kGroupFrame:
    default:
      repaint_under(f);
      return;
  }
  if (QWidget* w = n.widget) {
    if (w->parentWidget() != parent) w->setParent(parent);
    w->setGeometry(rect_of(f));
    w->setFont(fonts_.font(n.font_entry));
    w->setVisible(!(f.flags & ff::kHidden));
    w->raise();  // the drawing order: this field is the newest
  }
}

void QtFieldUi::show_edit(ScreenField& f, NativeControl& n, QWidget* parent) {
  const bool multi = !single_row(f) || f.width.real <= 1;
  const bool hidden_text = f.flags & ff::kHiddenText;
  if (n.widget && (n.multi_line != multi || n.hidden_text != hidden_text)) drop_widget(n);
  const bool focused = f.window->focus == &f;
  const ColourPair colours = edit_or_prompt_colours(f, *f.window, focused, field_scheme());
  const QString text = field_qstring(normalise_field_text(f, f.contents));
  const bool input = layer_.input_field() == &f;
  if (multi) {
    auto* e = qobject_cast<FieldTextEdit*>(n.widget.data());
    if (!e) {
      e = new FieldTextEdit(*this, f, parent);
      e->setPlainText(text);
      n.widget = e;
    }
    e->setFrameStyle((f.flags & (ff::kRow | ff::kNoBorder)) ? QFrame::NoFrame
                     : (f.flags & ff::kThinBorder)          ? QFrame::Box | QFrame::Plain
                                                            : QFrame::StyledPanel | QFrame::Sunken);
    e->setReadOnly(!input);
    QTextOption option = e->document()->defaultTextOption();
    option.setAlignment(text_alignment(f));
    e->document()->setDefaultTextOption(option);
    // 16 dialog units: four average characters.
    e->setTabStopDistance(QFontMetricsF(fonts_.font(n.font_entry)).averageCharWidth() * 4);
    apply_palette(e, colours);
    apply_palette(e->viewport(), colours);
  } else {
    auto* e = qobject_cast<FieldLineEdit*>(n.widget.data());
    if (!e) {
      e = new FieldLineEdit(*this, f, parent);
      e->setText(text);
      e->setCursorPosition(0);
      n.widget = e;
    }
    e->setEchoMode(hidden_text ? QLineEdit::Password : QLineEdit::Normal);
    e->setAlignment(text_alignment(f) | Qt::AlignVCenter);
    e->setFrame(!(f.flags & (ff::kRow | ff::kNoBorder | ff::kThinBorder)));
    e->set_thin_border((f.flags & ff::kThinBorder) && !(f.flags & ff::kRow));
    e->setReadOnly(!input);
    apply_palette(e, colours);
  }
  n.multi_line = multi;
  n.hidden_text = hidden_text;
  n.widget->setAutoFillBackground(true);
  n.widget->setToolTip(field_qstring(f.help));
}

void QtFieldUi::show_prompt(ScreenField& f, NativeControl& n, QWidget* parent) {
  if (painted_prompt(f)) {
    drop_widget(n);
    repaint_under(f);
    return;
  }
  auto* s = qobject_cast<FieldStatic*>(n.widget.data());
  if (!s) {
    s = new FieldStatic(*this, f, parent);
    n.widget = s;
  }
  s->text = field_qstring(normalise_field_text(f, f.contents));
  Qt::Alignment a = text_alignment(f);
  if ((f.flags & ff::kReverse) && !(f.flags & (ff::kRightAligned | 0x40000))) a = Qt::AlignHCenter;
  s->alignment = a | (single_row(f) ? Qt::AlignVCenter : Qt::AlignTop);
  s->ellipsis = single_row(f) && (f.flags & (ff::kRightAligned | ff::kCentred));
  if (f.flags & ff::kStaticEdge) {
    s->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    s->setLineWidth(1);
  } else if (f.flags & ff::kDialogFrame) {
    s->setFrameStyle(QFrame::Panel | QFrame::Raised);
    s->setLineWidth(2);
  } else if (f.flags & ff::kThinBorder) {
    s->setFrameStyle(QFrame::Box | QFrame::Plain);
    s->setLineWidth(1);
  } else {
    s->setFrameStyle(QFrame::NoFrame);
  }
  s->colours = edit_or_prompt_colours(f, *f.window, false, field_scheme());
  s->update();
}

void QtFieldUi::show_button(ScreenField& f, NativeControl& n, QWidget* parent) {
  ensure_images(f);
  auto* b = qobject_cast<HostPushButton*>(n.widget.data());
  if (!b) {
    b = new HostPushButton(*this, f, n, parent);
    n.widget = b;
  }
  b->setEnabled(!(f.flags & ff::kReadOnly));
  b->setToolTip(field_qstring(f.help));
  b->update();
}

void QtFieldUi::show_area(ScreenField& f, NativeControl& n, QWidget* parent) {
  auto* a = qobject_cast<ScrollingAreaWin*>(n.widget.data());
  if (!a) {
    a = new ScrollingAreaWin(*this, f, parent);
    n.widget = a;
  }
  a->refresh();
}

void QtFieldUi::area_changed(ScreenField& area) {
  if (auto* a = qobject_cast<ScrollingAreaWin*>(widget_of(area))) a->refresh();
}

void QtFieldUi::show_picture(ScreenField& f, NativeControl& n, QWidget* parent) {
  ensure_images(f);
  if (f.flags & ff::kWindowColours) {
    // A background picture: drawn by the window's painting.
    drop_widget(n);
    repaint_under(f);
    return;
  }
  auto* p = qobject_cast<FieldPicture*>(n.widget.data());
  if (!p) {
    p = new FieldPicture(*this, f, parent);
    n.widget = p;
  }
  if (f.flags & ff::kDialogFrame) {
    p->setFrameStyle(QFrame::Panel | QFrame::Raised);
    p->setLineWidth(2);
  } else if (f.flags & (ff::kThinBorder | ff::kStaticEdge)) {
    p->setFrameStyle(QFrame::Box | QFrame::Plain);
    p->setLineWidth(1);
  } else {
    p->setFrameStyle(QFrame::NoFrame);
  }
  p->image = n.picture;
  p->stretch = f.flags & ff::kFlashing;
  p->update();
}

void QtFieldUi::show_choice(ScreenField& f, NativeControl& n, QWidget* parent) {
  QAbstractButton* b = qobject_cast<QAbstractButton*>(n.widget.data());
  if (!b) {
    if (f.type == ft::kRadioButton) {
      b = new FieldRadio(*this, f, parent);
    } else {
      b = new FieldCheck(*this, f, parent);
    }
    n.widget = b;
  }
  b->setText(trimmed_caption(f, f.extra.button.caption));
  b->setChecked(f.flags & ff::kPressed);
  b->setEnabled(!(f.flags & ff::kReadOnly));
  b->setToolTip(field_qstring(f.help));
  apply_palette(b, edit_or_prompt_colours(f, *f.window, false, field_scheme()));
}

void QtFieldUi::remove_field(ScreenField& f) {
  NativeControl* n = f.control;
  if (!n) return;
  if (layer_.input_field() == &f ||
      (input_button_ && input_button_->property("field").value<void*>() == &f)) {
    close_calendar();
    remove_input_button();
  }
  fonts_.release(n->font_entry);
  const bool painted = !n->widget;
  drop_widget(*n);
  delete n;
  f.control = nullptr;
  if (painted) repaint_under(f);
}

std::string QtFieldUi::edit_text(const ScreenField& f) {
  if (auto* e = qobject_cast<FieldLineEdit*>(widget_of(f))) return field_bytes(e->text());
  if (auto* e = qobject_cast<FieldTextEdit*>(widget_of(f))) return field_bytes(e->toPlainText());
  return normalise_field_text(f, f.contents);
}

void QtFieldUi::set_edit_text(ScreenField& f, std::string_view text) {
  if (auto* e = qobject_cast<FieldLineEdit*>(widget_of(f))) {
    // A limit left from an input must not cut what the host sends.
    e->setMaxLength(kMostInEdit);
    e->setText(field_qstring(text));
    e->setCursorPosition(0);
  } else if (auto* e = qobject_cast<FieldTextEdit*>(widget_of(f))) {
    e->setPlainText(field_qstring(text));
  }
}

void QtFieldUi::begin_edit_input(ScreenField& f, const EditInputStart& start) {
  QWidget* w = widget_of(f);
  if (!w) return;
  // The input colours: the edit is its window's focused field now.
  layer_.field_changed(f);
  if (auto* e = qobject_cast<FieldLineEdit*>(w)) {
    e->setReadOnly(false);
    // The limit stops typing; a longer text the host gave stays whole.
    e->setMaxLength(std::max(static_cast<int>(std::min<std::uint32_t>(start.limit, kMostInEdit)),
                             static_cast<int>(e->text().size())));
    e->setFocus(Qt::OtherFocusReason);
    if (start.select_all) {
      e->selectAll();
    } else {
      e->deselect();
      e->end(false);
    }
  } else if (auto* e = qobject_cast<FieldTextEdit*>(w)) {
    e->setReadOnly(false);
    e->limit = std::max(static_cast<int>(std::min<std::uint32_t>(start.limit, kMostInEdit)),
                        static_cast<int>(e->toPlainText().size()));
    e->setFocus(Qt::OtherFocusReason);
    // A one-cell edit of one row is selected as a single-row edit is.
    if (start.select_all) {
      e->selectAll();
    } else {
      e->moveCursor(QTextCursor::End);
    }
  }
  if ((f.flags & (ff::kLookup | ff::kDate)) && !input_button_) {
    // The lookup or date button of this input, one pixel right of the edit.
    auto* b = new QToolButton(w->parentWidget());
    b->setObjectName("input button");
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRaise(false);
    b->setIcon(QApplication::style()->standardIcon((f.flags & ff::kDate)
                                                       ? QStyle::SP_FileDialogDetailedView
                                                       : QStyle::SP_FileDialogContentsView));
    b->setIconSize(QSize(12, 12));
    b->setGeometry(w->x() + w->width() + 1, w->y() + 1, 16, 16);
    b->setProperty("field", QVariant::fromValue<void*>(&f));
    ScreenField* field = &f;
    connect(b, &QToolButton::clicked, this, [this, field] {
      if (layer_.input_field() != field) return;
      if (field->flags & ff::kDate) {
        toggle_calendar(*field);
      } else {
        model().keys.push(-5);  // the host opens its lookup, as for F2
      }
    });
    b->show();
    input_button_ = b;
  }
}

void QtFieldUi::type_into_edit(ScreenField& f, std::int16_t code) {
  QWidget* w = widget_of(f);
  if (auto* e = qobject_cast<FieldLineEdit*>(w)) {
    if (code == 8) {
      e->backspace();
    } else if (code >= 0x20 || code == 9) {
      e->insert(field_qstring(std::string(1, static_cast<char>(code))));
    }
  } else if (auto* e = qobject_cast<FieldTextEdit*>(w)) {
    if (code == 8) {
      e->textCursor().deletePreviousChar();
    } else {
      e->insertPlainText(field_qstring(std::string(1, static_cast<char>(code))));
    }
  }
}

void QtFieldUi::end_edit_input(ScreenField& f) {
  close_calendar();
  remove_input_button();
  QWidget* w = widget_of(f);
  if (auto* e = qobject_cast<FieldLineEdit*>(w)) {
    e->deselect();
    e->setReadOnly(true);
    e->setMaxLength(kMostInEdit);  // the input's limit ends with it
    e->setCursorPosition(0);
  } else if (auto* e = qobject_cast<FieldTextEdit*>(w)) {
    QTextCursor c = e->textCursor();
    c.clearSelection();
    e->setTextCursor(c);
    e->ensureCursorVisible();
    e->setReadOnly(true);
    e->limit = 0;
  }
  if (ScreenWin* view = QtScreenUi::view_of(*f.window); view && w && w->hasFocus())
    view->setFocus(Qt::OtherFocusReason);
  if (f.extra.displayed) layer_.field_changed(f);
}

void QtFieldUi::remove_input_button() {
  if (input_button_) {
    input_button_->hide();
    input_button_->deleteLater();
  }
  input_button_ = nullptr;
}

void QtFieldUi::focus_field(ScreenField& f) {
  if (QWidget* w = widget_of(f)) w->setFocus(Qt::OtherFocusReason);
}

void QtFieldUi::focus_window(ScreenWindow& w) {
  if (ScreenWin* view = QtScreenUi::view_of(w)) view->setFocus(Qt::OtherFocusReason);
}

// Keys -----------------------------------------------------------------------

QtFieldUi::KeyRoute QtFieldUi::edit_key(ScreenField& f, QKeyEvent* e, bool multi_line) {
  KeyQueue& keys = model().keys;
  const bool input = layer_.input_field() == &f;
  if (e->matches(QKeySequence::Paste)) {
    if (input) layer_.paste(field_bytes(QApplication::clipboard()->text()));
    return KeyRoute::Consumed;
  }
  if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::SelectAll))
    return KeyRoute::Control;
  if (e->matches(QKeySequence::Cut) || e->matches(QKeySequence::Undo) ||
      e->matches(QKeySequence::Redo))
    return input ? KeyRoute::Control : KeyRoute::Consumed;

  const EditKind kind = multi_line                        ? EditKind::MultiLine
                        : (f.flags & ff::kLeavesSideways) ? EditKind::LeavesSideways
                                                          : EditKind::SingleLine;
  const KeyPress press = key_press_of(*e, kind);
  if (press.key == KeyName::Function && press.function == 2 && (f.flags & ff::kDate) && input) {
    toggle_calendar(f);  // F2 opens or closes the calendar and sends nothing
    return KeyRoute::Consumed;
  }
  const ScreenWindow* current = model().current_window();
  const KeyAction a = translate_key(press, current ? current->hot_keys : 0);
  switch (a.kind) {
    case KeyAction::Kind::Code:
      keys.push(a.code, press.auto_repeat);
      return a.control_too && input ? KeyRoute::Control : KeyRoute::Consumed;
    case KeyAction::Kind::LocalUtility:
      if (model().services.start_local_utility) model().services.start_local_utility();
      return KeyRoute::Consumed;
    case KeyAction::Kind::Macro:
      return KeyRoute::Consumed;
    case KeyAction::Kind::None:
      return KeyRoute::Control;  // caret keys and Delete; the edit is read-only outside an input
    case KeyAction::Kind::Character:
      break;
  }
  const int k = e->key();
  if (k == Qt::Key_Return || k == Qt::Key_Enter) {
    if (multi_line && input) return KeyRoute::Control;  // a line break
    keys.push(13, press.auto_repeat);
    return KeyRoute::Consumed;
  }
  if (k == Qt::Key_Tab || k == Qt::Key_Backtab) {
    if (multi_line && input && k == Qt::Key_Tab && !press.shift) return KeyRoute::Control;
    keys.push(9, press.auto_repeat, k == Qt::Key_Backtab || press.shift);
    return KeyRoute::Consumed;
  }
  if (k == Qt::Key_Escape) {
    keys.push(27, press.auto_repeat);
    return KeyRoute::Consumed;
  }
  if (k == Qt::Key_Backspace) {
    if (input) return KeyRoute::Control;
    keys.push(8, press.auto_repeat);
    return KeyRoute::Consumed;
  }
  if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return KeyRoute::Consumed;
  if (input) return KeyRoute::Control;
  // Typed ahead: the next input replays it.
  for (QChar c : e->text()) {
    const std::string b = field_bytes(QString(c));
    const auto byte = static_cast<std::uint8_t>(b[0]);
    if (byte >= 0x20) keys.push(byte, press.auto_repeat);
  }
  return KeyRoute::Consumed;
}

void QtFieldUi::forward_key(ScreenField& f, QKeyEvent* e) {
  if (ScreenWin* view = QtScreenUi::view_of(*f.window)) view->handle_key(e);
}

void QtFieldUi::control_focused(ScreenField& f, Qt::FocusReason reason) {
  // Only the user moves the focus by mouse; the client's own moves are
  // already the rules' outcome.
  if (reason != Qt::MouseFocusReason) return;
  if (copy_field_armed_) {
    // The click that gave the focus is the Copy Field click (the control's
    // mouse press copies): it is not a move to another field, so the edit
    // being input keeps its input and gets the focus back.
    ScreenField* input = layer_.input_field();
    QPointer<QWidget> back = input && input != &f ? widget_of(*input) : nullptr;
    if (back)
      QTimer::singleShot(0, this, [back] {
        if (back) back->setFocus(Qt::OtherFocusReason);
      });
    return;
  }
  const FocusVerdict v = layer_.focus_arrived(f);
  if (v.keep) {
    if (f.type == ft::kEdit) layer_.field_changed(f);
    return;
  }
  QPointer<QWidget> back = v.back_to ? widget_of(*v.back_to) : nullptr;
  QPointer<ScreenWin> view = v.back_window ? QtScreenUi::view_of(*v.back_window) : nullptr;
  QTimer::singleShot(0, this, [back, view] {
    if (back) {
      back->setFocus(Qt::OtherFocusReason);
    } else if (view) {
      view->setFocus(Qt::OtherFocusReason);
    }
  });
}

void QtFieldUi::prompt_double_clicked(ScreenField& f, QPoint pos) {
  // The pointer's cell, measured from the window as for its background.
  QWidget* control = widget_of(f);
  ScreenWin* view = QtScreenUi::view_of(*f.window);
  if (control && view && view->isAncestorOf(control)) pos = control->mapTo(view, pos);
  const CellPixels cells = model().ui().cell_pixels();
  EventValues& v = model().interpreter().events;
  const ScreenWindow& w = *f.window;
  v.target = 0;
  v.click_column = w.column.byte + (cells.cell_width > 0 ? pos.x() / cells.cell_width : 0);
  v.click_row = w.row.byte + (cells.cell_height > 0 ? pos.y() / cells.cell_height : 0);
  model().keys.push(-23);
}

namespace {
// Shows the field clicked by Copy Field with its colours swapped until the
// mouse button comes up, so the user sees which field was copied.
class CopyFieldHold : public QObject {
 public:
  explicit CopyFieldHold(QWidget& w) : QObject(&w), widget_(&w), normal_(w.palette()) {
    swapped_ = normal_;
    for (auto [a, b] : {std::pair{QPalette::Base, QPalette::Text},
                        std::pair{QPalette::Window, QPalette::WindowText},
                        std::pair{QPalette::Button, QPalette::ButtonText}}) {
      swapped_.setColor(a, normal_.color(b));
      swapped_.setColor(b, normal_.color(a));
    }
    w.setPalette(swapped_);
    w.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (o == widget_ && e->type() == QEvent::MouseButtonRelease) {
      // The host may have recoloured the field meanwhile: its colours stay.
      if (widget_->palette() == swapped_) widget_->setPalette(normal_);
      widget_->removeEventFilter(this);
      deleteLater();
    }
    return false;
  }

 private:
  QWidget* widget_;
  QPalette normal_;
  QPalette swapped_;
};
}  // namespace

bool QtFieldUi::copy_field_click(ScreenField& f) {
  if (!copy_field_armed_) return false;
  copy_field_armed_ = false;
  // The click is taken either way; a hidden text is not copied.
  if (!(f.flags & ff::kHiddenText))
    QApplication::clipboard()->setText(field_qstring(layer_.value_of(f)));
  if (QWidget* w = widget_of(f)) new CopyFieldHold(*w);
  return true;
}

bool QtFieldUi::copy_field_at(ScreenWindow& w, QPoint pos) {
  if (!copy_field_armed_) return false;
  copy_field_armed_ = false;
  // The newest painted prompt under the pointer is the one on top.
  for (auto it = w.fields.rbegin(); it != w.fields.rend(); ++it) {
    const ScreenField& f = **it;
    if (!f.extra.displayed || !painted_prompt(f) || (f.flags & ff::kHidden)) continue;
    if (rect_of(f).contains(pos)) {
      QApplication::clipboard()->setText(field_qstring(normalise_field_text(f, f.contents)));
      break;
    }
  }
  return true;
}

// The date calendar ----------------------------------------------------------

void QtFieldUi::toggle_calendar(ScreenField& f) {
  if (calendar_) {
    close_calendar();
    focus_field(f);
    return;
  }
  QWidget* edit = widget_of(f);
  QWidget* main = hooks_.main_window ? hooks_.main_window() : nullptr;
  if (!edit) return;
  if (!main) main = edit->window();
  auto* c = new QCalendarWidget(main);
  c->setObjectName("date calendar");
  c->setWindowFlags(Qt::Widget);
  c->setAttribute(Qt::WA_DeleteOnClose);
  c->setGridVisible(true);
  if (std::optional<CalendarDate> d = parse_date_text(edit_text(f)))
    c->setSelectedDate(QDate(d->year, d->month, d->day));
  const QSize size = c->sizeHint();
  // Below the edit, moved left and above it when the main window ends first.
  QPoint below = edit->mapTo(main, QPoint(0, edit->height()));
  QPoint pos = below;
  if (pos.x() + size.width() > main->width()) pos.setX(std::max(0, main->width() - size.width()));
  const QPoint above = edit->mapTo(main, QPoint(0, 0));
  if (pos.y() + size.height() > main->height() && above.y() >= size.height())
    pos.setY(above.y() - size.height());
  c->setGeometry(QRect(pos, size));
  ScreenField* field = &f;
  connect(c, &QCalendarWidget::activated, this, [this, field](QDate date) {
    if (layer_.input_field() == field) date_chosen(*field, date.year(), date.month(), date.day());
  });
  connect(c, &QCalendarWidget::clicked, this, [this, field](QDate date) {
    if (layer_.input_field() == field) date_chosen(*field, date.year(), date.month(), date.day());
  });
  c->show();
  c->raise();
  c->setFocus();
  calendar_ = c;
}

void QtFieldUi::close_calendar() {
  if (calendar_) {
    calendar_->hide();
    calendar_->deleteLater();
  }
  calendar_ = nullptr;
}

void QtFieldUi::date_chosen(ScreenField& f, int year, int month, int day) {
  close_calendar();
  focus_field(f);
  if (auto* e = qobject_cast<FieldLineEdit*>(widget_of(f))) e->selectAll();
  for (char c : format_date_text(CalendarDate{year, month, day}))
    type_into_edit(f, static_cast<std::uint8_t>(c));
  model().keys.push(13);  // ends the input as Enter does
}

// Painted fields -------------------------------------------------------------

void QtFieldUi::paint_window(QPainter& p, ScreenWindow& w, const QRect& dirty) {
  const FieldScheme scheme = field_scheme();
  for (auto& owned : w.fields) {
    ScreenField& f = *owned;
    if (!f.extra.displayed || (f.flags & (ff::kHidden | ff::kRow))) continue;
    const QRect r = rect_of(f);
    if (!r.intersects(dirty.adjusted(-2, -2, 2, 2))) continue;
    if (f.type == ft::kGroupFrame) {
      const ColourPair c = group_frame_colours(f, w, scheme);
      const bool own_b = has_own_colour(f.background);
      const QColor line =
          has_own_colour(f.colour) ? qcolour(colour_of_cell_code(f.colour)) : Qt::black;
      if (own_b && r.width() >= 3 && r.height() >= 3) {
        p.fillRect(r, qcolour(colour_of_cell_code(f.background)));
        if (!(f.flags & ff::kStaticEdge)) {
          p.setPen(line);
          p.setBrush(Qt::NoBrush);
          p.drawRect(r.adjusted(0, 0, -1, -1));
        }
      }
      if (f.flags & ff::kStaticEdge) {
        // A sunken double frame.
        p.setPen(QColor(192, 192, 192));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(Qt::white);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        const QRect in = r.adjusted(1, 1, -1, -1);
        p.setPen(QColor(128, 128, 128));
        p.drawLine(in.topLeft(), in.topRight());
        p.drawLine(in.topLeft(), in.bottomLeft());
        p.setPen(qcolour(scheme.classes.normal.background));
        p.drawLine(in.bottomLeft(), in.bottomRight());
        p.drawLine(in.topRight(), in.bottomRight());
      } else if (!own_b) {
        // An etched frame: a dark line with a white one inside it.
        const bool given = has_own_colour(f.colour);
        p.setBrush(Qt::NoBrush);
        p.setPen(given ? line : QColor(128, 128, 128));
        p.drawRect(r.adjusted(0, 0, -2, -2));
        if (!given) {
          p.setPen(Qt::white);
          p.drawRect(r.adjusted(1, 1, -1, -1));
        }
      }
      const QString caption = field_qstring(f.contents);
      if (!caption.trimmed().isEmpty()) {
        const CellMetrics& m = cell_metrics();
        const QFont font = font_of(f);
        p.setFont(font);
        const int top = std::max(0, r.top() - m.screen_line_height / 2);
        const int width = QFontMetrics(font).horizontalAdvance(caption);
        const QRect box(r.left() + m.screen_char_width, top, width, m.screen_line_height);
        p.fillRect(box, qcolour(c.background));
        p.setPen(qcolour(c.text));
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, caption);
      }
    } else if (f.type == ft::kPicture && (f.flags & ff::kWindowColours) && f.control) {
      draw_picture(p, f.control->picture, r, f.flags & ff::kFlashing);
    } else if (painted_prompt(f)) {
      ColourPair c = edit_or_prompt_colours(f, w, false, scheme);
      if (has_own_colour(f.background)) p.fillRect(r, qcolour(c.background));
      p.setFont(font_of(f));
      p.setPen(qcolour(c.text));
      Qt::Alignment a = text_alignment(f);
      p.drawText(r, static_cast<int>(a | (single_row(f) ? Qt::AlignVCenter : Qt::AlignTop)),
                 field_qstring(normalise_field_text(f, f.contents)));
    }
  }
}

}  // namespace veslink
