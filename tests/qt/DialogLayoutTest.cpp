// The Qt backend's measures and names: the dialog font, file filters as Qt name filters.

#include "ui/toolkit/qt/DialogFont.h"
#include "ui/toolkit/qt/DialogUnits.h"
#include "ui/toolkit/qt/FileFilter.h"

#include <QFontInfo>

#include <gtest/gtest.h>


namespace tarnwick::tk {
namespace {

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
      // A name carrying its own patterns shows them once, as the dialog's own.
      {u"Config file(*.cfg)|*.cfg|All files(*.*)|*.*||",
       {QStringLiteral("Config file (*.cfg)"), QStringLiteral("All files (*)")}},
      {u"Pictures|*.jpg;*.png||", {QStringLiteral("Pictures (*.jpg *.png)")}},
      {u"Config file(*.cfg)|*.cfg", {QStringLiteral("Config file (*.cfg)")}},
      {u"(*.cfg)|*.cfg||", {}},
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
