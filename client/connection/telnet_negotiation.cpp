// The engine's answers: WILL/WONT/DO/DONT with loop avoidance, and the
// subnegotiations the client takes part in (TTYPE, TSPEED, LINEMODE, ENVIRON).
// The client offers and accepts only what a Unix telnet daemon needs to run a
// full-screen application and refuses everything else.
#include <array>
#include <cstdio>

#include "client/connection/telnet_codes.h"
#include "client/connection/telnet_engine.h"

namespace veslink {

using namespace telnet;

namespace {

bool client_accepts(std::uint8_t option) {
  switch (option) {
    case kBinary:
    case kSga:
    case kTtype:
    case kNaws:
    case kTspeed:
    case kLflow:
    case kEnviron:
      return true;
    default:
      return false;
  }
}

bool client_wants_host(std::uint8_t option) {
  return option == kBinary || option == kEcho || option == kSga || option == kStatus;
}

constexpr int kTerminalSpeed = 19200;

}  // namespace

void TelnetEngine::send_command(std::uint8_t command, std::uint8_t option) {
  const std::array<std::uint8_t, 3> bytes{kIac, command, option};
  // The receiver keeps kOptionAnswerRoom free before it answers, and start()
  // runs on empty rings, so this always fits.
  if (!network_output_.write_all(bytes)) return;
  sink_.negotiation(true, command, option);
}

// A request the client makes on its own: remembered, so that the host's
// answer is absorbed instead of being answered again.
void TelnetEngine::send_offer(std::uint8_t command, std::uint8_t option) {
  TelnetOptionState& o = options_[option];
  if (command == kWill) {
    if ((o.will_wont_resp == 0 && o.will) || o.want_will) return;
    o.want_will = true;
    ++o.will_wont_resp;
  } else {
    if ((o.do_dont_resp == 0 && o.do_) || o.want_do) return;
    o.want_do = true;
    ++o.do_dont_resp;
  }
  send_command(command, option);
}

void TelnetEngine::received_do(std::uint8_t option) {
  sink_.negotiation(false, kDo, option);
  TelnetOptionState& o = options_[option];
  if (o.will_wont_resp) {
    --o.will_wont_resp;
    if (o.will_wont_resp && o.will) --o.will_wont_resp;
  }
  if (o.will_wont_resp == 0) {
    if (!o.want_will) {
      if (option == kTimingMark) {
        // Answered every time and never remembered: the host may send more.
        send_command(kWill, option);
        return;
      }
      if (option == kLinemode) {
        o.want_will = o.will = true;
        send_command(kWill, option);
        enter_linemode();
        return;
      }
      if (!client_accepts(option)) {
        ++o.will_wont_resp;
        send_command(kWont, option);
        return;
      }
      o.want_will = true;
      send_command(kWill, option);
      // NAWS is agreed to, but the client has no window size to report: the
      // host keeps its own default and no size is ever sent.
    } else if (option == kLinemode && !o.will) {
      // The host accepts the client's own LINEMODE offer.
      o.will = true;
      enter_linemode();
      send_command(kDo, kSga);
      return;
    }
  }
  o.will = true;
  if (option == kLflow) local_flow_ = true;
}

void TelnetEngine::received_dont(std::uint8_t option) {
  sink_.negotiation(false, kDont, option);
  TelnetOptionState& o = options_[option];
  if (o.will_wont_resp) {
    --o.will_wont_resp;
    if (o.will_wont_resp && !o.will) --o.will_wont_resp;
  }
  if (o.will_wont_resp == 0 && o.want_will) {
    if (option == kLinemode) linemode_bits_ = 0;
    o.want_will = false;
    if (o.will) send_command(kWont, option);
  }
  o.will = false;
  flush_line_ = true;
}

void TelnetEngine::received_will(std::uint8_t option) {
  sink_.negotiation(false, kWill, option);
  TelnetOptionState& o = options_[option];
  if (o.do_dont_resp) {
    --o.do_dont_resp;
    if (o.do_dont_resp && o.do_) --o.do_dont_resp;
  }
  if (o.do_dont_resp == 0 && !o.want_do) {
    if (option == kTimingMark) {
      // The mark the client waited for: output flows again. Never answered.
      flush_output_ = false;
      o.want_do = o.do_ = false;
      return;
    }
    if (!client_wants_host(option)) {
      ++o.do_dont_resp;
      send_command(kDont, option);
      return;
    }
    o.want_do = true;
    send_command(kDo, option);
  }
  o.do_ = true;
}

void TelnetEngine::received_wont(std::uint8_t option) {
  sink_.negotiation(false, kWont, option);
  TelnetOptionState& o = options_[option];
  if (o.do_dont_resp) {
    --o.do_dont_resp;
    if (o.do_dont_resp && !o.do_) --o.do_dont_resp;
  }
  if (option == kTimingMark) {
    flush_output_ = false;
    o.want_do = o.do_ = false;
    return;
  }
  if (o.do_dont_resp == 0 && o.want_do) {
    o.want_do = false;
    if (o.do_) send_command(kDont, option);
  }
  o.do_ = false;
}

void TelnetEngine::enter_linemode() {
  slc_.reset();
  const SlcReply reply = slc_.initial_reply();
  queue_reply(reply.bytes(), "slc_end_reply: not enough room\n");
}

void TelnetEngine::queue_reply(std::span<const std::uint8_t> reply, std::string_view no_room) {
  if (!network_output_.write_all(reply)) sink_.message(no_room);
}

void TelnetEngine::handle_subnegotiation() {
  if (subnegotiation_.empty()) return;
  const std::uint8_t option = subnegotiation_[0];
  const std::span<const std::uint8_t> rest(subnegotiation_.data() + 1, subnegotiation_.size() - 1);
  switch (option) {
    case kTtype:
      if (!options_[kTtype].want_will || rest.empty() || rest[0] != kSend) return;
      reply_terminal_type();
      break;
    case kTspeed:
      if (!options_[kTspeed].want_will || rest.empty() || rest[0] != kSend) return;
      reply_terminal_speed();
      break;
    case kLinemode:
      if (!options_[kLinemode].want_will || rest.empty()) return;
      reply_linemode(rest[0], rest.subspan(1));
      break;
    case kEnviron:
      // IS and INFO carry the host's own variables, which the client ignores.
      if (rest.empty() || rest[0] != kSend || !options_[kEnviron].want_will) return;
      reply_environment(rest.subspan(1));
      break;
    default:  // LFLOW and everything else: nothing to answer
      break;
  }
}

const std::string& TelnetEngine::next_terminal_type() {
  if (terminal_types_stale_) {
    // The name, then the name again: a repeated entry tells the host that the
    // list is exhausted.
    std::string name(kTerminalName.substr(0, kTerminalNameLimit));
    for (char& ch : name)
      if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    terminal_types_ = {name, name};
    next_terminal_type_ = 0;
    terminal_types_stale_ = false;
  }
  if (next_terminal_type_ >= terminal_types_.size()) next_terminal_type_ = 0;
  return terminal_types_[next_terminal_type_++];
}

void TelnetEngine::reply_terminal_type() {
  const std::string& name = next_terminal_type();
  std::vector<std::uint8_t> reply{kIac, kSb, kTtype, kIs};
  reply.insert(reply.end(), name.begin(), name.end());
  reply.push_back(kIac);
  reply.push_back(kSe);
  if (!network_output_.write_all(reply)) fail("No room in buffer for terminal type.\n");
}

void TelnetEngine::reply_terminal_speed() {
  char speeds[32];
  const int length = std::snprintf(speeds, sizeof speeds, "%d,%d", kTerminalSpeed, kTerminalSpeed);
  std::vector<std::uint8_t> reply{kIac, kSb, kTspeed, kIs};
  reply.insert(reply.end(), speeds, speeds + length);
  reply.push_back(kIac);
  reply.push_back(kSe);
  queue_reply(reply, "lm_will: not enough room in buffer\n");
}

void TelnetEngine::reply_linemode(std::uint8_t command, std::span<const std::uint8_t> args) {
  // The client has no forward mask: refuse every LINEMODE WILL and DO.
  const auto refuse = [&](std::uint8_t answer, std::string_view no_room) {
    std::vector<std::uint8_t> reply{kIac, kSb, kLinemode, answer, args[0]};
    if (args[0] == kIac) reply.push_back(kIac);
    reply.push_back(kIac);
    reply.push_back(kSe);
    queue_reply(reply, no_room);
  };
  switch (command) {
    case kWill:
      if (args.empty()) return sink_.message("lm_will: no command!!!\n");
      refuse(kDont, "lm_will: not enough room in buffer\n");
      break;
    case kDo:
      if (args.empty()) return sink_.message("lm_do: no command!!!\n");
      refuse(kWont, "lm_do: not enough room in buffer\n");
      break;
    case kWont:
      if (args.empty()) sink_.message("lm_wont: no command!!!\n");
      break;
    case kDont:
      if (args.empty()) sink_.message("lm_dont: no command!!!\n");
      break;
    case kLmSlc: {
      SlcReply reply = slc_.negotiate(args);
      if (reply.triples() > 0) queue_reply(reply.bytes(), "slc_end_reply: not enough room\n");
      break;
    }
    case kLmMode:
      reply_linemode_mode(args);
      break;
    default:  // FORWARDMASK without WILL/DO, or unknown
      break;
  }
}

void TelnetEngine::reply_linemode_mode(std::span<const std::uint8_t> args) {
  if (args.size() != 1) return;
  const std::uint8_t mode = args[0];
  // An acknowledgement ends the exchange; an unchanged mode needs none.
  if (mode & kModeAck) return;
  if ((mode & kModeBits) == linemode_bits_) return;
  linemode_bits_ = mode & kModeBits;
  const std::array<std::uint8_t, 7> reply{
      kIac, kSb, kLinemode, kLmMode, static_cast<std::uint8_t>(linemode_bits_ | kModeAck),
      kIac, kSe};
  queue_reply(reply, "lm_mode: not enough room in buffer\n");
}

void TelnetEngine::reply_environment(std::span<const std::uint8_t> request) {
  const EnvironmentReply reply = environment_.send_reply(request);
  if (!reply.bytes) {
    sink_.message(reply.message);
    return;
  }
  queue_reply(*reply.bytes, "slc_end_reply: not enough room\n");
}

}  // namespace veslink
