#pragma once
// The numbered tables of the program (windows, gadgets, fonts, pictures, files): slots indexed by
// the number the program chose, taken from the program heap, growing to the requested
// number plus the table's step when a higher number is used.

#include <cstdint>
#include <memory_resource>
#include <vector>

#include "text/program_heap.h"

namespace quentara {

/// Object numbers run from 0 to 65535. A gadget's number is its control
/// identifier, which travels in the low 16 bits of a notification; the other tables keep
/// the same range so that no number can make a table grow without bound. Creating an
/// object under a number outside it fails (returns 0); looking one up finds nothing.
inline constexpr std::int32_t highestObjectNumber = 65535;

inline bool IsObjectNumber(std::int32_t number) {
  return number >= 0 && number <= highestObjectNumber;
}

template <class Slot>
using ObjectTable = std::pmr::vector<Slot>;

/// A table that lives as long as the program (never destroyed, so that nothing can reach
/// a destroyed table while the process ends).
template <class Slot>
ObjectTable<Slot>& MakeObjectTable() {
  return *new ObjectTable<Slot>(&programHeap);
}

/// Grows the table to number + step slots when number is not below its size.
template <class Slot>
void GrowObjectTable(ObjectTable<Slot>& table, std::int32_t number, std::int32_t step) {
  const auto needed = static_cast<std::size_t>(number);
  if (needed >= table.size()) table.resize(needed + static_cast<std::size_t>(step));
}

/// The slot under the number, nullptr beyond the table.
template <class Slot>
Slot* FindSlot(ObjectTable<Slot>& table, std::int32_t number) {
  if (number < 0 || static_cast<std::size_t>(number) >= table.size()) return nullptr;
  return &table[static_cast<std::size_t>(number)];
}

}  // namespace quentara
