// The interval code the command line stores: only intervals the camera has, exactly.

#include "config/Interval.h"

#include <gtest/gtest.h>

#include <optional>

namespace tarnwick {
namespace {

TEST(ExactIntervalCode, SecondsUpToAMinuteWholeMinutesAboveAndOneToSixtyMinutes) {
  struct Case {
    std::uint32_t number;
    bool minutes;
    std::optional<std::uint32_t> code;
  };
  const Case cases[] = {
      {0, false, 0u},         {1, false, 1u},        {60, false, 60u},
      {61, false, std::nullopt},                      {120, false, 62u},
      {3600, false, 120u},    {3660, false, std::nullopt},
      {0, true, std::nullopt}, {1, true, 61u},       {60, true, 120u},
      {61, true, std::nullopt}, {0xFFFFFFFFu, true, std::nullopt},
      {0xFFFFFFC4u, false, std::nullopt},  // a multiple of 60 far above an hour
  };
  for (const Case& c : cases) {
    EXPECT_EQ(exactIntervalCode(c.number, c.minutes), c.code)
        << c.number << (c.minutes ? " min" : " sec");
    // Every code it gives shows as what was asked for (or as seconds up to a minute).
    if (c.code && c.minutes) {
      EXPECT_EQ(splitInterval(*c.code), (IntervalDisplay{c.number, kIntervalUnitMinutes}));
    }
  }
}

}  // namespace
}  // namespace tarnwick
