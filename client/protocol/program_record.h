// What the interpreter needs of the host's programs: each program's number,
// protocol level, tree mode and launch mark, newest first, and which one is
// current. The protocol level of the current program selects between reply
// forms, and ESC mpi must know whether a program is new to answer with the
// identification. The screen model owns the programs themselves: it installs
// a maker that gives each record its windows (`HostProgram`) and is told
// before a program goes, while its record still exists.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace veslink {

struct ProgramRecord {
  ProgramRecord() = default;
  ProgramRecord(std::uint32_t n, int l, bool t) : number(n), level(l), tree_mode(t) {}
  ProgramRecord(const ProgramRecord&) = delete;
  ProgramRecord& operator=(const ProgramRecord&) = delete;
  virtual ~ProgramRecord() = default;

  std::uint32_t number = 0;
  int level = 0;           // the protocol level the program declared
  bool tree_mode = false;  // D bit 0 of its ESC mpi
  bool launched = false;   // started through a launch request; counts once
};

class ProgramList {
 public:
  using Maker = std::function<std::unique_ptr<ProgramRecord>()>;
  using Farewell = std::function<void(ProgramRecord&)>;

  ProgramList() = default;
  ProgramList(const ProgramList&) = delete;
  ProgramList& operator=(const ProgramList&) = delete;
  ~ProgramList();

  // The owner of the programs: `make` gives each new record (a plain one
  // when unset), `leaving` runs for a program about to be removed, before it
  // is unlinked, so its windows can go first.
  void set_owner(Maker make, Farewell leaving);

  const std::vector<std::unique_ptr<ProgramRecord>>& programs() const { return programs_; }
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

  std::vector<std::unique_ptr<ProgramRecord>> programs_;  // newest first
  ProgramRecord* current_ = nullptr;
  bool tree_mode_ = false;  // the global tree mode, taken from the current program
  int launches_pending_ = 0;
  Maker make_;
  Farewell leaving_;
};

}  // namespace veslink
