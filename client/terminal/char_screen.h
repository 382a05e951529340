// The character screen: up to four pages, one of them current. Page 0 lives
// from start-up; the others are made on first use.
#pragma once

#include <array>
#include <memory>

#include "client/terminal/char_page.h"

namespace veslink {

class CharScreen {
 public:
  CharScreen();
  CharPage& current() { return *pages_[current_]; }
  int current_index() const { return current_; }
  // Makes page n (0..3) current, creating it when needed; false when n is
  // not a page or the page cannot be had (the current page stays).
  bool switch_page(int n);
  CharPage* page(int n) { return n >= 0 && n < 4 ? pages_[n].get() : nullptr; }

 private:
  std::array<std::unique_ptr<CharPage>, 4> pages_;
  int current_ = 0;
};

// The screen of the process: the terminal window shows its current page and
// local notices are written there.
CharScreen& char_screen();

}  // namespace veslink
