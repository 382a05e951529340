// The host text of a connection ("myhost", "myhost:2001", "myhost:-2001",
// "myhost/telnets", "a:b:23", "@hop@host") taken apart: host name, port or
// service, whether the initial telnet offers are sent, and source routes.
// Plain C++; name and service look-ups are passed in.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veslink {

struct HostText {
  std::string name;       // host name, dotted address or source route
  std::string port_text;  // empty when none was given
};

// The first '/' or '\' ends the name and starts the port; so does a ':' that
// is not followed by another ':' (with several colons the last one counts).
// "[v6 address]:port" keeps the colons of the address.
HostText split_host_text(std::string_view host);

struct PortChoice {
  int port = 0;
  bool initial_offers = true;
};

// Looks up a TCP service by name; nothing when unknown.
using ServiceLookup = std::function<std::optional<int>(const std::string&)>;
std::optional<int> system_service_port(const std::string& name);  // getservbyname

// The port of a connection: a given port text ('-' first switches the initial
// offers on, which an explicit port otherwise goes without), else the service
// "vestelnet" (6999) for telnet over TLS or "telnet" (23). Nothing for a port
// text that is neither a number nor a known service.
std::optional<PortChoice> choose_port(const std::string& port_text, bool secure,
                                      const ServiceLookup& lookup);

// A source route "@hop@...@host" (loose) or "!@hop@...@host" (strict): the
// hops in order, the last being the host to connect to.
struct SourceRoute {
  bool strict = false;
  std::vector<std::string> hops;
};
bool is_source_route(std::string_view name);
std::optional<SourceRoute> parse_source_route(std::string_view name);

// The IP option bytes of a source route through IPv4 addresses (network byte
// order, the destination last): NOP, LSRR or SSRR, length, pointer, hops.
std::vector<std::uint8_t> source_route_option(bool strict,
                                              const std::vector<std::uint32_t>& addresses);

}  // namespace veslink
