// The circular byte buffer: segment access for in-place reads and writes, and
// the copying helpers built on it.
#include "client/connection/byte_ring.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace veslink {

ByteRing::ByteRing(std::size_t capacity) : buffer_(capacity) {
  assert(capacity > 0);
}

void ByteRing::clear() {
  supply_ = consume_ = filled_ = 0;
}

std::span<std::uint8_t> ByteRing::free_segment() {
  // From the supply position to the end of the buffer, or up to the consume
  // position when the free space does not wrap.
  const std::size_t to_end = buffer_.size() - supply_;
  return {buffer_.data() + supply_, std::min(to_end, free())};
}

void ByteRing::commit(std::size_t count) {
  // More than the free segment would overwrite unread bytes: never allowed.
  assert(count <= free_segment().size());
  count = std::min(count, free_segment().size());
  supply_ += count;
  if (supply_ == buffer_.size()) supply_ = 0;
  filled_ += count;
}

std::span<const std::uint8_t> ByteRing::filled_segment() const {
  const std::size_t to_end = buffer_.size() - consume_;
  return {buffer_.data() + consume_, std::min(to_end, filled_)};
}

void ByteRing::consume(std::size_t count) {
  assert(count <= filled_);
  count = std::min(count, filled_);
  consume_ = (consume_ + count) % buffer_.size();
  filled_ -= count;
}

std::array<std::span<const std::uint8_t>, 2> ByteRing::filled_segments() const {
  const std::span<const std::uint8_t> first = filled_segment();
  return {first, std::span<const std::uint8_t>(buffer_.data(), filled_ - first.size())};
}

std::uint8_t ByteRing::at(std::size_t index) const {
  assert(index < filled_);
  std::size_t pos = consume_ + index;
  if (pos >= buffer_.size()) pos -= buffer_.size();
  return buffer_[pos];
}

void ByteRing::truncate(std::size_t count) {
  if (count >= filled_) return;
  supply_ = (consume_ + count) % buffer_.size();
  filled_ = count;
}

bool ByteRing::put(std::uint8_t byte) {
  if (full()) return false;
  buffer_[supply_] = byte;
  if (++supply_ == buffer_.size()) supply_ = 0;
  ++filled_;
  return true;
}

std::size_t ByteRing::write(const std::uint8_t* data, std::size_t count) {
  std::size_t done = 0;
  while (done < count && !full()) {
    const std::span<std::uint8_t> space = free_segment();
    const std::size_t n = std::min(space.size(), count - done);
    std::memcpy(space.data(), data + done, n);
    commit(n);
    done += n;
  }
  return done;
}

bool ByteRing::write_all(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > free()) return false;
  write(bytes.data(), bytes.size());
  return true;
}

std::size_t ByteRing::read(std::uint8_t* out, std::size_t count) {
  std::size_t done = 0;
  while (done < count && !empty()) {
    const std::span<const std::uint8_t> piece = filled_segment();
    const std::size_t n = std::min(piece.size(), count - done);
    std::memcpy(out + done, piece.data(), n);
    consume(n);
    done += n;
  }
  return done;
}

}  // namespace veslink
