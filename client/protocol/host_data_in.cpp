// The process's entry for host bytes.
#include "client/protocol/host_data_in.h"

#include "client/protocol/interpreter.h"

namespace veslink {

void host_data_in(const std::uint8_t* data, std::size_t count) {
  interpreter().feed(data, count);
}

}  // namespace veslink
