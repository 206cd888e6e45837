// The desktop program on Windows: the main window and its dialogs as native Windows dialogs.
// With --benchmark-startup it closes the main window as soon as it is shown and prints how long
// that took from the process's creation, for comparing start-up times.

#include "app/windows/StartupClock.h"
#include "ui/main/CTarnwickApp.h"
#include "ui/toolkit/Backend.h"
#include "ui/toolkit/win32/Win32Backend.h"

#include <windows.h>
// commctrl.h after windows.h: InitCommonControlsEx.
#include <commctrl.h>

#include <cstdio>
#include <cwchar>

namespace {
// The application object, in static storage for the whole run.
tarnwick::CTarnwickApp theApp;

bool hasArgument(const wchar_t* argument) {
  return std::wcsstr(GetCommandLineW(), argument) != nullptr;
}
}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  // Every common control class, as the program has always asked for them.
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0xFF};
  InitCommonControlsEx(&controls);

  tarnwick::tk::win32::Win32Backend backend;
  tarnwick::tk::setBackend(&backend);
  if (hasArgument(L"--benchmark-startup")) {
    backend.setShownHook([reported = false](void* hwnd) mutable {
      if (reported) return;
      reported = true;
      std::printf("main window shown after %.1f ms\n",
                  tarnwick::startup::millisecondsSinceProcessCreation());
      std::fflush(stdout);
      PostMessageW(static_cast<HWND>(hwnd), WM_SYSCOMMAND, SC_CLOSE, 0);
    });
  }
  theApp.InitInstance();
  tarnwick::tk::setBackend(nullptr);
  return 0;
}
