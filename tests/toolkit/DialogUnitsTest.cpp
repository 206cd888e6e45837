// Dialog units to pixels, as every window backend lays out a template, and how a window shows a
// dialog larger than the screen.

#include "ui/toolkit/DialogUnits.h"
#include "ui/toolkit/WindowFit.h"

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

TEST(WindowFit, ADialogLargerThanTheScreenTakesWhatFitsAndScrollsTheRest) {
  struct Case {
    PixelSize content, available;
    WindowFit expected;
  };
  constexpr int bar = 16;
  const Case cases[] = {
      // Fits: the dialog's own size, no bars.
      {{1061, 611}, {1264, 976}, {{1061, 611}, false, false}},
      {{1061, 611}, {1061, 611}, {{1061, 611}, false, false}},
      // The network window at 144 DPI on 1366 x 768: both ways too large.
      {{1592, 917}, {1350, 705}, {{1350, 705}, true, true}},
      // Too wide only: a bar along the bottom, the height grows by it.
      {{1061, 611}, {768, 900}, {{768, 627}, true, false}},
      // ... unless that bar makes it too high as well.
      {{1061, 611}, {768, 620}, {{768, 620}, true, true}},
      // Too high only: a bar at the right, the width grows by it, or a bar below too.
      {{600, 917}, {1350, 705}, {{616, 705}, false, true}},
      {{1340, 917}, {1350, 705}, {{1350, 705}, true, true}},
      // No room at all still leaves a window.
      {{100, 100}, {0, -5}, {{1, 1}, true, true}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fitWindow(c.content, c.available, bar), c.expected)
        << c.content.width << "x" << c.content.height << " on " << c.available.width << "x"
        << c.available.height;
  }
  EXPECT_EQ((WindowFit{{768, 620}, true, true}.view(bar)), (PixelSize{752, 604}));
}

TEST(WindowFit, ScrollingToAControlMovesAsLittleAsItCan) {
  struct Case {
    int position, view, start, length, content, expected;
  };
  const Case cases[] = {
      {0, 500, 100, 40, 1500, 0},       // in view already
      {0, 500, 480, 40, 1500, 20},      // below: its end comes to the view's end
      {700, 500, 100, 40, 1500, 100},   // above: its start comes to the view's start
      {0, 500, 300, 800, 1500, 300},    // longer than the view: its start
      {0, 500, 1480, 40, 1500, 1000},   // never beyond the content's end
      {-30, 500, 10, 20, 1500, 0},      // nor before its start
      {900, 500, 10, 20, 400, 0},       // content smaller than the view: nothing to scroll
  };
  for (const Case& c : cases) {
    EXPECT_EQ(scrollToShow(c.position, c.view, c.start, c.length, c.content), c.expected)
        << c.start << "+" << c.length << " from " << c.position;
  }
}

TEST(WindowFit, ADialogWiderThanItsRoomOrOnATouchScreenGoesIntoOneColumn) {
  EXPECT_EQ(arrangementFor(581, 1246, false), Arrangement::Template);
  EXPECT_EQ(arrangementFor(581, 581, false), Arrangement::Template);
  EXPECT_EQ(arrangementFor(581, 580, false), Arrangement::OneColumn);
  EXPECT_EQ(arrangementFor(900, 0, false), Arrangement::OneColumn);
  EXPECT_EQ(arrangementFor(250, 326, true), Arrangement::OneColumn);
}

// A dialog whose tab order runs through two group boxes in turns, with an ungrouped pair of
// buttons between them: each control keeps its label and hint, each group its controls.
TEST(WindowFit, OneColumnKeepsEveryControlWithItsLabelUnderItsGroup) {
  auto at = [](ControlKind kind, std::u16string text, Rect rect, std::uint32_t style = 0) {
    ControlState c;
    c.kind = kind;
    c.text = std::move(text);
    c.rect = rect;
    c.style = style;
    return c;
  };
  using K = ControlKind;
  const std::vector<ControlState> controls{
      at(K::GroupBox, u"Setup", {3, 3, 150, 80}),            // 0
      at(K::GroupBox, u"Server", {160, 3, 150, 80}),         // 1
      at(K::GroupBox, u"", {0, 0, 320, 130}),                // 2: a frame without caption
      at(K::Static, u"Mode", {10, 16, 38, 8}),               // 3
      at(K::ComboBox, u"", {51, 14, 97, 30}),                // 4: the list's opened height
      at(K::Static, u"Port", {170, 16, 20, 8}),              // 5
      at(K::Edit, u"", {195, 14, 30, 14}),                   // 6
      at(K::Static, u"(1-65535)", {230, 16, 40, 8}),         // 7: the hint after it
      at(K::PushButton, u"OK", {10, 100, 50, 14}),           // 8
      at(K::PushButton, u"Cancel", {70, 100, 50, 14}),       // 9: beside OK
      at(K::Static, u"Interval", {10, 40, 38, 8}),           // 10: back in Setup
      at(K::Edit, u"", {51, 38, 40, 14}),                    // 11
      at(K::ComboBox, u"", {95, 38, 40, 30}),                // 12: named by the same label
      at(K::Static, u"Proxy", {170, 40, 30, 8}),             // 13
      at(K::Edit, u"", {200, 38, 50, 14}),                   // 14
      at(K::Static, u"Port", {255, 40, 20, 8}),              // 15: a label on the same line
      at(K::Edit, u"", {280, 38, 25, 14}),                   // 16
      at(K::Static, u"(5s-30s)", {10, 52, 40, 8}),           // 17: a line below its boxes
      at(K::Static, u"Switch", {10, 66, 30, 8}),             // 18
      at(K::RadioButton, u"On", {51, 64, 25, 10}, kGroupStart),  // 19
      at(K::RadioButton, u"Off", {80, 64, 25, 10}),          // 20
  };
  const std::vector<ColumnRow> expected{
      {0, {3, 4}}, {0, {10, 11, 12}}, {0, {17}}, {0, {18, 19, 20}},
      {1, {5, 6, 7}}, {1, {13, 14}}, {1, {15, 16}},
      {-1, {8, 9}},
  };
  EXPECT_EQ(oneColumnRows(controls, accessibleOf(controls)), expected);
}

}  // namespace
}  // namespace tarnwick::tk
