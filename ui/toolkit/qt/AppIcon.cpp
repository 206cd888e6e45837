#include "ui/toolkit/qt/AppIcon.h"

#include "resources/Strings.h"

// The icon files are compiled into this static library; a static library's resources must be
// registered by hand, from outside any namespace.
static void registerIconResources() { Q_INIT_RESOURCE(tarnwick_icons); }

namespace tarnwick::tk {

bool hasIconResource(int resourceId) { return resourceId == resources::kIconApplication; }

QIcon iconResource(int resourceId) {
  if (!hasIconResource(resourceId)) return {};
  static const bool registered = (registerIconResources(), true);
  (void)registered;
  QIcon icon;
  for (const char* size : {"48", "128", "256"}) {
    icon.addFile(QStringLiteral(":/tarnwick/tarnwick-%1.png").arg(QLatin1String(size)));
  }
  return icon;
}

QIcon applicationIcon() { return iconResource(resources::kIconApplication); }

}  // namespace tarnwick::tk
