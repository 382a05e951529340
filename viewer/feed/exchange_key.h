// The exchange key shared with the thin client's bridge: HKCU
// "Software\REPSCOPE\<report base name>", whose values carry page counts,
// requests and replies between the two processes. The viewer's side of it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry/registry.h"

namespace repscope::feed {

inline constexpr const char kExchangeRoot[] = "Software\\REPSCOPE";
// Keys this old (by their XmlDate) belong to reports nobody reads any more.
inline constexpr std::int64_t kStaleSeconds = 2592000;  // 30 days

// A reply: the fields of "FLAG=SEND;FROMPAGE=3;...".
struct Reply {
  std::string text;
  std::string field(const std::string& name) const;  // "" when absent
  bool sent() const { return field("FLAG") == "SEND"; }
};

class ExchangeKey {
 public:
  ExchangeKey(vestra::registry::Registry& registry, std::string key_path);

  // "Software\REPSCOPE\" + base name.
  static std::string path_for(const std::string& base_name);
  const std::string& path() const { return path_; }

  // The key must exist with RequestFlag, ResponseFlag and EndFlag readable.
  std::string check();
  // Deletes at most one other report's key whose XmlDate is missing, empty,
  // or a positive time at least 30 days before `now`.
  void sweep_stale(std::int64_t now);

  // Page count and end mark ("57END"). `exists` is false once the key is gone.
  std::string read_page_count(int& pages, bool& finished, bool* exists = nullptr);
  // Empties ServerRequest after reading it; `show` when it asked for
  // server=SHOWWINDOW. `exists` is false once the key is gone.
  std::string read_server_request(bool& show, bool* exists = nullptr);
  std::string set_end_flag(bool deleted);
  std::string remove();

  // Writes Request, then RequestFlag "1"; `posted` is false (and no message)
  // while the thin client has not taken the previous request.
  std::string post_request(const std::string& request, bool& posted);
  // `ready` when ResponseFlag is exactly 1; then the reply is read and the
  // flag cleared.
  std::string poll_reply(Reply& reply, bool& ready);

  // Makes the key as the thin client would (for bundle files): flags "0",
  // TOTALPAGE "<pages>END", EndFlag "0", XmlDate `now`.
  std::string create(int pages, std::int64_t now);

 private:
  std::string get(const char* name, std::string& value, bool* missing = nullptr);

  vestra::registry::Registry& registry_;
  std::string path_;
};

}  // namespace repscope::feed
