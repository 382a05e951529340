// MessageBuffer: the one byte buffer shared by all GUI commands, holding the
// string parameter of the command being read. It starts at 1024 bytes and
// grows by 1024 whenever a byte would leave fewer than 2 bytes free.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace veslink {

class MessageBuffer {
 public:
  static constexpr std::size_t kStep = 1024;

  // Allocates the first 1024 bytes; false when memory cannot be had.
  bool allocate();
  bool allocated() const { return !bytes_.empty(); }

  void clear() { length_ = 0; }
  // Appends one byte, growing first when fewer than 2 bytes would stay free;
  // false when the buffer cannot grow (the byte is dropped).
  bool append(char byte);
  // Appends without growing: false (dropped) once only the last byte, kept
  // for the terminating zero, is left.
  bool append_fixed(char byte);
  // Stores the terminating zero after the text (there is always room).
  void terminate();
  // Cuts the text to `length` bytes (after an in-place decode).
  void truncate(std::size_t length);

  std::size_t size() const { return length_; }
  std::size_t capacity() const { return bytes_.size(); }
  std::string_view view() const { return {bytes_.data(), length_}; }
  char* data() { return bytes_.data(); }

 private:
  std::vector<char> bytes_;
  std::size_t length_ = 0;
};

}  // namespace veslink
