// The old-to-new field flag table.
#include "client/screen/field_flags.h"

namespace veslink {

namespace {
struct BitMap {
  std::uint32_t old_bit;
  std::uint32_t new_bits;
};
constexpr BitMap kOldToNew[] = {
    {0x2, 0x8000},         {0x4, 0x10000},         {0x8, 0x4000000},
    {0x10, 0x20000},       {0x20, 0x4000},         {0x40, 0x1},
    {0x80, 0x2},           {0x100, 0x4},           {0x200, 0x8},
    {0x400, 0x10},         {0x800, 0x20},          {0x1000, 0x40},
    {0x2000, 0x80},        {0x4000, 0x100},        {0x8000, 0x200},
    {0x10000, 0x40000},    {0x20000, 0x2000},      {0x40000, 0x800000},
    {0x80000, 0x10000000}, {0x100000, 0x1000000},  {0x200000, 0x2000000},
    {0x400000, 0x1000},    {0x800000, 0x100000},   {0x1000000, 0x400},
    {0x2000000, 0x800},    {0x4000000, 0x8000000},
};
}  // namespace

std::uint32_t convert_old_field_flags(std::uint32_t old_flags) {
  std::uint32_t flags = 0;
  for (const BitMap& m : kOldToNew)
    if (old_flags & m.old_bit) flags |= m.new_bits;
  return flags;
}

std::uint32_t field_flags_for_level(std::uint32_t flags, int level) {
  if (level < 2) flags = convert_old_field_flags(flags);
  return flags & ~field_flag::kClientOwn;
}

}  // namespace veslink
