#include "network/CountryEntry.h"

#include <algorithm>

namespace tarnwick {

std::span<const OperatorEntry> CountryEntry::listedOperators() const {
  const std::size_t listed = std::min<std::size_t>(operatorCount, operators.size());
  return std::span<const OperatorEntry>(operators).first(listed);
}

}  // namespace tarnwick
