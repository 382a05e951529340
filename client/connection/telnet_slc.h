// The LINEMODE special-character table (RFC 1184 SLC): 18 functions with the
// client's own level and value and the level and value currently agreed with
// the host, and the replies built from it. Its own file because the
// negotiation rules are a small algorithm of their own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "client/connection/telnet_codes.h"

namespace veslink {

// SLC levels (the low two flag bits) and the acknowledgement bit.
inline constexpr std::uint8_t kSlcNoSupport = 0;
inline constexpr std::uint8_t kSlcCantChange = 1;
inline constexpr std::uint8_t kSlcValue = 2;
inline constexpr std::uint8_t kSlcDefault = 3;
inline constexpr std::uint8_t kSlcLevelBits = 3;
inline constexpr std::uint8_t kSlcAck = 0x80;

struct SlcEntry {
  std::uint8_t own_level = kSlcNoSupport;  // what the client itself supports
  std::uint8_t own_value = 0;
  std::uint8_t flags = kSlcNoSupport;  // current level plus flag bits
  std::uint8_t value = 0;              // current value
  bool operator==(const SlcEntry&) const = default;
};

// A complete IAC SB LINEMODE SLC ... IAC SE reply in a fixed buffer. It holds
// the largest reply any subnegotiation can call for: every triple the
// subnegotiation buffer can carry, each with all three bytes doubled.
class SlcReply {
 public:
  static constexpr std::size_t kMaxTriples = (telnet::kSubnegotiationSize - 2) / 3;
  static constexpr std::size_t kCapacity = 4 + kMaxTriples * 6 + 2;

  SlcReply();
  // Adds one triple; 255 bytes are doubled. False when the buffer is full.
  bool add(std::uint8_t function, std::uint8_t flags, std::uint8_t value);
  // Closes the reply with IAC SE (once).
  void finish();
  std::size_t triples() const { return triples_; }
  std::span<const std::uint8_t> bytes() const { return {buffer_.data(), length_}; }

 private:
  void push(std::uint8_t byte) { buffer_[length_++] = byte; }
  std::array<std::uint8_t, kCapacity> buffer_{};
  std::size_t length_ = 0;
  std::size_t triples_ = 0;
  bool finished_ = false;
};

class SlcTable {
 public:
  static constexpr int kFunctions = 18;

  SlcTable() { reset(); }
  // Back to the client's own levels and values: DEFAULT and 0 for every
  // function except BRK (2), EOR (6) and FORW2 (18), which it does not support.
  void reset();
  // The table the client sends on entering linemode: one triple for each
  // function it supports, in ascending order.
  SlcReply initial_reply() const;
  // The host's SLC triples (the bytes after IAC SB LINEMODE SLC): updates the
  // table and returns the answer, which is to be sent only if it holds a triple.
  SlcReply negotiate(std::span<const std::uint8_t> triples);

  const SlcEntry& entry(int function) const { return entries_[function]; }

 private:
  std::array<SlcEntry, kFunctions + 1> entries_{};  // index 0 unused
};

}  // namespace veslink
