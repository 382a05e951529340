// The entity decoder that turns report text (the title, HTML text) back into
// plain UTF-8: the named Latin-1 entities, the XML ones and numeric references.
#pragma once

#include <string>
#include <string_view>

namespace repscope::report {

// Replaces every known entity and numeric reference; anything else is kept
// as it stands. "&nbsp;" becomes a blank and "&#153;" the trade mark sign.
std::string decode_entities(std::string_view text);

// A code point as UTF-8.
void append_utf8(std::string& out, unsigned long code_point);

}  // namespace repscope::report
