// Host windows on Qt: frames in the work area, geometry, activation, the
// main window's fit and the frame's bars.
#include "client/screen/qt_screen_ui.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

#include "client/prefs/fonts.h"
#include "client/protocol/interpreter.h"
#include "client/screen/field_layer.h"
#include "client/screen/focus_release.h"
#include "client/screen/saved_window_size.h"
#include "client/screen/screen_model.h"

namespace veslink {

namespace wf = window_flag;

namespace {
QRect screen_rect() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry() : QRect(0, 0, 1024, 768);
}

QRect available_rect() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}
}  // namespace

QtScreenUi::QtScreenUi(ScreenModel& model, QMainWindow& main, QMdiArea& area,
                       vestra::registry::Registry& reg, QtScreenHooks hooks)
    : model_(model), main_(main), area_(area), reg_(reg), hooks_(std::move(hooks)) {
  bars_ = std::make_unique<FrameBars>(main_, hooks_.mail_pane, hooks_.commands);
  model_.frame.toolbar_shown = bars_->toolbar() && !bars_->toolbar()->isHidden();
  model_.frame.status_bar_shown = !bars_->status_bar()->isHidden();
  model_.keys.shift_held = [] {
    return (QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier) != 0;
  };
  connect(&area_, &QMdiArea::subWindowActivated, this, &QtScreenUi::frame_activated);
}

QtScreenUi::~QtScreenUi() {
  model_.keys.shift_held = nullptr;
}

ScreenWin* QtScreenUi::view_of(const ScreenWindow& w) {
  return w.native ? w.native->view.data() : nullptr;
}

VestraMDIWin* QtScreenUi::frame_of(const ScreenWindow& w) {
  return w.native ? w.native->frame.data() : nullptr;
}

FrameMetrics QtScreenUi::frame_metrics() const {
  QStyle* style = area_.style();
  FrameMetrics f;
  f.scroll_bar_width = style->pixelMetric(QStyle::PM_ScrollBarExtent);
  f.frame_width = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
  f.frame_height = f.frame_width;
  f.caption_height = style->pixelMetric(QStyle::PM_TitleBarHeight);
  return f;
}

CellPixels QtScreenUi::cell_pixels() const {
  const CellMetrics& m = cell_metrics();
  return CellPixels{m.screen_char_width, m.terminal_char_width, m.cell_height};
}

bool QtScreenUi::create_native(ScreenWindow& w) {
  auto native = std::make_unique<NativeWindow>();
  auto* view = new ScreenWin(model_, w);
  view->focus_terminal = hooks_.focus_terminal;
  native->view = view;
  if (w.flags & wf::kNoFrame) {
    // Straight into the work area, without a frame of its own.
    view->setParent(area_.viewport());
    view->hide();
  } else {
    auto* frame = new VestraMDIWin(model_, w, view);
    Qt::WindowFlags flags = Qt::SubWindow;
    if (w.flags & wf::kFullScreen) {
      flags |= Qt::FramelessWindowHint;
    } else {
      flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
               Qt::WindowCloseButtonHint;
    }
    frame->setWindowFlags(flags);
    // Two icons tell the window kinds apart, as the second-icon flag asks.
    frame->setWindowIcon(area_.style()->standardIcon(
        (w.flags & wf::kSecondIcon) ? QStyle::SP_FileDialogListView : QStyle::SP_FileIcon));
    frame->setWindowTitle(QString::fromLocal8Bit(w.title.c_str()));
    frame->user_resized = [this](VestraMDIWin& f, QSize size) { user_resized(f, size); };
    area_.addSubWindow(frame, flags);
    frame->hide();
    native->frame = frame;
  }
  w.native = native.release();
  apply_geometry(w);
  // Fields the host created before the window had its native face.
  model_.fields().window_ready(w);
  return true;
}

void QtScreenUi::apply_geometry(ScreenWindow& w) {
  NativeWindow& n = *w.native;
  const FrameMetrics f = frame_metrics();
  const bool framed = n.frame != nullptr;
  const std::optional<SavedSize> saved = read_window_size(reg_, w.tag);
  n.geometry = compute_window_geometry(w, cell_pixels(), f, saved, framed);
  const WindowGeometry& g = n.geometry;
  w.pixels = g.cells;
  w.geometry_done = true;
  if (n.view) n.view->set_scroll_bar(w.flags & wf::kScrollBar, f.scroll_bar_width);

  WorkArea area;
  area.width = area_.viewport()->width();
  area.height = area_.viewport()->height();
  area.frame_width = f.frame_width;
  const FramePosition pos = place_frame(w.placement, g.frame_width, g.frame_height, g.cells, area);
  const QRect rect(pos.left, pos.top, g.frame_width, g.frame_height);
  w.frame = PixelRect{rect.x(), rect.y(), rect.width(), rect.height()};
  if (VestraMDIWin* frame = n.frame) {
    frame->set_computed_size(QSize(g.computed_width, g.computed_height));
    if (w.flags & wf::kFullScreen) {
      // Full screen: the frame is maximised when shown.
      frame->setMinimumSize(0, 0);
      w.frame = PixelRect{0, 0, area.width, area.height};
      return;
    }
    frame->setMinimumSize(g.computed_width, g.computed_height);
    frame->setMaximumSize(screen_rect().size().expandedTo(rect.size()));
    frame->place(rect);
  } else if (n.view) {
    n.view->setGeometry(rect);
  }
}

