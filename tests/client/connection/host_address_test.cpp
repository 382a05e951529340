// Host texts: name and port, the port choice and source routes.
#include "client/connection/host_address.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

namespace veslink {
namespace {

TEST(HostText, NameAndPortAreSplitByTheRules) {
  struct Case {
    const char* text;
    const char* name;
    const char* port;
  } cases[] = {
      {"myhost", "myhost", ""},
      {"myhost:2001", "myhost", "2001"},
      {"myhost:-2001", "myhost", "-2001"},
      {"myhost/telnets", "myhost", "telnets"},
      {"myhost\\23", "myhost", "23"},
      {"a:b:23", "a:b", "23"},
      {"myhost/", "myhost", ""},
      {"h/1:2", "h", "1:2"},
      {"[::1]:2323", "::1", "2323"},
      {"[fe80::1]", "fe80::1", ""},
      {"10.0.0.1:23", "10.0.0.1", "23"},
  };
  for (const Case& c : cases) {
    HostText h = split_host_text(c.text);
    EXPECT_EQ(h.name, c.name) << c.text;
    EXPECT_EQ(h.port_text, c.port) << c.text;
  }
}

TEST(HostText, PortChoice) {
  const ServiceLookup services = [](const std::string& name) -> std::optional<int> {
    if (name == "telnet") return 23;
    if (name == "smtp") return 25;
    return std::nullopt;  // no "vestelnet" on this machine
  };
  struct Case {
    const char* port_text;
    bool secure;
    bool valid;
    int port;
    bool offers;
  } cases[] = {
      {"", false, true, 23, true},
      {"", true, true, 6999, true},
      {"2001", false, true, 2001, false},
      {"-2001", false, true, 2001, true},
      {"smtp", false, true, 25, false},
      {"telnets", true, true, 992, false},
      {"http", false, true, 80, false},
      {"https", false, true, 443, false},
      {"ssl-telnet", false, true, 151, false},
      {"-telnets", false, true, 992, true},
      {"0", false, false, 0, false},
      {"70000", false, false, 0, false},
      {"nosuchservice", false, false, 0, false},
      {"-", false, false, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.port_text);
    auto choice = choose_port(c.port_text, c.secure, services);
    ASSERT_EQ(choice.has_value(), c.valid);
    if (!c.valid) continue;
    EXPECT_EQ(choice->port, c.port);
    EXPECT_EQ(choice->initial_offers, c.offers);
  }
  EXPECT_EQ(choose_port("", true,
                        [](const std::string& n) -> std::optional<int> {
                          return n == "vestelnet" ? std::optional<int>(7000) : std::nullopt;
                        })
                ->port,
            7000);
}

TEST(HostText, SourceRoutes) {
  EXPECT_TRUE(is_source_route("@gw@host"));
  EXPECT_TRUE(is_source_route("!@gw@host"));
  EXPECT_FALSE(is_source_route("host"));
  auto loose = parse_source_route("@gw1@gw2@host");
  ASSERT_TRUE(loose.has_value());
  EXPECT_FALSE(loose->strict);
  EXPECT_EQ(loose->hops, (std::vector<std::string>{"gw1", "gw2", "host"}));
  EXPECT_TRUE(parse_source_route("!@gw@host")->strict);
  for (const char* bad : {"@", "@gw@@host", "!host", "@a@b@c@d@e@f@g@h@i@j"})
    EXPECT_FALSE(parse_source_route(bad).has_value()) << bad;

  const std::uint32_t a = inet_addr("10.0.0.1"), b = inet_addr("192.168.1.2");
  EXPECT_EQ(source_route_option(false, {a, b}),
            (std::vector<std::uint8_t>{1, 0x83, 11, 4, 10, 0, 0, 1, 192, 168, 1, 2}));
  EXPECT_EQ(source_route_option(true, {a})[1], 0x89);
}

}  // namespace
}  // namespace veslink
