// host_data_in: where every byte from the host arrives, after telnet. For now
// it serves the login (the received-window and ESC hooks, and the prompt
// matcher after each block) and shows the host's text on the character
// screen; the escape reader takes over the command bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace veslink {

void host_data_in(const std::uint8_t* data, std::size_t count);

}  // namespace veslink
