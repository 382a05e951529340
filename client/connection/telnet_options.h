// The option table: for every option code the state bits of both sides and
// the two counters that absorb answers to the client's own requests, so that
// neither side ever loops on a negotiation (in the manner of RFC 1143). Its
// own file because the table is plain data that tests and the trace read.
#pragma once

#include <array>
#include <cstdint>

namespace veslink {

struct TelnetOptionState {
  bool want_will = false;  // our side: what we asked for or agreed to
  bool will = false;       // our side: what is in effect
  bool want_do = false;    // the host's side: what we asked for or agreed to
  bool do_ = false;        // the host's side: what is in effect
  // Answers still due to WILL/WONT (resp. DO/DONT) the client sent itself;
  // each arriving answer is taken off instead of being treated as a request.
  std::uint8_t will_wont_resp = 0;
  std::uint8_t do_dont_resp = 0;

  bool operator==(const TelnetOptionState&) const = default;
};

class TelnetOptionTable {
 public:
  TelnetOptionState& operator[](std::uint8_t option) { return states_[option]; }
  const TelnetOptionState& operator[](std::uint8_t option) const { return states_[option]; }
  void clear() { states_.fill(TelnetOptionState{}); }

 private:
  std::array<TelnetOptionState, 256> states_{};
};

}  // namespace veslink
