// The whole client against a scripted host on 127.0.0.1: after a login by
// hand the host starts a program and asks for the identification answers;
// the wire shows the replies byte for byte and the session trace holds both
// directions.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "client/connection/login_dialog.h"
#include "tests/integration/connection/client_run.h"
#include "tests/integration/connection/peer_harness.h"
#include "tests/support/temp_dir.h"

namespace veslink::peers {
namespace {

#define ESC "\x1b"
using namespace std::string_literals;

TEST(ProtocolPeer, IdentificationRepliesReachTheHostByteForByte) {
  vestra::test::TempDir dir;
  RawPeer peer(dir);
  const int port = peer.start({
      "send " + hex("Welcome\r\n" ESC "mpi1P2F1A\r"),
      "expect " + hex(ESC "nv10F6.5V1S;127.0.0.1\r"),
      "send " + hex(ESC " "),
      "expect " + hex("60\r"),
      "send " + hex(ESC "vfanything\r"),
      "expect " + hex("0\r"),
      "send " + hex(ESC "/"),
      "expect " + hex("0"),
      "send " + hex(ESC "mpi1P\r" ESC "mpi2P4F\r"),  // only the new program answers
      "expect " + hex(ESC "nv10F6.5V1S\r"),
      "drain",
  });
  ASSERT_NE(port, 0);

  const std::string trace = dir.file("session.log");
  setenv("VESLINK_TRACE", trace.c_str(), 1);
  ClientRun client(dir);
  client.setting("interface", "telnet,127.0.0.1:" + std::to_string(port));
  client.boxes.answer(
      vestra::messages::Answer::Yes);  // "Do you want to continue with the Unix Login?"
  client.start({[](LoginDialog& d) { d.press_unix_login(); }});

  ASSERT_TRUE(pump_until([&] { return !peer.status().empty(); }, 20000));
  unsetenv("VESLINK_TRACE");
  EXPECT_EQ(peer.status(), "done");
  // Telnet sends a carriage return without line feed as CR NUL.
  EXPECT_EQ(peer.received(), ESC
            "nv10F6.5V1S;127.0.0.1\r\0"
            "60\r\0"
            "0\r\0"
            "0" ESC "nv10F6.5V1S\r\0"s);

  const std::string log = vestra::test::TempDir::read(trace);
  EXPECT_NE(log.find("< 57 65 6c 63 6f 6d 65 0a 1b 6d 70 69 31 50 32 46"), std::string::npos)
      << log;
  EXPECT_NE(log.find("> 1b 6e 76 31 30 46 36 2e 35 56 31 53 3b 31 32 37"), std::string::npos)
      << log;
  EXPECT_NE(log.find("> 36 30 0d "), std::string::npos) << log;
  client.app.reset();
  peer.stop();
}

}  // namespace
}  // namespace veslink::peers
