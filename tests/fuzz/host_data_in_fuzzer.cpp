// Fuzz target for the escape reader: arbitrary host bytes through
// host_data_in on a private interpreter (no modules installed, so every GUI
// command takes the answers for missing objects; slave printing into
// memory; boxes answered at once). Any crash or sanitizer report is a
// finding, and so is a broken invariant: the cursor stays on its page, the
// string buffer within its capacity, and the same bytes split into two
// blocks anywhere leave the same pages and send the same replies.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "client/protocol/interpreter.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/function_keys.h"
#include "platform/messages/message_box.h"

namespace {

using namespace veslink;

[[noreturn]] void broken(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

constexpr std::size_t kKeep = 1 << 20;  // bounds on what a run collects

class MemoryPrintJob : public PrintJobSink {
 public:
  std::string data;
  void write(std::uint8_t b) override {
    open_ = true;
    if (data.size() < kKeep) data += static_cast<char>(b);
  }
  bool needs_finish() const override { return open_; }
  void finish() override {
    open_ = false;
    data += "|end|";
  }
  void begin_redirect() override { data += "|redirect|"; }
  void redirect_to(std::string_view name) override {
    data += "|to:";
    data.append(name);
    data += "|";
  }

 private:
  bool open_ = false;
};

struct Outcome {
  std::string replies;
  std::string printed;
  std::vector<std::uint16_t> cells;
  std::vector<int> cursors;
  int page = 0;
  bool gui = false;
};

Outcome run(const std::uint8_t* data, std::size_t size, std::size_t split) {
  CharScreen screen;
  FunctionKeys keys;
  Interpreter in(screen, keys);
  if (!in.message_buffer.allocate()) broken("no message buffer");
  MemoryPrintJob job;
  in.printing.set_sink(&job);
  Outcome out;
  in.ui.send_byte = [&out](std::uint8_t b) {
    if (out.replies.size() < kKeep) out.replies += static_cast<char>(b);
    return true;
  };
  in.ui.fatal = [] { broken("the client was ended"); };

  in.feed(data, split);
  in.feed(data + split, size - split);

  if (in.message_buffer.size() >= in.message_buffer.capacity()) broken("buffer overrun");
  for (int n = 0; n < 4; ++n) {
    CharPage* p = screen.page(n);
    if (!p) {
      out.cursors.push_back(-1);
      continue;
    }
    if (p->cursor_row() < 0 || p->cursor_row() >= p->rows() || p->cursor_column() < 0 ||
        p->cursor_column() >= p->columns())
      broken("cursor off its page");
    out.cursors.push_back(p->cursor_row() * 1000 + p->cursor_column());
    for (int r = 0; r < p->rows(); ++r)
      for (int c = 0; c < p->columns(); ++c)
        out.cells.push_back(p->cell(r, c));
  }
  out.page = screen.current_index();
  out.gui = in.gui_mode;
  out.printed = job.data;
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vestra::messages::set_responder([](const vestra::messages::Request&) {
    return vestra::messages::Answer::Yes;
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t n = size - 1;
  const std::size_t split = n * data[0] / 255;
  const Outcome whole = run(data + 1, n, n);
  const Outcome parts = run(data + 1, n, split);
  if (whole.replies != parts.replies) broken("replies depend on the split");
  if (whole.printed != parts.printed) broken("print data depends on the split");
  if (whole.cells != parts.cells) broken("pages depend on the split");
  if (whole.cursors != parts.cursors || whole.page != parts.page) broken("cursor depends on the split");
  if (whole.gui != parts.gui) broken("GUI mode depends on the split");
  return 0;
}
