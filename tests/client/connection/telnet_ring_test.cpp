// The byte ring under the telnet engine: fill counting, contiguous segments
// for in-place reads and sends, the wrap, and writes that never overfill.
#include <gtest/gtest.h>

#include <string>

#include "client/connection/byte_ring.h"

namespace veslink {
namespace {

std::string contents(const ByteRing& ring) {
  std::string out;
  for (std::size_t i = 0; i < ring.size(); ++i)
    out += static_cast<char>(ring.at(i));
  return out;
}

const std::uint8_t* bytes(const char* text) {
  return reinterpret_cast<const std::uint8_t*>(text);
}

TEST(ByteRing, SegmentsFollowTheWrap) {
  ByteRing ring(8);
  EXPECT_EQ(ring.free_segment().size(), 8u);
  EXPECT_EQ(ring.write(bytes("abcdef"), 6), 6u);
  ring.consume(4);  // "ef" left at positions 4 and 5
  EXPECT_EQ(ring.consume_position(), 4u);
  // Free space runs to the end of the buffer first, then from the start.
  EXPECT_EQ(ring.free_segment().size(), 2u);
  EXPECT_EQ(ring.write(bytes("ghij"), 4), 4u);
  EXPECT_EQ(ring.supply_position(), 2u);
  EXPECT_EQ(contents(ring), "efghij");
  const auto pieces = ring.filled_segments();
  EXPECT_EQ(std::string(pieces[0].begin(), pieces[0].end()), "efgh");
  EXPECT_EQ(std::string(pieces[1].begin(), pieces[1].end()), "ij");
  EXPECT_EQ(ring.filled_segment().size(), 4u);
  // The free segment now lies between the supply and the consume position.
  EXPECT_EQ(ring.free_segment().size(), 2u);
  EXPECT_EQ(ring.free_segment().data() - ring.filled_segment().data(), -2);
}

TEST(ByteRing, InPlaceReadCommitAndSendConsume) {
  ByteRing ring(5);
  auto space = ring.free_segment();
  space[0] = 'x';
  space[1] = 'y';
  ring.commit(2);  // as after a read() of two bytes
  EXPECT_EQ(contents(ring), "xy");
  ring.consume(ring.filled_segment().size());  // as after a send() of all
  EXPECT_TRUE(ring.empty());
  EXPECT_EQ(ring.free_segment().size(), 3u);  // up to the end; the rest after the wrap
  ring.commit(3);
  EXPECT_EQ(ring.supply_position(), 0u);
  EXPECT_EQ(ring.free_segment().size(), 2u);
}

TEST(ByteRing, NeverOverfills) {
  ByteRing ring(4);
  EXPECT_EQ(ring.write(bytes("abcdef"), 6), 4u);
  EXPECT_TRUE(ring.full());
  EXPECT_FALSE(ring.put('z'));
  EXPECT_TRUE(ring.free_segment().empty());
  EXPECT_EQ(contents(ring), "abcd");
  ring.consume(1);
  EXPECT_FALSE(ring.write_all(std::span<const std::uint8_t>(bytes("xy"), 2)));
  EXPECT_EQ(contents(ring), "bcd");  // all or nothing
  EXPECT_TRUE(ring.write_all(std::span<const std::uint8_t>(bytes("x"), 1)));
  EXPECT_EQ(contents(ring), "bcdx");
}

TEST(ByteRing, ReadTruncateAndClear) {
  ByteRing ring(6);
  ring.write(bytes("abcd"), 4);
  ring.consume(3);
  ring.write(bytes("efgh"), 4);  // wraps
  std::uint8_t out[8] = {};
  EXPECT_EQ(ring.read(out, 3), 3u);
  EXPECT_EQ(std::string(out, out + 3), "def");
  EXPECT_EQ(contents(ring), "gh");
  ring.truncate(1);  // drops the newest byte
  EXPECT_EQ(contents(ring), "g");
  EXPECT_EQ(ring.write(bytes("ij"), 2), 2u);
  EXPECT_EQ(contents(ring), "gij");
  ring.truncate(5);  // more than filled: nothing changes
  EXPECT_EQ(contents(ring), "gij");
  ring.clear();
  EXPECT_TRUE(ring.empty());
  EXPECT_EQ(ring.supply_position(), 0u);
  EXPECT_EQ(ring.consume_position(), 0u);
  EXPECT_EQ(ring.free_segment().size(), 6u);
}

}  // namespace
}  // namespace veslink
