#include "ui/toolkit/qt/FileFilter.h"

#include "ui/toolkit/FileFilter.h"

#include <QString>

namespace tarnwick::tk {

QStringList qtNameFilters(const std::u16string& filter) {
  QStringList result;
  for (const FileFilterEntry& entry : parseFileFilter(filter)) {
    QStringList patterns;
    for (const std::u16string& pattern : entry.patterns) {
      // Qt's "*.*" would only match names with a dot.
      patterns.append(matchesEveryFile(pattern) ? QStringLiteral("*")
                                                : QString::fromStdU16String(pattern));
    }
    result.append(QString::fromStdU16String(entry.name) + QStringLiteral(" (") +
                  patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
  }
  return result;
}

}  // namespace tarnwick::tk
