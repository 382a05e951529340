// Growth of the shared message buffer.
#include "client/protocol/message_buffer.h"

#include <new>

namespace veslink {

bool MessageBuffer::allocate() {
  try {
    bytes_.assign(kStep, '\0');
  } catch (const std::bad_alloc&) {
    return false;
  }
  length_ = 0;
  return true;
}

bool MessageBuffer::append(char byte) {
  if (bytes_.size() - length_ < 2 + 1) {
    try {
      bytes_.resize(bytes_.size() + kStep, '\0');
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  bytes_[length_++] = byte;
  return true;
}

}  // namespace veslink
