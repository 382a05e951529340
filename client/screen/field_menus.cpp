// The context menus of host windows: the edit menu of a running field input
// and the window's shortcut menu with its push-button entries.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStyle>

#include "client/screen/builtin_icons.h"
#include "client/screen/field_controls.h"
#include "client/screen/field_flags.h"
#include "client/screen/field_layer.h"
#include "client/screen/field_text.h"
#include "client/screen/screen_model.h"

namespace veslink {

namespace ff = field_flag;
namespace ft = field_type;

namespace {
constexpr int kCancel = 32783;
constexpr int kOkFinish = 32784;
constexpr int kCopy = 32785;
constexpr int kCut = 32786;
constexpr int kPaste = 32787;
constexpr int kHelp = 57670;
constexpr int kClose = 61216;
constexpr int kFirstButton = 61217;  // to 61241: the window's first 25 push buttons
constexpr int kButtonEntries = 25;

QAction* add(QMenu& menu, int id, const QString& text, QStyle::StandardPixmap icon) {
  QAction* a = menu.addAction(QApplication::style()->standardIcon(icon), text);
  a->setData(id);
  return a;
}

// The selection of an edit, or all of its text.
QString copied_text(QWidget* w) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    if (e->echoMode() != QLineEdit::Normal) return {};  // hidden text stays hidden
    return e->hasSelectedText() ? e->selectedText() : e->text();
  }
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) {
    const QString s = e->textCursor().selectedText();
    return s.isEmpty() ? e->toPlainText() : s;
  }
  return {};
}
}  // namespace

void QtFieldUi::context_menu(ScreenField* f, const QPoint& global) {
  if (!f || !f->window) return;
  window_menu(*f->window, f, global);
}

void QtFieldUi::window_menu(ScreenWindow& w, ScreenField* on, const QPoint& global) {
  ScreenModel& m = model();
  if (&w != m.current_window()) return;  // a window that is not current offers nothing
  KeyQueue& keys = m.keys;
  QMenu menu;
  menu.setObjectName("host window menu");
  const bool editing = layer_.editing();
  const bool on_edit = on && on->type == ft::kEdit;
  QWidget* widget = on ? widget_of(*on) : nullptr;
  std::vector<ScreenField*> buttons;

  if (on_edit && editing) {
    const bool input_here = layer_.input_field() == on && widget && widget->hasFocus();
    add(menu, kCut, "Cut", QStyle::SP_DialogDiscardButton)->setEnabled(input_here);
    add(menu, kPaste, "Paste", QStyle::SP_DialogSaveButton)->setEnabled(input_here);
    add(menu, kCopy, "Copy", QStyle::SP_FileDialogDetailedView);
    menu.addSeparator();
    add(menu, kHelp, "Help", QStyle::SP_DialogHelpButton);
    menu.addSeparator();
    add(menu, kOkFinish, "OK/Finish", QStyle::SP_DialogOkButton);
    add(menu, kCancel, "Cancel", QStyle::SP_DialogCancelButton);
  } else {
    if (on) {
      add(menu, kCopy, "Copy", QStyle::SP_FileDialogDetailedView);
      menu.addSeparator();
    }
    if (keys.mode() & wait_mode::kButtons) {
      QFont bold = menu.font();
      bold.setBold(true);
      for (auto& owned : w.fields) {
        ScreenField& b = *owned;
        if (b.type != ft::kPushButton || !widget_of(b) || (b.flags & (ff::kHidden | ff::kLookup)))
          continue;
        if (buttons.size() == kButtonEntries) break;
        QAction* a = menu.addAction(field_qstring(b.extra.button.caption));
        a->setData(kFirstButton + static_cast<int>(buttons.size()));
        a->setFont(bold);
        a->setEnabled(!(b.flags & ff::kReadOnly));
        if ((b.flags & ff::kMenuIcon) && builtin_icon_exists(b.a))
          a->setIcon(QIcon(builtin_icon(b.a, menu.palette().color(QPalette::Window))));
        buttons.push_back(&b);
      }
      if (!buttons.empty()) menu.addSeparator();
    }
    if (editing) {
      add(menu, kOkFinish, "OK/Finish", QStyle::SP_DialogOkButton);
      add(menu, kCancel, "Cancel", QStyle::SP_DialogCancelButton);
    } else {
      add(menu, kClose, "Close", QStyle::SP_TitleBarCloseButton);
    }
  }
  for (QAction* a : menu.actions())
    if (!a->isSeparator()) a->setObjectName(QString::number(a->data().toInt()));

  QAction* chosen = menu.exec(global);
  if (!chosen) return;
  const int id = chosen->data().toInt();
  const bool in_wait = keys.waiting() && m.current_window() == &w;
  switch (id) {
    case kCut:  // both offered only on the edit being input
      edit_command(EditCommand::Cut);
      return;
    case kPaste:
      edit_command(EditCommand::Paste);
      return;
    case kCopy: {
      // A field that hides its typing never gives it to the clipboard.
      if (on && (on->flags & ff::kHiddenText)) return;
      QString text = copied_text(widget);
      if (text.isEmpty() && on) text = field_qstring(layer_.value_of(*on));
      QApplication::clipboard()->setText(text);
      return;
    }
    case kHelp:
    case kOkFinish:
    case kCancel:
      if (!in_wait) {
        m.bell();
        return;
      }
      keys.push(id == kHelp ? -15 : id == kOkFinish ? -3 : 27);
      return;
    case kClose:
      m.close_requested(w);
      return;
    default:
      if (id >= kFirstButton && id < kFirstButton + kButtonEntries) {
        const std::size_t index = static_cast<std::size_t>(id - kFirstButton);
        // The command presses the button when the wait still takes presses.
        if (index < buttons.size() && (keys.mode() & wait_mode::kButtons) && in_wait &&
            !(buttons[index]->flags & ff::kReadOnly))
          layer_.push_button_pressed(*buttons[index]);
      }
      return;
  }
}

bool QtFieldUi::edit_input_running() const {
  return layer_.editing() && layer_.input_field() && widget_of(*layer_.input_field());
}

bool QtFieldUi::edit_command(EditCommand command) {
  if (!edit_input_running()) return false;
  ScreenField& f = *layer_.input_field();
  QWidget* widget = widget_of(f);
  auto* line = qobject_cast<QLineEdit*>(widget);
  auto* text = qobject_cast<QPlainTextEdit*>(widget);
  switch (command) {
    case EditCommand::Undo:
      if (line) line->undo();
      if (text) text->undo();
      return true;
    case EditCommand::Cut:
    case EditCommand::Copy:
      // A field that hides its typing never gives it to the clipboard.
      if (f.flags & ff::kHiddenText) return true;
      if (command == EditCommand::Cut) {
        if (line) line->cut();
        if (text) text->cut();
      } else {
        if (line) line->copy();
        if (text) text->copy();
      }
      return true;
    case EditCommand::Paste:
      layer_.paste(field_bytes(QApplication::clipboard()->text()));
      return true;
  }
  return false;
}

}  // namespace veslink
