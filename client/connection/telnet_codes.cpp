// The name table of telnet options and commands.
#include "client/connection/telnet_codes.h"

namespace veslink::telnet {
namespace {

struct Name {
  std::uint8_t code;
  const char* name;
};

// The one list of option names (assigned numbers, RFC 1700 and later).
constexpr Name kOptionNames[] = {
    {0, "BINARY"},
    {1, "ECHO"},
    {2, "RCP"},
    {3, "SGA"},
    {4, "NAMS"},
    {5, "STATUS"},
    {6, "TIMING-MARK"},
    {7, "RCTE"},
    {8, "NAOL"},
    {9, "NAOP"},
    {10, "NAOCRD"},
    {11, "NAOHTS"},
    {12, "NAOHTD"},
    {13, "NAOFFD"},
    {14, "NAOVTS"},
    {15, "NAOVTD"},
    {16, "NAOLFD"},
    {17, "XASCII"},
    {18, "LOGOUT"},
    {19, "BM"},
    {20, "DET"},
    {21, "SUPDUP"},
    {22, "SUPDUP-OUTPUT"},
    {23, "SNDLOC"},
    {24, "TTYPE"},
    {25, "EOR"},
    {26, "TUID"},
    {27, "OUTMRK"},
    {28, "TTYLOC"},
    {29, "3270-REGIME"},
    {30, "X.3-PAD"},
    {31, "NAWS"},
    {32, "TSPEED"},
    {33, "LFLOW"},
    {34, "LINEMODE"},
    {35, "XDISPLOC"},
    {36, "ENVIRON"},
    {37, "AUTHENTICATION"},
    {38, "ENCRYPT"},
    {39, "NEW-ENVIRON"},
    {255, "EXOPL"},
};

constexpr const char* kCommandNames[] = {"SE", "NOP", "DM", "BRK",  "IP",   "AO", "AYT",  "EC",
                                         "EL", "GA",  "SB", "WILL", "WONT", "DO", "DONT", "IAC"};

}  // namespace

std::string option_name(std::uint8_t option) {
  for (const Name& n : kOptionNames)
    if (n.code == option) return n.name;
  return std::to_string(option);
}

std::string command_name(std::uint8_t command) {
  if (command >= kSe) return kCommandNames[command - kSe];
  return std::to_string(command);
}

std::string describe(std::uint8_t command, std::uint8_t option) {
  return command_name(command) + " " + option_name(option);
}

}  // namespace veslink::telnet
