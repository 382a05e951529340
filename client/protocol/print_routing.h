// Slave printing as the byte loop sees it: the print mode, the detector of
// the end of a print, and the hand-over of print data to the print job.
// Where the job writes (a file, a device, a print queue) is the job's own
// business behind PrintJobSink.
#pragma once

#include <cstdint>
#include <string_view>

namespace veslink {

class PrintJobSink {
 public:
  virtual ~PrintJobSink() = default;
  // One byte of print data for the open job (opening it when needed).
  virtual void write(std::uint8_t byte) = 0;
  // A job is open (or an error waits to be reported) and no end is pending.
  virtual bool needs_finish() const = 0;
  // Printing stopped: close the job now or after the configured delay.
  virtual void finish() = 0;
  // ESC dP: close any job at once and save the output settings ...
  virtual void begin_redirect() = 0;
  // ... then print into this file until the job ends (empty: no file).
  virtual void redirect_to(std::string_view file_name) = 0;
};

class PrintRouting {
 public:
  static constexpr std::string_view kEndSequence =
      "\x1b"
      "d~[(OFF])";

  int mode() const { return mode_; }
  void set_mode(int mode) {
    mode_ = mode;
    if (mode > 0) job_touched_ = true;
  }
  void set_sink(PrintJobSink* sink) { sink_ = sink; }
  PrintJobSink* sink() const { return sink_; }

  // Steps 1 and 2 of the byte loop; true when the byte was consumed.
  bool active() const { return mode_ > 0 || job_touched_; }
  bool route(std::uint8_t byte);

  void redirect_begin();
  void redirect_to(std::string_view file_name);
  void reset() {
    mode_ = 0;
    matched_ = 0;
  }

 private:
  void write(std::uint8_t byte) {
    if (sink_) sink_->write(byte);
  }

  PrintJobSink* sink_ = nullptr;
  int mode_ = 0;              // 0 not printing, 2 transparent, 3 until the end sequence
  std::size_t matched_ = 0;   // bytes of the end sequence seen so far
  bool job_touched_ = false;  // a job may be open: check after printing stops
};

}  // namespace veslink
