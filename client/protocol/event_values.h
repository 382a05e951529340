// The values the controls leave for the event replies: the object and the
// cell a click concerned, the scroll selector, the grid's pending sort and
// filter requests and a pending launch request. Plain data, written by the
// control (or the grid, or the DDE server) right before it queues an event
// code and read by send_event when an input wait takes the code.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace veslink {

struct SortRequestColumn {
  std::uint32_t column = 0;    // the column's field number; 0 ends the list
  std::uint8_t direction = 0;  // the stored flag byte: 1 ascending, 0 descending
};

struct FilterRequestEntry {
  std::uint32_t column = 0;
  bool highlight = false;        // a highlight rule rather than the column's filter
  std::uint16_t op = 0;          // comparison code; 0x20 ignores case
  std::string value;             // sent up to its first zero byte
  std::uint32_t foreground = 0;  // highlight colours, sent in decimal as stored
  std::uint32_t background = 0;
};

struct EventValues {
  std::uint32_t target = 0;  // field, grid or column concerned; 0 when none
  std::int32_t click_column = 0;
  std::int32_t click_row = 0;
  std::int32_t selector = 0;  // scroll replies: 1 row up, 2 row down, 3 page up, 4 page down
  std::uint32_t aggregate_column = 0;

  // The pending sort list: up to five columns, ending at the first empty slot.
  std::array<SortRequestColumn, 5> sort{};
  // The grid's filter mode (0 none, 1 or 2) and the pending filter list.
  int filter_mode = 0;
  std::vector<FilterRequestEntry> filters;

  // A launch request from the DDE server, waiting to be sent to the host.
  bool launch_pending = false;
  std::string launch_command;
};

}  // namespace veslink
