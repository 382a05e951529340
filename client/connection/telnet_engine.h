// The client's telnet engine: the four byte rings of a TCP connection, the
// receiver (network input -> host data), the sender (client output -> network
// output), option negotiation and the subnegotiations the client answers.
// No sockets and no UI: the connection manager moves bytes between the rings
// and the socket and calls the steps below; everything else goes through a
// TelnetSink.
//
// One processing step, as the connection manager drives it:
//   1. on a read event, read() into network_input().free_segment(), commit();
//   2. run_sender();                 client output -> network output
//   3. run_receiver();               network input -> host data (+ replies)
//   4. flush_host_data(host_data_in) hands the host data on in <= 2 pieces;
//   5. send() from network_output().filled_segment(), consume() what went.
// The receiver and the sender stop when their target ring is nearly full and
// go on from there at the next step; nothing is lost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "client/connection/byte_ring.h"
#include "client/connection/telnet_environ.h"
#include "client/connection/telnet_options.h"
#include "client/connection/telnet_sink.h"
#include "client/connection/telnet_slc.h"

namespace veslink {

class TelnetEngine {
 public:
  static constexpr std::size_t kNetworkInputSize = 10240;
  static constexpr std::size_t kNetworkOutputSize = 8192;
  static constexpr std::size_t kClientOutputSize = 4096;
  static constexpr std::size_t kHostDataSize = 8192;
  // The receiver and the sender only work while their target ring has more
  // free bytes than this, so that the two bytes of IAC IAC or CR NUL always fit.
  static constexpr std::size_t kRingMargin = 2;
  // The receiver answers an option only while the network output ring has
  // this much room: the largest answer is WILL LINEMODE (or DO SGA) with the
  // special-character table. Below it the receiver waits for the output to
  // drain rather than write past the ring or drop an answer.
  static constexpr std::size_t kOptionAnswerRoom = 64;
  // The terminal type the client reports; the list is built from it.
  static constexpr std::string_view kTerminalName = "VESLINK";
  static constexpr std::size_t kTerminalNameLimit = 40;

  enum class ReceiverState { kData, kIac, kWill, kWont, kDo, kDont, kCr, kSb, kSbIac };

  // Called with each contiguous piece of host data (pointer and count).
  using HostDataSink = std::function<void(const std::uint8_t*, std::size_t)>;

  explicit TelnetEngine(TelnetSink& sink);
  TelnetEngine(const TelnetEngine&) = delete;
  TelnetEngine& operator=(const TelnetEngine&) = delete;

  // Before every connection attempt and after every close: empties the rings,
  // clears the option table, the receiver state, the discard and flush flags,
  // the subnegotiation buffer and the linemode state, rebuilds the
  // environment table from `environment`, and has the terminal type list
  // rebuilt at the next request.
  void reset(const EnvironmentList& environment);

  // Once connected: queues the client's opening offers when asked to
  // (IAC DO SGA, WILL TTYPE, WILL NAWS, WILL TSPEED, WILL LFLOW,
  // WILL LINEMODE, WILL ENVIRON, DO STATUS, in that order).
  void start(bool initial_offers);

  // Network input -> host data ring, answering negotiations into the network
  // output ring.
  void run_receiver();
  // Client output -> network output ring: 255 doubled, CR sent as CR NUL
  // unless the client agreed to send binary.
  void run_sender();
  // Appends one byte the client sends and runs the sender; false (byte
  // dropped) when the client output ring is full.
  bool queue_client_byte(std::uint8_t byte);
  // Hands the host data ring to `deliver` in at most two contiguous pieces and
  // empties it; in discard mode or with flush-output set it is dropped
  // instead. Returns the number of bytes handed on. `deliver` may send bytes
  // and run a nested processing step: a nested flush hands nothing on, and
  // what the nested receiver adds follows at the next flush, in order.
  std::size_t flush_host_data(const HostDataSink& deliver);
  // The socket reported urgent (out-of-band) data: drop received data until
  // the Data Mark.
  void urgent_data_arrived();

