#include "ui/toolkit/qt/FileFilter.h"

#include <QString>

namespace tarnwick::tk {

QStringList qtNameFilters(const std::u16string& filter) {
  const QStringList parts = QString::fromStdU16String(filter).split(QLatin1Char('|'));
  QStringList result;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString name = parts[i].trimmed();
    QStringList patterns;
    for (const QString& raw : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      const QString pattern = raw.trimmed();
      if (pattern.isEmpty()) continue;
      patterns.append(pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
    }
    if (name.isEmpty() || patterns.isEmpty()) continue;
    result.append(name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
  }
  return result;
}

}  // namespace tarnwick::tk
