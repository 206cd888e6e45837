// Finds windows and controls of a running Windows program for a test that drives it from the
// outside with real input (X events under Wine): it tells the driver where to click and what a
// window shows, and never sends the program anything itself.
//
//   tarnwick_win32_locate window TITLE          "x y width height" of the window, screen pixels
//   tarnwick_win32_locate control TITLE ID      "x y" of the centre of control ID
//   tarnwick_win32_locate text TITLE ID         the text of control ID (UTF-8)
//   tarnwick_win32_locate checked TITLE ID      "1" when check box or radio button ID is checked
//   tarnwick_win32_locate shows TITLE TEXT      succeeds when a child window's text is TEXT
//   tarnwick_win32_locate sysmenu TITLE         "x y" of the window's caption icon
//
// TITLE matches a visible top-level window whose caption starts with it (a caption of one
// space, as the program's message boxes have, is matched by " "). A window or control that is
// not there makes the program fail with status 1, so the driver can wait by asking again.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string toUtf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(size - 1));
  return out;
}

// The text as the window itself reports it: GetWindowTextW would return only the caption
// stored when the window was made for a control of another process, not what an edit holds now.
std::wstring textOf(HWND window) {
  wchar_t buffer[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  buffer[1023] = L'\0';
  return buffer;
}

struct Search {
  std::wstring prefix;
  HWND found = nullptr;
};

BOOL CALLBACK matchTopLevel(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  if (!IsWindowVisible(window)) return TRUE;
  const std::wstring caption = textOf(window);
  const bool match = search->prefix == L" " ? caption == L" "
                                            : caption.rfind(search->prefix, 0) == 0;
  if (!match) return TRUE;
  search->found = window;
  return FALSE;
}

HWND findWindow(const wchar_t* prefix) {
  Search search{prefix, nullptr};
  EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct TextSearch {
  std::wstring text;
  bool found = false;
};

BOOL CALLBACK matchChildText(HWND child, LPARAM context) {
  auto* search = reinterpret_cast<TextSearch*>(context);
  if (textOf(child) == search->text) {
    search->found = true;
    return FALSE;
  }
  return TRUE;
}

int usage() {
  std::fputs("usage: tarnwick_win32_locate window|control|text|checked|shows|sysmenu TITLE "
             "[ID|TEXT]\n",
             stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return usage();
  const std::wstring what = argv[1];
  HWND window = findWindow(argv[2]);
  if (window == nullptr) return 1;
  RECT r;
  if (what == L"window") {
    GetWindowRect(window, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
  }
  if (what == L"sysmenu") {
    // The icon sits at the left end of the caption bar, which lies between the frame's top and
    // the client area: its centre is half a caption height in from both.
    GetWindowRect(window, &r);
    POINT client{0, 0};
    ClientToScreen(window, &client);
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    std::printf("%ld %ld\n", client.x + caption / 2, client.y - caption / 2);
    return 0;
  }
  if (argc < 4) return usage();
  if (what == L"shows") {
    TextSearch search{argv[3], false};
    EnumChildWindows(window, matchChildText, reinterpret_cast<LPARAM>(&search));
    return search.found ? 0 : 1;
  }
  HWND control = GetDlgItem(window, static_cast<int>(std::wcstol(argv[3], nullptr, 10)));
  if (control == nullptr) return 1;
  if (what == L"control") {
    GetWindowRect(control, &r);
    std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return 0;
  }
  if (what == L"checked") {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
    std::printf("%d\n", state == BST_CHECKED ? 1 : 0);
    return 0;
  }
  if (what == L"text") {
    std::printf("%s\n", toUtf8(textOf(control).c_str()).c_str());
    return 0;
  }
  return usage();
}
