// The program list kept for ESC mpi and ESC mpd.
#include "client/protocol/program_record.h"

#include <algorithm>

namespace veslink {

ProgramRecord* ProgramList::current() {
  return has_current_ ? find(current_) : nullptr;
}

ProgramRecord* ProgramList::find(std::uint32_t number) {
  for (ProgramRecord& p : programs_)
    if (p.number == number) return &p;
  return nullptr;
}

int ProgramList::level() const {
  if (!has_current_) return 0;
  for (const ProgramRecord& p : programs_)
    if (p.number == current_) return p.level;
  return 0;
}

void ProgramList::settle_launch(ProgramRecord& program) {
  if (!program.launched) return;
  program.launched = false;
  if (launches_pending_ > 0) --launches_pending_;
}

void ProgramList::select(std::uint32_t number) {
  ProgramRecord* p = find(number);
  if (!p) return;
  current_ = number;
  has_current_ = true;
  settle_launch(*p);
  tree_mode_ = p->tree_mode;
}

ProgramRecord& ProgramList::create(std::uint32_t number, int level, bool tree_mode) {
  programs_.insert(programs_.begin(), ProgramRecord{number, level, tree_mode, false});
  current_ = number;
  has_current_ = true;
  tree_mode_ = tree_mode;
  return programs_.front();
}

bool ProgramList::remove(std::uint32_t number) {
  auto it = std::find_if(programs_.begin(), programs_.end(),
                         [number](const ProgramRecord& p) { return p.number == number; });
  if (it == programs_.end()) return false;
  settle_launch(*it);
  programs_.erase(it);
  if (has_current_ && current_ == number) {
    has_current_ = !programs_.empty();
    if (has_current_) select(programs_.front().number);
  }
  return true;
}

void ProgramList::clear() {
  programs_.clear();
  has_current_ = false;
  tree_mode_ = false;
  launches_pending_ = 0;
}

void ProgramList::mark_launched() {
  ProgramRecord* p = current();
  if (!p || p->launched) return;
  p->launched = true;
  ++launches_pending_;
}

}  // namespace veslink
