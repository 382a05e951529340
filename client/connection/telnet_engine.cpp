// The engine's data paths: reset and start, the receiver state machine with
// its carriage-return rules and the Data Mark, the sender, and the flush of
// host data. Option answers and subnegotiations are in telnet_negotiation.cpp.
#include "client/connection/telnet_engine.h"

#include <algorithm>
#include <cassert>

#include "client/connection/telnet_codes.h"

namespace veslink {

using namespace telnet;

TelnetEngine::TelnetEngine(TelnetSink& sink) : sink_(sink) {
  subnegotiation_.reserve(kSubnegotiationSize);
  // Entering linemode must always fit in the room the receiver keeps free.
  assert(slc_.initial_reply().bytes().size() + 3 <= kOptionAnswerRoom);
}

void TelnetEngine::reset(const EnvironmentList& environment) {
  ++generation_;
  network_input_.clear();
  network_output_.clear();
  client_output_.clear();
  host_data_.clear();
  options_.clear();
  state_ = ReceiverState::kData;
  subnegotiation_.clear();
  discard_ = flush_output_ = flush_line_ = local_flow_ = failed_ = false;
  linemode_bits_ = 0;
  slc_.reset();
  environment_.rebuild(environment);
  terminal_types_stale_ = true;
}

void TelnetEngine::start(bool initial_offers) {
  if (!initial_offers) return;
  send_offer(kDo, kSga);
  send_offer(kWill, kTtype);
  send_offer(kWill, kNaws);
  send_offer(kWill, kTspeed);
  send_offer(kWill, kLflow);
  send_offer(kWill, kLinemode);
  send_offer(kWill, kEnviron);
  send_offer(kDo, kStatus);
}

bool TelnetEngine::binary_output() const {
  return options_[kBinary].want_will;
}
bool TelnetEngine::binary_input() const {
  return options_[kBinary].want_do;
}
bool TelnetEngine::host_echoes() const {
  return options_[kEcho].want_do;
}
bool TelnetEngine::linemode() const {
  return options_[kLinemode].will;
}

bool TelnetEngine::waiting_for_output_room() const {
  const bool at_option = state_ == ReceiverState::kWill || state_ == ReceiverState::kWont ||
                         state_ == ReceiverState::kDo || state_ == ReceiverState::kDont;
  return at_option && !network_input_.empty() && network_output_.free() < kOptionAnswerRoom;
}

// The host's CR NUL and CR LF conventions only apply to NVT text: once the
// client has asked for binary input, CR is plain data.
bool TelnetEngine::cr_rule_applies() const {
  return !options_[kBinary].want_do;
}

void TelnetEngine::output(std::uint8_t byte) {
  if (!discard_) host_data_.put(byte);
}

void TelnetEngine::output(const std::uint8_t* data, std::size_t count) {
  if (!discard_) host_data_.write(data, count);
}

void TelnetEngine::fail(std::string_view text) {
  failed_ = true;
  sink_.fatal(text, kTelnetFatalTitle);
}

void TelnetEngine::run_receiver() {
  while (!failed_ && !network_input_.empty() && host_data_.free() > kRingMargin) {
    const std::span<const std::uint8_t> segment = network_input_.filled_segment();
    const std::size_t used = receive_segment(segment.data(), segment.size());
    network_input_.consume(used);
    // Less than the segment: the host data ring filled up, an answer has to
    // wait for output room, or a fatal condition stopped the engine.
    if (used < segment.size()) break;
  }
}

// Works on one contiguous segment of the network input ring in place and
// returns how many bytes it used. A CR at the end of the segment may look at
// (and use) the first byte after the wrap, so the result can exceed `n` by one.
std::size_t TelnetEngine::receive_segment(const std::uint8_t* p, std::size_t n) {
  std::size_t i = 0;
  while (i < n && !failed_ && host_data_.free() > kRingMargin) {
    const std::uint8_t c = p[i];
    switch (state_) {
      case ReceiverState::kCr:
        // A CR ended the previous input: its NUL belongs to it.
        state_ = ReceiverState::kData;
        if (c == 0) {
          ++i;
          break;
        }
        [[fallthrough]];
      case ReceiverState::kData: {
        if (c == kIac) {
          state_ = ReceiverState::kIac;
          ++i;
          break;
        }
        const bool cr_rule = cr_rule_applies();
        if (c == '\r' && cr_rule) {
          if (network_input_.size() > i + 1) {
            const std::uint8_t next = network_input_.at(i + 1);
            if (next == 0) {
              output('\r');
              i += 2;
            } else if (next == '\n' && !host_echoes()) {
              output('\n');
              i += 2;
            } else {
              output('\r');
              ++i;
            }
          } else {
            // Nothing follows yet. The CR goes on at once: the host ends its
            // commands with CR and waits for the answer, so holding it back
            // could stall both sides. A NUL that arrives next is dropped.
            output('\r');
            state_ = ReceiverState::kCr;
            ++i;
          }
          break;
        }
        // A run of plain bytes goes over in one copy.
        const std::size_t limit = std::min(n, i + (host_data_.free() - kRingMargin));
        std::size_t j = i + 1;
        while (j < limit && p[j] != kIac && !(cr_rule && p[j] == '\r'))
          ++j;
        output(p + i, j - i);
        i = j;
        break;
      }
      case ReceiverState::kIac:
        ++i;
        state_ = ReceiverState::kData;
        switch (c) {
          case kIac:
            output(kIac);
            break;
          case kWill:
            state_ = ReceiverState::kWill;
            break;
          case kWont:
            state_ = ReceiverState::kWont;
            break;
          case kDo:
            state_ = ReceiverState::kDo;
            break;
          case kDont:
            state_ = ReceiverState::kDont;
            break;
          case kSb:
            subnegotiation_.clear();
            state_ = ReceiverState::kSb;
            break;
          case kDm:
            data_mark();
            break;
          default:  // NOP, GA, AYT, ... mean nothing to this client
            break;
        }
        break;
      case ReceiverState::kWill:
      case ReceiverState::kWont:
      case ReceiverState::kDo:
      case ReceiverState::kDont: {
        if (network_output_.free() < kOptionAnswerRoom) return i;
        ++i;
        const ReceiverState command = state_;
        state_ = ReceiverState::kData;
        if (command == ReceiverState::kWill) received_will(c);
        if (command == ReceiverState::kWont) received_wont(c);
        if (command == ReceiverState::kDo) received_do(c);
        if (command == ReceiverState::kDont) received_dont(c);
        break;
      }
      case ReceiverState::kSb:
        ++i;
        if (c == kIac)
          state_ = ReceiverState::kSbIac;
        else if (subnegotiation_.size() < kSubnegotiationSize)
          subnegotiation_.push_back(c);
        break;
      case ReceiverState::kSbIac:
        if (c == kSe) {
          ++i;
          state_ = ReceiverState::kData;
          handle_subnegotiation();
        } else if (c == kIac) {
          ++i;
          state_ = ReceiverState::kSb;
          if (subnegotiation_.size() < kSubnegotiationSize) subnegotiation_.push_back(kIac);
        } else {
          // IAC SE is missing or an IAC was not doubled. Rather than wait for
          // an SE that may never come, handle what arrived and read this byte
          // again as the command after IAC.
          state_ = ReceiverState::kIac;
          handle_subnegotiation();
        }
        break;
    }
  }
  return i;
}

void TelnetEngine::data_mark() {
  // Whatever was received before the mark is stale; drop it, and keep
  // dropping while the socket still holds urgent data (a later mark follows).
  discard_ = true;
  host_data_.truncate(delivering_ ? in_flight_ : 0);
  const UrgentDataCheck check = sink_.urgent_data_pending();
  if (check.error != 0) {
    fail("OOB Select error " + std::to_string(check.error));
    return;
  }
  discard_ = check.pending;
}

void TelnetEngine::urgent_data_arrived() {
  discard_ = true;
}

void TelnetEngine::run_sender() {
  const bool binary = binary_output();
  while (!client_output_.empty() && network_output_.free() > kRingMargin) {
    const std::span<const std::uint8_t> segment = client_output_.filled_segment();
    std::size_t i = 0;
    while (i < segment.size() && network_output_.free() > kRingMargin) {
      const std::uint8_t c = segment[i];
      if (c == kIac) {
        network_output_.put(kIac);
        network_output_.put(kIac);
        ++i;
      } else if (c == '\r' && !binary) {
        network_output_.put('\r');
        network_output_.put(0);
        ++i;
      } else {
        const std::size_t limit =
            std::min(segment.size(), i + (network_output_.free() - kRingMargin));
        std::size_t j = i + 1;
        while (j < limit && segment[j] != kIac && !(segment[j] == '\r' && !binary))
          ++j;
        network_output_.write(segment.data() + i, j - i);
        i = j;
      }
    }
    client_output_.consume(i);
  }
}

bool TelnetEngine::queue_client_byte(std::uint8_t byte) {
  const bool queued = client_output_.put(byte);
  run_sender();
  return queued;
}

std::size_t TelnetEngine::flush_host_data(const HostDataSink& deliver) {
  if (delivering_ || host_data_.empty()) return 0;
  if (discard_ || flush_output_) {
    host_data_.clear();
    return 0;
  }
  const auto pieces = host_data_.filled_segments();
  const unsigned generation = generation_;
  delivering_ = true;
  in_flight_ = host_data_.size();
  std::size_t handed = 0;
  for (const std::span<const std::uint8_t>& piece : pieces) {
    if (piece.empty() || generation != generation_) continue;
    deliver(piece.data(), piece.size());
    handed += piece.size();
  }
  delivering_ = false;
  // A reset while the bytes were handed on emptied the ring already.
  if (generation == generation_) host_data_.consume(in_flight_);
  in_flight_ = 0;
  return handed;
}

std::string_view receiver_state_name(TelnetEngine::ReceiverState state) {
  switch (state) {
    case TelnetEngine::ReceiverState::kData:
      return "DATA";
    case TelnetEngine::ReceiverState::kIac:
      return "IAC";
    case TelnetEngine::ReceiverState::kWill:
      return "WILL";
    case TelnetEngine::ReceiverState::kWont:
      return "WONT";
    case TelnetEngine::ReceiverState::kDo:
      return "DO";
    case TelnetEngine::ReceiverState::kDont:
      return "DONT";
    case TelnetEngine::ReceiverState::kCr:
      return "CR";
    case TelnetEngine::ReceiverState::kSb:
      return "SB";
    case TelnetEngine::ReceiverState::kSbIac:
      return "SB-IAC";
  }
  return "?";
}

}  // namespace veslink
