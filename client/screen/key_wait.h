// The event loop an input wait runs while the key queue is empty: a nested
// loop that host data, timers and the user's input keep running, left when
// a code arrives, the wait is abandoned, or the application exits. Its own
// file because every input wait pops its codes through it.
#pragma once

#include <cstdint>

namespace veslink {

class KeyQueue;

// Runs the event loop until something happened to the queue; false when the
// application is exiting.
bool wait_for_key_event(KeyQueue& keys);

// KeyQueue::pop with that loop.
std::int16_t pop_key(KeyQueue& keys);

}  // namespace veslink
