// The GUI family outside ESC m: identification (ESC space, ESC vf),
// enhanced mode, starting a local program (ESC vx), sending a local file
// (ESC dG) and redirecting slave printing into a file (ESC dP).
#include <string>

#include "client/protocol/handlers.h"
#include "client/protocol/interpreter.h"
#include "client/settings/client_texts.h"

namespace veslink::handlers {

namespace {
// Local paths are at most 260 characters; the rest of a longer name is
// dropped. Host names may use either slash: ours is '/'.
constexpr std::size_t kPathMax = 260;
constexpr std::size_t kDirectoryMax = 259;

void begin(Interpreter& in, ByteHook hook) {
  in.args = ArgumentState{};
  in.message_buffer.clear();
  in.byte_hook = hook;
}

void keep_path_byte(std::string& path, std::uint8_t b, std::size_t limit) {
  if (path.size() < limit) path += b == '\\' ? '/' : static_cast<char>(b);
}

void answer_zero_hook(Interpreter& in, std::uint8_t b) {
  if (b != '\r') return;
  in.byte_hook = nullptr;
  in.replies.send("0\r");
}

// ESC vx [w] ; directory ; command line ^M
void launch_hook(Interpreter& in, std::uint8_t b) {
  ArgumentState& a = in.args;
  switch (a.stage) {
    case 0:  // options before the first `;`
      if (b == '\r') {
        in.byte_hook = nullptr;
      } else if (b == ';') {
        a.stage = 1;
      } else if (b == 'w') {
        a.wait = true;
      }
      return;
    case 1:  // the working directory
      if (b == '\r') {
        in.byte_hook = nullptr;  // no command line: abandoned
      } else if (b == ';') {
        a.stage = 2;
      } else if (a.directory.size() < kDirectoryMax) {
        a.directory += static_cast<char>(b);
      }
      return;
    default:  // the command line
      if (b != '\r') {
        if (b != 0) in.message_buffer.append(static_cast<char>(b));
        return;
      }
      in.byte_hook = nullptr;
      {
        const std::string directory = a.directory;
        const std::string command(in.message_buffer.view());
        const bool wait = a.wait;
        if (in.routes.local.launch_program) {
          in.routes.local.launch_program(wait, directory, command, in.replies);
        } else {
          in.replies.launch_result(1);  // nothing here can start a program
        }
      }
      return;
  }
}

void local_file_hook(Interpreter& in, std::uint8_t b) {
  if (b != '\r') {
    if (b != 0) keep_path_byte(in.args.text, b, kPathMax);
    return;
  }
  in.byte_hook = nullptr;
  const std::string name = in.args.text;
  if (in.routes.local.send_local_file) {
    in.routes.local.send_local_file(name, in.replies);
  } else {
    in.replies.send("\x04\r");
  }
}

void print_file_hook(Interpreter& in, std::uint8_t b) {
  if (b != '\r') {
    if (b != 0) keep_path_byte(in.args.text, b, kPathMax);
    return;
  }
  in.byte_hook = nullptr;
  const std::string name = in.args.text;
  in.printing.redirect_to(name);
}
}  // namespace

void identify(Interpreter& in, std::uint8_t) {
  if (!in.enhanced_mode) {
    in.replies.send("60\r");
    return;
  }
  in.replies.send("P" + version_digits(kClientVersion).release + "\r");
}

void enhanced_on(Interpreter& in, std::uint8_t) {
  in.set_enhanced_mode(true);
}

void enhanced_off(Interpreter& in, std::uint8_t) {
  in.set_enhanced_mode(false);
}

void answer_zero(Interpreter& in, std::uint8_t) {
  begin(in, answer_zero_hook);
}

void launch_program(Interpreter& in, std::uint8_t) {
  begin(in, launch_hook);
}

void send_local_file(Interpreter& in, std::uint8_t) {
  begin(in, local_file_hook);
}

void print_to_file(Interpreter& in, std::uint8_t) {
  // Any job still open is closed at once, before the new file is named.
  in.printing.redirect_begin();
  begin(in, print_file_hook);
}

}  // namespace veslink::handlers
