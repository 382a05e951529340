// The end-of-print detector and the job hand-over.
#include "client/protocol/print_routing.h"

namespace veslink {

bool PrintRouting::route(std::uint8_t byte) {
  if (mode_ > 0) {
    if (mode_ == 3) {
      if (byte == static_cast<std::uint8_t>(kEndSequence[matched_])) {
        if (++matched_ == kEndSequence.size()) {
          matched_ = 0;
          mode_ = 0;
        }
        return true;
      }
      // Not the end after all: what looked like its start was print data.
      for (std::size_t i = 0; i < matched_; ++i)
        write(static_cast<std::uint8_t>(kEndSequence[i]));
      matched_ = 0;
    } else if (mode_ == 2 && byte == 0x14) {
      mode_ = 0;
      return true;
    }
    write(byte);
    return true;
  }
  // Printing has stopped: the job is closed, now or after the delay.
  if (sink_ && sink_->needs_finish()) sink_->finish();
  job_touched_ = false;
  return false;
}

void PrintRouting::redirect_begin() {
  if (sink_) sink_->begin_redirect();
  job_touched_ = true;
}

void PrintRouting::redirect_to(std::string_view file_name) {
  mode_ = 2;
  job_touched_ = true;
  if (sink_) sink_->redirect_to(file_name);
}

}  // namespace veslink
