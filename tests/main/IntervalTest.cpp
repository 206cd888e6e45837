#include "ui/main/MainFormValues.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tarnwick {
namespace {

constexpr int kSec = kIntervalUnitSeconds;
constexpr int kMin = kIntervalUnitMinutes;

struct IntervalRow {
  std::uint32_t number;
  int unit;
  std::uint32_t stored;
  IntervalDisplay shown;
};

// What the user typed and picked, the code saved, and what the form shows afterwards.
TEST(IntervalTest, CombineThenSplitFollowsTheIntervalTable) {
  const IntervalRow rows[] = {
      {10, kSec, 10, {10, kSec}},     {59, kSec, 59, {59, kSec}},
      {60, kSec, 61, {1, kMin}},      {90, kSec, 61, {1, kMin}},
      {3600, kSec, 120, {60, kMin}},  {7200, kSec, 180, {120, kMin}},
      {0, kSec, 0, {0, kSec}},        {5, kMin, 65, {5, kMin}},
      {60, kMin, 120, {60, kMin}},    {75, kMin, 120, {60, kMin}},
      {0, kMin, 60, {60, kSec}},      {61, kMin, 120, {60, kMin}},
  };
  for (const IntervalRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.number << (row.unit == kMin ? " min" : " sec"));
    const std::uint32_t stored = combineInterval(row.number, row.unit);
    EXPECT_EQ(stored, row.stored);
    EXPECT_EQ(splitInterval(stored), row.shown);
  }
}

TEST(IntervalTest, NoUnitSelectionCountsAsSeconds) {
  EXPECT_EQ(combineInterval(30, -1), 30u);
  EXPECT_EQ(combineInterval(120, -1), 62u);
  EXPECT_EQ(combineInterval(120, 7), 62u);
}

TEST(IntervalTest, SplitBoundaryBetweenSecondsAndMinutes) {
  EXPECT_EQ(splitInterval(0), (IntervalDisplay{0, kSec}));
  EXPECT_EQ(splitInterval(60), (IntervalDisplay{60, kSec}));
  EXPECT_EQ(splitInterval(61), (IntervalDisplay{1, kMin}));
  // Codes above 120 come only from files or from large second counts; they keep their meaning.
  EXPECT_EQ(splitInterval(150), (IntervalDisplay{90, kMin}));
  EXPECT_EQ(combineInterval(90, kMin), 120u);
}

// Typed numbers are read as "%u", so "-1" arrives as 4294967295. Signed arithmetic anywhere
// on the way would store a negative or wrapped code.
TEST(IntervalTest, HugeNumbersStayUnsignedAndNeverWrap) {
  constexpr std::uint32_t kMinusOne = 0xFFFFFFFFu;
  EXPECT_EQ(combineInterval(kMinusOne, kSec), 0xFFFFFFFFu / 60u + 60u);  // 71582848
  EXPECT_EQ(combineInterval(kMinusOne, kMin), 120u);
  EXPECT_EQ(combineInterval(0x80000000u, kSec), 0x80000000u / 60u + 60u);
  EXPECT_EQ(combineInterval(0x80000000u, kMin), 120u);
  EXPECT_EQ(splitInterval(kMinusOne), (IntervalDisplay{kMinusOne - 60u, kMin}));
  EXPECT_EQ(splitInterval(0x80000000u), (IntervalDisplay{0x80000000u - 60u, kMin}));
}

}  // namespace
}  // namespace tarnwick
