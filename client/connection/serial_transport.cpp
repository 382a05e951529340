// Serial line settings and I/O.
#include "client/connection/serial_transport.h"

#include <linux/serial.h>
#include <sys/ioctl.h>
#include <termios.h>

namespace veslink {

namespace {
// The line-error bits of the platform's comm-error word.
constexpr std::uint32_t kErrorRxOver = 0x0001;
constexpr std::uint32_t kErrorOverrun = 0x0002;
constexpr std::uint32_t kErrorParity = 0x0004;
constexpr std::uint32_t kErrorFrame = 0x0008;
constexpr std::uint32_t kErrorBreak = 0x0010;
}  // namespace

SerialTransport::SerialTransport(QObject* parent) : QObject(parent) {
  connect(&port_, &QSerialPort::readyRead, this, &SerialTransport::dataArrived);
  connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
    if (closing_) return;
    if (e == QSerialPort::ResourceError || e == QSerialPort::ReadError) emit lineLost();
  });
}

std::string SerialTransport::default_device(int port_number) {
  return "/dev/ttyS" + std::to_string(port_number - 1);
}

bool SerialTransport::open(const std::string& device) {
  port_.setPortName(QString::fromStdString(device));
  if (!port_.open(QIODevice::ReadWrite)) return false;
  counts_known_ = false;
  line_error_bits();  // takes the driver's current counts as the start
  return true;
}

void SerialTransport::close() {
  if (!port_.isOpen() || closing_) return;
  closing_ = true;
  port_.setDataTerminalReady(false);
  port_.clear();
  port_.close();
  closing_ = false;
}

bool SerialTransport::apply_settings(const ClientSettings& s) {
  bool ok = port_.setBaudRate(s.baud);
  ok = port_.setDataBits(s.data_bits == 7 ? QSerialPort::Data7 : QSerialPort::Data8) && ok;
  static const QSerialPort::Parity kParity[] = {QSerialPort::NoParity, QSerialPort::OddParity,
                                                QSerialPort::EvenParity, QSerialPort::MarkParity,
                                                QSerialPort::SpaceParity};
  ok = port_.setParity(kParity[s.parity <= kParitySpace ? s.parity : 0]) && ok;
  static const QSerialPort::StopBits kStop[] = {QSerialPort::OneStop, QSerialPort::OneAndHalfStop,
                                                QSerialPort::TwoStop};
  ok = port_.setStopBits(kStop[s.stop_bits <= kStopTwo ? s.stop_bits : 0]) && ok;
  ok = port_.setFlowControl((s.flow & kFlowRtsCts) ? QSerialPort::HardwareControl
                                                   : QSerialPort::NoFlowControl) &&
       ok;
  if (!ok) return false;

  // XON/XOFF only guards what the client receives: the driver sends XOFF and
  // XON for its own buffer, but never stops sending on the host's XOFF.
  termios t{};
  const int fd = static_cast<int>(port_.handle());
  if (tcgetattr(fd, &t) != 0) return false;
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXANY);
  if (s.flow & kFlowXonXoff) {
    t.c_iflag |= IXOFF;
  } else {
    t.c_iflag &= ~static_cast<tcflag_t>(IXOFF);
  }
  t.c_cc[VSTART] = 0x11;
  t.c_cc[VSTOP] = 0x13;
  t.c_iflag |= INPCK;  // parity checking on
  if (tcsetattr(fd, TCSANOW, &t) != 0) return false;
  // Without DTR/DSR handshaking DTR is simply on; Linux has no DSR flow
  // control, so with it DTR is raised as well.
  port_.setDataTerminalReady(true);
  if (!(s.flow & kFlowRtsCts)) port_.setRequestToSend(true);
  return true;
}

std::uint32_t SerialTransport::line_error_bits() {
  serial_icounter_struct c{};
  if (ioctl(static_cast<int>(port_.handle()), TIOCGICOUNT, &c) != 0)
    return 0;  // a pty counts nothing
  std::uint32_t bits = 0;
  if (counts_known_) {
    if (c.frame != counts_.frame) bits |= kErrorFrame;
    if (c.overrun != counts_.overrun) bits |= kErrorOverrun;
    if (c.parity != counts_.parity) bits |= kErrorParity;
    if (c.brk != counts_.brk) bits |= kErrorBreak;
    if (c.buf_overrun != counts_.buf_overrun) bits |= kErrorRxOver;
  }
  counts_ = {c.frame, c.overrun, c.parity, c.brk, c.buf_overrun};
  counts_known_ = true;
  return bits;
}

std::string SerialTransport::read_available(std::size_t max) {
  std::string out;
  if (!port_.isOpen()) return out;
  if (const std::uint32_t errors = line_error_bits()) out = "<CE-" + std::to_string(errors) + ">";
  out += port_.read(static_cast<qint64>(max)).toStdString();
  return out;
}

bool SerialTransport::write_byte(std::uint8_t byte) {
  const char c = static_cast<char>(byte);
  if (port_.write(&c, 1) != 1) return false;
  port_.flush();
  return true;
}

void SerialTransport::set_dtr(bool on) {
  port_.setDataTerminalReady(on);
}

bool SerialTransport::carrier() {
  return (port_.pinoutSignals() & QSerialPort::DataCarrierDetectSignal) != 0;
}

}  // namespace veslink
