// The desktop program: opens the main window on the Qt backend and ends when it closes.

#include "app/DisplayCheck.h"
#include "app/StartupMessages.h"
#include "config/Version.h"
#include "ui/main/CTarnwickApp.h"
#include "ui/toolkit/Backend.h"
#include "ui/toolkit/Types.h"
#include "ui/toolkit/qt/AppIcon.h"
#include "ui/toolkit/qt/QtBackend.h"
#include "ui/toolkit/qt/QtDialogWindow.h"

#include <QApplication>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>

namespace {
// Taken during static initialisation, as close to the process start as the program can get.
const std::chrono::steady_clock::time_point processStart = std::chrono::steady_clock::now();

// The application object, in static storage for the whole run.
tarnwick::CTarnwickApp theApp;

// With --benchmark-startup the program reports how long the main window took to appear and how
// much memory it needed, then closes the window at once.
void reportStartupAndClose(tarnwick::tk::QtDialogWindow& window) {
  const double elapsed =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - processStart)
          .count();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("main window shown after %.1f ms; peak memory %ld kB\n", elapsed, usage.ru_maxrss);
  std::fflush(stdout);
  window.closeWith(tarnwick::tk::IDCANCEL);
}
}  // namespace

int main(int argc, char** argv) {
  bool benchmarkStartup = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::puts("tarnwick " TARNWICK_VERSION);
      return 0;
    }
    if (std::strcmp(argv[i], "--benchmark-startup") == 0) benchmarkStartup = true;
  }
  if (!tarnwick::displayAvailable(argc, argv)) {
    std::fprintf(stderr, "%s\n", tarnwick::noDisplayMessage().c_str());
    return 1;
  }

  tarnwick::holdStartupMessages();
  QApplication application(argc, argv);
  tarnwick::releaseStartupMessages();
  QApplication::setApplicationName(QStringLiteral("Tarnwick"));
  QApplication::setApplicationVersion(QStringLiteral(TARNWICK_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("tarnwick"));
  QApplication::setWindowIcon(tarnwick::tk::applicationIcon());

  tarnwick::tk::QtBackend backend;
  tarnwick::tk::setBackend(&backend);
  if (benchmarkStartup) {
    // Only the first window shown, the main window, ends the run.
    backend.setShownHook([reported = false](tarnwick::tk::QtDialogWindow& window) mutable {
      if (reported) return;
      reported = true;
      reportStartupAndClose(window);
    });
  }
  theApp.InitInstance();
  tarnwick::tk::setBackend(nullptr);
  return 0;
}
