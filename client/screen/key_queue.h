// The key queue: one ring of event codes shared by every host window, control,
// menu and keyboard macro, with the rules that decide which codes it takes
// while an input wait runs and which it refuses with the bell; and the
// input-wait mode bits the waits set and the controls test.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace veslink {

// The input-wait mode: 0 while no input wait runs.
namespace wait_mode {
constexpr int kButtons = 0x1;        // a push-button press ends the wait
constexpr int kControlInput = 0x2;   // a control runs its own input
constexpr int kTyping = 0x4;         // typed characters and Backspace are codes
constexpr int kWindowClicks = 0x8;   // a click on the window background is -20
constexpr int kFieldRunning = 0x10;  // a field's input runs (nothing else is queued by the wheel)

// The modes of the waits.
constexpr int kFieldInput = kFieldRunning | kControlInput | kWindowClicks;  // ESC mif, mid
constexpr int kButtonChoice = kFieldRunning | kButtons | kControlInput | kTyping | kWindowClicks;
constexpr int kWindowAction = kButtons | kTyping | kWindowClicks;  // ESC mib
constexpr int kCharacterInput = kTyping | kWindowClicks;           // ESC mic
}  // namespace wait_mode

class KeyQueue {
 public:
  // A ring of 100 slots, one of which always stays free: 99 codes wait at most.
  static constexpr int kSlots = 100;

  // The bell for a refused or lost key.
  std::function<void()> bell;
  // While a keyboard macro is recorded, every code that is queued.
  std::function<void(std::int16_t)> macro_recorder;
  // Whether Shift is held as a Tab arrives (the platform's key state).
  std::function<bool()> shift_held;
  // A code arrived or the wait was abandoned: a waiting event loop wakes.
  std::function<void()> woken;

  int mode() const { return mode_; }
  bool waiting() const { return mode_ != 0; }

  // An input wait begins or ends; the mode bits hold while it runs.
  void begin_wait(int mode);
  void end_wait() { mode_ = 0; }
  // Another command cancelled the running wait: its pop answers -28.
  void abandon() {
    abandoned_ = true;
    if (woken) woken();
  }
  bool abandoned() const { return abandoned_; }

  // Queues one code by the push rules; false when it was refused or lost
  // (the bell has sounded where the rules say so). `shift`: the key event
  // itself says Shift was held (else the platform's key state is asked).
  bool push(std::int16_t code, bool auto_repeat = false, bool shift = false);

  // The next code as it was queued, without the wait's rules.
  std::optional<std::int16_t> take();
  // The next code, left in the ring (typed-ahead replay looks before it takes).
  std::optional<std::int16_t> peek() const {
    if (empty()) return std::nullopt;
    return ring_[head_];
  }
  bool empty() const { return head_ == tail_; }
  int size() const { return (tail_ - head_ + kSlots) % kSlots; }
  void clear() { head_ = tail_ = 0; }

  // For an input wait: the next code, running `wait_for_events` (the event
  // loop, until something happened; false once the application quits)
  // while the ring is empty. An abandoned wait gives -28, a quit -1. Tab,
  // line feed and Enter end the wait (line feed and Enter as 0) unless a
  // control runs its own input, which then gets them as they are.
  std::int16_t pop(const std::function<bool()>& wait_for_events);

 private:
  bool refuse();
  bool store(std::int16_t code);

  std::array<std::int16_t, kSlots> ring_{};
  int head_ = 0;
  int tail_ = 0;
  int mode_ = 0;
  bool abandoned_ = false;
};

}  // namespace veslink
