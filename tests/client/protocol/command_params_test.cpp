// Parameter rules at their limits: numbers that overflow 32 bits wrap as
// unsigned values, and a fraction with hundreds of digits stays a finite
// real instead of becoming NaN.
#include <gtest/gtest.h>

#include <cmath>

#include "client/protocol/command_params.h"

namespace veslink {
namespace {

CommandParams parse(const std::string& text, MessageBuffer& buffer) {
  CommandParams p;
  for (char c : text)
    if (feed_param_byte(p, buffer, static_cast<std::uint8_t>(c))) break;
  return p;
}

TEST(CommandParams, NumbersAtTheirLimits) {
  MessageBuffer buffer;
  ASSERT_TRUE(buffer.allocate());
  CommandParams p = parse("4294967297X 4294967295I\r", buffer);
  EXPECT_EQ(p.X, 1u);
  EXPECT_EQ(p.I, 4294967295u);

  p = parse("1." + std::string(400, '3') + "Y\r", buffer);
  EXPECT_EQ(p.Y, 1u);
  EXPECT_TRUE(std::isfinite(p.y_real));
  EXPECT_NEAR(p.y_real, 1.0 + 1.0 / 3, 1e-12);
}

TEST(CommandParams, StringsGrowTheBufferByItsStep) {
  MessageBuffer buffer;
  ASSERT_TRUE(buffer.allocate());
  const std::string text(5000, 's');
  CommandParams p = parse(";" + text + "\r", buffer);
  EXPECT_EQ(p.string_length, 5000);
  EXPECT_EQ(command_string(p, buffer), text);
  EXPECT_EQ(buffer.capacity() % MessageBuffer::kStep, 0u);
  EXPECT_GE(buffer.capacity() - buffer.size(), 2u);
}

}  // namespace
}  // namespace veslink
