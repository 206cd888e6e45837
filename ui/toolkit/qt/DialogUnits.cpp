#include "ui/toolkit/qt/DialogUnits.h"

#include <QFontMetrics>
#include <QString>

namespace tarnwick::tk {

DialogBaseUnits dialogBaseUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(QString::fromUtf16(kBaseUnitAlphabet));
  return baseUnitsFromMeasures(width, metrics.height());
}

}  // namespace tarnwick::tk
