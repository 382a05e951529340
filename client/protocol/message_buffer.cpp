// Growth of the shared message buffer.
#include "client/protocol/message_buffer.h"

#include <new>
#include <stdexcept>

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
    } catch (const std::length_error&) {
      return false;
    }
  }
  bytes_[length_++] = byte;
  return true;
}

bool MessageBuffer::append_fixed(char byte) {
  if (length_ + 1 >= bytes_.size()) return false;
  bytes_[length_++] = byte;
  return true;
}

void MessageBuffer::terminate() {
  if (length_ < bytes_.size()) bytes_[length_] = '\0';
}

void MessageBuffer::truncate(std::size_t length) {
  if (length < length_) length_ = length;
  terminate();
}

}  // namespace veslink
