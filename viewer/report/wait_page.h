// The "Loading" page shown while a live report has no page yet.
#pragma once

#include <string>

namespace repscope::report {

extern const char kWaitPageText[];

// Writes the wait page; false when it cannot be written (nothing is shown).
bool write_wait_page(const std::string& path);

}  // namespace repscope::report
