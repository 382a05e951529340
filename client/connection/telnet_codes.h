// Telnet command and option codes, the sub-codes of the options the client
// speaks, and the one table of names for log lines and test output
// ("DO TTYPE"). Its own file so the engine, the session trace and the tests
// share one list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace veslink::telnet {

// Commands (RFC 854).
inline constexpr std::uint8_t kSe = 240;
inline constexpr std::uint8_t kNop = 241;
inline constexpr std::uint8_t kDm = 242;
inline constexpr std::uint8_t kBrk = 243;
inline constexpr std::uint8_t kIp = 244;
inline constexpr std::uint8_t kAo = 245;
inline constexpr std::uint8_t kAyt = 246;
inline constexpr std::uint8_t kEc = 247;
inline constexpr std::uint8_t kEl = 248;
inline constexpr std::uint8_t kGa = 249;
inline constexpr std::uint8_t kSb = 250;
inline constexpr std::uint8_t kWill = 251;
inline constexpr std::uint8_t kWont = 252;
inline constexpr std::uint8_t kDo = 253;
inline constexpr std::uint8_t kDont = 254;
inline constexpr std::uint8_t kIac = 255;

// Options.
inline constexpr std::uint8_t kBinary = 0;
inline constexpr std::uint8_t kEcho = 1;
inline constexpr std::uint8_t kSga = 3;
inline constexpr std::uint8_t kStatus = 5;
inline constexpr std::uint8_t kTimingMark = 6;
inline constexpr std::uint8_t kTtype = 24;
inline constexpr std::uint8_t kNaws = 31;
inline constexpr std::uint8_t kTspeed = 32;
inline constexpr std::uint8_t kLflow = 33;
inline constexpr std::uint8_t kLinemode = 34;
inline constexpr std::uint8_t kXdisploc = 35;
inline constexpr std::uint8_t kEnviron = 36;
inline constexpr std::uint8_t kAuthentication = 37;
inline constexpr std::uint8_t kEncrypt = 38;
inline constexpr std::uint8_t kNewEnviron = 39;

// Qualifiers of TTYPE, TSPEED and ENVIRON subnegotiations.
inline constexpr std::uint8_t kIs = 0;
inline constexpr std::uint8_t kSend = 1;
inline constexpr std::uint8_t kInfo = 2;

// LINEMODE sub-commands and MODE bits (RFC 1184).
inline constexpr std::uint8_t kLmMode = 1;
inline constexpr std::uint8_t kLmForwardMask = 2;
inline constexpr std::uint8_t kLmSlc = 3;
inline constexpr std::uint8_t kModeEdit = 0x01;
inline constexpr std::uint8_t kModeTrapSig = 0x02;
inline constexpr std::uint8_t kModeAck = 0x04;
inline constexpr std::uint8_t kModeSoftTab = 0x08;
inline constexpr std::uint8_t kModeLitEcho = 0x10;
inline constexpr std::uint8_t kModeBits = kModeEdit | kModeTrapSig | kModeSoftTab | kModeLitEcho;

// ENVIRON bytes. The hosts this client meets read VAR as 1 and VALUE as 0 for
// option 36 (the reading most deployed daemons settled on), so that is what
// the client sends; ESC is 2 either way.
inline constexpr std::uint8_t kEnvVar = 1;
inline constexpr std::uint8_t kEnvValue = 0;
inline constexpr std::uint8_t kEnvEsc = 2;

// A subnegotiation is collected into a buffer of this size; the rest of a
// longer one is dropped.
inline constexpr std::size_t kSubnegotiationSize = 256;

// "TTYPE", "LINEMODE", ...; the decimal number for codes without a name.
std::string option_name(std::uint8_t option);
// "DO", "SB", "IAC", ...; the decimal number for bytes below SE.
std::string command_name(std::uint8_t command);
// "DO TTYPE": a negotiation command with its option, as log lines show it.
std::string describe(std::uint8_t command, std::uint8_t option);

}  // namespace veslink::telnet
