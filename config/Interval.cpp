#include "config/Interval.h"

namespace tarnwick {

IntervalDisplay splitInterval(std::uint32_t code) {
  if (code > kIntervalMinuteBase) return {code - kIntervalMinuteBase, kIntervalUnitMinutes};
  return {code, kIntervalUnitSeconds};
}

std::uint32_t combineInterval(std::uint32_t number, int unit) {
  if (unit == kIntervalUnitMinutes) {
    if (number > kIntervalMaxMinutes) number = kIntervalMaxMinutes;
    return number + kIntervalMinuteBase;  // at most 120: no wrap
  }
  // At most 0xFFFFFFFF / 60 + 60: no wrap either.
  if (number >= kIntervalMinuteBase) return number / 60u + kIntervalMinuteBase;
  return number;
}

std::optional<std::uint32_t> exactIntervalCode(std::uint32_t number, bool minutes) {
  if (minutes) {
    if (number < 1 || number > kIntervalMaxMinutes) return std::nullopt;
    return number + kIntervalMinuteBase;
  }
  if (number <= kIntervalMinuteBase) return number;
  if (number % 60 == 0 && number / 60 <= kIntervalMaxMinutes) {
    return number / 60 + kIntervalMinuteBase;
  }
  return std::nullopt;
}

}  // namespace tarnwick
