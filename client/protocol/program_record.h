// What the interpreter remembers of the host's programs until the screen
// model takes them over: each program's number, protocol level, tree mode
// and launch mark, newest first, and which one is current. The protocol
// level of the current program selects between reply forms, and ESC mpi
// must know whether a program is new to answer with the identification.
#pragma once

#include <cstdint>
#include <vector>

namespace veslink {

struct ProgramRecord {
  std::uint32_t number = 0;
  int level = 0;           // the protocol level the program declared
  bool tree_mode = false;  // D bit 0 of its ESC mpi
  bool launched = false;   // started through a launch request; counts once
};

class ProgramList {
 public:
  const std::vector<ProgramRecord>& programs() const { return programs_; }
  bool empty() const { return programs_.empty(); }
  ProgramRecord* current();
  ProgramRecord* find(std::uint32_t number);
  // The level of the current program; 0 while there is none.
  int level() const;
  bool tree_mode() const { return tree_mode_; }

  // Makes an existing program current (clearing its launch mark).
  void select(std::uint32_t number);
  // Adds a program at the head of the list and makes it current.
  ProgramRecord& create(std::uint32_t number, int level, bool tree_mode);
  // Removes a program; the first of the list becomes current when it was.
  // False when there was no such program.
  bool remove(std::uint32_t number);
  void clear();

  // The current program was started by a launch request (ESC nl sent).
  void mark_launched();
  int launches_pending() const { return launches_pending_; }

 private:
  void settle_launch(ProgramRecord& program);

  std::vector<ProgramRecord> programs_;  // newest first
  std::uint32_t current_ = 0;
  bool has_current_ = false;
  bool tree_mode_ = false;  // the global tree mode, taken from the current program
  int launches_pending_ = 0;
};

}  // namespace veslink
