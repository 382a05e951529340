// The pages of the character screen.
#include "client/terminal/char_screen.h"

#include <new>

namespace veslink {

CharScreen::CharScreen() {
  pages_[0] = std::make_unique<CharPage>();
}

bool CharScreen::switch_page(int n) {
  if (n < 0 || n > 3) return false;
  if (!pages_[n]) {
    try {
      pages_[n] = std::make_unique<CharPage>();
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  if (n != current_) pages_[n]->repaint_all();
  current_ = n;
  return true;
}

CharScreen& char_screen() {
  static CharScreen screen;
  return screen;
}

}  // namespace veslink
