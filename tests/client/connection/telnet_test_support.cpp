// The telnet test harness: builders, the network-byte decoder and the replays.
#include "tests/client/connection/telnet_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace veslink::telnet_test {

namespace {

std::string hex(std::uint8_t b) {
  char text[4];
  std::snprintf(text, sizeof text, "%02x", b);
  return text;
}

bool plain(std::uint8_t b) {
  return b >= 0x20 && b < 0x7f && b != '"' && b != '\\';
}

// Subnegotiation payload: printable runs quoted, other bytes in hex.
std::string render_payload(std::string_view payload) {
  std::string out;
  std::size_t i = 0;
  while (i < payload.size()) {
    const auto b = static_cast<std::uint8_t>(payload[i]);
    out += ' ';
    if (!plain(b)) {
      out += hex(b);
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j < payload.size() && plain(static_cast<std::uint8_t>(payload[j])))
      ++j;
    out += '"' + std::string(payload.substr(i, j - i)) + '"';
    i = j;
  }
  return out;
}

}  // namespace

std::string B(std::initializer_list<int> codes) {
  std::string out;
  for (int c : codes)
    out += static_cast<char>(c);
  return out;
}

std::string cmd(std::uint8_t command, std::uint8_t option) {
  return B({kIac, command, option});
}

std::string sb(std::uint8_t option, std::string_view payload) {
  std::string out = B({kIac, kSb, option});
  for (char ch : payload) {
    out += ch;
    if (static_cast<std::uint8_t>(ch) == kIac) out += ch;
  }
  return out + B({kIac, kSe});
}

std::string c_literal(std::string_view bytes) {
  std::string out = "\"";
  for (char ch : bytes) {
    const auto b = static_cast<std::uint8_t>(ch);
    switch (b) {
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case 0:
        out += "\\0";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        if (b >= 0x20 && b < 0x7f)
          out += ch;
        else
          out += "\\x" + hex(b);
    }
  }
  return out + "\"";
}

std::vector<std::string> decode(std::string_view s) {
  std::vector<std::string> lines;
  std::string data;
  const auto flush_data = [&] {
    if (!data.empty()) lines.push_back("data " + c_literal(data));
    data.clear();
  };
  const auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
  std::size_t i = 0;
  while (i < s.size()) {
    if (at(i) != kIac) {
      data += s[i++];
      continue;
    }
    if (i + 1 >= s.size()) {
      flush_data();
      lines.push_back("IAC <end>");
      break;
    }
    const std::uint8_t k = at(i + 1);
    if (k == kIac) {
      data += s[i];
      i += 2;
      continue;
    }
    flush_data();
    if (k >= kWill && k <= kDont) {
      if (i + 2 >= s.size()) {
        lines.push_back(command_name(k) + " <end>");
        break;
      }
      lines.push_back(describe(k, at(i + 2)));
      i += 3;
      continue;
    }
    if (k != kSb) {
      lines.push_back("IAC " + command_name(k));
      i += 2;
      continue;
    }
    if (i + 2 >= s.size()) {
      lines.push_back("SB <end>");
      break;
    }
    std::string line = "SB " + option_name(at(i + 2));
    std::string payload;
    std::string ending = " <unterminated>";
    i += 3;
    while (i < s.size()) {
      if (at(i) != kIac) {
        payload += s[i++];
        continue;
      }
      if (i + 1 < s.size() && at(i + 1) == kIac) {
        payload += s[i];
        i += 2;
        continue;
      }
      if (i + 1 < s.size() && at(i + 1) == kSe) {
        ending.clear();
        i += 2;
        break;
      }
      // An IAC that is neither doubled nor followed by SE: a broken reply.
      ending = " <IAC " + (i + 1 < s.size() ? hex(at(i + 1)) : std::string("end")) + ">";
      i += 2;
      break;
    }
    lines.push_back(line + render_payload(payload) + ending);
  }
  flush_data();
  return lines;
}

std::string slc_line(std::initializer_list<SlcTriple> triples) {
  std::string payload(1, static_cast<char>(kLmSlc));
  for (const SlcTriple& t : triples) {
    payload += static_cast<char>(t.function);
    payload += static_cast<char>(t.flags);
    payload += static_cast<char>(t.value);
  }
  return "SB LINEMODE" + render_payload(payload);
}

UrgentDataCheck RecordingSink::urgent_data_pending() {
  ++urgent_queries;
  if (urgent_answers.empty()) return {};
  const UrgentDataCheck answer = urgent_answers.front();
  urgent_answers.pop_front();
  return answer;
}

