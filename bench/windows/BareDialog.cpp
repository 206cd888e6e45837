// The baseline for tarnwick.exe's start-up under Wine: a bare dialog of the main window's size
// and font, built in memory and run with DialogBoxIndirectParamW, that closes as soon as it has
// been shown and prints how long that took, as tarnwick.exe --benchmark-startup does.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
const std::chrono::steady_clock::time_point processStart = std::chrono::steady_clock::now();

void put(std::vector<WORD>& out, const wchar_t* text) {
  for (; *text != L'\0'; ++text) out.push_back(static_cast<WORD>(*text));
  out.push_back(0);
}

INT_PTR CALLBACK procedure(HWND hwnd, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    // Shown and painted once the queue is empty: then the time is taken and the dialog closed.
    PostMessageW(hwnd, WM_APP, 0, 0);
    return TRUE;
  }
  if (message == WM_APP) {
    UpdateWindow(hwnd);
    const double elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - processStart)
            .count();
    std::printf("bare dialog shown after %.1f ms\n", elapsed);
    std::fflush(stdout);
    EndDialog(hwnd, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}
}  // namespace

int main() {
  // DLGTEMPLATE, no menu, the standard class, a caption, then the font: 389 x 182 dialog units
  // in "MS Shell Dlg" 8 point, like the main window.
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  DLGTEMPLATE header{};
  header.style = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  header.cx = 389;
  header.cy = 182;
  std::memcpy(words.data(), &header, sizeof header);
  words.push_back(0);  // menu
  words.push_back(0);  // class
  put(words, L"Bare dialog");
  words.push_back(8);
  put(words, L"MS Shell Dlg");
  const INT_PTR result = DialogBoxIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(words.data()), nullptr,
      procedure, 0);
  return result == IDCANCEL ? 0 : 1;
}
