// The telnet engine's receiver, sender and option answers, byte by byte. Every
// receive case is replayed split at each position, one byte at a time and
// across the ring's wrap (see telnet_test_support.h).
#include "client/connection/telnet_engine.h"

#include <gtest/gtest.h>

#include "tests/client/connection/telnet_test_support.h"

namespace veslink::telnet_test {
namespace {

using Lines = std::vector<std::string>;

const std::string kSlcTable = slc_line({{1, 3, 0},
                                        {3, 3, 0},
                                        {4, 3, 0},
                                        {5, 3, 0},
                                        {7, 3, 0},
                                        {8, 3, 0},
                                        {9, 3, 0},
                                        {10, 3, 0},
                                        {11, 3, 0},
                                        {12, 3, 0},
                                        {13, 3, 0},
                                        {14, 3, 0},
                                        {15, 3, 0},
                                        {16, 3, 0},
                                        {17, 3, 0}});

TEST(TelnetNames, OneTableNamesOptionsAndCommands) {
  EXPECT_EQ(describe(kDo, kTtype), "DO TTYPE");
  EXPECT_EQ(describe(kWill, kTimingMark), "WILL TIMING-MARK");
  EXPECT_EQ(describe(kDont, kEnviron), "DONT ENVIRON");
  EXPECT_EQ(describe(kWont, kNewEnviron), "WONT NEW-ENVIRON");
  EXPECT_EQ(option_name(kLinemode), "LINEMODE");
  EXPECT_EQ(option_name(200), "200");
  EXPECT_EQ(command_name(kSb), "SB");
  EXPECT_EQ(command_name(kIac), "IAC");
  EXPECT_EQ(command_name(7), "7");
}

TEST(TelnetStart, InitialOffersInOrder) {
  TelnetHarness h;
  h.engine.start(true);
  EXPECT_EQ(h.take_network(), (Lines{"DO SGA", "WILL TTYPE", "WILL NAWS", "WILL TSPEED",
                                     "WILL LFLOW", "WILL LINEMODE", "WILL ENVIRON", "DO STATUS"}));
  EXPECT_EQ(h.sink.trace.front(), "SENT DO SGA");
  // The offers are remembered as requests of the client's own.
  EXPECT_TRUE(h.engine.option(kTtype).want_will);
  EXPECT_FALSE(h.engine.option(kTtype).will);
  EXPECT_EQ(h.engine.option(kTtype).will_wont_resp, 1);
  EXPECT_EQ(h.engine.option(kSga).do_dont_resp, 1);

  TelnetHarness quiet;
  quiet.engine.start(false);
  EXPECT_EQ(quiet.take_network(), Lines{});
}

struct AnswerCase {
  const char* name;
  Prelude setup;
  std::string input;
  Lines answers;
};

TEST(TelnetAnswers, RequestsFromTheHost) {
  const AnswerCase cases[] = {
      // The options the client agrees to.
      {"DO BINARY", fresh, cmd(kDo, kBinary), {"WILL BINARY"}},
      {"DO SGA", fresh, cmd(kDo, kSga), {"WILL SGA"}},
      {"DO TTYPE", fresh, cmd(kDo, kTtype), {"WILL TTYPE"}},
      {"DO NAWS", fresh, cmd(kDo, kNaws), {"WILL NAWS"}},  // and never a size
      {"DO TSPEED", fresh, cmd(kDo, kTspeed), {"WILL TSPEED"}},
      {"DO LFLOW", fresh, cmd(kDo, kLflow), {"WILL LFLOW"}},
      {"DO ENVIRON", fresh, cmd(kDo, kEnviron), {"WILL ENVIRON"}},
      // Answers to the client's own offers are absorbed.
      {"offered, DO TTYPE", offers, cmd(kDo, kTtype), {}},
      {"offered, DO NAWS", offers, cmd(kDo, kNaws), {}},
      {"offered, DO TSPEED", offers, cmd(kDo, kTspeed), {}},
      {"offered, DO LFLOW", offers, cmd(kDo, kLflow), {}},
      {"offered, DO ENVIRON", offers, cmd(kDo, kEnviron), {}},
      {"offered DO SGA, host asks DO SGA", offers, cmd(kDo, kSga), {"WILL SGA"}},
      // Everything else is refused.
      {"DO ECHO", fresh, cmd(kDo, kEcho), {"WONT ECHO"}},
      {"DO STATUS", fresh, cmd(kDo, kStatus), {"WONT STATUS"}},
      {"DO XDISPLOC", fresh, cmd(kDo, kXdisploc), {"WONT XDISPLOC"}},
      {"DO AUTHENTICATION", fresh, cmd(kDo, kAuthentication), {"WONT AUTHENTICATION"}},
      {"DO ENCRYPT", fresh, cmd(kDo, kEncrypt), {"WONT ENCRYPT"}},
      {"DO NEW-ENVIRON", fresh, cmd(kDo, kNewEnviron), {"WONT NEW-ENVIRON"}},
      {"DO 200", fresh, cmd(kDo, 200), {"WONT 200"}},
      {"DO 255", fresh, cmd(kDo, 255), {"WONT EXOPL"}},
      // Timing marks are answered every time and never change a state.
      {"DO TM twice",
       fresh,
       cmd(kDo, kTimingMark) + cmd(kDo, kTimingMark),
       {"WILL TIMING-MARK", "WILL TIMING-MARK"}},
      {"WILL TM", fresh, cmd(kWill, kTimingMark), {}},
      {"WONT TM", fresh, cmd(kWont, kTimingMark), {}},
      // LINEMODE: the table of special characters goes with it.
      {"DO LINEMODE", fresh, cmd(kDo, kLinemode), {"WILL LINEMODE", kSlcTable}},
      {"offered, DO LINEMODE", offers, cmd(kDo, kLinemode), {kSlcTable, "DO SGA"}},
      {"DO LINEMODE twice",
       fresh,
       cmd(kDo, kLinemode) + cmd(kDo, kLinemode),
       {"WILL LINEMODE", kSlcTable}},
      {"WILL LINEMODE", fresh, cmd(kWill, kLinemode), {"DONT LINEMODE"}},
      // What the client asks of the host.
      {"WILL BINARY", fresh, cmd(kWill, kBinary), {"DO BINARY"}},
      {"WILL ECHO", fresh, cmd(kWill, kEcho), {"DO ECHO"}},
      {"WILL SGA", fresh, cmd(kWill, kSga), {"DO SGA"}},
      {"WILL STATUS", fresh, cmd(kWill, kStatus), {"DO STATUS"}},
      {"offered, WILL SGA", offers, cmd(kWill, kSga), {}},
      {"offered, WILL STATUS", offers, cmd(kWill, kStatus), {}},
      {"WILL TTYPE", fresh, cmd(kWill, kTtype), {"DONT TTYPE"}},
      {"WILL NAWS", fresh, cmd(kWill, kNaws), {"DONT NAWS"}},
      {"WILL 200", fresh, cmd(kWill, 200), {"DONT 200"}},
      // Confirmations of the current state are absorbed.
      {"DO TTYPE twice", fresh, cmd(kDo, kTtype) + cmd(kDo, kTtype), {"WILL TTYPE"}},
      {"WILL ECHO twice", fresh, cmd(kWill, kEcho) + cmd(kWill, kEcho), {"DO ECHO"}},
      {"WONT ECHO while off", fresh, cmd(kWont, kEcho), {}},
      {"DONT TTYPE while off", fresh, cmd(kDont, kTtype), {}},
      // Switching off: acknowledged only when it was on.
      {"WILL then WONT ECHO",
       fresh,
       cmd(kWill, kEcho) + cmd(kWont, kEcho),
       {"DO ECHO", "DONT ECHO"}},
      {"DO then DONT TTYPE",
       fresh,
       cmd(kDo, kTtype) + cmd(kDont, kTtype),
       {"WILL TTYPE", "WONT TTYPE"}},
      {"offered, DONT TTYPE", offers, cmd(kDont, kTtype), {}},
      {"offered, WONT SGA", offers, cmd(kWont, kSga), {}},
      // A host that acknowledges the client's refusal is not answered again.
      {"DO ECHO, DONT ECHO", fresh, cmd(kDo, kEcho) + cmd(kDont, kEcho), {"WONT ECHO"}},
      {"WILL TTYPE, WONT TTYPE", fresh, cmd(kWill, kTtype) + cmd(kWont, kTtype), {"DONT TTYPE"}},
  };
  for (const AnswerCase& c : cases) {
    SCOPED_TRACE(c.name);
    expect_receive(c.setup, c.input, Outcome{"", c.answers, {}, {}});
  }
}

TEST(TelnetAnswers, StatesAfterNegotiation) {
  TelnetHarness h;
  h.engine.start(true);
  h.feed(cmd(kDo, kTtype) + cmd(kDo, kLflow) + cmd(kDo, kLinemode) + cmd(kWill, kEcho) +
         cmd(kDo, kEcho) + cmd(kDo, kTimingMark) + cmd(kDo, kBinary) + cmd(kWill, kBinary));
  const TelnetOptionState on_ours{true, true, false, false, 0, 0};
  EXPECT_EQ(h.engine.option(kTtype), on_ours);
  EXPECT_EQ(h.engine.option(kLinemode), on_ours);
  EXPECT_EQ(h.engine.option(kBinary), (TelnetOptionState{true, true, true, true, 0, 0}));
  EXPECT_EQ(h.engine.option(kEcho), (TelnetOptionState{false, false, true, true, 1, 0}));
  EXPECT_EQ(h.engine.option(kTimingMark), TelnetOptionState{});
  EXPECT_TRUE(h.engine.local_flow_control());
  EXPECT_TRUE(h.engine.linemode());
  EXPECT_TRUE(h.engine.host_echoes());
  EXPECT_TRUE(h.engine.binary_output());
  EXPECT_TRUE(h.engine.binary_input());
  EXPECT_FALSE(h.engine.flush_line());
  h.feed(cmd(kDont, kLinemode));
  EXPECT_FALSE(h.engine.linemode());
  EXPECT_TRUE(h.engine.flush_line());
  EXPECT_EQ(h.sink.trace.back(), "SENT WONT LINEMODE");
}

TEST(TelnetAnswers, DontLinemodeClearsTheModeBits) {
  TelnetHarness h;
  h.feed(cmd(kDo, kLinemode) + sb(kLinemode, B({kLmMode, 3})));
  EXPECT_EQ(h.engine.linemode_bits(), 3);
  h.feed(cmd(kDont, kLinemode));
  EXPECT_EQ(h.engine.linemode_bits(), 0);
  EXPECT_EQ(h.take_network(),
            (Lines{"WILL LINEMODE", kSlcTable, "SB LINEMODE 01 07", "WONT LINEMODE"}));
}

// A real inetutils telnetd, as seen on the wire: its opening requests, then
// what it sends after the client's answers, then what follows once the
// program behind it runs.
const std::string kDaemonOpening = cmd(kWill, kAuthentication) + cmd(kWill, kEncrypt) +
                                   cmd(kDo, kTtype) + cmd(kDo, kTspeed) + cmd(kDo, kXdisploc) +
                                   cmd(kDo, kNewEnviron) + cmd(kDo, kEnviron);
const std::string kDaemonSecond = sb(kTtype, B({kSend})) + cmd(kWill, kSga) + cmd(kDo, kEcho) +
                                  cmd(kDo, kLinemode) + cmd(kDo, kNaws) + cmd(kWill, kStatus) +
                                  cmd(kDo, kLflow);
const std::string kDaemonLater = cmd(kWill, kEcho) + cmd(kDo, kTimingMark) + cmd(kDo, kBinary);

TEST(TelnetDaemon, OpeningExchangeWithOffers) {
  EXPECT_EQ(receive(offers, kDaemonOpening).network,
            (Lines{"DONT AUTHENTICATION", "DONT ENCRYPT", "WONT XDISPLOC", "WONT NEW-ENVIRON"}));
  EXPECT_EQ(receive(offers_then(kDaemonOpening), kDaemonSecond).network,
            (Lines{"SB TTYPE 00 \"VESLINK\"", "WONT ECHO", kSlcTable, "DO SGA"}));
  const Outcome later = receive(offers_then(kDaemonOpening + kDaemonSecond), kDaemonLater);
  EXPECT_EQ(later.network, (Lines{"DO ECHO", "WILL TIMING-MARK", "WILL BINARY"}));
  EXPECT_EQ(later.messages, Lines{});
}

TEST(TelnetDaemon, OpeningExchangeWithoutOffers) {
  EXPECT_EQ(receive(fresh, kDaemonOpening).network,
            (Lines{"DONT AUTHENTICATION", "DONT ENCRYPT", "WILL TTYPE", "WILL TSPEED",
                   "WONT XDISPLOC", "WONT NEW-ENVIRON", "WILL ENVIRON"}));
  EXPECT_EQ(receive(after(kDaemonOpening), kDaemonSecond).network,
            (Lines{"SB TTYPE 00 \"VESLINK\"", "DO SGA", "WONT ECHO", "WILL LINEMODE", kSlcTable,
                   "WILL NAWS", "DO STATUS", "WILL LFLOW"}));
  EXPECT_EQ(receive(after(kDaemonOpening + kDaemonSecond), kDaemonLater).network,
            (Lines{"DO ECHO", "WILL TIMING-MARK", "WILL BINARY"}));
}

TEST(TelnetDaemon, AfterTheOpeningTheDataPathFollowsTheAgreedModes) {
  TelnetHarness h;
  h.engine.start(true);
  h.feed(kDaemonOpening + kDaemonSecond + kDaemonLater);
  h.take_network();
  // The host echoes and the client sends binary: CR goes out bare, and a
  // received CR LF stays CR LF.
  h.send("ls\r");
  EXPECT_EQ(h.take_network(), Lines{"data \"ls\\r\""});
  h.feed("ls\r\nfile\r\n");
  EXPECT_EQ(h.take_host(), "ls\r\nfile\r\n");
}

struct DataCase {
  const char* name;
  Prelude setup;
  std::string input;
  std::string host;
};

TEST(TelnetReceiver, CarriageReturnsAndIac) {
  const std::string iac_iac = B({kIac, kIac});
  const DataCase cases[] = {
      {"CR NUL", fresh, std::string("a\r\0b", 4), "a\rb"},
      {"CR NUL at the end", fresh, std::string("ab\r\0", 4), "ab\r"},
      {"CR x", fresh, "a\rxb", "a\rxb"},
      {"CR CR NUL", fresh, std::string("\r\r\0", 3), "\r\r"},
      {"CR then IAC IAC", fresh, "\r" + iac_iac, "\r\xff"},
      {"CR LF while the host echoes", after(cmd(kWill, kEcho)), "a\r\nb", "a\r\nb"},
      {"IAC IAC", fresh, "a" + iac_iac + "b" + iac_iac,
       "a\xff"
       "b\xff"},
      {"binary input: CR NUL is data", after(cmd(kWill, kBinary)), std::string("a\r\0b", 4),
       std::string("a\r\0b", 4)},
      {"binary input: CR LF is data", after(cmd(kWill, kBinary)), "a\r\nb", "a\r\nb"},
      {"ignored commands", fresh,
       "a" +
           B({kIac, kNop, kIac, kGa, kIac, kAyt, kIac, kSe, kIac, kBrk, kIac, kIp, kIac, kAo, kIac,
              kEc, kIac, kEl}) +
           "b",
       "ab"},
      {"NUL without CR is data", fresh, std::string("\0x", 2), std::string("\0x", 2)},
  };
  for (const DataCase& c : cases) {
    SCOPED_TRACE(c.name);
    expect_receive(c.setup, c.input, Outcome{c.host, {}, {}, {}});
  }
}

TEST(TelnetReceiver, CrLfBecomesLfUnlessTheCrEndsTheInput) {
  // Unsplit, CR LF gives LF alone (the host does not echo). A CR that is the
  // last byte available goes on at once, so when a read ends between CR and
  // LF the interpreter gets CR and then LF.
  EXPECT_EQ(replay(fresh, "ab\r\ncd", {}).host, "ab\ncd");
  for (std::size_t cut = 1; cut < 6; ++cut)
    EXPECT_EQ(replay(fresh, "ab\r\ncd", {cut}).host, cut == 3 ? "ab\r\ncd" : "ab\ncd") << cut;
  // Within one read the rule holds across the wrap of the ring.
  EXPECT_EQ(replay(fresh, "ab\r\ncd", {}, 3).host, "ab\ncd");

  TelnetHarness h;
  h.feed("abc\r");
  EXPECT_EQ(h.take_host(), "abc\r");
  EXPECT_EQ(h.engine.receiver_state(), TelnetEngine::ReceiverState::kCr);
  h.feed(std::string("\0def", 4));
  EXPECT_EQ(h.take_host(), "def");
}

TEST(TelnetReceiver, SubnegotiationCutShortByAnotherCommand) {
  // IAC SE never came: the subnegotiation is handled as far as it got, and
  // the byte after IAC is taken as the next command.
  expect_receive(after(cmd(kDo, kTtype)),
                 sb(kTtype, B({kSend})).substr(0, 4) + cmd(kWill, kEcho) + "x",
                 Outcome{"x", {"SB TTYPE 00 \"VESLINK\"", "DO ECHO"}, {}, {}});
  expect_receive(after(cmd(kDo, kTtype)), B({kIac, kSb, kTtype, kSend, kIac, kNop}) + "x",
                 Outcome{"x", {"SB TTYPE 00 \"VESLINK\""}, {}, {}});
}

TEST(TelnetReceiver, StopsWhenTheHostDataRingIsNearlyFullAndGoesOn) {
  // Far more than both rings hold, with escapes on every boundary the rings
  // could cut: nothing is lost, doubled or reordered.
  std::string input, expected;
  Lines answers;
  for (int i = 0; input.size() < 40000; ++i) {
    const std::string word = "w" + std::to_string(i);
    input += word + B({kIac, kIac}) + std::string("\r\0", 2) + cmd(kDo, kTimingMark);
    expected += word + "\xff\r";
    answers.push_back("WILL TIMING-MARK");
  }
  TelnetHarness h;
  h.feed(input);
  EXPECT_EQ(h.take_host(), expected);
  EXPECT_EQ(h.take_network(), answers);

  // Driven by hand: one receiver run fills the host data ring up to the margin.
  TelnetHarness manual;
  ByteRing& in = manual.engine.network_input();
  const std::string plain(in.capacity(), 'p');
  in.write(reinterpret_cast<const std::uint8_t*>(plain.data()), plain.size());
  manual.engine.run_receiver();
  EXPECT_EQ(manual.engine.host_data().free(), TelnetEngine::kRingMargin);
  EXPECT_EQ(in.size(), in.capacity() - (TelnetEngine::kHostDataSize - TelnetEngine::kRingMargin));
}

TEST(TelnetReceiver, WaitsForOutputRoomBeforeAnsweringAnOption) {
  TelnetHarness h;
  h.drain_network = false;
  ByteRing& out = h.engine.network_output();
  const std::vector<std::uint8_t> filler(out.capacity() - TelnetEngine::kOptionAnswerRoom + 1, 'f');
  out.write(filler.data(), filler.size());
  h.feed("a" + cmd(kDo, kLinemode) + "b");
  EXPECT_EQ(h.take_host(), "a");
  EXPECT_TRUE(h.engine.waiting_for_output_room());
  EXPECT_EQ(out.size(), filler.size());  // nothing written, nothing dropped
  out.consume(1);
  h.step();
  EXPECT_EQ(h.take_host(), "b");
  EXPECT_FALSE(h.engine.waiting_for_output_room());
  const Lines lines = h.take_network();
  EXPECT_EQ(Lines(lines.end() - 2, lines.end()), (Lines{"WILL LINEMODE", kSlcTable}));
  EXPECT_EQ(h.sink.messages, Lines{});
}

// Urgent data: the socket reports it, the receiver drops data up to the Data
// Mark, and at the mark asks whether more urgent data is pending.
Prelude urgent(std::initializer_list<UrgentDataCheck> answers) {
  return [a = std::vector<UrgentDataCheck>(answers)](TelnetHarness& h) {
    h.engine.urgent_data_arrived();
    h.sink.urgent_answers.assign(a.begin(), a.end());
  };
}

TEST(TelnetUrgent, DataIsDroppedUntilTheDataMark) {
  const std::string dm = B({kIac, kDm});
  expect_receive(urgent({{false, 0}}), "stale" + dm + "fresh", Outcome{"fresh", {}, {}, {}});
  // More urgent data pending at the first mark: dropping goes on to the next.
  expect_receive(urgent({{true, 0}, {false, 0}}), "a" + dm + "b" + dm + "c",
                 Outcome{"c", {}, {}, {}});
  // Negotiation goes on while data is dropped.
  expect_receive(urgent({}), "x" + cmd(kDo, kTtype) + "y" + dm + "z",
                 Outcome{"z", {"WILL TTYPE"}, {}, {}});
}

TEST(TelnetUrgent, TheMarkDropsWhatIsStillInTheHostDataRing) {
  TelnetHarness h;
  const std::string input = "before" + B({kIac, kDm}) + "after";
  h.engine.network_input().write(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
  h.engine.run_receiver();  // no flush in between
  EXPECT_EQ(h.sink.urgent_queries, 1);
  h.step();
  EXPECT_EQ(h.take_host(), "after");
  EXPECT_FALSE(h.engine.discard_mode());
}

TEST(TelnetUrgent, FlushDropsHostDataInDiscardMode) {
  TelnetHarness h;
  h.engine.network_input().write(reinterpret_cast<const std::uint8_t*>("old"), 3);
  h.engine.run_receiver();
  h.engine.urgent_data_arrived();
  EXPECT_TRUE(h.engine.discard_mode());
  EXPECT_EQ(h.engine.flush_host_data([](const std::uint8_t*, std::size_t) {
    ADD_FAILURE() << "data handed on in discard mode";
  }),
            0u);
  EXPECT_TRUE(h.engine.host_data().empty());
}

TEST(TelnetUrgent, AFailedCheckIsFatal) {
  const Outcome o = replay(urgent({{false, 9}}), "a" + B({kIac, kDm}) + "b" + cmd(kDo, kTtype), {});
  EXPECT_EQ(o.fatals, Lines{"VESTRA TELNET: OOB Select error 9"});
  EXPECT_EQ(o.host, "");
  EXPECT_EQ(o.network, Lines{});  // nothing more is processed
}

TEST(TelnetSender, EncodesClientBytes) {
  TelnetHarness h;
  h.send(
      "a\r\nb\xff"
      "c");
  EXPECT_EQ(h.take_network_raw(), std::string("a\r\0\nb\xff\xff"
                                              "c",
                                              8));
  // Once the client agreed to send binary, CR goes out as it is.
  h.feed(cmd(kDo, kBinary));
  h.take_network();
  h.send("a\r\xff");
  EXPECT_EQ(h.take_network_raw(), "a\r\xff\xff");
}

TEST(TelnetSender, StopsWhenTheNetworkOutputIsNearlyFullAndGoesOn) {
  TelnetHarness h;
  h.drain_network = false;
  ByteRing& out = h.engine.network_output();
  const std::vector<std::uint8_t> filler(out.capacity() - 5, 'f');
  out.write(filler.data(), filler.size());
  for (char ch : std::string("\xff\r\xffxyz"))
    h.engine.queue_client_byte(ch);
  // Two free bytes are kept: IAC IAC (2) and CR NUL (2) went out, 1 left.
  EXPECT_EQ(out.free(), 1u);
  EXPECT_EQ(h.engine.client_output().size(), 4u);
  out.consume(filler.size());
  h.engine.run_sender();
  std::string sent(out.size(), '\0');
  out.read(reinterpret_cast<std::uint8_t*>(sent.data()), sent.size());
  EXPECT_EQ(sent, std::string("\xff\xff\r\0\xff\xffxyz", 9));
}

TEST(TelnetSender, AFullClientOutputRingRefusesTheByte) {
  TelnetHarness h;
  h.drain_network = false;
  ByteRing& out = h.engine.network_output();
  std::vector<std::uint8_t> filler(out.capacity(), 'f');
  out.write(filler.data(), filler.size());
  std::size_t queued = 0;
  while (h.engine.queue_client_byte('q'))
    ++queued;
  EXPECT_EQ(queued, TelnetEngine::kClientOutputSize);
}

TEST(TelnetFlush, HandsTheRingOnInAtMostTwoPieces) {
  TelnetHarness h;
  ByteRing& in = h.engine.network_input();
  // Move the host data ring's positions near its end first.
  const std::string lead(TelnetEngine::kHostDataSize - 3, 'x');
  h.feed(lead);
  h.take_host();
  in.write(reinterpret_cast<const std::uint8_t*>("abcdef"), 6);
  h.engine.run_receiver();
  std::vector<std::string> pieces;
  EXPECT_EQ(h.engine.flush_host_data([&](const std::uint8_t* p, std::size_t n) {
    pieces.emplace_back(reinterpret_cast<const char*>(p), n);
  }),
            6u);
  EXPECT_EQ(pieces, (Lines{"abc", "def"}));
  EXPECT_TRUE(h.engine.host_data().empty());
}

TEST(TelnetFlush, ANestedStepNeitherRepeatsNorOverwritesData) {
  // The interpreter may send while it is handed data, and sending may run a
  // whole processing step inside the flush.
  TelnetHarness h;
  ByteRing& in = h.engine.network_input();
  const auto put = [&](std::string_view s) {
    in.write(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
  };
  std::string delivered;
  int depth = 0;
  TelnetEngine::HostDataSink deliver = [&](const std::uint8_t* p, std::size_t n) {
    delivered.append(reinterpret_cast<const char*>(p), n);
    if (depth++ == 0) {
      put("second" + B({kIac, kDm}) + "third");
      h.engine.run_receiver();
      EXPECT_EQ(h.engine.flush_host_data(deliver), 0u);
    }
  };
  put("first");
  h.engine.run_receiver();
  EXPECT_EQ(h.engine.flush_host_data(deliver), 5u);
  EXPECT_EQ(h.engine.flush_host_data(deliver), 5u);
  // "second" came before the mark and is dropped; "first" was already on
  // its way and stays whole.
  EXPECT_EQ(delivered, "firstthird");
}

TEST(TelnetFlush, AResetInsideTheFlushEndsIt) {
  TelnetHarness h;
  const std::string lead(TelnetEngine::kHostDataSize - 3, 'x');
  h.feed(lead);
  h.take_host();
  h.engine.network_input().write(reinterpret_cast<const std::uint8_t*>("abcdef"), 6);
  h.engine.run_receiver();
  std::string delivered;
  h.engine.flush_host_data([&](const std::uint8_t* p, std::size_t n) {
    delivered.append(reinterpret_cast<const char*>(p), n);
    h.engine.reset({});  // the connection closed in a nested step
  });
  EXPECT_EQ(delivered, "abc");
  EXPECT_TRUE(h.engine.host_data().empty());
}

TEST(TelnetReset, EachConnectionStartsFresh) {
  TelnetHarness h(EnvironmentList{{"USER", "first"}});
  h.engine.start(true);
  h.feed(cmd(kDo, kLinemode) + cmd(kWill, kEcho) + cmd(kDo, kEnviron) + cmd(kDo, kLflow) +
         sb(kLinemode, B({kLmMode, 1})) + sb(kTtype, B({kSend})) + "text\r");
  h.engine.urgent_data_arrived();
  h.feed(B({kIac, kSb, kTtype}));  // a subnegotiation left open
  h.engine.queue_client_byte('q');
  h.drain_network = false;
  h.engine.network_output().write(reinterpret_cast<const std::uint8_t*>("zz"), 2);

  ASSERT_TRUE(h.engine.local_flow_control());
  ASSERT_EQ(h.engine.receiver_state(), TelnetEngine::ReceiverState::kSb);
  h.engine.reset(EnvironmentList{{"USER", "second"}});
  for (int option = 0; option < 256; ++option)
    EXPECT_EQ(h.engine.option(static_cast<std::uint8_t>(option)), TelnetOptionState{}) << option;
  for (ByteRing* ring : {&h.engine.network_input(), &h.engine.network_output(),
                         &h.engine.client_output(), &h.engine.host_data()}) {
    EXPECT_TRUE(ring->empty());
    EXPECT_EQ(ring->supply_position(), 0u);
  }
  EXPECT_EQ(h.engine.receiver_state(), TelnetEngine::ReceiverState::kData);
  EXPECT_FALSE(h.engine.discard_mode());
  EXPECT_FALSE(h.engine.local_flow_control());
  EXPECT_EQ(h.engine.linemode_bits(), 0);
  EXPECT_TRUE(h.engine.subnegotiation().empty());

  h.drain_network = true;
  h.take_network();
  h.take_host();
  // A NUL is data again (no CR state), the requests are answered anew, the
  // terminal type list starts over and the environment is the new one.
  h.feed(std::string("\0ok", 3) + cmd(kDo, kTtype) + sb(kTtype, B({kSend})) + cmd(kDo, kEnviron) +
         sb(kEnviron, B({kSend, kEnvVar, 'U', 'S', 'E', 'R'})));
  EXPECT_EQ(h.take_host(), std::string("\0ok", 3));
  EXPECT_EQ(h.take_network(), (Lines{"WILL TTYPE", "SB TTYPE 00 \"VESLINK\"", "WILL ENVIRON",
                                     "SB ENVIRON 00 01 \"USER\" 00 \"second\""}));
}

}  // namespace
}  // namespace veslink::telnet_test
