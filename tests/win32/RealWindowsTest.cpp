// The program's dialogs as real Windows dialogs (under Wine on an X server in CI): each is run
// through the Windows backend and, once shown, checked from inside its own modal loop: every
// control where the template puts it (dialog units converted by the dialog's own font), the
// painted background colour read back from the screen, the system menu, and a picture of the
// window under the build folder. Then the window is closed through its system menu's Close.

#include "ui/main/CAboutDlg.h"
#include "ui/main/CTarnwickDlg.h"
#include "ui/network/CMmsSetupDlg.h"
#include "ui/network/CParamPwd.h"
#include "ui/options/COrgNameDlg.h"
#include "ui/options/CPasswordDlg.h"
#include "ui/options/CSMSCtrlDlg.h"
#include "ui/options/CSerialNoDlg.h"
#include "ui/options/CTimeLapseDlg.h"
#include "ui/options/CTimerSettingDlg.h"
#include "config/ConfigRecord.h"
#include "config/Defaults.h"
#include "ui/toolkit/win32/Win32Backend.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tarnwick::tk::win32 {
namespace {

struct Shown {
  bool seen = false;
  std::u16string caption;
  std::vector<std::string> problems;
  COLORREF background = CLR_INVALID;
  std::vector<std::u16string> systemMenu;
};

std::u16string textOf(HWND w) {
  wchar_t buffer[512] = {};
  GetWindowTextW(w, buffer, 512);
  return std::u16string(buffer, buffer + wcslen(buffer));
}

// A 24-bit BMP of the window as it is on the screen, for people to look at (Wine's PrintWindow
// and WM_PRINT leave the controls out).
void saveScreenshot(HWND hwnd, const std::string& name) {
  RECT r;
  GetWindowRect(hwnd, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const std::filesystem::path folder = std::filesystem::u8path(TARNWICK_SCREENSHOT_DIR);
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  const std::size_t size = stride * static_cast<std::size_t>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + size);
  if (FILE* out = _wfopen((folder / (name + ".bmp")).c_str(), L"wb")) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info.bmiHeader, sizeof(BITMAPINFOHEADER), 1, out);
    std::fwrite(bits, 1, size, out);
    std::fclose(out);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

// Checks the window from inside its modal loop, then closes it with the system menu's Close.
void inspect(HWND hwnd, const CDialogEx& dialog, Shown& shown, const std::string& name) {
  shown.seen = true;
  shown.caption = textOf(hwnd);
  UpdateWindow(hwnd);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  std::vector<RECT> placed;
  int index = 0;
  for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT), ++index) {
    if (index >= static_cast<int>(dialog.controls().size())) {
      shown.problems.push_back("more child windows than template controls");
      break;
    }
    const ControlState& control = dialog.controls()[static_cast<std::size_t>(index)];
    // The dialog manager converts x, y, width and height each on its own (MapDialogRect of a
    // rectangle whose four fields are those four values).
    RECT units{control.rect.x, control.rect.y, control.rect.width, control.rect.height};
    MapDialogRect(hwnd, &units);
    const RECT expected{units.left, units.top, units.left + units.right, units.top + units.bottom};
    RECT actual;
    GetWindowRect(child, &actual);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&actual), 2);
    // A drop-down list's template height is that of its open list; closed, the system sizes it
    // to one line, and an icon takes the size of its picture. A label of one line may be wider,
    // as wide as its text in a font wider than the template's.
    const bool sizedBySystem = control.kind == ControlKind::ComboBox || control.kind == ControlKind::Icon;
    const bool widened = control.kind == ControlKind::Static && actual.right > expected.right &&
                         actual.bottom == expected.bottom;
    const bool same = actual.left == expected.left && actual.top == expected.top &&
                      (sizedBySystem || widened ||
                       (actual.right == expected.right && actual.bottom == expected.bottom));
    if (!same) {
      char line[200];
      std::snprintf(line, sizeof line, "control %d (id %d): at %ld,%ld-%ld,%ld, template %ld,%ld-%ld,%ld",
                    index, control.id, actual.left, actual.top, actual.right, actual.bottom,
                    expected.left, expected.top, expected.right, expected.bottom);
      shown.problems.push_back(line);
    }
    if ((GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0) placed.push_back(actual);
    // A list shows the entries and the choice the dialog holds, in its order.
    if (control.kind == ControlKind::ComboBox) {
      std::vector<std::u16string> items;
      const LRESULT count = SendMessageW(child, CB_GETCOUNT, 0, 0);
      for (WPARAM i = 0; static_cast<LRESULT>(i) < count; ++i) {
        std::wstring item(static_cast<std::size_t>(SendMessageW(child, CB_GETLBTEXTLEN, i, 0)), L'\0');
        SendMessageW(child, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        items.emplace_back(item.begin(), item.end());
      }
      if (items != control.items || SendMessageW(child, CB_GETCURSEL, 0, 0) != control.selection) {
        shown.problems.push_back("list " + std::to_string(control.id) + ": " +
                                 std::to_string(items.size()) + " entries shown, " +
                                 std::to_string(control.items.size()) +
                                 " held, or another entry chosen");
      }
    }
  }
  if (index < static_cast<int>(dialog.controls().size())) {
    shown.problems.push_back("fewer child windows than template controls");
  }
  // The background at the first client point, scanning from the bottom right, under no control.
  RECT client;
  GetClientRect(hwnd, &client);
  HDC dc = GetDC(hwnd);
  for (int y = client.bottom - 3; y > 2 && shown.background == CLR_INVALID; y -= 3) {
    for (int x = client.right - 3; x > 2; x -= 3) {
      POINT p{x, y};
      bool covered = false;
      for (const RECT& r : placed) {
        RECT grown{r.left - 2, r.top - 2, r.right + 2, r.bottom + 2};
        covered = covered || PtInRect(&grown, p);
      }
      if (!covered) {
        shown.background = GetPixel(dc, x, y);
        break;
      }
    }
  }
  ReleaseDC(hwnd, dc);
  HMENU menu = GetSystemMenu(hwnd, FALSE);
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    wchar_t item[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    info.dwTypeData = item;
    info.cch = 127;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    std::u16string text = (info.fType & MFT_SEPARATOR) ? u"-" : std::u16string(item, item + wcslen(item));
    shown.systemMenu.push_back(std::to_string(info.wID).size() > 0 && info.wID == 16 ? u"16:" + text : text);
  }
  saveScreenshot(hwnd, name);
  PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

class RealWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    programRecord() = ConfigRecord{};
    applyDefaults(programRecord());
    setBackend(&backend_);
  }
  void TearDown() override { setBackend(nullptr); }

  Shown run(CDialogEx& dialog, const std::string& name) {
    Shown shown;
    backend_.setShownHook([&](void* hwnd) {
      if (!shown.seen) inspect(static_cast<HWND>(hwnd), dialog, shown, name);
    });
    result_ = dialog.DoModal();
    backend_.setShownHook(nullptr);
    return shown;
  }

  void expectLaidOutAndPainted(const Shown& shown, COLORREF background) {
    ASSERT_TRUE(shown.seen) << "the window was never shown";
    for (const std::string& p : shown.problems) ADD_FAILURE() << p;
    EXPECT_EQ(shown.background, background)
        << "background " << std::hex << shown.background << ", expected " << background;
    EXPECT_EQ(result_, IDCANCEL);  // the system menu's Close is Cancel
  }

  Win32Backend backend_;
  int result_ = 0;
};

