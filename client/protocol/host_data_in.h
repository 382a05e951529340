// host_data_in: where every byte from the host arrives, after telnet, and
// where the client's local notices enter. It runs the process's interpreter
// over the block; see Interpreter::feed for the steps.
#pragma once

#include <cstddef>
#include <cstdint>

namespace veslink {

void host_data_in(const std::uint8_t* data, std::size_t count);

}  // namespace veslink
