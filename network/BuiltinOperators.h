#pragma once

#include <span>

#include "network/CountryEntry.h"

namespace tarnwick {

// The built-in table: 55 countries, 198 operators. The names, their spelling and their order
// are what stored settings refer to (countryIndex and operatorIndex are positions in these
// lists), so they never change. Built once, on first use, and never modified.
std::span<const CountryEntry> builtinCountries();

}  // namespace tarnwick
