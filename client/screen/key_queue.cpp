// The key queue's push and pop rules.
#include "client/screen/key_queue.h"

namespace veslink {

namespace {
constexpr std::int16_t kInsert = 3;
constexpr std::int16_t kDelete = 4;
constexpr std::int16_t kShiftDelete = 5;
constexpr std::int16_t kBackspace = 8;
constexpr std::int16_t kTab = 9;
constexpr std::int16_t kLineFeed = 10;
constexpr std::int16_t kEnter = 13;
constexpr std::int16_t kEscape = 27;
constexpr std::int16_t kBackTab = -25;
constexpr std::int16_t kCancel = -1;
constexpr std::int16_t kKeepAlive = -41;
constexpr std::int16_t kAbandoned = -28;
}  // namespace

void KeyQueue::begin_wait(int mode) {
  mode_ = mode;
  abandoned_ = false;
}

bool KeyQueue::refuse() {
  if (bell) bell();
  return false;
}

bool KeyQueue::store(std::int16_t code) {
  const int next = (tail_ + 1) % kSlots;
  if (next == head_) return refuse();  // full: the code is lost
  ring_[tail_] = code;
  tail_ = next;
  if (macro_recorder && code != kKeepAlive) macro_recorder(code);
  if (woken) woken();
  return true;
}

bool KeyQueue::push(std::int16_t code, bool auto_repeat, bool shift) {
  shift = shift || (code == kTab && shift_held && shift_held());
  if (code == kTab && shift) code = kBackTab;
  if (code == kEscape) code = kCancel;
  if (!waiting()) {
    // Typed ahead: what the next wait will see, without key repeat.
    if (auto_repeat) return false;
    return store(code);
  }
  if (code < 0) return store(code);  // every event ends the wait
  switch (code) {
    case kTab:
    case kLineFeed:
    case kEnter:
      return store(code);
    case kBackspace:
    // Insert, Delete and Shift+Delete: the keys' codes are below 0x20 but
    // are keys the host answers (ESC Q, W, R), not control characters.
    case kInsert:
    case kDelete:
    case kShiftDelete:
      return (mode_ & wait_mode::kTyping) ? store(code) : refuse();
    default:
      if (code >= 0x20 && (mode_ & wait_mode::kTyping)) return store(code);
      return refuse();
  }
}

std::optional<std::int16_t> KeyQueue::take() {
  if (empty()) return std::nullopt;
  const std::int16_t code = ring_[head_];
  head_ = (head_ + 1) % kSlots;
  return code;
}

std::int16_t KeyQueue::pop(const std::function<bool()>& wait_for_events) {
  for (;;) {
    // A cancelled wait ends at once; what was typed stays for the next one.
    if (abandoned_) return kAbandoned;
    if (std::optional<std::int16_t> code = take()) {
      if (!(mode_ & wait_mode::kControlInput) && (*code == kLineFeed || *code == kEnter)) return 0;
      return *code;
    }
    if (!wait_for_events || !wait_for_events()) return kCancel;
  }
}

}  // namespace veslink
