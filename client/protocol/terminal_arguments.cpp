// The character-terminal commands that read argument bytes after their
// sequence: cursor addressing, attributes, graphics, repeats, the alternate
// sets, function-key programming and the sequences whose arguments are read
// only to keep the stream in step.
#include <new>

#include "client/protocol/handlers.h"
#include "client/protocol/interpreter.h"
#include "client/settings/client_texts.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/function_keys.h"
#include "platform/messages/message_box.h"

namespace veslink::handlers {

namespace {
constexpr std::uint8_t kDel = 0x7F;

void begin(Interpreter& in, ByteHook hook) {
  in.args = ArgumentState{};
  in.byte_hook = hook;
}

void done(Interpreter& in) {
  in.byte_hook = nullptr;
}

bool is_digit(std::uint8_t b) {
  return b >= '0' && b <= '9';
}

// ESC = r c: row and column offset by 32.
void cursor_address_hook(Interpreter& in, std::uint8_t b) {
  in.args.bytes[in.args.count++] = b;
  if (in.args.count < 2) return;
  done(in);
  in.screen_touched = true;
  in.page().place_cursor(in.args.bytes[0] - 32, in.args.bytes[1] - 32);
}

// ESC a rows R cols C: decimal, 1-based, up to 3 digits each. Any other
// byte ends the command without moving.
void cursor_decimal_hook(Interpreter& in, std::uint8_t b) {
  ArgumentState& a = in.args;
  const char end = a.stage == 0 ? 'R' : 'C';
  if (is_digit(b)) {
    if (a.count < 3) {
      int& value = a.stage == 0 ? a.row : a.column;
      value = value * 10 + (b - '0');
      ++a.count;
    }
    return;
  }
  if (b != end) {
    done(in);
    return;
  }
  if (a.stage == 0) {
    a.stage = 1;
    a.count = 0;
    return;
  }
  done(in);
  in.screen_touched = true;
  in.page().place_cursor(a.row - 1, a.column - 1);
}

// ESC G attr: the attribute keeps only its graphics bit; the byte adds
// reverse (0x04 gives 0x200, 0x08 gives 0x100, both only outside graphics,
// where 0x200 would make a push button), flashing (0x02) and dim (0x40).
void set_attribute_hook(Interpreter& in, std::uint8_t b) {
  done(in);
  CharPage& p = in.page();
  std::uint16_t a = p.attribute() & cell_bits::kGraphics;
  if (!(a & cell_bits::kGraphics)) {
    if (b & 0x04) a |= 0x0200;
    if (b & 0x08) a |= 0x0100;
  }
  if (b & 0x02) a |= cell_bits::kFlash;
  if (b & 0x40) a |= cell_bits::kDim;
  p.set_attribute(a);
}

// ESC g b1 b2: the whole attribute byte from two bytes, the low four bits
// of the first giving its top half (graphics, field, run end, 0x1000) and
// those of the second its bottom half (dim, flashing, reverse). A host that
// sends it speaks the client's extensions, so enhanced mode begins.
void extended_attribute_hook(Interpreter& in, std::uint8_t b) {
  in.args.bytes[in.args.count++] = b;
  if (in.args.count < 2) return;
  done(in);
  const std::uint16_t a = static_cast<std::uint16_t>(((in.args.bytes[0] & 0x0F) << 12) |
                                                     ((in.args.bytes[1] & 0x0F) << 8));
  in.page().set_attribute(static_cast<std::uint16_t>(a & ~cell_bits::kRunEnd));
  in.set_enhanced_mode(true);
}

// ESC H byte: 2 switches graphics on, 3 off (as control bytes or digits:
// neither digit is a graphics letter), anything else is shown once as a
// line-drawing character.
void graphics_hook(Interpreter& in, std::uint8_t b) {
  done(in);
  CharPage& p = in.page();
  if (b == 0x02 || b == '2') {
    p.set_attribute(static_cast<std::uint16_t>(p.attribute() | cell_bits::kGraphics));
  } else if (b == 0x03 || b == '3') {
    p.set_attribute(static_cast<std::uint16_t>(p.attribute() & ~cell_bits::kGraphics));
  } else {
    in.screen_touched = true;
    p.put_graphic(b);
  }
}

void repeat(Interpreter& in, std::uint8_t ch, std::uint8_t count_byte) {
  const int count = count_byte & 0x7F;
  if (count < 32) return;
  in.screen_touched = true;
  CharPage& p = in.page();
  for (int i = 0; i < count - 31; ++i)
    p.put_char(static_cast<std::uint16_t>(0xFF00 | ch));
}

void repeat_blank_hook(Interpreter& in, std::uint8_t b) {
  done(in);
  repeat(in, ' ', b);
}

void repeat_char_hook(Interpreter& in, std::uint8_t b) {
  in.args.bytes[in.args.count++] = b;
  if (in.args.count < 2) return;
  done(in);
  repeat(in, in.args.bytes[0], in.args.bytes[1]);
}

void remember_set_hook(Interpreter& in, std::uint8_t b) {
  done(in);
  in.alternate_set[in.args.key == 'B' ? 0 : 1] = b & 15;
}

// Keeps a byte of a function-key text. Running out of memory here leaves
// the terminal without its keys: the client cannot go on.
void keep_key_byte(Interpreter& in, std::uint8_t b) {
  if (!in.args.keep || in.args.text.size() >= FunctionKeys::kMaxText) return;
  try {
    in.args.text += static_cast<char>(b);
  } catch (const std::bad_alloc&) {
    in.args.keep = false;
    vestra::messages::show_notice(kClientCaption, "Error allocating memory for fn keys",
                                  vestra::messages::Icon::Warning);
    if (in.ui.fatal) in.ui.fatal();
  }
}

void finish_key(Interpreter& in) {
  done(in);
  if (!in.args.keep) return;
  try {
    in.keys.program(in.args.key, in.args.text);
  } catch (const std::bad_alloc&) {
    vestra::messages::show_notice(kClientCaption, "Error allocating memory for fn keys",
                                  vestra::messages::Icon::Warning);
    if (in.ui.fatal) in.ui.fatal();
  }
}

bool programmable_with_del(std::uint8_t key) {
  return (key >= '@' && key <= 'O') || (key >= '`' && key <= 'o');
}

// ESC z key text terminator.
void program_key_hook(Interpreter& in, std::uint8_t b) {
  ArgumentState& a = in.args;
  if (a.stage == 0) {
    a.key = b;
    a.keep = programmable_with_del(b);
    a.stage = 1;
    return;
  }
  const std::uint8_t terminator = a.keep ? kDel : '\r';
  if (b == terminator) {
    finish_key(in);
    return;
  }
  keep_key_byte(in, b);
}

// ESC Z set key text DEL.
void program_key_set_hook(Interpreter& in, std::uint8_t b) {
  ArgumentState& a = in.args;
  switch (a.stage) {
    case 0:
      if (b != '0' && b != '1' && b != '2') {
        done(in);
        return;
      }
      a.keep = b != '2';
      a.stage = 1;
      return;
    case 1:
      if (b < 0x20 || b == kDel) {
        done(in);
        return;
      }
      // Key codes beyond the 128-entry tables have no string to hold: the
      // text is read and dropped.
      if (b >= FunctionKeys::kKeys) a.keep = false;
      a.key = b;
      a.stage = 2;
      return;
    default:
      if (b == kDel) {
        finish_key(in);
        return;
      }
      keep_key_byte(in, b);
  }
}

void discard_to_return_hook(Interpreter& in, std::uint8_t b) {
  if (b == '\r') done(in);
}

void discard_count_hook(Interpreter& in, std::uint8_t) {
  if (--in.args.count <= 0) done(in);
}
}  // namespace

void cursor_address(Interpreter& in, std::uint8_t) {
  begin(in, cursor_address_hook);
}

void cursor_decimal(Interpreter& in, std::uint8_t) {
  begin(in, cursor_decimal_hook);
}

void set_attribute(Interpreter& in, std::uint8_t) {
  begin(in, set_attribute_hook);
}

void extended_attribute(Interpreter& in, std::uint8_t) {
  begin(in, extended_attribute_hook);
}

void graphics(Interpreter& in, std::uint8_t) {
  begin(in, graphics_hook);
}

void repeat_blank(Interpreter& in, std::uint8_t) {
  begin(in, repeat_blank_hook);
}

void repeat_char(Interpreter& in, std::uint8_t) {
  begin(in, repeat_char_hook);
}

void remember_alternate_set(Interpreter& in, std::uint8_t last) {
  begin(in, remember_set_hook);
  in.args.key = last;
}

void program_key(Interpreter& in, std::uint8_t) {
  begin(in, program_key_hook);
}

void program_key_set(Interpreter& in, std::uint8_t) {
  begin(in, program_key_set_hook);
}

void discard_to_return(Interpreter& in, std::uint8_t) {
  begin(in, discard_to_return_hook);
}

void discard_two(Interpreter& in, std::uint8_t) {
  begin(in, discard_count_hook);
  in.args.count = 2;
}

void discard_four(Interpreter& in, std::uint8_t) {
  begin(in, discard_count_hook);
  in.args.count = 4;
}

}  // namespace veslink::handlers