TelnetHarness::TelnetHarness(const EnvironmentList& environment) {
  engine.reset(environment);
}

void TelnetHarness::step() {
  engine.run_sender();
  engine.run_receiver();
  engine.flush_host_data([this](const std::uint8_t* p, std::size_t n) {
    host_.append(reinterpret_cast<const char*>(p), n);
  });
  if (drain_network) drain();
}

void TelnetHarness::drain() {
  ByteRing& out = engine.network_output();
  while (!out.empty()) {
    const std::span<const std::uint8_t> piece = out.filled_segment();
    network_.append(reinterpret_cast<const char*>(piece.data()), piece.size());
    out.consume(piece.size());
  }
}

void TelnetHarness::feed(std::string_view bytes) {
  ByteRing& in = engine.network_input();
  std::size_t done = 0;
  for (;;) {
    const std::size_t before = in.size();
    const std::size_t written =
        in.write(reinterpret_cast<const std::uint8_t*>(bytes.data()) + done, bytes.size() - done);
    done += written;
    step();
    if (done == bytes.size() && in.empty()) break;
    if (written == 0 && in.size() == before) break;  // the engine takes nothing more
  }
}

void TelnetHarness::send(std::string_view bytes) {
  for (char ch : bytes) {
    // As host_send_byte: make room in the network output first.
    while (engine.network_output().free() <= 10 && drain_network)
      step();
    engine.queue_client_byte(static_cast<std::uint8_t>(ch));
  }
  step();
}

std::vector<std::string> TelnetHarness::take_network() {
  return decode(take_network_raw());
}

std::string TelnetHarness::take_network_raw() {
  drain();
  std::string out;
  out.swap(network_);
  return out;
}

std::string TelnetHarness::take_host() {
  std::string out;
  out.swap(host_);
  return out;
}

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
  out << "host " << c_literal(o.host) << "\nnetwork:";
  for (const std::string& line : o.network)
    out << "\n  " << line;
  out << "\nmessages:";
  for (const std::string& line : o.messages)
    out << "\n  " << c_literal(line);
  out << "\nfatals:";
  for (const std::string& line : o.fatals)
    out << "\n  " << c_literal(line);
  return out;
}

Outcome replay(const Prelude& setup, std::string_view input, const std::vector<std::size_t>& cuts,
               std::size_t wrap_at) {
  TelnetHarness h;
  setup(h);
  if (wrap_at > 0) {
    const std::size_t capacity = h.engine.network_input().capacity();
    const std::size_t target = capacity - wrap_at % capacity;
    const std::size_t position = h.engine.network_input().consume_position();
    h.feed(std::string((target + capacity - position) % capacity, 'x'));
  }
  h.take_network();
  h.take_host();
  h.sink.messages.clear();
  h.sink.fatals.clear();
  std::size_t start = 0;
  for (std::size_t cut : cuts) {
    h.feed(input.substr(start, cut - start));
    start = cut;
  }
  h.feed(input.substr(start));
  return {h.take_host(), h.take_network(), h.sink.messages, h.sink.fatals};
}

Outcome receive(const Prelude& setup, std::string_view input) {
  const Outcome whole = replay(setup, input, {});
  std::vector<std::size_t> every;
  for (std::size_t k = 1; k < input.size(); ++k) {
    every.push_back(k);
    EXPECT_EQ(replay(setup, input, {k}), whole) << "split at " << k << " of " << c_literal(input);
  }
  EXPECT_EQ(replay(setup, input, every), whole) << "byte by byte: " << c_literal(input);
  for (std::size_t k = 1; k <= input.size(); ++k)
    EXPECT_EQ(replay(setup, input, {}, k), whole)
        << "ring wraps " << k << " bytes into " << c_literal(input);
  return whole;
}

void expect_receive(const Prelude& setup, std::string_view input, const Outcome& expected) {
  EXPECT_EQ(receive(setup, input), expected) << "input " << c_literal(input);
}

void fresh(TelnetHarness&) {}

void offers(TelnetHarness& h) {
  h.engine.start(true);
}

Prelude after(std::string_view host_bytes) {
  return [bytes = std::string(host_bytes)](TelnetHarness& h) { h.feed(bytes); };
}

Prelude offers_then(std::string_view host_bytes) {
  return [bytes = std::string(host_bytes)](TelnetHarness& h) {
    h.engine.start(true);
    h.feed(bytes);
  };
}

}  // namespace veslink::telnet_test
