// The registry text forms of the settings: interface, booleans, fonts, macros
// and the per-value reading rules.
#include "client/settings/setting_values.h"

#include <gtest/gtest.h>

#include <functional>

namespace veslink {
namespace {

TEST(InterfaceValue, ReadsEveryForm) {
  struct Case {
    const char* text;
    int interface_code;
    const char* host;
    int baud;
    int data_bits;
    int parity;
    int stop_bits;
    int flow;
  } cases[] = {
      // The whole value is lower-cased, host included.
      {"TELNET,MyHost", INTERFACE_TELNET, "myhost", 56000, 8, kParityNone, kStopOne, kFlowXonXoff},
      {"ssltelnet,Secure.Example:992", INTERFACE_SSL_TELNET, "secure.example:992", 56000, 8, 0, 0,
       4},
      {"telnet", INTERFACE_TELNET, "", 56000, 8, 0, 0, 4},
      {"telnet,", INTERFACE_TELNET, "", 56000, 8, 0, 0, 4},
      {"com3,19200,7,e,2,,dtrdsr,rtscts", 3, "", 19200, 7, kParityEven, kStopTwo,
       kFlowDtrDsr | kFlowRtsCts},
      {"com2,9600,8,n,1,xonxoff,,", 2, "", 9600, 8, kParityNone, kStopOne, kFlowXonXoff},
      {"COM5,256K,,,1.5,x", 5, "", 256000, 8, kParityNone, kStopOneHalf, kFlowXonXoff},
      {"com8,300,7,Mark,1,n,d,r", 8, "", 300, 7, kParityMark, kStopOne, kFlowDtrDsr | kFlowRtsCts},
      // Unrecognised fields leave their setting; without a fifth field the
      // flow flags stay as they were.
      {"com4,57600,9,q,3", 4, "", 56000, 8, kParityNone, kStopOne, kFlowXonXoff},
      {"com1", 1, "", 56000, 8, 0, 0, 4},
      // Not a port 1..8 or not an interface at all: nothing changes.
      {"com9,9600,7,e,2,,d,r", INTERFACE_TELNET, "", 56000, 8, 0, 0, 4},
      {"com0", INTERFACE_TELNET, "", 56000, 8, 0, 0, 4},
      {"com10", INTERFACE_TELNET, "", 56000, 8, 0, 0, 4},
      {"serial,host", INTERFACE_TELNET, "", 56000, 8, 0, 0, 4},
      {"", INTERFACE_TELNET, "", 56000, 8, 0, 0, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ClientSettings s;
    parse_interface_value(s, c.text);
    EXPECT_EQ(s.interface_code, c.interface_code);
    EXPECT_EQ(s.current_host, c.host);
    EXPECT_EQ(s.default_host, c.host);
    EXPECT_EQ(s.baud, c.baud);
    EXPECT_EQ(s.data_bits, c.data_bits);
    EXPECT_EQ(s.parity, c.parity);
    EXPECT_EQ(s.stop_bits, c.stop_bits);
    EXPECT_EQ(s.flow, c.flow);
    EXPECT_EQ(s.secure_suffix, "");  // this reader never sets it
  }
}

TEST(InterfaceValue, HostIsCutToItsLimit) {
  ClientSettings s;
  parse_interface_value(s, "telnet," + std::string(80, 'h'));
  EXPECT_EQ(s.current_host, std::string(kHostMax, 'h'));
  EXPECT_EQ(s.default_host, std::string(kHostMax, 'h'));
}

TEST(InterfaceValue, WrittenFormsReadBackTheSame) {
  ClientSettings com2;
  com2.interface_code = 2;
  com2.baud = 9600;
  com2.flow = kFlowXonXoff;
  EXPECT_EQ(format_interface_value(com2), "com2,9600,8,n,1,xonxoff,,");

  ClientSettings odd;
  odd.interface_code = 7;
  odd.baud = 57600;  // not on the list: the field stays empty
  odd.data_bits = 7;
  odd.parity = kParitySpace;
  odd.stop_bits = kStopOneHalf;
  odd.flow = kFlowDtrDsr | kFlowRtsCts;
  EXPECT_EQ(format_interface_value(odd), "com7,,7,s,1.5,,dtrdsr,rtscts");

  ClientSettings back;
  parse_interface_value(back, format_interface_value(odd));
  EXPECT_EQ(back.interface_code, 7);
  EXPECT_EQ(back.data_bits, 7);
  EXPECT_EQ(back.parity, kParitySpace);
  EXPECT_EQ(back.stop_bits, kStopOneHalf);
  EXPECT_EQ(back.flow, kFlowDtrDsr | kFlowRtsCts);

  ClientSettings tcp;
  tcp.interface_code = INTERFACE_SSL_TELNET;
  tcp.default_host = "host.example";
  EXPECT_EQ(format_interface_value(tcp), "ssltelnet,host.example");
}

TEST(BoolSetting, Texts) {
  struct Case {
    const char* text;
    bool value;
  } cases[] = {
      {"true", true}, {"TRUE", true},   {"Yes", true}, {"1", true},       {"12", true},
      {"007", true},  {"false", false}, {"No", false}, {"0", false},      {"0x1", false},
      {"-1", false},  {"", false},      {"on", false}, {"truely", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(parse_bool_setting(c.text), c.value) << c.text;
}

TEST(FontValue, ReadsFaceAndUpToFiveNumbers) {
  const FontSpec base{"Courier New", 16, 400, 1, 0x31, 8};
  struct Case {
    const char* text;
    FontSpec expected;
  } cases[] = {
      {"Lucida Console,18,700,0,49,9", {"Lucida Console", 18, 700, 0, 49, 9}},
      {"Monospace,-12", {"Monospace", -12, 400, 1, 0x31, 8}},
      {"Arial", {"Arial", 16, 400, 1, 0x31, 8}},
      {",20,700", {"Courier New", 20, 700, 1, 0x31, 8}},
      {"X,12,bold,0", {"X", 12, 400, 1, 0x31, 8}},  // a word ends the numbers
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij,10",
       {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcde", 10, 400, 1, 0x31, 8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    FontSpec f = base;
    parse_font_value(f, c.text);
    EXPECT_EQ(f, c.expected);
  }
  EXPECT_EQ(format_font_value({"Courier New", 16, 400, 1, 0x31, 8}), "Courier New,16,400,1,49,8");
}

TEST(MacroValue, NamesSelectKeyAndModifiers) {
  struct Case {
    const char* name;
    bool valid;
    int key;
    int modifiers;
  } cases[] = {
      {"macro_f1", true, 112, 0},   {"MACRO_SF12", true, 123, 1}, {"macro_cf16", true, 127, 2},
      {"macro_csf5", true, 116, 3}, {"macro_sf05", true, 116, 1}, {"macro_f0", false, 0, 0},
      {"macro_f17", false, 0, 0},   {"macro_f5x", false, 0, 0},   {"macro_sf", false, 0, 0},
      {"macro_xf5", false, 0, 0},   {"macro_f 5", false, 0, 0},   {"macro_f-1", false, 0, 0},
      {"macro_f100", false, 0, 0},  {"macros_f1", false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto parsed = parse_macro_name(c.name);
    ASSERT_EQ(parsed.has_value(), c.valid);
    if (!c.valid) continue;
    EXPECT_EQ(parsed->key, c.key);
    EXPECT_EQ(parsed->modifiers, c.modifiers);
    EXPECT_EQ(parse_macro_name(macro_value_name(c.key, c.modifiers))->key, c.key);
  }
  EXPECT_EQ(macro_value_name(116, 3), "macro_csf5");
  EXPECT_EQ(macro_value_name(123, 1), "macro_sf12");
}

TEST(MacroValue, CodesAreCappedAt200AndNewestMacroComesFirst) {
  EXPECT_EQ(parse_macro_codes("97,98,99,0,-3"), (std::vector<std::int16_t>{97, 98, 99, 0, -3}));
  std::string many;
  for (int i = 0; i < 250; ++i)
    many += (i ? "," : "") + std::to_string(i);
  EXPECT_EQ(parse_macro_codes(many).size(), kMacroCodesMax);
  EXPECT_EQ(format_macro_codes({97, 0, -33}), "97,0,-33");

  ClientSettings s;
  apply_setting(s, "macro_sf1", "1,2");
  apply_setting(s, "macro_cf2", "3");
  apply_setting(s, "Macro_SF1", "4");  // the same key again replaces it
  ASSERT_EQ(s.macros.size(), 2u);
  EXPECT_EQ(s.macros[0], (KeyMacro{112, 1, {4}}));
  EXPECT_EQ(s.macros[1], (KeyMacro{113, 2, {3}}));
}

TEST(ApplySetting, ReadingRulesOfEachValue) {
  struct Case {
    const char* name;
    std::string text;
    std::function<bool(const ClientSettings&)> check;
  } cases[] = {
      {"login_timeout", "5", [](auto& s) { return s.login_timeout == 10 && s.calc_prec == 6; }},
      {"login_timeout", "500", [](auto& s) { return s.login_timeout == 120 && s.calc_prec == 6; }},
      {"login_timeout", "45", [](auto& s) { return s.login_timeout == 45; }},
      {"calc_prec", "150", [](auto& s) { return s.calc_prec == 0; }},
      {"calc_prec", "-1", [](auto& s) { return s.calc_prec == 0; }},
      {"calc_prec", "12", [](auto& s) { return s.calc_prec == 12; }},
      {"keep_alive_time", "-5", [](auto& s) { return s.keep_alive_minutes == 0; }},
      {"keep_alive_time", "15", [](auto& s) { return s.keep_alive_minutes == 15; }},
      {"confirm_close", "0", [](auto& s) { return !s.confirm_close; }},
      {"Confirm_Close", "no", [](auto& s) { return !s.confirm_close; }},
      {"mail_notify", "yes", [](auto& s) { return s.mail_notify; }},
      {"vestra_vscroll", "false", [](auto& s) { return !s.navigation_control; }},
      {"slave_type", "Printer", [](auto& s) { return s.slave_type == kSlavePrinter; }},
      {"slave_type", "FILE", [](auto& s) { return s.slave_type == kSlaveFile; }},
      {"slave_type", "queue", [](auto& s) { return s.slave_type == kSlaveDisabled; }},
      {"slave_delay", "30", [](auto& s) { return s.slave_delay == 30; }},
      {"slave_name", std::string(300, 'n'), [](auto& s) { return s.slave_name.size() == 259; }},
      {"host_list", std::string(250, 'h'), [](auto& s) { return s.host_list.size() == 199; }},
      {"def_username", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789",
       [](auto& s) { return s.def_username == "ABCDEFGHIJKLMNOPQRSTUVWXYZ012"; }},
      {"sslcert", std::string(100, 'c'), [](auto& s) { return s.cert_file.size() == 79; }},
      {"sslkey", "/etc/key.pem", [](auto& s) { return s.key_file == "/etc/key.pem"; }},
      {"font_norm", "DejaVu Sans,14",
       [](auto& s) { return s.normal_font.face == "DejaVu Sans" && s.normal_font.height == 14; }},
      {"font_fixed", "Mono,20", [](auto& s) { return s.fixed_font.face == "Mono"; }},
      {"no_such_value", "1", [](auto& s) { return s.login_timeout == 0 && s.confirm_close; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + "=" + c.text.substr(0, 40));
    ClientSettings s;
    apply_setting(s, c.name, c.text);
    EXPECT_TRUE(c.check(s));
  }
}

}  // namespace
}  // namespace veslink
