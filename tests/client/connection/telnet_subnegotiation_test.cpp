// The subnegotiations the client answers: terminal type and speed, LINEMODE
// (MODE, forward mask, special characters) and ENVIRON, the 256-byte
// subnegotiation buffer, and replies that do not fit in the network output.
#include <gtest/gtest.h>

#include "client/connection/telnet_engine.h"
#include "tests/client/connection/telnet_test_support.h"

namespace veslink::telnet_test {
namespace {

using Lines = std::vector<std::string>;

const EnvironmentList kEnvironment = {{"USER", "tuser"},
                                      {"HOME", "/home/tuser"},
                                      {"ODD",
                                       "a\x01"
                                       "b\x02"
                                       "c\xff"
                                       "d\x03"},
                                      {"USER", "shadowed"}};

Prelude with_environment(std::string_view host_bytes) {
  return [bytes = std::string(host_bytes)](TelnetHarness& h) {
    h.engine.reset(kEnvironment);
    h.feed(bytes);
  };
}

struct Case {
  const char* name;
  Prelude setup;
  std::string input;
  Lines answers;
  Lines messages = {};
};

void run_cases(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    expect_receive(c.setup, c.input, Outcome{"", c.answers, c.messages, {}});
  }
}

TEST(TelnetTerminalType, AnsweredOnlyWhileTheClientsSideIsOn) {
  const std::string send = sb(kTtype, B({kSend}));
  run_cases({
      {"SEND twice",
       after(cmd(kDo, kTtype)),
       send + send,
       {"SB TTYPE 00 \"VESLINK\"", "SB TTYPE 00 \"VESLINK\""}},
      {"the list starts over when exhausted",
       after(cmd(kDo, kTtype)),
       send + send + send,
       {"SB TTYPE 00 \"VESLINK\"", "SB TTYPE 00 \"VESLINK\"", "SB TTYPE 00 \"VESLINK\""}},
      {"offered, not yet agreed", offers, send, {"SB TTYPE 00 \"VESLINK\""}},
      {"side off", fresh, send, {}},
      {"refused earlier", after(cmd(kDo, kTtype) + cmd(kDont, kTtype)), send, {}},
      {"IS from the host", after(cmd(kDo, kTtype)), sb(kTtype, B({kIs}) + "X"), {}},
      {"no qualifier", after(cmd(kDo, kTtype)), sb(kTtype, ""), {}},
  });
}

TEST(TelnetTerminalSpeed, AnsweredWithFixedSpeeds) {
  run_cases({
      {"SEND", after(cmd(kDo, kTspeed)), sb(kTspeed, B({kSend})), {"SB TSPEED 00 \"19200,19200\""}},
      {"side off", fresh, sb(kTspeed, B({kSend})), {}},
      {"IS", after(cmd(kDo, kTspeed)), sb(kTspeed, B({kIs})), {}},
  });
}

TEST(TelnetSubnegotiation, OtherOptionsAreIgnored) {
  run_cases({
      {"LFLOW", after(cmd(kDo, kLflow)), sb(kLflow, B({1})), {}},
      {"NAWS", after(cmd(kDo, kNaws)), sb(kNaws, B({0, 80, 0, 24})), {}},
      {"STATUS", after(cmd(kWill, kStatus)), sb(kStatus, B({0})), {}},
      {"empty", fresh, B({kIac, kSb, kIac, kSe}), {}},
  });
}

const std::string kLinemodeOn = cmd(kDo, kLinemode);

std::string mode(std::initializer_list<int> bytes) {
  std::string payload(1, static_cast<char>(kLmMode));
  for (int b : bytes)
    payload += static_cast<char>(b);
  return sb(kLinemode, payload);
}

TEST(TelnetLinemode, ModeChangesAreAcknowledged) {
  run_cases({
      {"EDIT|TRAPSIG", after(kLinemodeOn), mode({3}), {"SB LINEMODE 01 07"}},
      {"unchanged", after(kLinemodeOn + mode({3})), mode({3}), {}},
      {"an acknowledgement", after(kLinemodeOn), mode({7}), {}},
      {"SOFT_TAB|LIT_ECHO|EDIT", after(kLinemodeOn), mode({0x19}), {"SB LINEMODE 01 1d"}},
      {"all bits", after(kLinemodeOn), mode({0x1f}), {}},
      {"all bits but ACK", after(kLinemodeOn), mode({0x1b}), {"SB LINEMODE 01 1f"}},
      {"unknown bits only", after(kLinemodeOn), mode({0x20}), {}},
      {"unknown bits are not echoed", after(kLinemodeOn), mode({0x61}), {"SB LINEMODE 01 05"}},
      {"back to 0", after(kLinemodeOn + mode({3})), mode({0}), {"SB LINEMODE 01 04"}},
      {"two mode bytes", after(kLinemodeOn), mode({3, 3}), {}},
      {"no mode byte", after(kLinemodeOn), mode({}), {}},
      {"linemode off", fresh, mode({3}), {}},
  });
  TelnetHarness h;
  h.feed(kLinemodeOn + mode({0x13}));
  EXPECT_EQ(h.engine.linemode_bits(), 0x13);
}

TEST(TelnetLinemode, ForwardMaskIsRefused) {
  run_cases({
      {"WILL FORWARDMASK",
       after(kLinemodeOn),
       sb(kLinemode, B({kWill, kLmForwardMask})),
       {"SB LINEMODE fe 02"}},
      {"DO FORWARDMASK with a mask",
       after(kLinemodeOn),
       sb(kLinemode, B({kDo, kLmForwardMask, 0xff, 0x00, 0x10})),
       {"SB LINEMODE fc 02"}},
      {"WONT FORWARDMASK", after(kLinemodeOn), sb(kLinemode, B({kWont, kLmForwardMask})), {}},
      {"DONT FORWARDMASK", after(kLinemodeOn), sb(kLinemode, B({kDont, kLmForwardMask})), {}},
      {"FORWARDMASK alone", after(kLinemodeOn), sb(kLinemode, B({kLmForwardMask, 1})), {}},
      {"WILL without command",
       after(kLinemodeOn),
       sb(kLinemode, B({kWill})),
       {},
       {"lm_will: no command!!!\n"}},
      {"DO without command",
       after(kLinemodeOn),
       sb(kLinemode, B({kDo})),
       {},
       {"lm_do: no command!!!\n"}},
      {"WONT without command",
       after(kLinemodeOn),
       sb(kLinemode, B({kWont})),
       {},
       {"lm_wont: no command!!!\n"}},
      {"DONT without command",
       after(kLinemodeOn),
       sb(kLinemode, B({kDont})),
       {},
       {"lm_dont: no command!!!\n"}},
      {"linemode off", fresh, sb(kLinemode, B({kWill, kLmForwardMask})), {}},
  });
  // A command byte 255 is doubled in the answer.
  TelnetHarness h;
  h.feed(kLinemodeOn);
  h.take_network();
  h.feed(sb(kLinemode, B({kWill, 255})));
  EXPECT_EQ(h.take_network_raw(), B({kIac, kSb, kLinemode, kDont, kIac, kIac, kIac, kSe}));
}

std::string slc(std::initializer_list<SlcTriple> triples) {
  std::string payload(1, static_cast<char>(kLmSlc));
  for (const SlcTriple& t : triples) {
    payload += static_cast<char>(t.function);
    payload += static_cast<char>(t.flags);
    payload += static_cast<char>(t.value);
  }
  return sb(kLinemode, payload);
}

TEST(TelnetSlc, TheHostsTriplesAreAnswered) {
  const Prelude on = after(kLinemodeOn);
  run_cases({
      // A level the client accepts: taken with ACK and confirmed.
      {"IP at VALUE with flush bits", on, slc({{3, 0x62, 0x03}}), {slc_line({{3, 0xe2, 0x03}})}},
      {"EOF at CANTCHANGE", on, slc({{8, 0x01, 0x04}}), {slc_line({{8, 0x81, 0x04}})}},
      {"IP not supported by the host", on, slc({{3, 0x00, 0x00}}), {slc_line({{3, 0x80, 0x00}})}},
      // DEFAULT from the host: the client has no own level to offer.
      {"AYT at DEFAULT", on, slc({{5, 0x03, 0x14}}), {slc_line({{5, 0x00, 0x14}})}},
      // Functions the client does not support.
      {"BRK at VALUE", on, slc({{2, 0x02, 0x1c}}), {slc_line({{2, 0x00, 0x00}})}},
      {"EOR at VALUE", on, slc({{6, 0x02, 0x05}}), {slc_line({{6, 0x00, 0x00}})}},
      {"function 19", on, slc({{19, 0x02, 0x05}}), {slc_line({{19, 0x00, 0x00}})}},
      {"function 19, not supported", on, slc({{19, 0x00, 0x05}}), {}},
      {"function 0", on, slc({{0, 0x02, 0x05}}), {}},
      // Nothing new: no reply at all.
      {"the current level and value", on, slc({{1, 0x03, 0x00}}), {}},
      {"several, with a partial triple",
       on,
       sb(kLinemode, B({kLmSlc, 3, 0x62, 0x03, 1, 0x03, 0x00, 2, 0x02, 0x1c, 4, 0x02})),
       {slc_line({{3, 0xe2, 0x03}, {2, 0x00, 0x00}})}},
      {"linemode off", fresh, slc({{3, 0x62, 0x03}}), {}},
  });
}

TEST(TelnetSlc, AcknowledgementsAreTakenOverSilently) {
  TelnetHarness h;
  h.feed(kLinemodeOn + slc({{3, 0x62, 0x03}}));
  h.take_network();
  EXPECT_EQ(h.engine.slc().entry(3), (SlcEntry{kSlcDefault, 0, 0xe2, 0x03}));
  // The host acknowledges level VALUE with a new value.
  h.feed(slc({{3, 0x82, 0x7f}}));
  EXPECT_EQ(h.engine.slc().entry(3), (SlcEntry{kSlcDefault, 0, 0x82, 0x7f}));
  // DEFAULT with ACK while the client holds DEFAULT: taken, ACK dropped.
  h.feed(slc({{4, 0x83 | 0x40, 0x0f}}));
  EXPECT_EQ(h.engine.slc().entry(4), (SlcEntry{kSlcDefault, 0, 0x43, 0x0f}));
  EXPECT_EQ(h.take_network(), Lines{});
  // Entering linemode again starts from the client's own table.
  h.feed(cmd(kDont, kLinemode) + kLinemodeOn);
  EXPECT_EQ(h.engine.slc().entry(3), (SlcEntry{kSlcDefault, 0, kSlcDefault, 0}));
  EXPECT_EQ(h.engine.slc().entry(2), (SlcEntry{kSlcNoSupport, 0, kSlcNoSupport, 0}));
}

TEST(TelnetSlc, BytesOf255AreDoubledInTheReply) {
  TelnetHarness h;
  h.feed(kLinemodeOn);
  h.take_network();
  h.feed(slc({{3, 0x02, 0xff}, {255, 0x02, 0x00}}));
  EXPECT_EQ(h.take_network_raw(),
            B({kIac, kSb, kLinemode, kLmSlc, 3, 0x82, 0xff, 0xff, 0xff, 0xff, 0, 0, kIac, kSe}));
}

TEST(TelnetEnviron, SendIsAnsweredFromTheEnvironmentTable) {
  const Prelude on = with_environment(cmd(kDo, kEnviron));
  run_cases({
      {"a variable and a missing one",
       on,
       sb(kEnviron, B({kSend, kEnvVar}) + "USER" + B({kEnvVar}) + "NOPE"),
       {"SB ENVIRON 00 01 \"USER\" 00 \"tuser\" 01 \"NOPE\""}},
      {"no names: only exported variables, and none is",
       on,
       sb(kEnviron, B({kSend})),
       {"SB ENVIRON 00"}},
      {"bytes before the first VAR",
       on,
       sb(kEnviron, B({kSend}) + "xx" + B({kEnvVar}) + "HOME"),
       {"SB ENVIRON 00 01 \"HOME\" 00 \"/home/tuser\""}},
      {"an empty name",
       on,
       sb(kEnviron, B({kSend, kEnvVar, kEnvVar}) + "USER"),
       {"SB ENVIRON 00 01 01 \"USER\" 00 \"tuser\""}},
      {"ESC at the end",
       on,
       sb(kEnviron, B({kSend, kEnvVar}) + "US" + B({kEnvEsc})),
       {"SB ENVIRON 00 01 \"US\""}},
      {"IS from the host", on, sb(kEnviron, B({kIs, kEnvVar}) + "USER"), {}},
      {"INFO from the host", on, sb(kEnviron, B({kInfo, kEnvVar}) + "USER"), {}},
      {"side off", with_environment(""), sb(kEnviron, B({kSend, kEnvVar}) + "USER"), {}},
  });
}

TEST(TelnetEnviron, SpecialBytesAreEscaped) {
  TelnetHarness h(kEnvironment);
  h.feed(cmd(kDo, kEnviron));
  h.take_network();
  // A value holding VAR, ESC, 255 and 3; a requested name holding an escaped
  // VAR, an escaped ESC, an escaped VALUE and a 255.
  h.feed(sb(kEnviron, B({kSend, kEnvVar}) + "ODD" + B({kEnvVar}) + "E" + B({kEnvEsc, kEnvVar}) +
                          "F" + B({kEnvEsc, kEnvEsc}) + "G" + B({kEnvEsc, kEnvValue, 0xff})));
  EXPECT_EQ(h.take_network_raw(), B({kIac, kSb, kEnviron, kIs, kEnvVar}) + "ODD" + B({kEnvValue}) +
                                      "a" + B({kEnvEsc, kEnvVar}) + "b" + B({kEnvEsc, kEnvEsc}) +
                                      "c" + B({kIac, kIac}) + "d" + B({3, kEnvVar}) + "E" +
                                      B({kEnvEsc, kEnvVar}) + "F" + B({kEnvEsc, kEnvEsc}) + "G" +
                                      B({kEnvEsc, kEnvValue, kIac, kIac, kIac, kSe}));
}

TEST(TelnetEnviron, TableKeepsTheFirstDefinitionAndNamesWellKnownOnes) {
  EnvironmentTable table;
  table.rebuild(kEnvironment);
  ASSERT_EQ(table.variables().size(), 3u);
  EXPECT_EQ(table.find("USER")->value, "tuser");
  EXPECT_TRUE(table.find("USER")->well_known);
  EXPECT_FALSE(table.find("HOME")->well_known);
  for (const EnvironmentVariable& v : table.variables())
    EXPECT_FALSE(v.exported) << v.name;
  EXPECT_EQ(table.find("PATH"), nullptr);
}

TEST(TelnetEnviron, ProcessEnvironmentIsRead) {
  setenv("VESTRA_TELNET_TEST", "v=1", 1);
  bool found = false;
  for (const auto& [name, value] : process_environment())
    found = found || (name == "VESTRA_TELNET_TEST" && value == "v=1");
  EXPECT_TRUE(found);
  unsetenv("VESTRA_TELNET_TEST");
}

TEST(TelnetSubnegotiation, LongerThan256BytesIsCut) {
  // ENVIRON, SEND and VAR take three bytes of the buffer; the name gets the
  // rest, and the stream after the subnegotiation is read normally.
  const Outcome o = receive(with_environment(cmd(kDo, kEnviron)),
                            sb(kEnviron, B({kSend, kEnvVar}) + std::string(300, 'X')) + "after");
  EXPECT_EQ(o.network, (Lines{"SB ENVIRON 00 01 \"" + std::string(253, 'X') + "\""}));
  EXPECT_EQ(o.host, "after");

  // The largest SLC request the buffer can carry: 84 whole triples answered.
  std::string triples(1, static_cast<char>(kLmSlc));
  std::string expected(1, static_cast<char>(kLmSlc));
  for (int f = 19; f < 119; ++f) {
    triples += B({f, 0x02, 0x01});
    if (f < 19 + 84) expected += B({f, 0, 0});
  }
  TelnetHarness h;
  h.feed(kLinemodeOn);
  h.take_network();
  h.feed(sb(kLinemode, triples));
  EXPECT_EQ(h.engine.subnegotiation().size(), kSubnegotiationSize);
  EXPECT_EQ(h.take_network_raw(), B({kIac, kSb, kLinemode}) + expected + B({kIac, kSe}));
}

// Replies queued against a network output ring with `room` free bytes.
struct RoomResult {
  std::size_t written;
  Lines messages;
  Lines fatals;
};

RoomResult with_room(const Prelude& setup, const std::string& input, std::size_t room) {
  TelnetHarness h;
  setup(h);
  h.take_network();
  h.sink.messages.clear();
  h.drain_network = false;
  ByteRing& out = h.engine.network_output();
  const std::vector<std::uint8_t> filler(out.capacity() - room, 'f');
  out.write(filler.data(), filler.size());
  h.feed(input);
  return {out.size() - filler.size(), h.sink.messages, h.sink.fatals};
}

TEST(TelnetReplies, ThatDoNotFitAreDroppedWithTheirMessage) {
  const EnvironmentList env = {{"USER", "tuser"}};
  const Prelude environ_on = [&](TelnetHarness& h) {
    h.engine.reset(env);
    h.feed(cmd(kDo, kEnviron));
  };
  struct RoomCase {
    const char* name;
    Prelude setup;
    std::string input;
    std::size_t size;
    std::string message;
  } cases[] = {
      {"TSPEED", after(cmd(kDo, kTspeed)), sb(kTspeed, B({kSend})), 17,
       "lm_will: not enough room in buffer\n"},
      {"LINEMODE WILL", after(kLinemodeOn), sb(kLinemode, B({kWill, 2})), 7,
       "lm_will: not enough room in buffer\n"},
      {"LINEMODE DO", after(kLinemodeOn), sb(kLinemode, B({kDo, 2})), 7,
       "lm_do: not enough room in buffer\n"},
      {"LINEMODE MODE", after(kLinemodeOn), mode({3}), 7, "lm_mode: not enough room in buffer\n"},
      {"SLC", after(kLinemodeOn), slc({{3, 0x62, 0x03}}), 9, "slc_end_reply: not enough room\n"},
      {"ENVIRON", environ_on, sb(kEnviron, B({kSend, kEnvVar}) + "USER"), 17,
       "slc_end_reply: not enough room\n"},
  };
  for (const RoomCase& c : cases) {
    SCOPED_TRACE(c.name);
    const RoomResult fits = with_room(c.setup, c.input, c.size);
    EXPECT_EQ(fits.written, c.size);
    EXPECT_EQ(fits.messages, Lines{});
    const RoomResult short_by_one = with_room(c.setup, c.input, c.size - 1);
    EXPECT_EQ(short_by_one.written, 0u);
    EXPECT_EQ(short_by_one.messages, Lines{c.message});
    EXPECT_EQ(short_by_one.fatals, Lines{});
  }
}

TEST(TelnetReplies, NoRoomForTheTerminalTypeIsFatal) {
  const std::string input = sb(kTtype, B({kSend})) + "more";
  EXPECT_EQ(with_room(after(cmd(kDo, kTtype)), input, 13).written, 13u);
  const RoomResult r = with_room(after(cmd(kDo, kTtype)), input, 12);
  EXPECT_EQ(r.written, 0u);
  EXPECT_EQ(r.fatals, Lines{"VESTRA TELNET: No room in buffer for terminal type.\n"});
}

}  // namespace
}  // namespace veslink::telnet_test
