// Qt keys to the key table's names.
#include "client/screen/qt_keys.h"

namespace veslink {

KeyPress key_press_of(const QKeyEvent& e, EditKind edit) {
  KeyPress p;
  const Qt::KeyboardModifiers m = e.modifiers();
  p.shift = m & Qt::ShiftModifier;
  p.ctrl = m & Qt::ControlModifier;
  p.auto_repeat = e.isAutoRepeat();
  p.edit = edit;
  const int k = e.key();
  if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9)) {
    p.key = KeyName::LetterOrDigit;
    return p;
  }
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) {
    p.key = KeyName::Function;
    p.function = k - Qt::Key_F1 + 1;
    return p;
  }
  switch (k) {
    case Qt::Key_Cancel:
      p.key = KeyName::Break;
      p.ctrl = true;  // the key Ctrl+Break gives
      break;
    case Qt::Key_Pause:
      p.key = p.ctrl ? KeyName::Break : KeyName::Other;
      break;
    case Qt::Key_Home:
      p.key = KeyName::Home;
      break;
    case Qt::Key_End:
      p.key = KeyName::End;
      break;
    case Qt::Key_PageUp:
      p.key = KeyName::PageUp;
      break;
    case Qt::Key_PageDown:
      p.key = KeyName::PageDown;
      break;
    case Qt::Key_Left:
      p.key = KeyName::Left;
      break;
    case Qt::Key_Right:
      p.key = KeyName::Right;
      break;
    case Qt::Key_Up:
      p.key = KeyName::Up;
      break;
    case Qt::Key_Down:
      p.key = KeyName::Down;
      break;
    case Qt::Key_Insert:
      p.key = KeyName::Insert;
      break;
    case Qt::Key_Delete:
      p.key = KeyName::Delete;
      break;
    case Qt::Key_Clear:
      p.key = KeyName::Clear;
      break;
    case Qt::Key_Print:
      p.key = KeyName::Print;
      break;
    case Qt::Key_Execute:
      p.key = KeyName::Execute;
      break;
    case Qt::Key_Help:
      p.key = KeyName::Help;
      break;
    default:
      p.key = KeyName::Other;
      break;
  }
  return p;
}

}  // namespace veslink
