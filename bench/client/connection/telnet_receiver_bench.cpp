// Throughput of the telnet receiver on a 64 MiB host stream: text lines with
// CR LF and CR NUL and, on average once per 100 bytes, a telnet sequence
// (IAC IAC, option negotiations, subnegotiations, NOP). The stream goes
// through the rings as the connection manager's processing step moves it:
// reads of at most the ring's contiguous free space, the receiver, the flush
// of host data to a callback that only counts, and the network output
// drained as a socket would take it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "client/connection/telnet_codes.h"
#include "client/connection/telnet_engine.h"

namespace {

using namespace veslink;
using namespace veslink::telnet;

constexpr std::size_t kStreamSize = 64u << 20;

class QuietSink : public TelnetSink {
 public:
  void message(std::string_view) override {}
  void fatal(std::string_view, std::string_view) override {}
  UrgentDataCheck urgent_data_pending() override { return {}; }
};

std::string make_stream(int iac_percent) {
  const std::string sequences[] = {
      std::string{char(kIac), char(kIac)},
      std::string{char(kIac), char(kDo), char(kTimingMark)},
      std::string{char(kIac), char(kWill), char(kEcho)},
      std::string{char(kIac), char(kDo), char(kTtype)},
      std::string{char(kIac), char(kSb), char(kTtype), char(kSend), char(kIac), char(kSe)},
      std::string{char(kIac), char(kSb), char(kLinemode), char(kLmSlc), 3, 0x62, 3, 5, 3, 0x14,
                  char(kIac), char(kSe)},
      std::string{char(kIac), char(kSb), char(kLinemode), char(kLmMode), 3, char(kIac), char(kSe)},
      std::string{char(kIac), char(kNop)},
  };
  std::string stream;
  stream.reserve(kStreamSize + 64);
  std::uint32_t rng = 12345;
  const auto next = [&rng] {
    rng = rng * 1103515245u + 12345u;
    return rng >> 8;
  };
  std::size_t column = 0;
  while (stream.size() < kStreamSize) {
    const std::uint32_t r = next();
    if (iac_percent > 0 && r % 100 < static_cast<std::uint32_t>(iac_percent)) {
      stream += sequences[(r / 100) % std::size(sequences)];
    } else if (column >= 60 + r % 20) {
      stream += (r & 0x100) ? std::string("\r\n") : std::string("\r\0", 2);
      column = 0;
    } else {
      stream += static_cast<char>(' ' + r % 95);
      ++column;
    }
  }
  stream.resize(kStreamSize);
  return stream;
}

void receive_stream(benchmark::State& state, const std::string& stream) {
  QuietSink sink;
  TelnetEngine engine(sink);
  std::size_t handed = 0, replies = 0;
  for (auto _ : state) {
    engine.reset({});
    engine.start(true);
    std::size_t pos = 0;
    while (pos < stream.size() || !engine.network_input().empty()) {
      ByteRing& in = engine.network_input();
      const std::span<std::uint8_t> space = in.free_segment();
      const std::size_t n = std::min(space.size(), stream.size() - pos);
      std::memcpy(space.data(), stream.data() + pos, n);
      in.commit(n);
      pos += n;
      engine.run_receiver();
      handed += engine.flush_host_data([](const std::uint8_t*, std::size_t) {});
      ByteRing& out = engine.network_output();
      replies += out.size();
      out.consume(out.size());
    }
  }
  benchmark::DoNotOptimize(handed);
  const double bytes = static_cast<double>(stream.size()) * state.iterations();
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  state.counters["MB"] = benchmark::Counter(bytes / 1e6, benchmark::Counter::kIsRate);
  state.counters["host_out_MB"] =
      static_cast<double>(handed) / 1e6 / static_cast<double>(state.iterations());
  state.counters["replies_KB"] =
      static_cast<double>(replies) / 1e3 / static_cast<double>(state.iterations());
}

void BM_ReceiverOnePercentIac(benchmark::State& state) {
  static const std::string stream = make_stream(1);
  receive_stream(state, stream);
}

void BM_ReceiverPlainText(benchmark::State& state) {
  static const std::string stream = make_stream(0);
  receive_stream(state, stream);
}

BENCHMARK(BM_ReceiverOnePercentIac)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReceiverPlainText)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
