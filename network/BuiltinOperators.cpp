#include "network/BuiltinOperators.h"

#include <algorithm>
#include <vector>

#include "network/BuiltinOperatorData.h"

namespace tarnwick {

namespace {

// Copies a text into a zero-filled field, keeping the field's last byte zero. The generator
// keeps every text within that width already; the cut only guards the invariant.
void copyText(std::string_view text, std::span<std::uint8_t> field) {
  if (field.empty()) return;
  const std::size_t n = std::min(text.size(), field.size() - 1);
  for (std::size_t i = 0; i < n; ++i) field[i] = static_cast<std::uint8_t>(text[i]);
}

std::vector<CountryEntry> buildCountries() {
  std::vector<CountryEntry> rows;
  for (const BuiltinCountryText& c : builtinOperatorTexts()) {
    CountryEntry country;
    copyText(c.name, country.name);
    country.operators.reserve(c.operators.size());
    for (const BuiltinOperatorText& o : c.operators) {
      OperatorEntry& row = country.operators.emplace_back();
      for (std::size_t f = 0; f < OperatorEntry::kFieldCount; ++f) {
        copyText(o.fields[f], row.field(f));
      }
    }
    country.operatorCount = static_cast<std::uint32_t>(country.operators.size());
    rows.push_back(std::move(country));
  }
  return rows;
}

}  // namespace

std::span<const CountryEntry> builtinCountries() {
  static const std::vector<CountryEntry> rows = buildCountries();
  return rows;
}

}  // namespace tarnwick
