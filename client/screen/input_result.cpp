// The end of a field input, by the way it ended.
#include "client/screen/input_result.h"

#include "client/protocol/event_reply.h"
#include "client/screen/screen_types.h"

namespace veslink {

namespace {
namespace er = exit_reason;

enum class End { Accept, Leave, Event };

struct Way {
  End end;
  std::uint32_t reason;
  bool restore;  // single-row edits show the original text again
};

// What each code does: accept the text (with a reason), leave (the event,
// or the text with a reason when the window asks for edited texts on
// leaving), or plain event.
Way way_of(std::int16_t code, std::uint32_t target) {
  if (event_code::is_hot_key(code)) return {End::Accept, er::kHotKey, false};
  switch (code) {
    case 0:
    case 9:
    case 10:
    case 13:
      return {End::Accept, 0, false};
    case -3:
    case -4:
      return {End::Accept, er::kFinish, false};
    case -8:
      return {End::Accept, er::kDown, false};
    case -20:
      return {End::Leave, er::kOtherField, true};
    case -26:
      return {End::Leave, er::kButton, true};
    case -25:
      return {End::Leave, er::kBackTab, true};
    case -10:
      return {End::Leave, er::kLeft, true};
    case -9:
      return {End::Leave, er::kRight, true};
    case -7:
      return {End::Leave, er::kUp, true};
    case -1:
    case -2:
      return {End::Event, 0, true};
    default:
      return {End::Event, 0, false};
  }
}
}  // namespace

FieldInputResult evaluate_field_input(std::int16_t code, const FieldInputContext& ctx) {
  FieldInputResult r;
  if (code == event_code::kAbandoned) return r;  // nothing is sent

  const bool click = code == -20 || code == -26;
  if (click && ctx.target == kCancelButtonTarget) code = event_code::kCancel;
  Way way = way_of(code, ctx.target);
  if (click && ctx.target == kOkButtonTarget) way = {End::Accept, er::kOkButton, false};
  if (way.end == End::Leave)
    way.end = (ctx.window_flags & window_flag::kEditedTextOnLeave) ? End::Accept : End::Event;

  auto event_only = [&](bool restore) {
    r.kind = FieldInputResult::Kind::Event;
    r.event = code;
    r.restore = restore && ctx.single_row;
    return r;
  };
  if (way.end == End::Event) return event_only(way.restore);

  const bool enter_or_tab = code == 0 || code == 9 || code == 10 || code == 13;
  const bool unchanged = ctx.text == ctx.original;
  std::string text = ctx.text;
  if (unchanged && !(ctx.input_flags & 0x1)) {
    if (!enter_or_tab) return event_only(false);
    text.clear();
  } else if (unchanged && (ctx.input_flags & 0x20) && code == -8) {
    return event_only(false);
  } else if (!unchanged && text.empty() && !ctx.original.empty()) {
    text = " ";
  }
  r.kind = FieldInputResult::Kind::Text;
  r.text = std::move(text);
  r.exit.reason = way.reason;
  if (way.reason & (er::kOtherField | er::kButton)) r.exit.target = ctx.target;
  if (way.reason & er::kHotKey) r.exit.hot_key = static_cast<std::uint16_t>(code) & 0x3FFF;
  return r;
}

}  // namespace veslink
