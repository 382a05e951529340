// ClientSettings: the one record of workstation settings of the thin client,
// filled at start-up from the registry and the INI file and changed afterwards
// by the dialogs and the connection layer. Plain data, no Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace veslink {

// Interface codes: 1..8 are the serial ports COM1..COM8.
constexpr int INTERFACE_TELNET = 999;
constexpr int INTERFACE_SSL_TELNET = 998;
constexpr int kLastComPort = 8;

inline bool is_tcp_interface(int interface_code) {
  return interface_code == INTERFACE_TELNET || interface_code == INTERFACE_SSL_TELNET;
}
inline bool is_com_interface(int interface_code) {
  return interface_code >= 1 && interface_code <= kLastComPort;
}

// Flow-control flags, as the serial driver numbers them.
constexpr std::uint8_t kFlowDtrDsr = 1;
constexpr std::uint8_t kFlowRtsCts = 2;
constexpr std::uint8_t kFlowXonXoff = 4;

// Parity and stop-bit codes of the serial driver.
enum Parity : std::uint8_t { kParityNone = 0, kParityOdd, kParityEven, kParityMark, kParitySpace };
enum StopBits : std::uint8_t { kStopOne = 0, kStopOneHalf, kStopTwo };

// Slave print output types.
enum SlaveType { kSlaveFile = 0, kSlavePrinter = 1, kSlaveDisabled = 2 };

// The longest text each field keeps; longer input is cut to it.
constexpr std::size_t kHostMax = 49;
constexpr std::size_t kHostListMax = 199;
constexpr std::size_t kCertPathMax = 79;
constexpr std::size_t kLoginTextMax = 29;  // user name, passwords
constexpr std::size_t kModemInitMax = 79;
constexpr std::size_t kPhoneMax = 39;
constexpr std::size_t kSlaveNameMax = 259;
constexpr std::size_t kFontFaceMax = 31;
constexpr std::size_t kMacroCodesMax = 200;

// A font description in the platform's terms: height in pixels (positive: the
// cell height), width 0 for automatic, weight 100..900, character set and
// pitch-and-family codes.
struct FontSpec {
  std::string face;
  long height = 0;
  long weight = 400;
  long charset = 1;  // the default character set
  long pitch_family = 0;
  long width = 0;

  bool operator==(const FontSpec&) const = default;
};

// Pitch-and-family codes used by the default fonts.
constexpr long kFixedPitch = 1;
constexpr long kVariablePitch = 2;
constexpr long kFamilyModern = 0x30;

// A keyboard macro bound to a function key with modifiers.
struct KeyMacro {
  int key = 0;        // virtual key: F1 = 112 ... F16 = 127
  int modifiers = 0;  // 0 none, 1 Shift, 2 Ctrl, 3 Ctrl+Shift
  std::vector<std::int16_t> codes;

  bool operator==(const KeyMacro&) const = default;
};

struct ClientSettings {
  int interface_code = INTERFACE_TELNET;
  int baud = 56000;
  std::uint8_t data_bits = 8;
  std::uint8_t parity = kParityNone;
  std::uint8_t stop_bits = kStopOne;
  std::uint8_t flow = kFlowXonXoff;
  std::string secure_suffix;  // "(Secure connection)" or empty

  std::string current_host;
  std::string default_host;
  std::string host_list;

  std::string cert_file;
  std::string key_file;
  int keep_alive_minutes = 0;

  std::string def_username;
  std::string def_password;
  std::string def_conn_password;

  std::string modem_init;
  std::string phone_number;

  int slave_type = kSlaveDisabled;
  std::string slave_name;
  int slave_delay = 10;

  bool confirm_close = true;
  bool mail_notify = false;
  int login_timeout = 0;  // the login treats values <= 1 as 12
  bool navigation_control = true;
  int calc_prec = 6;

  FontSpec normal_font;
  FontSpec fixed_font;

  std::vector<KeyMacro> macros;  // newest first

  // Set by the first "f" or "h" line of an INI file: that line first clears
  // the default flow flags, later lines add to them.
  bool ini_flow_cleared = false;
};

constexpr const char* kSecureSuffix = "(Secure connection)";

}  // namespace veslink
