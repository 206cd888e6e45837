#pragma once

#include "config/FieldCatalog.h"

#include <cstdint>
#include <optional>

// The capture interval's code (field `interval`): 1-60 are seconds, above 60 are minutes + 60,
// 0 is kept as 0 seconds. The camera takes 1 to 60 minutes.

namespace tarnwick {

// Positions of the capture interval's unit list (fieldlists::intervalUnit).
using fieldlists::kIntervalUnitMinutes;
using fieldlists::kIntervalUnitSeconds;

// Codes up to this many seconds are seconds; above it, minutes + this.
inline constexpr std::uint32_t kIntervalMinuteBase = 60;
inline constexpr std::uint32_t kIntervalMaxMinutes = 60;

// How a stored interval code is shown: a number and a unit position.
struct IntervalDisplay {
  std::uint32_t number = 0;
  int unit = kIntervalUnitSeconds;
  bool operator==(const IntervalDisplay&) const = default;
};

// Codes above 60 are minutes (code - 60); 60 and below are seconds, 0 included.
IntervalDisplay splitInterval(std::uint32_t code);

// The code the form stores for a number and a unit position, in unsigned arithmetic
// throughout. Minutes are capped at 60 (code 120). Any other unit, "no selection" included,
// means seconds: 60 seconds or more become whole minutes (remainder dropped) and are not capped,
// so 7200 sec is 120 min (code 180).
std::uint32_t combineInterval(std::uint32_t number, int unit);

// The code for exactly this many seconds or minutes, or nothing when the camera has no such
// interval: minutes from 1 to 60, seconds up to 60 or whole minutes up to 60 minutes.
std::optional<std::uint32_t> exactIntervalCode(std::uint32_t number, bool minutes);

}  // namespace tarnwick
