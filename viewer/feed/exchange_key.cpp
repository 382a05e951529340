// The exchange key's operations, with the viewer's messages.
#include "viewer/feed/exchange_key.h"

#include <cstdlib>
#include <vector>

namespace repscope::feed {

using vestra::registry::Hive;

std::string Reply::field(const std::string& name) const {
  const std::string key = name + "=";
  const std::size_t at = text.find(key);
  if (at == std::string::npos) return std::string();
  const std::size_t start = at + key.size();
  const std::size_t end = text.find(';', start);
  // A field without its ";" counts as absent.
  if (end == std::string::npos) return std::string();
  return text.substr(start, end - start);
}

ExchangeKey::ExchangeKey(vestra::registry::Registry& registry, std::string key_path)
    : registry_(registry), path_(std::move(key_path)) {}

std::string ExchangeKey::path_for(const std::string& base_name) {
  return std::string(kExchangeRoot) + "\\" + base_name;
}

std::string ExchangeKey::get(const char* name, std::string& value, bool* missing) {
  auto r = registry_.get_string(Hive::CurrentUser, path_, name, value);
  if (missing) *missing = r.not_found();
  return r.ok() ? std::string() : "failed";
}

std::string ExchangeKey::check() {
  if (path_.empty()) return "Can't get server registry path.";
  if (!registry_.key_exists(Hive::CurrentUser, path_).ok()) return "Can't registry server path.";
  std::string value;
  if (!get("RequestFlag", value).empty()) return "Can't get request flag.";
  if (!get("ResponseFlag", value).empty()) return "Can't get response flag.";
  if (!get("EndFlag", value).empty()) return "Can't get end-flag.";
  return std::string();
}

void ExchangeKey::sweep_stale(std::int64_t now) {
  std::vector<std::string> keys;
  if (!registry_.list_subkeys(Hive::CurrentUser, kExchangeRoot, keys).ok()) return;
  const std::string own = vestra::registry::fold_name(path_);
  for (const std::string& name : keys) {
    const std::string key = std::string(kExchangeRoot) + "\\" + name;
    if (vestra::registry::fold_name(key) == own) continue;
    std::string date;
    auto r = registry_.get_string(Hive::CurrentUser, key, "XmlDate", date);
    if (r.failed()) continue;
    bool stale = r.not_found() || date.empty();
    if (!stale) {
      char* end = nullptr;
      const long long when = std::strtoll(date.c_str(), &end, 10);
      // 0 and texts that are no number are kept.
      stale = end && *end == '\0' && when > 0 && now - when >= kStaleSeconds;
    }
    if (stale) {
      registry_.delete_key(Hive::CurrentUser, key);
      return;
    }
  }
}

std::string ExchangeKey::read_page_count(int& pages, bool& finished, bool* exists) {
  std::string total;
  bool missing = false;
  if (exists) *exists = true;
  if (!get("TOTALPAGE", total, &missing).empty()) {
    if (missing && exists && !registry_.key_exists(Hive::CurrentUser, path_).ok()) {
      *exists = false;
      return std::string();
    }
    return "Can't set response flag.";
  }
  pages = std::atoi(total.c_str());
  finished = total.size() >= 3 && total.compare(total.size() - 3, 3, "END") == 0;
  return std::string();
}

std::string ExchangeKey::read_server_request(bool& show, bool* exists) {
  show = false;
  if (exists) *exists = true;
  std::string request;
  bool missing = false;
  if (!get("ServerRequest", request, &missing).empty()) {
    if (missing && exists && !registry_.key_exists(Hive::CurrentUser, path_).ok()) {
      *exists = false;
      return std::string();
    }
    return "Can't get server request.";
  }
  if (request.empty()) return std::string();
  if (!registry_.set_string(Hive::CurrentUser, path_, "ServerRequest", "").ok()) {
    return "Can't get server request.";
  }
  const std::size_t at = request.find("server=");
  if (at == std::string::npos) return std::string();
  const std::size_t start = at + 7;
  const std::size_t end = request.find(';', start);
  const std::string word =
      request.substr(start, end == std::string::npos ? std::string::npos : end - start);
  show = word == "SHOWWINDOW";
  return std::string();
}

std::string ExchangeKey::set_end_flag(bool deleted) {
  if (!registry_.set_string(Hive::CurrentUser, path_, "EndFlag", deleted ? "2" : "1").ok()) {
    return "Can't set end-flag.";
  }
  return std::string();
}

std::string ExchangeKey::remove() {
  if (registry_.delete_key(Hive::CurrentUser, path_).failed())
    return "Can't close server registry.";
  return std::string();
}

std::string ExchangeKey::post_request(const std::string& request, bool& posted) {
  posted = false;
  std::string flag;
  if (!get("RequestFlag", flag).empty()) return "Can't get request flag.";
  if (std::atoi(flag.c_str()) != 0) return std::string();  // the thin client is busy
  if (!registry_.set_string(Hive::CurrentUser, path_, "Request", request).ok()) {
    return "Can't get request.";
  }
  if (!registry_.set_string(Hive::CurrentUser, path_, "RequestFlag", "1").ok()) {
    return "Can't set request flag.";
  }
  posted = true;
  return std::string();
}

std::string ExchangeKey::poll_reply(Reply& reply, bool& ready) {
  ready = false;
  std::string flag;
  if (!get("ResponseFlag", flag).empty()) return "Can't get response flag.";
  if (flag != "1") return std::string();
  if (!get("Response", reply.text).empty()) return "Can't set response.";
  if (!registry_.set_string(Hive::CurrentUser, path_, "ResponseFlag", "0").ok()) {
    return "Can't set response flag.";
  }
  ready = true;
  return std::string();
}

std::string ExchangeKey::create(int pages, std::int64_t now) {
  if (path_.empty()) return "Can't find server registry path.";
  registry_.delete_key(Hive::CurrentUser, path_);
  auto set = [this](const char* name, const std::string& value) {
    return registry_.set_string(Hive::CurrentUser, path_, name, value).ok();
  };
  std::string message;
  if (!set("RequestFlag", "0") || !set("Request", "") || !set("ResponseFlag", "0") ||
      !set("Response", "")) {
    message = "Can't create RequestFlag.";
  } else if (!set("TOTALPAGE", std::to_string(pages) + "END")) {
    message = "Can't create Total pages.";
  } else if (!set("EndFlag", "0")) {
    message = "Can't create EndFlag.";
  } else if (!set("ServerRequest", "") || !set("XmlDate", std::to_string(now))) {
    message = "Can't create Server request.";
  }
  if (!message.empty()) registry_.delete_key(Hive::CurrentUser, path_);
  return message;
}

}  // namespace repscope::feed
