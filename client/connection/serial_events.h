// The three event objects shared by the GUI thread and the serial reader
// thread: read completion, write completion, and data consumed (which paces
// the reader: it waits until the GUI thread has drained the port).
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace veslink {

// A manual-reset event: stays signalled until reset, wakes every waiter.
class ManualResetEvent {
 public:
  explicit ManualResetEvent(bool signalled) : signalled_(signalled) {}
  void set();
  void reset();
  bool is_set() const;
  // False when the time-out passed without the event being set.
  bool wait_for(std::chrono::milliseconds timeout);

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool signalled_;
};

struct SerialEvents {
  ManualResetEvent read_done{false};
  ManualResetEvent write_done{false};
  ManualResetEvent data_consumed{true};
};

}  // namespace veslink
