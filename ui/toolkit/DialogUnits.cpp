#include "ui/toolkit/DialogUnits.h"

#include <cstdint>

namespace tarnwick::tk {

DialogBaseUnits baseUnitsFromMeasures(int alphabetWidth, int fontHeight) {
  return {(alphabetWidth + 26) / 52, fontHeight};
}

int mulDiv(int value, int numerator, int denominator) {
  if (denominator == 0) return 0;
  const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
  // Taken in 64 bits, so that the smallest int has a magnitude too.
  const std::int64_t divisor =
      denominator < 0 ? -static_cast<std::int64_t>(denominator) : denominator;
  const std::int64_t half = divisor / 2;
  const bool negative = (product < 0) != (denominator < 0);
  const std::int64_t magnitude = (product < 0 ? -product : product) + half;
  const std::int64_t quotient = magnitude / divisor;
  return static_cast<int>(negative ? -quotient : quotient);
}

Rect dialogUnitsToPixels(const Rect& units, DialogBaseUnits base) {
  return {mulDiv(units.x, base.x, 4), mulDiv(units.y, base.y, 8), mulDiv(units.width, base.x, 4),
          mulDiv(units.height, base.y, 8)};
}

}  // namespace tarnwick::tk
