#include "app/DisplayCheck.h"

#include <cstdlib>
#include <cstring>

namespace tarnwick {

namespace {
bool isSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}
}  // namespace

bool displayAvailable(int argc, const char* const* argv) {
  if (isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM")) return true;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
      return true;
    }
  }
  return false;
}

std::string noDisplayMessage() {
  return "tarnwick: no display found (DISPLAY and WAYLAND_DISPLAY are not set); "
         "use the command-line tool tarnwick-cfg, which needs none";
}

}  // namespace tarnwick
