// Throughput of host text into the character page through host_data_in,
// beside libvterm fed the VT100 stream of the same screen operations, in one
// run. 64 MiB of mixed host output: printable lines, line feeds (scrolling
// at the bottom), cursor addressing about every 80 bytes and attribute
// changes (reverse, dim, flashing, plain). Both streams are fed in 4 KiB
// blocks, as the connection hands data over; each side's best of three runs
// counts. At the end both screens are compared, so the two streams are known
// to describe the same work.
//   char_page_bench [MiB]
#include <vterm.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "client/protocol/host_data_in.h"
#include "client/protocol/interpreter.h"
#include "client/terminal/char_screen.h"

namespace {

using namespace veslink;

constexpr std::size_t kBlock = 4096;
constexpr int kRows = 24;
constexpr int kColumns = 80;

struct Rng {
  std::uint32_t state = 2024;
  std::uint32_t next() {
    state = state * 1103515245u + 12345u;
    return state >> 8;
  }
};

// The same screen operations written in both dialects.
struct Streams {
  std::string ours;
  std::string vt100;
};

void attribute(Streams& s, int kind) {
  static const char ours[] = {'0', '4', 'p', '2'};
  static const char* const vt100[] = {"\x1b[0m", "\x1b[7m", "\x1b[2m", "\x1b[5m"};
  s.ours += "\x1bG";
  s.ours += ours[kind];
  s.vt100 += vt100[kind];
}

void text(Streams& s, Rng& rng, int length) {
  for (int i = 0; i < length; ++i) {
    const char c = static_cast<char>(' ' + rng.next() % 95);
    s.ours += c;
    s.vt100 += c;
  }
}

Streams make_streams(std::size_t size) {
  Streams s;
  s.ours.reserve(size + 256);
  s.vt100.reserve(size + size / 8);
  Rng rng;
  while (s.ours.size() < size) {
    // Cursor addressing, then about 80 bytes of a line that stays inside the
    // columns (the two dialects wrap at the margin differently), with an
    // attribute change now and then, ended by CR LF.
    const int row = static_cast<int>(rng.next() % kRows);
    const int column = static_cast<int>(rng.next() % 8);
    s.ours += "\x1b=";
    s.ours += static_cast<char>(32 + row);
    s.ours += static_cast<char>(32 + column);
    s.vt100 += "\x1b[" + std::to_string(row + 1) + ";" + std::to_string(column + 1) + "H";
    int left = kColumns - column - 1;
    while (left > 0) {
      const int run = std::min(left, 8 + static_cast<int>(rng.next() % 40));
      if (rng.next() % 3 == 0) attribute(s, static_cast<int>(rng.next() % 4));
      text(s, rng, run);
      left -= run;
    }
    attribute(s, 0);
    s.ours += "\r\n";
    s.vt100 += "\r\n";
  }
  return s;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double run_ours(const std::string& stream) {
  const auto start = std::chrono::steady_clock::now();
  const auto* data = reinterpret_cast<const std::uint8_t*>(stream.data());
  for (std::size_t at = 0; at < stream.size(); at += kBlock)
    host_data_in(data + at, std::min(kBlock, stream.size() - at));
  return seconds_since(start);
}

struct VTermRun {
  VTerm* vt = nullptr;
  VTermScreen* screen = nullptr;
  VTermRun() {
    vt = vterm_new(kRows, kColumns);
    vterm_set_utf8(vt, 0);
    screen = vterm_obtain_screen(vt);
    vterm_screen_reset(screen, 1);
  }
  ~VTermRun() { vterm_free(vt); }
};

double run_vterm(VTermRun& v, const std::string& stream) {
  const auto start = std::chrono::steady_clock::now();
  for (std::size_t at = 0; at < stream.size(); at += kBlock)
    vterm_input_write(v.vt, stream.data() + at, std::min(kBlock, stream.size() - at));
  return seconds_since(start);
}

std::string vterm_row(const VTermRun& v, int row) {
  std::string out(kColumns, ' ');
  for (int c = 0; c < kColumns; ++c) {
    VTermScreenCell cell{};
    vterm_screen_get_cell(v.screen, VTermPos{row, c}, &cell);
    if (cell.chars[0] != 0) out[c] = static_cast<char>(cell.chars[0]);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
  std::printf("building %zu MiB of host output...\n", mib);
  const Streams streams = make_streams(mib << 20);

  init_interpreter();
  double ours = 1e9, theirs = 1e9;
  for (int round = 1; round <= 3; ++round) {
    std::printf("round %d of 3...\n", round);
    std::fflush(stdout);
    ours = std::min(ours, run_ours(streams.ours));
    VTermRun v;
    theirs = std::min(theirs, run_vterm(v, streams.vt100));
  }

  // The same screen at the end, row for row.
  VTermRun v;
  run_vterm(v, streams.vt100);
  int differing = 0;
  const CharPage& page = char_screen().current();
  for (int r = 0; r < kRows; ++r)
    differing += page.row_text(r) != vterm_row(v, r);

  const double mb = 1e6;
  const double ours_rate = static_cast<double>(streams.ours.size()) / mb / ours;
  const double vterm_rate = static_cast<double>(streams.vt100.size()) / mb / theirs;
  std::printf("\n%-28s %12s %10s %10s\n", "", "bytes", "seconds", "MB/s");
  std::printf("%-28s %12zu %10.3f %10.1f\n", "host_data_in (this dialect)", streams.ours.size(),
              ours, ours_rate);
  std::printf("%-28s %12zu %10.3f %10.1f\n", "libvterm (VT100 stream)", streams.vt100.size(),
              theirs, vterm_rate);
  std::printf("\nsame screen work: libvterm time / ours = %.2f; MB/s ratio = %.2f\n", theirs / ours,
              ours_rate / vterm_rate);
  std::printf("final screens: %s\n", differing == 0 ? "identical" : "DIFFER");
  return differing == 0 ? 0 : 1;
}
