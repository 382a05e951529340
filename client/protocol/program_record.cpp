// The program list kept for ESC mpi and ESC mpd.
#include "client/protocol/program_record.h"

#include <algorithm>

namespace veslink {

ProgramList::~ProgramList() {
  // The owner's farewell may reach objects that are already gone.
  leaving_ = nullptr;
  clear();
}

void ProgramList::set_owner(Maker make, Farewell leaving) {
  make_ = std::move(make);
  leaving_ = std::move(leaving);
}

ProgramRecord* ProgramList::current() {
  return current_;
}

ProgramRecord* ProgramList::find(std::uint32_t number) {
  for (auto& p : programs_)
    if (p->number == number) return p.get();
  return nullptr;
}

int ProgramList::level() const {
  return current_ ? current_->level : 0;
}

void ProgramList::settle_launch(ProgramRecord& program) {
  if (!program.launched) return;
  program.launched = false;
  if (launches_pending_ > 0) --launches_pending_;
}

void ProgramList::select(std::uint32_t number) {
  ProgramRecord* p = find(number);
  if (!p) return;
  current_ = p;
  settle_launch(*p);
  tree_mode_ = p->tree_mode;
}

ProgramRecord& ProgramList::create(std::uint32_t number, int level, bool tree_mode) {
  std::unique_ptr<ProgramRecord> p = make_ ? make_() : std::make_unique<ProgramRecord>();
  p->number = number;
  p->level = level;
  p->tree_mode = tree_mode;
  programs_.insert(programs_.begin(), std::move(p));
  current_ = programs_.front().get();
  tree_mode_ = tree_mode;
  return *current_;
}

bool ProgramList::remove(std::uint32_t number) {
  auto it = std::find_if(programs_.begin(), programs_.end(),
                         [number](const auto& p) { return p->number == number; });
  if (it == programs_.end()) return false;
  ProgramRecord* gone = it->get();
  if (leaving_) leaving_(*gone);
  // The farewell may have changed the list: look the program up again.
  it = std::find_if(programs_.begin(), programs_.end(),
                    [gone](const auto& p) { return p.get() == gone; });
  if (it == programs_.end()) return true;
  settle_launch(*gone);
  const bool was_current = current_ == gone;
  std::unique_ptr<ProgramRecord> owned = std::move(*it);
  programs_.erase(it);
  if (was_current) {
    current_ = nullptr;
    if (!programs_.empty()) select(programs_.front()->number);
  }
  return true;
}

void ProgramList::clear() {
  while (!programs_.empty()) {
    ProgramRecord* p = programs_.front().get();
    if (leaving_) leaving_(*p);
    if (!programs_.empty() && programs_.front().get() == p) programs_.erase(programs_.begin());
  }
  current_ = nullptr;
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
