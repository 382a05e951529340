// Throughput of host_data_in on two 64 MiB host streams fed in 4 KiB blocks
// as the connection hands them over: (a) plain text lines with CR LF, (b) a
// host application's GUI command stream (programs, windows, prompts and
// edit fields with their strings, contents in plain text and Base64, row
// scrolling, input requests), routed to modules that do nothing, so the
// figure is the reader's own. And the matcher alone, per byte of sequence.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "client/protocol/escape_matcher.h"
#include "client/protocol/escape_table.h"
#include "client/protocol/interpreter.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/function_keys.h"

namespace {

using namespace veslink;

constexpr std::size_t kStreamSize = 64u << 20;
constexpr std::size_t kBlock = 4096;

struct Rng {
  std::uint32_t state = 12345;
  std::uint32_t next() {
    state = state * 1103515245u + 12345u;
    return state >> 8;
  }
};

std::string plain_text() {
  std::string s;
  s.reserve(kStreamSize + 128);
  Rng rng;
  while (s.size() < kStreamSize) {
    const std::size_t length = 20 + rng.next() % 60;
    for (std::size_t i = 0; i < length; ++i)
      s += static_cast<char>(' ' + rng.next() % 95);
    s += "\r\n";
  }
  s.resize(kStreamSize);
  return s;
}

std::string word(Rng& rng, std::size_t length) {
  std::string w;
  for (std::size_t i = 0; i < length; ++i)
    w += static_cast<char>('a' + rng.next() % 26);
  return w;
}

// One screen of a business application as its host program paints it.
void screen(std::string& s, Rng& rng, int window) {
  const std::string esc = "\x1b";
  const std::string w = std::to_string(window);
  s += esc + "mcw" + w + "I1P23H80W0X0Y;" + word(rng, 12) + " Maintenance\r";
  for (int row = 1; row < 20; ++row) {
    const std::string r = std::to_string(row);
    s += esc + "mcf" + w + "P" + std::to_string(row * 2) + "I2T18W2X" + r + "Y;" +
         word(rng, 6 + rng.next() % 10) + ":\r";
    s += esc + "mcf" + w + "P" + std::to_string(row * 2 + 1) + "I1T" +
         std::to_string(10 + rng.next() % 30) + "W22X" + r + "Y40M;" + word(rng, rng.next() % 20) +
         "\r";
  }
  s += esc + "mcf" + w + "P60I3T10W60X21Y4096F;t,OK\tf,ok.bmp\r";
  s += esc + "maf" + w + "P7I:" + "QmFzZTY0IGNvbnRlbnRzIG9mIGEgZmllbGQ=\r";
  s += esc + "mrs" + w + "P5I2F18T1S\r";
  s += esc + "mrc" + w + "P5I7Y\r";
  s += esc + "mif" + w + "P3I\r";
  s += esc + "mdw" + w + "I\r";
}

std::string gui_stream() {
  std::string s;
  s.reserve(kStreamSize + 8192);
  Rng rng;
  s += "\x1bmpi1P4F1A\r";
  int window = 10;
  while (s.size() < kStreamSize)
    screen(s, rng, window++ % 1000 + 10);
  s.resize(kStreamSize);
  return s;
}

void feed_stream(benchmark::State& state, const std::string& stream) {
  CharScreen screen;
  FunctionKeys keys;
  Interpreter in(screen, keys);
  in.message_buffer.allocate();
  std::size_t replies = 0;
  in.ui.send_byte = [&replies](std::uint8_t) {
    ++replies;
    return true;
  };
  std::size_t commands = 0;
  for (auto& route : in.routes.command)
    route = [&commands](const GuiCall&) { ++commands; };
  const auto* data = reinterpret_cast<const std::uint8_t*>(stream.data());
  for (auto _ : state) {
    for (std::size_t pos = 0; pos < stream.size(); pos += kBlock)
      in.feed(data + pos, std::min(kBlock, stream.size() - pos));
  }
  benchmark::DoNotOptimize(commands);
  const double bytes = static_cast<double>(stream.size()) * state.iterations();
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  state.counters["commands"] = static_cast<double>(commands) / state.iterations();
}

void BM_HostDataInPlainText(benchmark::State& state) {
  static const std::string stream = plain_text();
  feed_stream(state, stream);
}

void BM_HostDataInGuiCommands(benchmark::State& state) {
  static const std::string stream = gui_stream();
  feed_stream(state, stream);
}

// Every sequence of the table, start to end, through the matcher only.
void BM_MatcherPerSequenceByte(benchmark::State& state) {
  const EscapeTable& table = escape_table();
  std::size_t bytes = 0;
  EscapeMatcher m;
  const EscapeEntry* found = nullptr;
  for (auto _ : state) {
    for (const EscapeEntry& e : table.entries()) {
      const auto& s = e.sequence;
      m.start(table, table.lead_group(static_cast<std::uint8_t>(s[0])));
      for (char c : s)
        m.feed(static_cast<std::uint8_t>(c), found);
      bytes += s.size();
    }
    benchmark::DoNotOptimize(found);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  state.counters["ns_per_byte"] = benchmark::Counter(
      static_cast<double>(bytes), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_HostDataInPlainText)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_HostDataInGuiCommands)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_MatcherPerSequenceByte)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
