// Fuzz target for the telnet engine: arbitrary host bytes through reset,
// start, the receiver, the sender and the host-data flush, read in pieces of
// every size, with urgent-data notices, client bytes, a network output that
// drains late, and resets in between. Any crash, sanitizer report or broken
// invariant is a finding: rings within their capacity, never more host data
// than host bytes, and a network output stream that is well-formed telnet.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "client/connection/telnet_codes.h"
#include "client/connection/telnet_engine.h"

namespace {

using namespace veslink;
using namespace veslink::telnet;

[[noreturn]] void broken(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

struct Rng {
  std::uint32_t state;
  std::uint32_t next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
};

class FuzzSink : public TelnetSink {
 public:
  explicit FuzzSink(Rng& rng) : rng_(rng) {}
  void message(std::string_view text) override {
    if (text.empty() || text.back() != '\n') broken("message without its line feed");
  }
  void fatal(std::string_view text, std::string_view title) override {
    if (title != kTelnetFatalTitle) broken("fatal title");
    ++fatals;
  }
  UrgentDataCheck urgent_data_pending() override {
    const std::uint32_t r = rng_.next();
    return {r % 3 == 0, r % 97 == 0 ? 9 : 0};
  }
  int fatals = 0;

 private:
  Rng& rng_;
};

// Follows the engine's network output across drains and checks that every
// IAC starts a whole command: IAC IAC, an option command, or a subnegotiation
// with its own IACs doubled and ended by IAC SE.
class StreamChecker {
 public:
  void take(const std::uint8_t* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
      step(p[i]);
  }
  void reset() { state_ = kText; }

 private:
  enum State { kText, kAfterIac, kOptionByte, kSbOptionByte, kInSb, kInSbIac } state_ = kText;
  void step(std::uint8_t c) {
    switch (state_) {
      case kText:
        if (c == kIac) state_ = kAfterIac;
        break;
      case kAfterIac:
        if (c == kIac)
          state_ = kText;
        else if (c >= kWill && c <= kDont)
          state_ = kOptionByte;
        else if (c == kSb)
          state_ = kSbOptionByte;
        else
          broken("the engine sent a bare telnet command");
        break;
      case kOptionByte:
        state_ = kText;
        break;
      case kSbOptionByte:
        state_ = kInSb;
        break;
      case kInSb:
        if (c == kIac) state_ = kInSbIac;
        break;
      case kInSbIac:
        if (c == kIac)
          state_ = kInSb;
        else if (c == kSe)
          state_ = kText;
        else
          broken("undoubled IAC inside a subnegotiation reply");
        break;
    }
  }
};

void check_rings(TelnetEngine& e) {
  for (ByteRing* ring :
       {&e.network_input(), &e.network_output(), &e.client_output(), &e.host_data()}) {
    if (ring->size() > ring->capacity()) broken("ring overfilled");
    if (ring->free_segment().size() > ring->free()) broken("free segment beyond free space");
    const auto pieces = ring->filled_segments();
    if (pieces[0].size() + pieces[1].size() != ring->size()) broken("pieces do not add up");
  }
}

const EnvironmentList kEnvironment = {
    {"USER", "fuzz"}, {"ODD", std::string("\x01\x02\xff\x03 x", 6)}, {"DISPLAY", ":0"}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  std::uint32_t seed;
  std::memcpy(&seed, data, 4);
  Rng rng{seed | 1};
  data += 4;
  size -= 4;

  FuzzSink sink(rng);
  TelnetEngine engine(sink);
  StreamChecker stream;
  engine.reset(kEnvironment);
  engine.start(seed & 1);

  std::size_t fed = 0;        // host bytes given to the engine since the last reset
  std::size_t delivered = 0;  // host data handed on since the last reset
  std::size_t pos = 0;
  int idle = 0;
  while (pos < size || !engine.network_input().empty()) {
    const std::uint32_t r = rng.next();
    // Read as the connection manager does: at most the contiguous free space.
    const std::span<std::uint8_t> space = engine.network_input().free_segment();
    std::size_t n = (r & 0x300) == 0x300 ? 1 + r % 12000 : 1 + r % 40;
    n = std::min({n, space.size(), size - pos});
    std::memcpy(space.data(), data + pos, n);
    engine.network_input().commit(n);
    pos += n;
    fed += n;

    if ((r >> 12) % 23 == 0) engine.urgent_data_arrived();
    if ((r >> 16) % 7 == 0) {
      // The client sends a few bytes of its own (taken from the input too).
      for (std::size_t k = 0; k < (r >> 20) % 8 && pos + k < size; ++k)
        engine.queue_client_byte(data[pos + k]);
    }
    if ((r >> 24) % 61 == 0) {
      engine.reset(kEnvironment);
      engine.start((r >> 4) & 1);
      stream.reset();
      fed = delivered = 0;
    }

    const std::size_t before = engine.network_input().size();
    engine.run_sender();
    engine.run_receiver();
    check_rings(engine);
    delivered += engine.flush_host_data([&](const std::uint8_t*, std::size_t count) {
      if (count == 0) broken("empty piece handed on");
    });
    if (delivered > fed) broken("more host data than host bytes");
    if (engine.failed()) break;  // the process would end here

    // The network output drains late now and then, as a slow socket would.
    ByteRing& out = engine.network_output();
    const bool stalled = n == 0 && engine.network_input().size() == before;
    if ((r >> 28) % 4 != 0 || stalled) {
      while (!out.empty()) {
        const std::span<const std::uint8_t> piece = out.filled_segment();
        const std::size_t take = std::min<std::size_t>(piece.size(), 512);
        stream.take(piece.data(), take);
        out.consume(take);
      }
    }
    check_rings(engine);
    if (stalled && ++idle > 4) broken("the engine stopped taking input");
    if (!stalled) idle = 0;
  }
  return 0;
}
