// The connection manager against a scripted TCP host on 127.0.0.1: the bytes
// on the wire in both directions for option offers, negotiation answers, line
// ends, doubled IACs, environment requests, over-long subnegotiations and
// urgent data; and hosts that send garbage or close in the middle of a
// sequence.
#include <gtest/gtest.h>

#include <random>

#include "tests/integration/connection/peer_harness.h"
#include "tests/support/scripted_messages.h"

namespace veslink::peers {
namespace {

const std::string kIac = "\xff";
std::string bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list)
    s += static_cast<char>(b);
  return s;
}

class RawPeerTest : public ::testing::Test {
 protected:
  // Connects a client to a peer playing `script`; false when either failed.
  bool connect(const std::vector<std::string>& script, const std::string& port_prefix = "") {
    const int port = peer.start(script);
    if (port == 0) return false;
    client = std::make_unique<DirectClient>(dir, INTERFACE_TELNET,
                                            "127.0.0.1:" + port_prefix + std::to_string(port));
    return client->connection->open_connection() == ConnectionManager::OpenResult::Opened;
  }
  bool peer_done() {
    return pump_until([&] { return !peer.status().empty(); }) && peer.status() == "done";
  }

  vestra::test::TempDir dir;
  vestra::test::ScriptedMessages boxes;
  RawPeer peer{dir};
  std::unique_ptr<DirectClient> client;
};

TEST_F(RawPeerTest, AnExplicitPortSendsNoOffersUnlessItStartsWithADash) {
  // What the client sends first, before anything the host said: nothing for
  // "host:port", the eight initial offers for "host:-port".
  const std::string offers = bytes({0xff, 0xfd, 3,  0xff, 0xfb, 24, 0xff, 0xfb, 31, 0xff, 0xfb, 32,
                                    0xff, 0xfb, 33, 0xff, 0xfb, 34, 0xff, 0xfb, 36, 0xff, 0xfd, 5});
  for (const auto& [prefix, expected] :
       std::vector<std::pair<std::string, std::string>>{{"", ""}, {"-", offers}}) {
    SCOPED_TRACE("port prefix '" + prefix + "'");
    ASSERT_TRUE(connect({"expect " + hex("A")}, prefix));
    EXPECT_TRUE(client->seen("Attempting connection to 127.0.0.1...")) << client->screens.back();
    client->connection->host_send_text("A");
    ASSERT_TRUE(peer_done()) << peer.status();
    EXPECT_EQ(hex(peer.received()), hex(expected + "A"));
    client.reset();
    peer.stop();
  }
}

// One exchange: what the host sends, what the client must answer on the wire
// and what must reach the interpreter.
struct Exchange {
  const char* name;
  std::string host_sends;
  std::string client_answers;
  std::string host_data;
  std::string client_sends = "";       // typed by the client after the exchange
  std::string client_sends_wire = "";  // and how that goes on the wire
};

class RawExchangeTest : public RawPeerTest, public ::testing::WithParamInterface<Exchange> {};

TEST_P(RawExchangeTest, WireBytesBothWays) {
  const Exchange& x = GetParam();
  // The host ends with "Z"; once the client has seen it, every answer to what
  // came before is on the wire, and the client's "." closes the exchange.
  ASSERT_TRUE(connect({"send " + hex(x.host_sends + "Z"), "expect " + hex(x.client_sends + ".")}));
  ASSERT_TRUE(pump_until([&] { return client->host_data.find('Z') != std::string::npos; }))
      << hex(client->host_data);
  client->connection->host_send_text(x.client_sends + ".");
  ASSERT_TRUE(peer_done()) << peer.status();
  EXPECT_EQ(hex(peer.received()), hex(x.client_answers + x.client_sends_wire + "."));
  EXPECT_EQ(hex(client->host_data), hex(x.host_data + "Z"));
  EXPECT_TRUE(client->connection->connected());
  EXPECT_TRUE(boxes.shown().empty());
}

std::string sb(std::string body) {
  return bytes({0xff, 0xfa}) + body + bytes({0xff, 0xf0});
}

const std::string kLongName(300, 'A');

