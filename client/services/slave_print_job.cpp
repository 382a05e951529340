// Writing slave print data into a file, and the job's error report.
#include "client/services/slave_print_job.h"

#include "client/settings/client_texts.h"
#include "platform/messages/message_box.h"

namespace veslink {

SlavePrintJob::~SlavePrintJob() {
  if (file_) std::fclose(file_);
}

std::string SlavePrintJob::output_name() const {
  if (settings_.slave_type == kSlaveFile && settings_.slave_name.empty()) return "prn";
  return settings_.slave_name;
}

void SlavePrintJob::write(std::uint8_t byte) {
  if (error_ != kNone || settings_.slave_type == kSlaveDisabled) return;
  if (settings_.slave_type == kSlavePrinter) {
    // No print spooler is reachable from here yet: the job fails as one
    // whose printer cannot be opened, and says so when it ends.
    error_ = kPrinter;
    return;
  }
  if (!file_) {
    file_ = std::fopen(output_name().c_str(), "ab");
    if (!file_) {
      error_ = kOpen;
      return;
    }
  }
  if (std::fputc(byte, file_) == EOF) error_ = kWrite;
}

void SlavePrintJob::finish() {
  const std::string name = output_name();
  if (file_) {
    if (std::fclose(file_) != 0 && error_ == kNone) error_ = kWrite;
    file_ = nullptr;
  }
  if (error_ != kNone) {
    std::string text;
    switch (error_) {
      case kOpen:
        text = "Could not open/create '" + name + "'";
        break;
      case kWrite:
        text = "Error writing print job for '" + name + "'";
        break;
      default:
        text = "Could not create print job for '" + name + "'";
        break;
    }
    error_ = kNone;
    vestra::messages::show_notice(kClientCaption, text, vestra::messages::Icon::Warning);
  }
  if (redirected_) {
    redirected_ = false;
    settings_.slave_type = saved_type_;
    settings_.slave_name = saved_name_;
  }
}

void SlavePrintJob::begin_redirect() {
  if (needs_finish()) finish();
  saved_type_ = settings_.slave_type;
  saved_name_ = settings_.slave_name;
  redirected_ = true;
  settings_.slave_type = kSlaveFile;
}

void SlavePrintJob::redirect_to(std::string_view file_name) {
  if (file_name.empty()) return;
  settings_.slave_name.assign(file_name);
  file_ = std::fopen(settings_.slave_name.c_str(), "w+b");
  if (!file_) {
    error_ = kOpen;
    settings_.slave_type = kSlaveDisabled;
  }
}

}  // namespace veslink
