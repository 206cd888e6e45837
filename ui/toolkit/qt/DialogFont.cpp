#include "ui/toolkit/qt/DialogFont.h"

#include "ui/toolkit/qt/DialogUnits.h"

#include <QString>

#include <array>

namespace tarnwick::tk {

namespace {
// Names the templates use for the system's dialog fonts.
constexpr std::array<std::string_view, 8> kWindowsDialogFonts{
    "MS Shell Dlg", "MS Shell Dlg 2",  "MS Sans Serif", "Tahoma",
    "Segoe UI",     "Microsoft YaHei", "微软雅黑",      "宋体"};

// An installed sans-serif first, then fonts that also cover CJK text.
const QStringList& fallbackFamilies() {
  static const QStringList families{
      QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC"),
      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Droid Sans Fallback"),
      QStringLiteral("Sans Serif")};
  return families;
}

constexpr int kLogicalDpi = 96;
}  // namespace

QStringList dialogFontFamilies(std::string_view templateFontName) {
  QStringList families;
  bool windowsFont = templateFontName.empty();
  for (std::string_view name : kWindowsDialogFonts)
    windowsFont = windowsFont || name == templateFontName;
  if (!windowsFont) {
    families.append(QString::fromUtf8(templateFontName.data(),
                                      static_cast<qsizetype>(templateFontName.size())));
  }
  families.append(fallbackFamilies());
  return families;
}

QFont dialogFont(std::string_view templateFontName, int pointSize) {
  QFont font;
  font.setFamilies(dialogFontFamilies(templateFontName));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(mulDiv(pointSize > 0 ? pointSize : 8, kLogicalDpi, 72));
  return font;
}

}  // namespace tarnwick::tk