INSTANTIATE_TEST_SUITE_P(
    Telnet, RawExchangeTest,
    ::testing::Values(
        Exchange{"TerminalTypeAskedTwice",
                 bytes({0xff, 0xfd, 24}) + sb(bytes({24, 1})) + sb(bytes({24, 1})),
                 bytes({0xff, 0xfb, 24}) + sb(bytes({24, 0}) + "VESLINK") +
                     sb(bytes({24, 0}) + "VESLINK"),
                 ""},
        Exchange{"DoEchoIsRefused", bytes({0xff, 0xfd, 1}), bytes({0xff, 0xfc, 1}), ""},
        Exchange{"WillEchoIsAccepted", bytes({0xff, 0xfb, 1}), bytes({0xff, 0xfd, 1}), ""},
        // The client has no window size to tell: no NAWS subnegotiation.
        Exchange{"DoNawsAgreesButSendsNoSize", bytes({0xff, 0xfd, 31}), bytes({0xff, 0xfb, 31}),
                 ""},
        Exchange{"LineEnds", std::string("a\r\0b\r\nc\rd", 9), "", "a\rb\nc\rd"},
        Exchange{"DoubledIacBothWays", "x" + kIac + kIac + "y", "", "x" + kIac + "y", kIac,
                 kIac + kIac},
        // A variable the workstation does not have: its name alone, no VALUE.
        Exchange{"EnvironMissingVariable",
                 bytes({0xff, 0xfd, 36}) + sb(bytes({36, 1, 1}) + "VESTRA_NO_SUCH_VARIABLE"),
                 bytes({0xff, 0xfb, 36}) + sb(bytes({36, 0, 1}) + "VESTRA_NO_SUCH_VARIABLE"), ""},
        // 256 bytes of subnegotiation are kept (option, SEND, VAR and 253 of
        // the name); the rest is dropped and the stream goes on.
        Exchange{"OverlongSubnegotiationIsCut",
                 bytes({0xff, 0xfd, 36}) + sb(bytes({36, 1, 1}) + kLongName) + "after",
                 bytes({0xff, 0xfb, 36}) + sb(bytes({36, 0, 1}) + std::string(253, 'A')), "after"}),
    [](const ::testing::TestParamInfo<Exchange>& info) { return std::string(info.param.name); });

TEST_F(RawPeerTest, UrgentDataDropsWhatCameBeforeTheDataMark) {
  // "stale" travels with the urgent Data Mark and is dropped; what the host
  // sends after the mark arrives as usual, and so does what came before.
  ASSERT_TRUE(connect({"send " + hex("before"), "expect " + hex("go"),
                       "urgent " + hex("stale" + bytes({0xff, 0xf2})), "pause 0.3",
                       "send " + hex("after"), "expect " + hex(".")}));
  ASSERT_TRUE(pump_until([&] { return client->host_data == "before"; })) << client->host_data;
  client->connection->host_send_text("go");
  ASSERT_TRUE(
      pump_until([&] { return client->host_data.find("after") != std::string::npos; }, 3000))
      << hex(client->host_data);
  client->connection->host_send_text(".");
  ASSERT_TRUE(peer_done()) << peer.status();
  EXPECT_EQ(client->host_data, "beforeafter");
}

// Hosts that break off: whatever came before the break reaches the
// interpreter, the client says "Connection closed." and asks for a new login,
// and nothing hangs.
struct BrokenHost {
  const char* name;
  std::string host_sends;
  std::string host_data;
};

class BrokenHostTest : public RawPeerTest, public ::testing::WithParamInterface<BrokenHost> {};

TEST_P(BrokenHostTest, ClosesCleanlyAndAsksForANewLogin) {
  const BrokenHost& b = GetParam();
  ASSERT_TRUE(connect({"send " + hex(b.host_sends), "pause 0.1", "close"}));
  ASSERT_TRUE(pump_until([&] { return !client->connection->connected(); }))
      << "the client never noticed the close";
  EXPECT_TRUE(pump_until([&] { return peer.status() == "done"; })) << peer.status();
  if (!b.host_data.empty()) {
    EXPECT_EQ(hex(client->host_data), hex(b.host_data));
  }
  EXPECT_EQ(client->rows()[0], "Connection closed.");
  EXPECT_EQ(client->connects_posted, 1);
  EXPECT_EQ(client->closes_posted, 0);
  EXPECT_TRUE(client->exits.empty());
  EXPECT_EQ(client->connection->socket_fd(), -1);
  EXPECT_TRUE(boxes.shown().empty()) << boxes.shown()[0].text;
  // A closed connection takes no more bytes.
  EXPECT_FALSE(client->connection->host_send_byte('x'));
}

std::string garbage() {
  // Random bytes with many IACs, but no Data Mark or terminal-type request
  // (those have their own tests): telnet commands, options and
  // subnegotiations in any order, cut anywhere.
  std::mt19937 random(20240611);
  std::string s;
  while (s.size() < 8192) {
    const unsigned r = random() % 8;
    unsigned char c = static_cast<unsigned char>(random());
    if (c == 0xf2) c = 0xf1;
    if (r == 0) s += kIac;
    if (r == 1) c = static_cast<unsigned char>(0xfa + random() % 6);
    s += static_cast<char>(c);
  }
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    Telnet, BrokenHostTest,
    ::testing::Values(BrokenHost{"Garbage", garbage(), ""},
                      BrokenHost{"HalfASubnegotiation", "ok" + sb(bytes({24, 1})).substr(0, 4),
                                 "ok"},
                      BrokenHost{"CloseAfterIac", "ok" + kIac, "ok"},
                      BrokenHost{"CloseAfterIacDo", "ok" + bytes({0xff, 0xfd}), "ok"},
                      BrokenHost{"CloseAfterCarriageReturn", "ok\r", "ok\r"}),
    [](const ::testing::TestParamInfo<BrokenHost>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace veslink::peers
