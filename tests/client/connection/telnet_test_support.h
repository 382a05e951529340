// Test harness of the telnet engine: a recording sink, byte builders, a
// decoder that turns queued network bytes into one line per command
// ("WILL TTYPE", "SB TTYPE 00 \"VESLINK\"", "data \"a\\r\\0\""), and a replay
// that feeds the same host bytes whole, split at every position, one byte at
// a time and across the ring's wrap, and demands the same outcome each time.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "client/connection/telnet_codes.h"
#include "client/connection/telnet_engine.h"

namespace veslink::telnet_test {

using namespace telnet;

// Bytes from a list of codes: B({kIac, kDo, kTtype}).
std::string B(std::initializer_list<int> codes);
// IAC <command> <option>.
std::string cmd(std::uint8_t command, std::uint8_t option);
// IAC SB <option> <payload, IAC doubled> IAC SE.
std::string sb(std::uint8_t option, std::string_view payload);

// One line per command in telnet-encoded bytes; runs of data become one
// `data "..."` line with C escapes (\r, \n, \0, \xff).
std::vector<std::string> decode(std::string_view bytes);
// A string literal as the decoder shows it.
std::string c_literal(std::string_view bytes);
// Decoder line of an SLC reply: SB LINEMODE 03 <f flags value>...
struct SlcTriple {
  int function, flags, value;
};
std::string slc_line(std::initializer_list<SlcTriple> triples);

class RecordingSink : public TelnetSink {
 public:
  void message(std::string_view text) override { messages.emplace_back(text); }
  void fatal(std::string_view text, std::string_view title) override {
    fatals.push_back(std::string(title) + ": " + std::string(text));
  }
  UrgentDataCheck urgent_data_pending() override;
  void negotiation(bool sent, std::uint8_t command, std::uint8_t option) override {
    trace.push_back(std::string(sent ? "SENT " : "RCVD ") + describe(command, option));
  }

  std::vector<std::string> messages;
  std::vector<std::string> fatals;
  std::vector<std::string> trace;
  std::deque<UrgentDataCheck> urgent_answers;  // used up in order; then "not pending"
  int urgent_queries = 0;
};

// An engine with its sink, driven as the processing step drives it.
class TelnetHarness {
 public:
  explicit TelnetHarness(const EnvironmentList& environment = {});

  // Host bytes through the network input ring: read into the free segment,
  // send, receive, flush host data, drain the network output (unless
  // drain_network is off), until all is taken in or the engine stops.
  void feed(std::string_view bytes);
  // Client bytes: queued one at a time as host_send_byte would.
  void send(std::string_view bytes);
  // One processing step without new input.
  void step();

  // What the engine queued for the network / handed to the interpreter
  // since the last take.
  std::vector<std::string> take_network();
  std::string take_network_raw();
  std::string take_host();

  RecordingSink sink;
  TelnetEngine engine{sink};
  bool drain_network = true;

 private:
  void drain();
  std::string network_;
  std::string host_;
};

struct Outcome {
  std::string host;
  std::vector<std::string> network;
  std::vector<std::string> messages;
  std::vector<std::string> fatals;
  bool operator==(const Outcome&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Outcome& o);

using Prelude = std::function<void(TelnetHarness&)>;

// Runs setup on a fresh harness, forgets what it produced, feeds `input` in
// the given pieces and returns what came of it. `wrap_at`, when not zero,
// first advances the rings so that the network input ring wraps that many
// bytes into the input.
Outcome replay(const Prelude& setup, std::string_view input, const std::vector<std::size_t>& cuts,
               std::size_t wrap_at = 0);
// The outcome fed whole, then checked to be the same for every split into two
// pieces, for one byte at a time and for every wrap position.
Outcome receive(const Prelude& setup, std::string_view input);
void expect_receive(const Prelude& setup, std::string_view input, const Outcome& expected);

// Prelude helpers.
void fresh(TelnetHarness&);                        // reset, no offers
void offers(TelnetHarness&);                       // reset, initial offers sent
Prelude after(std::string_view host_bytes);        // fresh, then these bytes received
Prelude offers_then(std::string_view host_bytes);  // offers, then these bytes received

}  // namespace veslink::telnet_test
