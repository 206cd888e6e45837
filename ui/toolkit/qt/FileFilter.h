#pragma once

#include <QStringList>

#include <string>

namespace tarnwick::tk {

// Turns a file-dialog filter in the "Name|patterns|Name|patterns||" form into Qt name filters:
// "Config file(*.cfg)|*.cfg|All files(*.*)|*.*||" gives "Config file (*.cfg)" and
// "All files (*)": Qt shows the patterns behind the name, so a name's own "(...)" gives way to
// them. Patterns separated by ';' are listed with spaces, and "*.*" (every file, with or without
// a dot) becomes "*". A name without patterns, or an empty name, is skipped.
QStringList qtNameFilters(const std::u16string& filter);

// The folders of the mounted volumes among `mountPoints` that a user plugs in (memory cards,
// USB sticks): those the desktop mounts under /media or /run/media, in the order given.
QStringList removableMediaFolders(const QStringList& mountPoints);

// Where a file dialog starts: `remembered` (the folder of the last file chosen) while it still
// exists; otherwise `current` if the user can write there (a save must be able to succeed),
// else `home`.
QString startingFolder(const QString& remembered, const QString& current, const QString& home);

}  // namespace tarnwick::tk
