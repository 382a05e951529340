// The key table of host windows.
#include "client/screen/key_translation.h"

namespace veslink {

namespace {
KeyAction code(int value, bool control_too = false) {
  return {KeyAction::Kind::Code, static_cast<std::int16_t>(value), control_too};
}
KeyAction none() {
  return {};
}

// Keys whose codes count only on their first press: holding them down must
// not repeat a request such as printing or help.
bool first_press_only(const KeyPress& p) {
  switch (p.key) {
    case KeyName::Print:
    case KeyName::Help:
      return true;
    case KeyName::Function:
      return p.function == 1 || p.function == 2 || p.function == 3 || p.function == 5 ||
             (p.function >= 7 && p.function <= 12);
    default:
      return false;
  }
}

KeyAction help_key(const KeyPress& p) {
  if (p.ctrl) return code(-30);
  if (p.shift) return code(-5);
  return code(-15);
}
}  // namespace

KeyAction translate_key(const KeyPress& p, std::uint32_t hot_keys, bool (*macro_for)(int)) {
  if (p.key == KeyName::LetterOrDigit) return {KeyAction::Kind::Character, 0, false};
  if (p.key == KeyName::Function) {
    if (p.function >= 1 && p.function <= 16 && macro_for && macro_for(p.function))
      return {KeyAction::Kind::Macro, 0, false};
    if (p.function >= 1 && p.function <= 24 && !p.shift && !p.ctrl &&
        ((hot_keys >> (p.function - 1)) & 1u))
      return code(static_cast<std::int16_t>(0x8000 | p.function));
  }
  if (p.auto_repeat && first_press_only(p)) return none();

  const bool in_edit = p.edit != EditKind::None;
  switch (p.key) {
    case KeyName::Break:
      return p.ctrl ? code(-1) : none();
    case KeyName::Home:
      return code(-1);
    case KeyName::Clear:
      return code(-36);
    case KeyName::Key18:
      return code(-37);
    case KeyName::PageUp:
      return p.edit == EditKind::MultiLine ? none() : code(-2);
    case KeyName::PageDown:
      return p.edit == EditKind::MultiLine ? none() : code(-4);
    case KeyName::End:
      // A multi-line edit moves its caret to the end of its text instead.
      return (p.edit == EditKind::SingleLine || p.edit == EditKind::MultiLine) ? none() : code(-3);
    case KeyName::Left:
    case KeyName::Right: {
      const int value = p.key == KeyName::Left ? -10 : -9;
      if (p.edit == EditKind::SingleLine || p.edit == EditKind::MultiLine) return none();
      if (p.edit == EditKind::LeavesSideways && p.shift) return none();
      return code(value);
    }
    case KeyName::Up:
    case KeyName::Down: {
      if (p.edit == EditKind::MultiLine) return none();
      return code(p.key == KeyName::Up ? -7 : -8, in_edit);
    }
    case KeyName::Print:
      return code(-11);
    case KeyName::Execute:
      return code(-6);
    case KeyName::Insert:
      return in_edit ? none() : code(3);
    case KeyName::Delete:
      return in_edit ? none() : code(p.shift ? 5 : 4);
    case KeyName::Help:
      return help_key(p);
    case KeyName::Function:
      switch (p.function) {
        case 1:
          return help_key(p);
        case 2:
          return code(-5);
        case 3:
          return code(-6);
        case 4:
          return code(-3);
        case 5:
          return code(-11);
        case 6:
          return {KeyAction::Kind::LocalUtility, 0, false};
        case 7:
          return code(-31);
        case 8:
          return code(-27);
        case 9:
          return code(-14);
        case 10:
          return code(-42);
        case 11:
          return code(-33);
        case 12:
          return code(-18);
        default:
          return none();
      }
    case KeyName::LetterOrDigit:
    case KeyName::Other:
      break;
  }
  return {KeyAction::Kind::Character, 0, false};
}

}  // namespace veslink
