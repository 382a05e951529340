// The login scrambler: its own inverse, blanks in place, and vectors worked
// out from the machine's description apart from this code.
#include "client/connection/login_scrambler.h"

#include <gtest/gtest.h>

namespace veslink {
namespace {

std::string from_hex(const std::string& hex) {
  std::string out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return out;
}

TEST(LoginScrambler, WheelsGiveTheKeyStreamOfTheKeySchedule) {
  // The first key letters, from the key schedule, pins and lugs worked
  // through by hand (a separate script of the same description).
  EXPECT_EQ(scrambler_key_stream(30),
            (std::vector<int>{19, 20, 0,  25, 20, 12, 13, 25, 16, 13, 20, 16, 21, 19, 18,
                              0,  24, 19, 18, 18, 25, 25, 22, 22, 15, 20, 25, 20, 20, 17}));
}

TEST(LoginScrambler, FixedVectors) {
  struct Case {
    std::string clear;
    std::string scrambled_hex;
  } cases[] = {
      {"tuser", "7a7a687563"},
      {"Secret 12\tab\nZz~", "9b707868707320c3b909746f0a94735d"},
      {"abcdefghijklmnopqrstuvwxyz", "737378767067677268646a656966646b68627a7965647a797175"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clear);
    EXPECT_EQ(scramble_login_text(c.clear), from_hex(c.scrambled_hex));
    EXPECT_EQ(scramble_login_text(from_hex(c.scrambled_hex)), c.clear);
  }
}

TEST(LoginScrambler, LowerCaseLettersFollowTheLetterRule) {
  // x -> 'a' + ((25 - (x - 'a') + k) mod 26) for every position and letter.
  const std::vector<int> keys = scrambler_key_stream(60);
  for (char x = 'a'; x <= 'z'; ++x) {
    const std::string out = scramble_login_text(std::string(60, x));
    for (std::size_t i = 0; i < out.size(); ++i)
      ASSERT_EQ(out[i], 'a' + (25 - (x - 'a') + keys[i]) % 26) << x << " at " << i;
  }
}

TEST(LoginScrambler, ItsOwnInverseWithBlanksInPlaceAndNoNulByte) {
  std::string every_byte;
  for (int round = 0; round < 3; ++round)
    for (int b = 1; b < 256; ++b)
      every_byte += static_cast<char>(b);
  const std::string texts[] = {"",          std::string("nul\0inside", 10),
                               "Secret123", "pass word\twith\nblanks",
                               every_byte,  "\xe4\xbd\xa0\xe5\xa5\xbd UTF-8 \xc3\xa9"};
  for (const std::string& text : texts) {
    const std::string scrambled = scramble_login_text(text);
    ASSERT_EQ(scrambled.size(), text.size());
    EXPECT_EQ(scramble_login_text(scrambled), text);
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      if (c == ' ' || c == '\t' || c == '\n') {
        EXPECT_EQ(scrambled[i], c) << i;
      }
      // A stored text ends at a NUL byte: none may appear where there was none.
      if (c != '\0') {
        EXPECT_NE(scrambled[i], '\0')
            << "byte " << int(static_cast<unsigned char>(c)) << " at " << i;
      }
    }
  }
}

}  // namespace
}  // namespace veslink
