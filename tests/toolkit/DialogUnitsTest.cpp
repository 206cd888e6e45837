// Dialog units to pixels, as every window backend lays out a template.

#include "ui/toolkit/DialogUnits.h"

#include <gtest/gtest.h>

#include <limits>

namespace tarnwick::tk {
namespace {

TEST(DialogUnits, MulDivRoundsHalfAwayFromZero) {
  struct Case {
    int value, numerator, denominator, expected;
  };
  const Case cases[] = {
      {7, 1, 2, 4},    {-7, 1, 2, -4},  {5, 1, 4, 1}, {6, 1, 4, 2}, {58, 6, 4, 87}, {27, 13, 8, 44},
      {69, 6, 4, 104}, {30, 13, 8, 49}, {0, 7, 4, 0}, {5, 7, 0, 0}, {5, -1, 2, -3}, {-5, 1, -2, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(mulDiv(c.value, c.numerator, c.denominator), c.expected)
        << c.value << " * " << c.numerator << " / " << c.denominator;
  }
  // The product is formed in 64 bits: no overflow on the way.
  EXPECT_EQ(mulDiv(1 << 30, 6, 8), 805306368);
  // The smallest int as divisor: its magnitude does not fit an int.
  EXPECT_EQ(mulDiv(1 << 30, -2, std::numeric_limits<int>::min()), 1);
}

TEST(DialogUnits, BaseUnitsAverageTheAlphabetToTheNearestPixel) {
  EXPECT_EQ(baseUnitsFromMeasures(338, 14), (DialogBaseUnits{7, 14}));  // 6.5 rounds up
  EXPECT_EQ(baseUnitsFromMeasures(337, 14), (DialogBaseUnits{6, 14}));
  EXPECT_EQ(baseUnitsFromMeasures(0, 0), (DialogBaseUnits{0, 0}));
}

TEST(DialogUnits, EachRectangleMemberConvertsOnItsOwn) {
  const DialogBaseUnits base{6, 13};
  // The main window's Language list and the About box's OK button, at the classic 6 x 13 units.
  EXPECT_EQ(dialogUnitsToPixels({58, 27, 69, 30}, base), (Rect{87, 44, 104, 49}));
  EXPECT_EQ(dialogUnitsToPixels({122, 61, 50, 14}, base), (Rect{183, 99, 75, 23}));
  // x + width is not rounded as one: the right edge may differ from converting the sum.
  const Rect r = dialogUnitsToPixels({1, 0, 1, 0}, {6, 8});
  EXPECT_EQ(r.x + r.width, 4);
  EXPECT_EQ(dialogUnitsToPixels({1, 0, 2, 0}, {6, 8}).width, 3);
}

}  // namespace
}  // namespace tarnwick::tk
