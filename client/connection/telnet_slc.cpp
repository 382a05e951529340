// SLC negotiation: the client has no local editing characters, so it leaves
// every function to the host and only takes over what the host settles.
#include "client/connection/telnet_slc.h"

namespace veslink {

using namespace telnet;

SlcReply::SlcReply() {
  push(kIac);
  push(kSb);
  push(kLinemode);
  push(kLmSlc);
}

bool SlcReply::add(std::uint8_t function, std::uint8_t flags, std::uint8_t value) {
  // Room for the doubled triple and the closing IAC SE.
  if (finished_ || length_ + 6 + 2 > buffer_.size()) return false;
  for (std::uint8_t b : {function, flags, value}) {
    push(b);
    if (b == kIac) push(kIac);
  }
  ++triples_;
  return true;
}

void SlcReply::finish() {
  if (finished_) return;
  push(kIac);
  push(kSe);
  finished_ = true;
}

void SlcTable::reset() {
  for (int f = 1; f <= kFunctions; ++f) {
    const bool unsupported = f == 2 || f == 6 || f == 18;  // BRK, EOR, FORW2
    const std::uint8_t level = unsupported ? kSlcNoSupport : kSlcDefault;
    entries_[f] = SlcEntry{level, 0, level, 0};
  }
}

SlcReply SlcTable::initial_reply() const {
  SlcReply reply;
  for (int f = 1; f <= kFunctions; ++f) {
    const SlcEntry& e = entries_[f];
    if (e.own_level != kSlcNoSupport)
      reply.add(static_cast<std::uint8_t>(f), e.own_level, e.own_value);
  }
  reply.finish();
  return reply;
}

SlcReply SlcTable::negotiate(std::span<const std::uint8_t> triples) {
  SlcReply reply;
  for (std::size_t i = 0; i + 3 <= triples.size(); i += 3) {
    const std::uint8_t function = triples[i];
    std::uint8_t flags = triples[i + 1];
    const std::uint8_t value = triples[i + 2];
    if (function == 0) continue;
    if (function > kFunctions) {
      // Unknown to the client: say so, unless the host already says it is
      // not supported.
      if ((flags & kSlcLevelBits) != kSlcNoSupport) reply.add(function, kSlcNoSupport, 0);
      continue;
    }
    SlcEntry& e = entries_[function];
    const std::uint8_t level = flags & (kSlcLevelBits | kSlcAck);
    if (value == e.value && (level & kSlcLevelBits) == (e.flags & kSlcLevelBits)) continue;
    // DEFAULT never carries an acknowledgement; a host that sets one anyway
    // is read as meaning the plain level.
    if (level == (kSlcDefault | kSlcAck)) flags &= static_cast<std::uint8_t>(~kSlcAck);
    if (level == ((e.flags & kSlcLevelBits) | kSlcAck)) {
      // The host acknowledges the level we hold: take its value, no answer.
      e.value = value;
      e.flags = flags;
      continue;
    }
    const std::uint8_t plain = level & kSlcLevelBits;
    if (plain <= (e.own_level & kSlcLevelBits)) {
      e.flags = flags | kSlcAck;
      e.value = value;
    }
    if (plain == kSlcDefault)
      e.flags = (e.own_level & kSlcLevelBits) != kSlcDefault ? e.own_level : kSlcNoSupport;
    reply.add(function, e.flags, e.value);
  }
  reply.finish();
  return reply;
}

}  // namespace veslink
