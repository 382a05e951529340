// The recording interpreter and the split-everywhere runner.
#include "tests/client/protocol/protocol_harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace veslink::test {

std::string shown(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    const unsigned char b = static_cast<unsigned char>(c);
    switch (b) {
      case 0x1B:
        out += "\\e";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        if (b < 0x20 || b >= 0x7F) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02x", b);
          out += hex;
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string describe(const GuiCall& call) {
  std::string line(gui_command_name(call.id));
  const CommandParams& p = call.params;
  for (char letter : std::string_view("ABCDEFHIMPSTWXY")) {
    if (!p.has(letter)) continue;
    line += ' ';
    line += letter;
    line += std::to_string(p.number(letter));
    const double real = p.real(letter);
    if (real != std::floor(real)) {
      char text[32];
      std::snprintf(text, sizeof text, "/%g", real);
      line += text;
    }
  }
  if (call.string) line += " ;\"" + shown(*call.string) + "\"";
  return line;
}

ProtocolHarness::ProtocolHarness(bool routes) {
  in.message_buffer.allocate();
  in.ui.send_byte = [this](std::uint8_t b) {
    reply_ += static_cast<char>(b);
    return true;
  };
  in.ui.bell = [this] { record("bell"); };
  in.ui.columns_changed = [this](int n) { record("columns " + std::to_string(n)); };
  in.ui.cursor_visible = [this](bool on) { record(on ? "cursor on" : "cursor off"); };
  in.ui.enhanced_mode = [this](bool on) { record(on ? "enhanced on" : "enhanced off"); };
  in.ui.gui_mode_entered = [this] { record("gui on"); };
  in.ui.gui_mode_left = [this] { record("gui off"); };
  in.ui.cancel_input_requests = [this] { record("cancel"); };
  in.ui.empty_key_queue = [this] { record("keys emptied"); };
  in.ui.tcp_transport = [this] { return tcp; };
  in.ui.local_address = [this] { return local_address; };
  in.ui.mail_notify = [this] { return mail_notify; };
  if (routes) {
    for (std::size_t i = 0; i < kGuiCommandCount; ++i)
      in.routes.command[i] = [this](const GuiCall& call) { record(describe(call)); };
    in.routes.local.launch_program = [this](bool wait, std::string_view dir,
                                            std::string_view command, HostReplies&) {
      record(std::string("launch ") + (wait ? "wait " : "") + "dir=\"" + shown(dir) +
             "\" command=\"" + shown(command) + "\"");
    };
    in.routes.local.send_local_file = [this](std::string_view name, HostReplies&) {
      record("send file \"" + shown(name) + "\"");
    };
    in.routes.local.program_deleted = [this](std::uint32_t p) {
      record("program deleted " + std::to_string(p));
    };
  }
}

void ProtocolHarness::record(std::string line) {
  if (!reply_.empty()) {
    lines_.push_back("reply " + shown(reply_));
    reply_.clear();
  }
  lines_.push_back(std::move(line));
}

void ProtocolHarness::feed(std::string_view bytes) {
  in.feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::vector<std::string> ProtocolHarness::take() {
  if (!reply_.empty()) {
    lines_.push_back("reply " + shown(reply_));
    reply_.clear();
  }
  return std::exchange(lines_, {});
}

std::vector<std::string> ProtocolHarness::rows() {
  std::vector<std::string> out;
  CharPage& p = page();
  for (int r = 0; r < p.rows(); ++r) {
    std::string row = p.row_text(r);
    row.erase(row.find_last_not_of(' ') + 1);
    out.push_back(row);
  }
  while (!out.empty() && out.back().empty())
    out.pop_back();
  return out;
}

std::vector<std::uint16_t> ProtocolHarness::cells() {
  std::vector<std::uint16_t> out;
  for (int n = 0; n < 4; ++n) {
    CharPage* p = screen.page(n);
    if (!p) continue;
    for (int r = 0; r < p->rows(); ++r)
      for (int c = 0; c < p->columns(); ++c)
        out.push_back(p->cell(r, c));
  }
  return out;
}

void expect_case(const ByteCase& c, const std::function<void(ProtocolHarness&)>& setup,
                 bool routes) {
  SCOPED_TRACE(c.name);
  auto fresh = [&] {
    auto h = std::make_unique<ProtocolHarness>(routes);
    if (setup) {
      setup(*h);
      h->take();
    }
    return h;
  };
  auto whole = fresh();
  whole->feed(c.input);
  EXPECT_EQ(whole->take(), c.expected) << "input " << shown(c.input);
  const std::vector<std::string> screen = whole->rows();
  const std::vector<std::uint16_t> cells = whole->cells();

  auto check = [&](ProtocolHarness& h, const std::string& how) {
    EXPECT_EQ(h.take(), c.expected) << how;
    EXPECT_EQ(h.rows(), screen) << how;
    EXPECT_TRUE(h.cells() == cells) << how << ": the attributes differ";
  };
  for (std::size_t k = 1; k < c.input.size(); ++k) {
    auto h = fresh();
    h->feed(std::string_view(c.input).substr(0, k));
    h->feed(std::string_view(c.input).substr(k));
    check(*h, "split at " + std::to_string(k));
  }
  auto bytes = fresh();
  for (char ch : c.input)
    bytes->feed(std::string_view(&ch, 1));
  check(*bytes, "one byte at a time");
}

}  // namespace veslink::test