TEST_F(RealWindows, TheMainWindowHasItsCaptionLayoutColourAndAboutEntry) {
  CTarnwickDlg dialog;
  const Shown shown = run(dialog, "win32-main");
  expectLaidOutAndPainted(shown, RGB(215, 220, 240));
  EXPECT_EQ(shown.caption.rfind(u"Tarnwick V4.22", 0), 0u);
  ASSERT_GE(shown.systemMenu.size(), 2u);
  EXPECT_EQ(shown.systemMenu[shown.systemMenu.size() - 2], u"-");
  EXPECT_EQ(shown.systemMenu.back(), u"16:About Tarnwick...");
}

// Dragged while minimized, the window shows the program's icon in its large size, the one the
// caption's icon was set from; minimized and restored again it keeps its look.
TEST_F(RealWindows, TheMainWindowDragsItsIconWhenMinimized) {
  CTarnwickDlg dialog;
  struct Seen {
    bool shown = false;
    HICON drag = nullptr;
    HICON big = nullptr;
    SIZE dragSize{};
    bool iconic = false;
    bool restored = false;
  } seen;
  backend_.setShownHook([&](void* handle) {
    if (seen.shown) return;
    seen.shown = true;
    HWND hwnd = static_cast<HWND>(handle);
    seen.drag = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_QUERYDRAGICON, 0, 0));
    seen.big = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0));
    ICONINFO info{};
    if (seen.drag != nullptr && GetIconInfo(seen.drag, &info)) {
      BITMAP bitmap{};
      GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
      seen.dragSize = SIZE{bitmap.bmWidth, bitmap.bmHeight};
      if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
      if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
    }
    ShowWindow(hwnd, SW_MINIMIZE);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    seen.iconic = IsIconic(hwnd) != FALSE;
    ShowWindow(hwnd, SW_RESTORE);
    seen.restored = IsIconic(hwnd) == FALSE;
    PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  result_ = dialog.DoModal();
  backend_.setShownHook(nullptr);
  ASSERT_TRUE(seen.shown);
  ASSERT_NE(seen.drag, nullptr) << "no drag icon";
  EXPECT_EQ(seen.drag, seen.big);
  EXPECT_EQ(seen.dragSize.cx, GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(seen.dragSize.cy, GetSystemMetrics(SM_CYICON));
  EXPECT_TRUE(seen.iconic);
  EXPECT_TRUE(seen.restored);
  EXPECT_EQ(result_, IDCANCEL);
}