  ByteRing& network_input() { return network_input_; }
  ByteRing& network_output() { return network_output_; }
  ByteRing& client_output() { return client_output_; }
  ByteRing& host_data() { return host_data_; }

  // State for the processing step, the session trace and tests.
  ReceiverState receiver_state() const { return state_; }
  const TelnetOptionState& option(std::uint8_t code) const { return options_[code]; }
  bool binary_output() const;  // the client agreed to send binary
  bool binary_input() const;   // the client asked the host to send binary
  bool host_echoes() const;    // the client asked the host to echo
  bool linemode() const;       // the client's side of LINEMODE is on
  std::uint8_t linemode_bits() const { return linemode_bits_; }
  bool discard_mode() const { return discard_; }
  bool flush_output() const { return flush_output_; }
  bool flush_line() const { return flush_line_; }
  bool local_flow_control() const { return local_flow_; }
  // The receiver holds input back until the network output ring has room to
  // answer an option (see kOptionAnswerRoom).
  bool waiting_for_output_room() const;
  // A fatal condition was reported; nothing more is processed until reset().
  bool failed() const { return failed_; }
  const SlcTable& slc() const { return slc_; }
  const EnvironmentTable& environment() const { return environment_; }
  const std::vector<std::uint8_t>& subnegotiation() const { return subnegotiation_; }

 private:
  // Receiver (telnet_engine.cpp).
  std::size_t receive_segment(const std::uint8_t* p, std::size_t n);
  void output(std::uint8_t byte);
  void output(const std::uint8_t* data, std::size_t count);
  void data_mark();
  bool cr_rule_applies() const;

  // Negotiation and subnegotiations (telnet_negotiation.cpp).
  void received_will(std::uint8_t option);
  void received_wont(std::uint8_t option);
  void received_do(std::uint8_t option);
  void received_dont(std::uint8_t option);
  void send_command(std::uint8_t command, std::uint8_t option);
  void send_offer(std::uint8_t command, std::uint8_t option);
  void enter_linemode();
  void handle_subnegotiation();
  void reply_terminal_type();
  void reply_terminal_speed();
  void reply_linemode(std::uint8_t command, std::span<const std::uint8_t> args);
  void reply_linemode_mode(std::span<const std::uint8_t> args);
  void reply_environment(std::span<const std::uint8_t> request);
  // Queues a complete reply if it fits in the network output ring, else
  // writes `no_room` on the message window and drops it.
  void queue_reply(std::span<const std::uint8_t> reply, std::string_view no_room);
  const std::string& next_terminal_type();
  void fail(std::string_view text);

  TelnetSink& sink_;
  ByteRing network_input_{kNetworkInputSize};
  ByteRing network_output_{kNetworkOutputSize};
  ByteRing client_output_{kClientOutputSize};
  ByteRing host_data_{kHostDataSize};

  TelnetOptionTable options_;
  ReceiverState state_ = ReceiverState::kData;
  std::vector<std::uint8_t> subnegotiation_;
  bool discard_ = false;
  bool flush_output_ = false;
  bool flush_line_ = false;
  bool local_flow_ = false;
  bool failed_ = false;
  std::uint8_t linemode_bits_ = 0;
  SlcTable slc_;
  EnvironmentTable environment_;
  std::vector<std::string> terminal_types_;
  std::size_t next_terminal_type_ = 0;
  bool terminal_types_stale_ = true;
  // Set while flush_host_data() hands bytes on: the interpreter may send, and
  // sending may run a nested processing step; that step must neither hand the
  // same bytes on again nor overwrite them.
  bool delivering_ = false;
  std::size_t in_flight_ = 0;
  unsigned generation_ = 0;  // counts resets, so a flush notices one nested in it
};

// "DATA", "IAC", "WILL", ... for test output and the trace.
std::string_view receiver_state_name(TelnetEngine::ReceiverState state);

}  // namespace veslink
