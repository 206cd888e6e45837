// The pure parts of the Qt backend: dialog units to pixels, the dialog font, file filters.

#include "ui/toolkit/qt/DialogFont.h"
#include "ui/toolkit/qt/DialogUnits.h"
#include "ui/toolkit/qt/FileFilter.h"

#include <QFontInfo>

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

TEST(DialogFont, WindowsDialogFontsBecomeAnInstalledSansSerifWithChineseFallbacks) {
  for (const char* name : {"MS Shell Dlg", "微软雅黑", "Tahoma", ""}) {
    const QStringList families = dialogFontFamilies(name);
    ASSERT_FALSE(families.isEmpty()) << name;
    EXPECT_EQ(families.first(), QStringLiteral("DejaVu Sans")) << name;
    EXPECT_TRUE(families.contains(QStringLiteral("Noto Sans CJK SC"))) << name;
    EXPECT_TRUE(families.contains(QStringLiteral("WenQuanYi Micro Hei"))) << name;
  }
  // Any other font is tried as itself first.
  EXPECT_EQ(dialogFontFamilies("Courier New").first(), QStringLiteral("Courier New"));

  const QFont font = dialogFont("MS Shell Dlg", 8);
  EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(font.pixelSize(), 11);  // 8 points at 96 pixels per inch
  EXPECT_EQ(dialogFont("微软雅黑", 9).pixelSize(), 12);
  const DialogBaseUnits units = dialogBaseUnits(font);
  EXPECT_GE(units.x, 5);
  EXPECT_LE(units.x, 9);
  EXPECT_GE(units.y, 11);
  EXPECT_LE(units.y, 16);
}

TEST(FileFilter, WindowsFiltersBecomeQtNameFilters) {
  struct Case {
    std::u16string filter;
    QStringList expected;
  };
  const Case cases[] = {
      {u"Config file(*.cfg)|*.cfg|All files(*.*)|*.*||",
       {QStringLiteral("Config file(*.cfg) (*.cfg)"), QStringLiteral("All files(*.*) (*)")}},
      {u"Pictures|*.jpg;*.png||", {QStringLiteral("Pictures (*.jpg *.png)")}},
      {u"Config file(*.cfg)|*.cfg", {QStringLiteral("Config file(*.cfg) (*.cfg)")}},
      // A name without patterns, a dangling name and an empty filter give nothing.
      {u"Nothing||Config|*.cfg|Dangling", {QStringLiteral("Config (*.cfg)")}},
      {u"", {}},
      {u"||||", {}},
      {u"Spaces| *.a ; ;*.b |", {QStringLiteral("Spaces (*.a *.b)")}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(qtNameFilters(c.filter), c.expected)
        << QString::fromStdU16String(c.filter).toStdString();
  }
}

}  // namespace
}  // namespace tarnwick::tk
