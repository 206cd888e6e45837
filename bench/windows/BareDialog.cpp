// The baseline for tarnwick.exe's start-up under Wine: the main window's own template (the same
// controls, styles, font and size, built by the same template builder) run with
// DialogBoxIndirectParamW and a dialog procedure that does nothing. The program carries the same
// manifest (version 6 of the common controls, DPI awareness), so its controls are the same themed
// controls. It shows the dialog, paints it once and closes it, and prints how long that took from
// the process's creation, as tarnwick.exe --benchmark-startup does. Whatever tarnwick.exe takes
// beyond this is the program's own doing.

#include "app/windows/StartupClock.h"
#include "resources/templates/MainWindowTemplate.h"
#include "ui/toolkit/win32/DialogTemplateBuilder.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {
INT_PTR CALLBACK procedure(HWND hwnd, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    PostMessageW(hwnd, WM_APP, 0, 0);
    return TRUE;
  }
  if (message == WM_APP) {
    // The template has no WS_VISIBLE (tarnwick.exe shows its window once the dialog object has
    // initialised): show it and paint it, dialog and controls, before the time is taken.
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    std::printf("bare dialog shown after %.1f ms\n",
                tarnwick::startup::millisecondsSinceProcessCreation());
    std::fflush(stdout);
    EndDialog(hwnd, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}
}  // namespace

int main() {
  const std::vector<std::uint16_t> units =
      tarnwick::tk::win32::buildDialogTemplate(tarnwick::resources::mainWindowTemplate());
  const INT_PTR result = DialogBoxIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(units.data()), nullptr,
      procedure, 0);
  return result == IDCANCEL ? 0 : 1;
}
