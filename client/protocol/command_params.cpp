// The parameter rules of GUI commands.
#include "client/protocol/command_params.h"

#include "client/protocol/base64.h"

namespace veslink {

namespace {
// Beyond this many fractional digits a double gains nothing, and going on
// would overflow the divisor into infinity and the real into NaN.
constexpr double kLargestDivisor = 1e15;

void store_letter(CommandParams& p, std::uint8_t letter) {
  std::uint32_t* integer = nullptr;
  double* real = nullptr;
  switch (letter) {
    case 'A':
      integer = &p.A;
      break;
    case 'B':
      integer = &p.B;
      break;
    case 'C':
      integer = &p.C;
      break;
    case 'D':
      integer = &p.D;
      break;
    case 'E':
      integer = &p.E;
      break;
    case 'F':
      integer = &p.F;
      break;
    case 'I':
      integer = &p.I;
      break;
    case 'M':
      integer = &p.M;
      break;
    case 'P':
      integer = &p.P;
      break;
    case 'S':
      integer = &p.S;
      break;
    case 'T':
      integer = &p.T;
      break;
    case 'H':
      integer = &p.H;
      real = &p.h_real;
      break;
    case 'W':
      integer = &p.W;
      real = &p.w_real;
      break;
    case 'X':
      integer = &p.X;
      real = &p.x_real;
      break;
    case 'Y':
      integer = &p.Y;
      real = &p.y_real;
      break;
    default:
      return;  // other letters are ignored like blanks
  }
  *integer = p.accumulator;
  if (real) *real = p.accumulator + (p.divisor != 0 ? p.fraction / p.divisor : 0.0);
  p.given |= 1u << (letter - 'A');
  p.accumulator = 0;
  p.fraction = 0;
  p.divisor = 0;
}
}  // namespace

std::uint32_t CommandParams::number(char letter) const {
  switch (letter) {
    case 'A':
      return A;
    case 'B':
      return B;
    case 'C':
      return C;
    case 'D':
      return D;
    case 'E':
      return E;
    case 'F':
      return F;
    case 'I':
      return I;
    case 'M':
      return M;
    case 'P':
      return P;
    case 'S':
      return S;
    case 'T':
      return T;
    case 'H':
      return H;
    case 'W':
      return W;
    case 'X':
      return X;
    case 'Y':
      return Y;
    default:
      return 0;
  }
}

double CommandParams::real(char letter) const {
  switch (letter) {
    case 'H':
      return h_real;
    case 'W':
      return w_real;
    case 'X':
      return x_real;
    case 'Y':
      return y_real;
    default:
      return number(letter);
  }
}

bool feed_param_byte(CommandParams& p, MessageBuffer& buffer, std::uint8_t byte) {
  if (p.string_mode != StringMode::None) {
    if (byte == '\r') {
      if (p.string_mode == StringMode::Base64)
        buffer.truncate(base64_decode_in_place(buffer.data(), buffer.size()));
      buffer.terminate();
      p.string_length = static_cast<long>(buffer.size());
      return true;
    }
    if (byte == 0) return false;
    // A line feed is kept as the carriage return and line feed the
    // workstation's text controls expect.
    if (byte == '\n' && !buffer.append('\r')) return false;
    buffer.append(static_cast<char>(byte));
    return false;
  }
  if (byte >= '0' && byte <= '9') {
    const unsigned digit = byte - '0';
    if (p.divisor == 0) {
      p.accumulator = p.accumulator * 10 + digit;
    } else if (p.divisor < kLargestDivisor) {
      p.divisor *= 10;
      p.fraction = p.fraction * 10 + digit;
    }
    return false;
  }
  switch (byte) {
    case '.':
      p.divisor = 1;
      p.fraction = 0;
      return false;
    case ';':
      p.string_mode = StringMode::Plain;
      p.string_length = 0;
      buffer.clear();
      return false;
    case ':':
      p.string_mode = StringMode::Base64;
      p.string_length = 0;
      buffer.clear();
      return false;
    case '\r':
      return true;
    default:
      if (byte >= 'A' && byte <= 'Z') store_letter(p, byte);
      return false;
  }
}

std::optional<std::string_view> command_string(const CommandParams& params,
                                               const MessageBuffer& buffer) {
  if (params.string_length < 0) return std::nullopt;
  return buffer.view().substr(0, static_cast<std::size_t>(params.string_length));
}

}  // namespace veslink
