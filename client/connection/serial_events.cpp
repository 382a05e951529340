// Manual-reset events on a mutex and a condition variable.
#include "client/connection/serial_events.h"

namespace veslink {

void ManualResetEvent::set() {
  {
    std::lock_guard lock(mutex_);
    signalled_ = true;
  }
  changed_.notify_all();
}

void ManualResetEvent::reset() {
  std::lock_guard lock(mutex_);
  signalled_ = false;
}

bool ManualResetEvent::is_set() const {
  std::lock_guard lock(mutex_);
  return signalled_;
}

bool ManualResetEvent::wait_for(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [this] { return signalled_; });
}

}  // namespace veslink
