#pragma once

#include <QIcon>
#include <QPixmap>

namespace tarnwick::tk {

// The program's icons, by icon resource number. The program has one: the application icon (128).
bool hasIconResource(int resourceId);
// The icon of a resource number, or a null icon for a number the program does not have.
QIcon iconResource(int resourceId);
// The application icon, for windows and the desktop.
QIcon applicationIcon();

}  // namespace tarnwick::tk
