// A fixed-size circular byte buffer with a supply position, a consume position
// and a fill counter. The connection's four rings are made of it; it is its own
// file because sockets, the telnet engine and the benchmark all work on it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace veslink {

class ByteRing {
 public:
  // Allocates the whole buffer at once; throws std::bad_alloc when it cannot.
  explicit ByteRing(std::size_t capacity);

  std::size_t capacity() const { return buffer_.size(); }
  std::size_t size() const { return filled_; }
  std::size_t free() const { return buffer_.size() - filled_; }
  bool empty() const { return filled_ == 0; }
  bool full() const { return filled_ == buffer_.size(); }
  std::size_t supply_position() const { return supply_; }
  std::size_t consume_position() const { return consume_; }

  // Empties the ring. The positions go back to the start, so a fresh
  // connection sees the same layout as the first one.
  void clear();

  // The free space that follows the supply position without wrapping: a
  // socket read() goes straight into it, then commit() says how much arrived.
  std::span<std::uint8_t> free_segment();
  void commit(std::size_t count);

  // The filled bytes that follow the consume position without wrapping: a
  // socket send() goes straight from it, then consume() drops what was sent.
  std::span<const std::uint8_t> filled_segment() const;
  void consume(std::size_t count);

  // All filled bytes as at most two contiguous pieces, oldest first; the
  // second piece is empty unless the content wraps around the end.
  std::array<std::span<const std::uint8_t>, 2> filled_segments() const;

  // The filled byte `index` places after the consume position (index < size()).
  std::uint8_t at(std::size_t index) const;

  // Keeps the oldest `count` filled bytes and drops the newer ones (the
  // supply position moves back); nothing happens when fewer are filled.
  void truncate(std::size_t count);

  // Appends one byte; false (and nothing written) when the ring is full.
  bool put(std::uint8_t byte);
  // Appends as many bytes as fit and returns how many that was.
  std::size_t write(const std::uint8_t* data, std::size_t count);
  // Appends all of the bytes or, when they do not fit, none of them.
  bool write_all(std::span<const std::uint8_t> bytes);
  // Moves up to `count` bytes out of the ring and returns how many.
  std::size_t read(std::uint8_t* out, std::size_t count);

 private:
  std::vector<std::uint8_t> buffer_;
  std::size_t supply_ = 0;
  std::size_t consume_ = 0;
  std::size_t filled_ = 0;
};

}  // namespace veslink
