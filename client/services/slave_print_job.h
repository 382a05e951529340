// SlavePrintJob: where slave printing writes, so far for the file or device
// output and the ESC dP redirection into a file. Print-queue output and the
// delay before a finished job is closed come with the spooler; until then a
// job for a print queue ends with "Could not create print job for '%s'", so
// the user learns the print did not happen. Core code: plain files and the
// message-box call.
#pragma once

#include <cstdio>
#include <string>

#include "client/protocol/print_routing.h"
#include "client/settings/client_settings.h"

namespace veslink {

class SlavePrintJob : public PrintJobSink {
 public:
  explicit SlavePrintJob(ClientSettings& settings) : settings_(settings) {}
  ~SlavePrintJob() override;

  void write(std::uint8_t byte) override;
  bool needs_finish() const override { return file_ != nullptr || error_ != 0; }
  void finish() override;
  void begin_redirect() override;
  void redirect_to(std::string_view file_name) override;

  int error() const { return error_; }

 private:
  enum Error { kNone = 0, kOpen = 1, kDocument = 2, kPage = 3, kPrinter = 4, kWrite = 5 };
  std::string output_name() const;

  ClientSettings& settings_;
  std::FILE* file_ = nullptr;
  int error_ = kNone;
  bool redirected_ = false;
  int saved_type_ = kSlaveDisabled;
  std::string saved_name_;
};

}  // namespace veslink
