// Host text rules of a connection.
#include "client/connection/host_address.h"

#include <netdb.h>
#include <netinet/in.h>

#include "client/settings/text_rules.h"

namespace veslink {

HostText split_host_text(std::string_view host) {
  HostText out;
  std::size_t start = 0;
  if (!host.empty() && host[0] == '[') {
    const std::size_t close = host.find(']');
    if (close != std::string_view::npos) {
      out.name = std::string(host.substr(1, close - 1));
      start = close + 1;
      if (start < host.size() && (host[start] == ':' || host[start] == '/' || host[start] == '\\'))
        out.port_text = std::string(host.substr(start + 1));
      return out;
    }
  }
  for (std::size_t i = start; i < host.size(); ++i) {
    const char c = host[i];
    const bool ends_name =
        c == '/' || c == '\\' || (c == ':' && host.find(':', i + 1) == std::string_view::npos);
    if (ends_name) {
      out.name = std::string(host.substr(0, i));
      out.port_text = std::string(host.substr(i + 1));
      return out;
    }
  }
  out.name = std::string(host);
  return out;
}

std::optional<int> system_service_port(const std::string& name) {
  if (const servent* s = getservbyname(name.c_str(), "tcp"))
    return ntohs(static_cast<uint16_t>(s->s_port));
  return std::nullopt;
}

std::optional<PortChoice> choose_port(const std::string& port_text, bool secure,
                                      const ServiceLookup& lookup) {
  PortChoice choice;
  if (port_text.empty()) {
    const char* service = secure ? "vestelnet" : "telnet";
    choice.port = lookup(service).value_or(secure ? 6999 : 23);
    choice.initial_offers = true;
    return choice;
  }
  std::string_view text = port_text;
  choice.initial_offers = false;
  if (text[0] == '-') {
    text.remove_prefix(1);
    choice.initial_offers = true;
  }
  if (all_digits(text)) {
    const long number = parse_decimal(text);
    if (number > 0 && number <= 65535) {
      choice.port = static_cast<int>(number);
      return choice;
    }
  }
  if (text.empty()) return std::nullopt;
  if (std::optional<int> port = lookup(std::string(text))) {
    choice.port = *port;
    return choice;
  }
  struct Known {
    const char* name;
    int port;
  };
  static constexpr Known kKnown[] = {
      {"http", 80}, {"https", 443}, {"ssl-telnet", 151}, {"telnets", 992}};
  for (const Known& k : kKnown) {
    if (text == k.name) {
      choice.port = k.port;
      return choice;
    }
  }
  return std::nullopt;
}

bool is_source_route(std::string_view name) {
  return !name.empty() && (name[0] == '@' || name[0] == '!');
}

std::optional<SourceRoute> parse_source_route(std::string_view name) {
  SourceRoute route;
  if (!name.empty() && name[0] == '!') {
    route.strict = true;
    name.remove_prefix(1);
  }
  if (name.empty() || name[0] != '@') return std::nullopt;
  name.remove_prefix(1);
  while (true) {
    const std::size_t at = name.find('@');
    const std::string_view hop = name.substr(0, at);
    if (hop.empty()) return std::nullopt;
    route.hops.emplace_back(hop);
    if (at == std::string_view::npos) break;
    name.remove_prefix(at + 1);
  }
  // The IP header has room for nine addresses.
  if (route.hops.size() > 9) return std::nullopt;
  return route;
}

std::vector<std::uint8_t> source_route_option(bool strict,
                                              const std::vector<std::uint32_t>& addresses) {
  std::vector<std::uint8_t> option{1 /* NOP keeps the addresses aligned */,
                                   static_cast<std::uint8_t>(strict ? 0x89 : 0x83),
                                   static_cast<std::uint8_t>(3 + 4 * addresses.size()), 4};
  for (std::uint32_t a : addresses) {
    const std::uint32_t host_order = ntohl(a);
    for (int shift = 24; shift >= 0; shift -= 8)
      option.push_back(static_cast<std::uint8_t>((host_order >> shift) & 0xFF));
  }
  return option;
}

}  // namespace veslink