void QtScreenUi::destroy_native(ScreenWindow& w) {
  std::unique_ptr<NativeWindow> n(w.native);
  w.native = nullptr;
  // The window object goes as soon as this returns; the widgets may still be
  // inside one of their own handlers, so they let go of it now and are
  // deleted later.
  if (VestraMDIWin* frame = n->frame) {
    frame->detach();
    release_focus(*frame);  // see release_focus: hiding must not pass it on
    frame->hide();
    area_.removeSubWindow(frame);
    frame->deleteLater();
  } else if (ScreenWin* view = n->view) {
    view->detach();
    release_focus(*view);
    view->hide();
    view->deleteLater();
  }
}

void QtScreenUi::set_native_title(ScreenWindow& w) {
  if (VestraMDIWin* frame = frame_of(w))
    frame->setWindowTitle(QString::fromLocal8Bit(w.title.c_str()));
}

void QtScreenUi::show_native(ScreenWindow& w) {
  if (VestraMDIWin* frame = frame_of(w)) {
    if (w.flags & wf::kFullScreen) {
      frame->showMaximized();
    } else if (frame->isMinimized()) {
      frame->showNormal();
    } else {
      frame->show();
    }
    if (ScreenWin* view = view_of(w)) view->show();
    return;
  }
  if (ScreenWin* view = view_of(w)) {
    view->show();
    view->raise();
  }
}

void QtScreenUi::hide_native(ScreenWindow& w) {
  if (VestraMDIWin* frame = frame_of(w)) {
    frame->hide();
  } else if (ScreenWin* view = view_of(w)) {
    view->hide();
  }
}

void QtScreenUi::activate_native(ScreenWindow& w, bool take_focus) {
  if (VestraMDIWin* frame = frame_of(w)) area_.setActiveSubWindow(frame);
  if (take_focus) {
    if (ScreenWin* view = view_of(w)) view->setFocus(Qt::OtherFocusReason);
  }
}

void QtScreenUi::minimise_native(ScreenWindow& w) {
  if (VestraMDIWin* frame = frame_of(w)) frame->showMinimized();
}

void QtScreenUi::relayout(ScreenWindow& w) {
  if (!w.native) return;
  apply_geometry(w);
  model_.fields().window_ready(w);  // the cells changed: the fields follow
}

void QtScreenUi::field_changed(ScreenField& f) {
  if (f.window)
    if (ScreenWin* view = view_of(*f.window)) view->update();
}

void QtScreenUi::field_removed(ScreenField& f) {
  field_changed(f);
}

void QtScreenUi::caret_changed(ScreenWindow* from, ScreenWindow* to) {
  if (from)
    if (ScreenWin* view = view_of(*from)) view->caret_changed();
  if (to && to != from)
    if (ScreenWin* view = view_of(*to)) view->caret_changed();
}

void QtScreenUi::frame_activated(QMdiSubWindow* sub) {
  auto* frame = qobject_cast<VestraMDIWin*>(sub);
  if (!frame || !frame->host_window()) return;
  // Only the current window may be active: the user clicking another host
  // window's frame gets the current one back.
  ScreenWindow* current = model_.current_window();
  if (!current || current == frame->host_window() || !current->visible) return;
  QPointer<VestraMDIWin> wanted = frame_of(*current);
  if (!wanted) return;
  QMetaObject::invokeMethod(
      this,
      [this, wanted] {
        if (wanted && area_.activeSubWindow() != wanted) area_.setActiveSubWindow(wanted);
      },
      Qt::QueuedConnection);
}

void QtScreenUi::user_resized(VestraMDIWin& frame, QSize size) {
  ScreenWindow* w = frame.host_window();
  if (!w || w->tag.empty() || model_.interpreter().programs.tree_mode()) return;
  if (!w->has_grid() && !(w->flags & wf::kRememberSize)) return;
  const QSize computed = frame.computed_size();
  store_window_size(reg_, w->tag, std::string_view(), size.width(), size.height(), computed.width(),
                    computed.height());
}

void QtScreenUi::recompute_cell_metrics() {
  if (hooks_.recompute_cell_metrics) hooks_.recompute_cell_metrics();
}

