// Test harness of the screen protocol, in the manner of libvterm's tests: a
// private interpreter on its own character screen whose routes, replies and
// window calls are recorded as one line each, and a runner that replays
// every case whole and split at each position of its input.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "client/protocol/interpreter.h"
#include "client/terminal/char_screen.h"
#include "client/terminal/function_keys.h"

namespace veslink::test {

// Bytes as readable text: \e, \r, \n, \t and \xNN for other controls.
std::string shown(std::string_view bytes);
// One recorded route call: "mcw I10 P2 H12 X12/12.5 ;\"Customer\"".
std::string describe(const GuiCall& call);

class ProtocolHarness {
 public:
  // `routes`: record every GUI command instead of carrying it out; without
  // them the interpreter answers as for missing objects.
  explicit ProtocolHarness(bool routes = true);

  void feed(std::string_view bytes);
  // The recorded lines so far (a pending reply is closed first), cleared.
  std::vector<std::string> take();

  // The page's rows without trailing blanks, dropping empty rows at the end.
  std::vector<std::string> rows();
  // Every cell of every page that exists, attributes included.
  std::vector<std::uint16_t> cells();
  CharPage& page() { return screen.current(); }

  CharScreen screen;
  FunctionKeys keys;
  Interpreter in{screen, keys};
  bool tcp = true;
  bool mail_notify = false;
  std::string local_address = "192.0.2.7";

  void record(std::string line);

 private:
  std::vector<std::string> lines_;
  std::string reply_;
};

// One byte-level case: what goes in and the lines that must come out.
struct ByteCase {
  std::string name;
  std::string input;
  std::vector<std::string> expected;
};

// Runs the case on a fresh harness whole, then split in two at every
// position, then one byte at a time; every run must record the expected
// lines and leave the same pages, cell for cell. `setup` prepares each fresh
// harness.
void expect_case(const ByteCase& c, const std::function<void(ProtocolHarness&)>& setup = nullptr,
                 bool routes = true);

}  // namespace veslink::test
