#include "network/OperatorTable.h"

#include <utility>

#include "network/BuiltinOperators.h"

namespace tarnwick {

OperatorTable::OperatorTable() = default;

std::span<const CountryEntry> OperatorTable::countries() const {
  switch (state_) {
    case State::BuiltIn: return builtinCountries();
    case State::Loaded: return owned_;
    case State::Released: break;
  }
  return {};
}

std::uint32_t OperatorTable::countryCount() const {
  return static_cast<std::uint32_t>(countries().size());
}

const CountryEntry* OperatorTable::country(std::int64_t position) const {
  const auto rows = countries();
  if (position < 0 || static_cast<std::uint64_t>(position) >= rows.size()) return nullptr;
  return &rows[static_cast<std::size_t>(position)];
}

const OperatorEntry* OperatorTable::operatorAt(std::int64_t countryPosition,
                                               std::int64_t operatorPosition) const {
  const CountryEntry* c = country(countryPosition);
  if (c == nullptr) return nullptr;
  const auto listed = c->listedOperators();
  if (operatorPosition < 0 || static_cast<std::uint64_t>(operatorPosition) >= listed.size()) {
    return nullptr;
  }
  return &listed[static_cast<std::size_t>(operatorPosition)];
}

void OperatorTable::useBuiltIn() {
  owned_.clear();
  owned_.shrink_to_fit();
  state_ = State::BuiltIn;
}

void OperatorTable::adopt(std::vector<CountryEntry> rows) {
  owned_ = std::move(rows);
  state_ = State::Loaded;
}

void OperatorTable::release() {
  if (state_ != State::Loaded) return;
  owned_.clear();
  owned_.shrink_to_fit();
  state_ = State::Released;
}

}  // namespace tarnwick