TEST_F(RealWindows, TheNetworkWindowHasItsLayoutAndColour) {
  CMmsSetupDlg dialog;
  const Shown shown = run(dialog, "win32-network");
  expectLaidOutAndPainted(shown, RGB(195, 210, 235));
  EXPECT_EQ(shown.caption, u"MMS / 4G Setup");
}

TEST_F(RealWindows, OptionDialogsAreLaidOutOnTheirPaintedColour) {
  struct Case {
    std::unique_ptr<CDialogEx> dialog;
    const char* name;
    COLORREF background;
  };
  std::vector<Case> cases;
  cases.push_back({std::make_unique<CPasswordDlg>(), "win32-password", RGB(215, 220, 245)});
  cases.push_back({std::make_unique<CSerialNoDlg>(), "win32-serial", RGB(215, 220, 245)});
  cases.push_back({std::make_unique<CTimeLapseDlg>(), "win32-timelapse", RGB(215, 220, 245)});
  cases.push_back({std::make_unique<COrgNameDlg>(), "win32-orgname", RGB(215, 220, 245)});
  cases.push_back({std::make_unique<CTimerSettingDlg>(), "win32-timer", RGB(215, 220, 245)});
  // The SMS dialog keeps the toolkit's look: the system's dialog colour.
  cases.push_back({std::make_unique<CSMSCtrlDlg>(), "win32-sms", GetSysColor(COLOR_BTNFACE)});
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    expectLaidOutAndPainted(run(*c.dialog, c.name), c.background);
  }
}

TEST_F(RealWindows, TheAboutBoxAndTheAccessPromptAreLaidOut) {
  CAboutDlg about;
  const Shown aboutShown = run(about, "win32-about");
  expectLaidOutAndPainted(aboutShown, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(aboutShown.caption, u"About Tarnwick");
  CParamPwd prompt;
  const Shown promptShown = run(prompt, "win32-parampwd");
  expectLaidOutAndPainted(promptShown, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(promptShown.caption, u"Please Input Password");
}

}  // namespace
}  // namespace tarnwick::tk::win32
