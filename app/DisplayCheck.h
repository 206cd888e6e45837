#pragma once

#include <string>

namespace tarnwick {

// Whether the desktop program has a display to open: an X11 or Wayland display in the
// environment, a Qt platform chosen through QT_QPA_PLATFORM, or one given with "-platform".
bool displayAvailable(int argc, const char* const* argv);

// The one line the program prints when it has no display.
std::string noDisplayMessage();

}  // namespace tarnwick
