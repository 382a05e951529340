// The nested event loop of input waits.
#include "client/screen/key_wait.h"

#include <QEventLoop>
#include <utility>

#include "client/screen/key_queue.h"

namespace veslink {

namespace {
// What the loop returns when the queue woke it; anything else is the
// application's exit code.
constexpr int kWoken = 0x4B51;
}  // namespace

bool wait_for_key_event(KeyQueue& keys) {
  if (!keys.empty() || keys.abandoned()) return true;
  QEventLoop loop;
  std::function<void()> previous = std::exchange(keys.woken, [&loop] { loop.exit(kWoken); });
  const int result = loop.exec();
  keys.woken = std::move(previous);
  return result == kWoken;
}

std::int16_t pop_key(KeyQueue& keys) {
  return keys.pop([&keys] { return wait_for_key_event(keys); });
}

}  // namespace veslink
