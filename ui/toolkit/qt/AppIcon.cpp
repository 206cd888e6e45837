#include "ui/toolkit/qt/AppIcon.h"

#include "resources/Icons.h"
#include "resources/Strings.h"

// The icon files are compiled into this static library; a static library's resources must be
// registered by hand, from outside any namespace.
static void registerIconResources() { Q_INIT_RESOURCE(tarnwick_icons); }

namespace tarnwick::tk {

bool hasIconResource(int resourceId) { return resources::findIcon(resourceId) != nullptr; }

QIcon iconResource(int resourceId) {
  const resources::IconDescription* description = resources::findIcon(resourceId);
  if (description == nullptr) return {};
  static const bool registered = (registerIconResources(), true);
  (void)registered;
  // tarnwick_icons.qrc compiles the same files in under these names.
  QIcon icon;
  for (const resources::IconImage& image : description->images) {
    icon.addFile(QStringLiteral(":/tarnwick/") +
                 QString::fromUtf8(image.file.data(), static_cast<qsizetype>(image.file.size())));
  }
  return icon;
}

QIcon applicationIcon() { return iconResource(resources::kIconApplication); }

}  // namespace tarnwick::tk
