#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "network/OperatorEntry.h"

namespace tarnwick {

// One country of the operator table: its name (shown in the Country list) and its operators.
//
// A country read from oper.db has up to 32 rows: every row the file wrote a field into and
// every row its operator count lists, the unwritten ones all zero. A built-in country holds
// exactly operatorCount rows. Only rows 0 to operatorCount - 1 are listed.
struct CountryEntry {
  static constexpr std::size_t kNameWidth = 64;
  static constexpr std::size_t kLoadedOperatorRows = 32;

  std::array<std::uint8_t, kNameWidth> name{};
  std::vector<OperatorEntry> operators;
  std::uint32_t operatorCount = 0;

  // The listed rows; never more than the rows that exist, whatever operatorCount says.
  std::span<const OperatorEntry> listedOperators() const;

  bool operator==(const CountryEntry&) const = default;
};

}  // namespace tarnwick
