#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "network/CountryEntry.h"

namespace tarnwick {

// The countries and mobile operators the network form offers, with the access-point values it
// copies from the chosen operator.
//
// The table is either the built-in table (never modified, shared by every instance), or rows
// read from oper.db that this instance owns, or released: after a loaded table has been
// released nothing is left to read, and the table reads as empty until the next reset, so a
// late reader finds no rows instead of freed ones.
//
// The program keeps one instance (programOperatorTable() in OperatorDb.h); the type is a plain
// value so that tests and tools can hold their own.
class OperatorTable {
 public:
  enum class State { BuiltIn, Loaded, Released };

  OperatorTable();  // the built-in table

  State state() const { return state_; }
  // True while the rows come from oper.db and are owned by this table.
  bool loaded() const { return state_ == State::Loaded; }

  std::uint32_t countryCount() const;
  std::span<const CountryEntry> countries() const;

  // The country at a list position, or nullptr for a position outside the table (including
  // -1, "no selection").
  const CountryEntry* country(std::int64_t position) const;
  // A listed operator (row 0 to operatorCount - 1 of that country), or nullptr.
  const OperatorEntry* operatorAt(std::int64_t countryPosition,
                                  std::int64_t operatorPosition) const;

  // State changes; the program goes through resetOperatorTable, parseOperatorDb and
  // releaseOperatorTable (OperatorDb.h).
  void useBuiltIn();
  void adopt(std::vector<CountryEntry> rows);  // becomes Loaded
  void release();                              // Loaded -> Released; otherwise nothing

 private:
  State state_ = State::BuiltIn;
  std::vector<CountryEntry> owned_;
};

}  // namespace tarnwick
