// The most-recently-used host list: a comma-separated string, newest first,
// at most 199 characters, where ";" inside an entry starts a comment.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veslink {

// The list after `host` was used, or nothing when the host already leads it
// (then nothing is written either).
std::optional<std::string> updated_host_list(std::string_view list, std::string_view host);

// The entries as the login dialog lists them: cut at ";", empty ones skipped.
std::vector<std::string> host_list_entries(std::string_view list, std::size_t max_length);

}  // namespace veslink
