// The event table of the replies.
#include "client/protocol/event_reply.h"

#include <string>

#include "client/protocol/interpreter.h"

namespace veslink {

namespace {
std::string num(long long v) {
  return std::to_string(v);
}

// A click reply: with a target "<prefix><target>I<col>X<row>Y", without one
// "<bare><col>X<row>Y".
std::string click(const EventValues& v, const char* with_target, const char* without_target) {
  std::string out = "\x1b";
  if (v.target != 0) {
    out += with_target;
    out += num(v.target) + "I";
  } else {
    out += without_target;
  }
  out += num(v.click_column) + "X" + num(v.click_row) + "Y\r";
  return out;
}

void send_sort_list(Interpreter& in) {
  HostReplies& r = in.replies;
  r.send("\x1bno\r");
  for (SortRequestColumn& c : in.events.sort) {
    if (c.column == 0) break;
    r.send("\x1bno" + num(c.column) + "I" + num(c.direction) + "F\r");
  }
  r.send("\x1bno1F\r");
  in.events.sort = {};
}

void send_filter_list(Interpreter& in) {
  HostReplies& r = in.replies;
  const int level = in.programs.level();
  switch (in.events.filter_mode) {
    case 1:
      r.send("\x1bnf1S\r");
      break;
    case 2:
      r.send("\x1bnf2S\r");
      break;
    default:
      r.send("\x1bnf\r");
      break;
  }
  for (const FilterRequestEntry& e : in.events.filters) {
    std::string out = "\x1bnf" + num(e.column) + "I";
    if (e.highlight) {
      // Hosts below level 3 know nothing of highlight rules.
      if (level < 3) continue;
      out += num(e.op) + "F" + num(e.foreground) + "C" + num(e.background) + "B;";
    } else {
      const unsigned op = level < 3 ? (e.op & ~0x20u) : e.op;
      out += num(op) + "F;";
    }
    out.append(e.value.c_str());  // up to the first zero byte
    out += '\r';
    r.send(out);
  }
  in.events.filters.clear();
  r.send("\x1bnf1F\r");
}
}  // namespace

bool send_event(Interpreter& in, std::int16_t code) {
  HostReplies& r = in.replies;
  const EventValues& v = in.events;
  const int level = in.programs.level();
  const bool gui2 = in.gui_mode && level >= 2;
  auto refuse = [&in] {
    if (in.ui.bell) in.ui.bell();
    return false;
  };
  auto when = [&](bool condition, const std::string& bytes) {
    if (!condition) return refuse();
    r.send(bytes);
    return true;
  };
  auto send = [&](const std::string& bytes) {
    r.send(bytes);
    return true;
  };

  if (event_code::is_hot_key(code))
    return send("\x1bnh" + num(static_cast<std::uint16_t>(code) & 0x3FFF) + "S\r");

  if (code >= 0) {
    switch (code) {
      case 0:
        return send("\r");
      case 3:
        return send("\x1bQ");
      case 4:
        return send("\x1bW");
      case 5:
        return send("\x1bR");
      default:
        // Characters are bytes; a code beyond a byte has no form to send.
        if (code > 0xFF) return false;
        r.send_byte(static_cast<std::uint8_t>(code));
        return true;
    }
  }

  switch (code) {
    case -1:
      return send("\x1e");
    case -2:
      return send("\x1bJ");
    case -3:
      return send(gui2 ? "\x1b"
                         "F"
                       : "\x1bK");
    case -4:
      return send("\x1bK");
    case -5:
      return send("\x01@\r");
    case -6:
      return send(
          "\x01"
          "B\r");
    case -7:
      return send("\x0b");
    case -8:
      return send("\x0a");
    case -9:
      return send("\x0c");
    case -10:
      return send("\x16");
    case -11:
      return send(
          "\x01"
          "D\r");
    case -12:
      return send(
          "\x01"
          "E\r");
    case -14:
      return send("\x01H\r");
    case -15:
      return send("\x01I\r");
    case -16:
      return when(gui2, "\x1bnk3S\r");
    case -18:
      return send("\x01K\r");
    case -19:
      if (v.target == 0) return false;
      return send("\x1bns" + num(v.target) + "I\r");
    case -20:
      return send(click(v, "nmp", "nmp"));
    case -23:
      return send(click(v, "nmd", "nmd"));
    case -24:
      if (!in.events.launch_pending) return false;
      in.programs.mark_launched();
      in.events.launch_pending = false;
      return send("\x1bnl;" + in.events.launch_command + "\r");
    case -25:
      return send("\x1bI");
    case -26:
      return send(click(v, "nb", "nmu"));
    case -27:
      return send("\x01G\r");
    case -28:
      return true;
    case -29:
      return send("\x1bnt" + num(v.target) + "I" + num(v.selector) + "S\r");
    case -30:
      return send(
          "\x01"
          "A\r");
    case -31:
      return send(
          "\x01"
          "F\r");
    case -32:
      return send("\x1bnc" + num(v.target) + "I\r");
    case -33:
      return when(gui2, "\x1bM");
    case -34:
      send_sort_list(in);
      return true;
    case -35:
      send_filter_list(in);
      return true;
    case -36:
      return when(gui2, "\x1bS");
    case -37:
      return when(gui2,
                  "\x1b"
                  "E");
    case -38:
      return when(gui2, "\x1bX");
    case -39:
      return send(level >= 2 ? click(v, "nmr", "nmr") : click(v, "nb", "nmu"));
    case -40:
      return send(level >= 2 ? click(v, "nmR", "nmR") : click(v, "nmd", "nmd"));
    case -41:
      return send("\x1bnk2S\r");
    case -42:
      return when(gui2, "\x1bN");
    case -43:
      return send("\x1bna" + num(v.aggregate_column) + "I\r");
    case -44:
      return when(in.gui_mode, "\x1bnk5S\r");
    case -45:
      return when(in.gui_mode, "\x1bnk4S\r");
    case -47:
      return when(gui2, "\x1bnk7S\r");
    case -48:
      return when(gui2, "\x1bnk8S\r");
    default:
      // -13, -17, -21, -22, -46 and the rest have no reply.
      return false;
  }
}

}  // namespace veslink
