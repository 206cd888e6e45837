#include "ui/toolkit/qt/FileFilter.h"

#include "ui/toolkit/FileFilter.h"

#include <QDir>
#include <QFileInfo>
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
    // Qt shows the patterns in parentheses behind the name; a name that already ends with its
    // own "(*.cfg)" would show them twice, so that part of the name gives way to them.
    QString shown = QString::fromStdU16String(entry.name);
    if (shown.endsWith(QLatin1Char(')'))) {
      if (const qsizetype open = shown.lastIndexOf(QLatin1Char('(')); open >= 0) {
        shown = shown.left(open).trimmed();
      }
    }
    if (shown.isEmpty()) continue;
    result.append(shown + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                  QLatin1Char(')'));
  }
  return result;
}

QStringList removableMediaFolders(const QStringList& mountPoints) {
  QStringList folders;
  for (const QString& point : mountPoints) {
    const QString clean = QDir::cleanPath(point);
    if (clean.startsWith(QLatin1String("/media/")) ||
        clean.startsWith(QLatin1String("/run/media/"))) {
      if (!folders.contains(clean)) folders.append(clean);
    }
  }
  return folders;
}

QString startingFolder(const QString& remembered, const QString& current, const QString& home) {
  if (!remembered.isEmpty() && QFileInfo(remembered).isDir()) return remembered;
  const QFileInfo here(current);
  if (!current.isEmpty() && here.isDir() && here.isWritable()) return current;
  return home;
}

}  // namespace tarnwick::tk
