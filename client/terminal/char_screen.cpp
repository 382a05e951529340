// The pages of the character screen.
#include "client/terminal/char_screen.h"

namespace veslink {

CharScreen::CharScreen() {
  pages_[0] = std::make_unique<CharPage>();
}

void CharScreen::switch_page(int n) {
  if (n < 0 || n > 3) return;
  if (!pages_[n]) pages_[n] = std::make_unique<CharPage>();
  current_ = n;
}

CharScreen& char_screen() {
  static CharScreen screen;
  return screen;
}

}  // namespace veslink