void QtScreenUi::fit_main_window() {
  if (main_.isMaximized() || main_.isFullScreen()) return;
  if (QLayout* layout = main_.layout()) layout->activate();
  const CellPixels c = cell_pixels();
  const FrameMetrics f = frame_metrics();
  const ScreenWindow& root = model_.root();
  // The host's screen area: the root window's cells, or a plain screen.
  int w0 = 80 * c.cell_width;
  int h0 = (model_.interpreter().gui_mode ? 23 : 24) * c.cell_height;
  if (model_.interpreter().gui_mode) {
    w0 = cells_to_pixels(root.width.real, c.cell_width) +
         ((root.flags & wf::kScrollBar) ? f.scroll_bar_width : 0);
    h0 = cells_to_pixels(root.height.real, c.cell_height);
  }
  const int toolbar_width = bars_->toolbar() && bars_->toolbar()->isVisibleTo(&main_)
                                ? bars_->toolbar()->sizeHint().width()
                                : 0;
  // Room for the largest host frame (its frame allowances and caption) plus
  // the bars around the work area.
  const int bars_height = main_.height() - area_.height();
  QSize size(std::max(w0 + 5 * f.frame_width, toolbar_width),
             bars_height + f.caption_height + h0 + 4 * f.frame_height + 2);
  const QRect old = main_.geometry();
  const bool shown = main_.isVisible();
  if (shown && !first_fit_) size = size.expandedTo(old.size());  // never shrinks
  const QRect screen = available_rect();
  QPoint pos = old.topLeft();
  if (!shown) {
    // Still hidden: grow or shrink around the middle of where it would be.
    if (size.width() < old.width()) pos.rx() += (old.width() - size.width()) / 2;
    if (size.height() < old.height()) pos.ry() += (old.height() - size.height()) / 2;
  }
  if (pos.x() + size.width() > screen.right() + 1) pos.setX(screen.right() + 1 - size.width());
  if (pos.x() < screen.left()) {
    pos.setX(screen.left());
    size.setWidth(std::min(size.width(), screen.width()));
  }
  if (pos.y() + size.height() > screen.bottom() + 1) pos.setY(screen.bottom() + 1 - size.height());
  if (pos.y() < screen.top()) {
    pos.setY(screen.top());
    size.setHeight(std::min(size.height(), screen.height()));
  }
  main_.setGeometry(QRect(pos, size));
  if (QLayout* layout = main_.layout()) layout->activate();
  first_fit_ = false;
}

bool QtScreenUi::main_window_shown() const {
  return main_.isVisible();
}

void QtScreenUi::first_show() {
  if (hooks_.first_show) {
    hooks_.first_show();
  } else {
    main_.show();
  }
  if (maximise_at_start_) {
    maximise_at_start_ = false;
    maximised_for_full_screen_ = true;
    main_.showMaximized();
  }
}

void QtScreenUi::repaint_work_area() {
  area_.viewport()->update();
}

bool QtScreenUi::terminal_visible() const {
  return hooks_.terminal_visible && hooks_.terminal_visible();
}

void QtScreenUi::hide_terminal_window() {
  if (hooks_.hide_terminal) hooks_.hide_terminal();
}

void QtScreenUi::full_screen_started() {
  if (!main_.isVisible()) {
    maximise_at_start_ = true;
    return;
  }
  if (!main_.isMaximized()) {
    maximised_for_full_screen_ = true;
    main_.showMaximized();
  }
}

void QtScreenUi::full_screen_ended() {
  maximise_at_start_ = false;
  if (maximised_for_full_screen_) {
    maximised_for_full_screen_ = false;
    main_.showNormal();
  }
}

void QtScreenUi::frame_changed(const FrameTexts& t) {
  bars_->apply(t);
  if (t.data_area != title_data_area_ || t.beta != title_beta_ || t.menu_item != title_menu_item_)
    rebuild_title();
}

void QtScreenUi::rebuild_title() {
  const FrameTexts& t = model_.frame;
  title_data_area_ = t.data_area;
  title_beta_ = t.beta;
  title_menu_item_ = t.menu_item;
  const std::string host = hooks_.host ? hooks_.host() : std::string();
  main_.setWindowTitle(
      QString::fromLocal8Bit(frame_title(t, model_.interpreter().gui_mode, host).c_str()));
}

void QtScreenUi::show_product_name(const std::string& name) {
  main_.setWindowTitle(QString::fromLocal8Bit(name.c_str()));
}

bool QtScreenUi::open_document(const std::string& path) {
  if (document_opener) return document_opener(path);
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(path.c_str())));
}

std::optional<ColourRef> QtScreenUi::choose_colour(ColourRef initial) {
  if (colour_dialog) return colour_dialog(initial);
  const QColor chosen =
      QColorDialog::getColor(QColor(red_of(initial), green_of(initial), blue_of(initial)), &main_);
  if (!chosen.isValid()) return std::nullopt;
  return colour_ref(chosen.red(), chosen.green(), chosen.blue());
}

std::string QtScreenUi::program_directory() const {
  return hooks_.program_directory ? hooks_.program_directory() : std::string();
}

int QtScreenUi::screen_width() const {
  return screen_rect().width();
}

int QtScreenUi::screen_height() const {
  return screen_rect().height();
}

// The work area between the toolbar and the status bar, less one pixel each
// way as the frame measures it.
int QtScreenUi::work_area_width() const {
  return std::max(0, main_.width() - 1);
}

int QtScreenUi::work_area_height() const {
  return std::max(0, area_.height() - 1);
}

}  // namespace veslink
