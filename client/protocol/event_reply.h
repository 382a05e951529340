// send_event: turns one event code of the key queue into the bytes the host
// expects, by the event table: protocol level, GUI mode, the bell and the
// silent refusals, hot keys, and the grid's sort and filter lists.
#pragma once

#include <cstdint>

namespace veslink {

class Interpreter;

// Event codes with a name in the rest of the client.
namespace event_code {
constexpr std::int16_t kEnter = 0;
constexpr std::int16_t kCancel = -1;
constexpr std::int16_t kFinish = -3;
constexpr std::int16_t kPageDown = -4;
constexpr std::int16_t kMousePress = -20;
constexpr std::int16_t kDoubleClick = -23;
constexpr std::int16_t kLaunch = -24;
constexpr std::int16_t kButton = -26;
constexpr std::int16_t kExit = -27;
constexpr std::int16_t kAbandoned = -28;
constexpr std::int16_t kScroll = -29;
constexpr std::int16_t kSort = -34;
constexpr std::int16_t kFilter = -35;
constexpr std::int16_t kKeepAlive = -41;
// Hot keys: 0x8000 plus the function-key number.
constexpr bool is_hot_key(std::int16_t code) {
  return (static_cast<std::uint16_t>(code) & 0xC000) == 0x8000;
}
constexpr std::int16_t hot_key(int key) {
  return static_cast<std::int16_t>(0x8000 | (key & 0x3FFF));
}
}  // namespace event_code

// True when something was sent (or nothing needed sending) and the input
// wait may end; false when the code is not valid now: the bell sounds,
// except for the codes that are refused silently, and the wait goes on.
bool send_event(Interpreter& in, std::int16_t code);

}  // namespace veslink
