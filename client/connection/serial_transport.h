// A serial line (COM1..COM8) on a Linux tty device through QSerialPort: the
// line settings of the workstation, received bytes with the line-error text
// in front, single-byte writes, and the carrier line for the modem dialler.
#pragma once

#include <QObject>
#include <QSerialPort>
#include <cstdint>
#include <string>

#include "client/settings/client_settings.h"

namespace veslink {

class SerialTransport : public QObject {
  Q_OBJECT
 public:
  explicit SerialTransport(QObject* parent = nullptr);

  // The device behind COMn: "/dev/ttyS<n-1>" unless the settings key holds
  // "com<n>_device" (tests point it at a pty).
  static std::string default_device(int port_number);

  bool open(const std::string& device);
  bool is_open() const { return port_.isOpen(); }
  void close();

  // Programs the open line: speed, data bits, parity, stop bits, the flow
  // flags, XON/XOFF only for what the client receives. False when the
  // device refuses the settings.
  bool apply_settings(const ClientSettings& settings);

  // Reads what is waiting (at most `max` bytes). When the driver counted line
  // errors since the last read, "<CE-%u>" with the error bits comes first.
  std::string read_available(std::size_t max);
  bool write_byte(std::uint8_t byte);

  void set_dtr(bool on);
  // Carrier detect, when the device can tell (a pty cannot).
  bool carrier();

  std::string error_text() const { return port_.errorString().toStdString(); }

 signals:
  void dataArrived();  // bytes are waiting
  void lineLost();     // the device went away or failed

 private:
  std::uint32_t line_error_bits();

  QSerialPort port_;
  struct Counts {
    int frame = 0, overrun = 0, parity = 0, brk = 0, buf_overrun = 0;
  } counts_;
  bool counts_known_ = false;
  // Set while close() runs: dropping DTR on a line that is gone fails, and
  // that failure must not report the line lost again (it would close again,
  // without end).
  bool closing_ = false;
};

}  // namespace veslink
