// The window check on the Windows edition, under Wine on an X server of its own: every state of
// the table (window-check.table) opened through the program's own windows with native input
// (button clicks, list notifications, typed characters, posted keys), looked at from what the
// window has painted (its client area) and from the windows' own report (focus,
// selection, scroll position), and checked by the table's rules. window-check.sh runs it at 96
// DPI on 1280 x 1024 and at 144 DPI on 1366 x 768.

#include "WindowCheckRun.h"

#include "config/ConfigRecord.h"
#include "config/TextConversions.h"
#include "resources/templates/MainWindowIds.h"
#include "ui/main/CTarnwickDlg.h"
#include "ui/toolkit/ControlLook.h"
#include "ui/toolkit/win32/Win32Backend.h"

#include <windows.h>
// After windows.h: what a screen reader asks a window (oleacc).
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace tarnwick::tk::win32 {
namespace {

using windowcheck::ControlSight;
using windowcheck::Sight;

const wchar_t* wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string textOf(HWND w) {
  const int length = GetWindowTextLengthW(w);
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  const int got = GetWindowTextW(w, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

std::u16string trimmed(const std::u16string& text) {
  const std::size_t first = text.find_first_not_of(u' ');
  if (first == std::u16string::npos) return {};
  return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

Rect rectIn(HWND control, HWND dialog) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right - r.left),
          static_cast<int>(r.bottom - r.top)};
}

// The width of `text` and the height of a line in a control's own font.
SIZE measure(HWND control, const std::u16string& text, int* lineHeight = nullptr) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, wide(text), static_cast<int>(text.size()), &size);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  if (lineHeight != nullptr) *lineHeight = static_cast<int>(metrics.tmHeight);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return size;
}

int dpi(HWND window) {
  HDC dc = GetDC(window);
  const int value = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(window, dc);
  return value;
}

// The window's client area as the window shows it: read from the window's own surface, which
// holds what it and its controls have painted (Wine's PrintWindow leaves the controls out, and
// the X server's copy of the screen is brought up to date only later).
windowcheck::Picture capture(HWND hwnd) {
  RECT client;
  GetClientRect(hwnd, &client);
  windowcheck::Picture picture;
  picture.width = static_cast<int>(client.right);
  picture.height = static_cast<int>(client.bottom);
  HDC window = GetDC(hwnd);
  HDC memory = CreateCompatibleDC(window);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, picture.width, picture.height, window, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const std::uint8_t*>(bits);
  picture.pixels.reserve(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height));
  for (int i = 0; i < picture.width * picture.height; ++i, p += 4) {
    picture.pixels.push_back({p[2], p[1], p[0]});
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(hwnd, window);
  return picture;
}

// The words of the table for a Windows accessible role.
std::string roleWords(const VARIANT& role) {
  if (role.vt != VT_I4) return "no role";
  switch (role.lVal) {
    case ROLE_SYSTEM_PUSHBUTTON: return "button";
    case ROLE_SYSTEM_CHECKBUTTON: return "check box";
    case ROLE_SYSTEM_RADIOBUTTON: return "radio button";
    case ROLE_SYSTEM_COMBOBOX: return "list";
    case ROLE_SYSTEM_TEXT: return "edit";
    case ROLE_SYSTEM_CLIENT: return "client";
    default: return "role " + std::to_string(role.lVal);
  }
}

std::string joined(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& w : words) out += (out.empty() ? "" : ", ") + w;
  return out;
}

// What a screen reader hears of one control's accessible object (for the control itself).
struct Heard {
  bool asked = false;  // the object could be had
  std::string name;
  std::string description;
  std::string role = "no accessible object";
  std::string states;
};

std::string fromBstr(BSTR text) {
  if (text == nullptr) return {};
  const std::u16string wide(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
  SysFreeString(text);
  return toUtf8(wide);
}

Heard heardFrom(IAccessible* object) {
  Heard heard;
  if (object == nullptr) return heard;
  heard.asked = true;
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  if (object->get_accName(self, &text) == S_OK) heard.name = fromBstr(text);
  text = nullptr;
  if (object->get_accDescription(self, &text) == S_OK) heard.description = fromBstr(text);
  VARIANT role{};
  heard.role = object->get_accRole(self, &role) == S_OK ? roleWords(role) : "no role";
  VARIANT state{};
  if (object->get_accState(self, &state) == S_OK && state.vt == VT_I4) {
    std::vector<std::string> words;
    if ((state.lVal & STATE_SYSTEM_CHECKED) != 0) words.emplace_back("checked");
    if ((state.lVal & STATE_SYSTEM_UNAVAILABLE) != 0) words.emplace_back("disabled");
    if ((state.lVal & STATE_SYSTEM_PROTECTED) != 0) words.emplace_back("masked");
    heard.states = joined(words);
  }
  object->Release();
  return heard;
}

// The states control `s` is in, in the words of heardFrom.
std::string statesOf(const ControlState& s) {
  std::vector<std::string> words;
  if ((s.kind == ControlKind::CheckBox || s.kind == ControlKind::RadioButton) && s.check != 0) {
    words.emplace_back("checked");
  }
  if (!s.enabled) words.emplace_back("disabled");
  if (s.kind == ControlKind::Edit && s.passwordChar != 0) words.emplace_back("masked");
  return joined(words);
}

// How many controls a screen reader would hear rightly from the system's own accessible objects
// alone (oleacc's standard objects, without the window's answer), in the first look at a window.
struct Unaided {
  int controls = 0;
  int named = 0;
  int described = 0;
  int roles = 0;
  int states = 0;
};

// Actions for the event loop: a thread timer each, so that nested windows' loops run them too.
std::map<UINT_PTR, std::function<void()>>& pendingActions() {
  static std::map<UINT_PTR, std::function<void()>> actions;
  return actions;
}

void CALLBACK runPending(HWND /*hwnd*/, UINT /*message*/, UINT_PTR id, DWORD /*time*/) {
  KillTimer(nullptr, id);
  auto it = pendingActions().find(id);
  if (it == pendingActions().end()) return;
  std::function<void()> action = std::move(it->second);
  pendingActions().erase(it);
  action();
}

class WindowsEdition : public windowcheck::Edition {
 public:
  explicit WindowsEdition(Win32Backend& backend) : backend_(backend) {}

  void later(std::function<void()> action) override {
    const UINT_PTR id = SetTimer(nullptr, 0, 0, &runPending);
    pendingActions()[id] = std::move(action);
  }

  int topTemplate() override {
    HWND w = top();
    return w != nullptr ? backend_.topDialog()->templateId() : 0;
  }

  void act(const ScriptStep& step) override {
    HWND w = top();
    if (w == nullptr) return;
    HWND control = step.id > 0 ? GetDlgItem(w, step.id) : nullptr;
    using K = ScriptStep::Kind;
    switch (step.kind) {
      case K::Click:
        if (control != nullptr) SendMessageW(control, BM_CLICK, 0, 0);
        break;
      case K::Select:
        if (control != nullptr) {
          SetFocus(control);
          SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(step.number), 0);
          SendMessageW(w, WM_COMMAND, MAKEWPARAM(step.id, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(control));
        }
        break;
      case K::Type:
        if (control != nullptr) {
          SetFocus(control);
          SendMessageW(control, EM_SETSEL, 0, -1);
          for (const char16_t c : step.text) SendMessageW(control, WM_CHAR, c, 0);
        }
        break;
      case K::KeyEnter:
      case K::KeyEscape:
      case K::KeyArrow: {
        WPARAM key = step.kind == K::KeyEnter ? VK_RETURN : VK_ESCAPE;
        if (step.kind == K::KeyArrow) {
          key = step.text == u"up" ? VK_UP : step.text == u"down" ? VK_DOWN
                : step.text == u"left" ? VK_LEFT : VK_RIGHT;
        }
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
        break;
      }
      case K::SysMenu:
        PostMessageW(w, WM_SYSCOMMAND, static_cast<WPARAM>(step.id), 0);
        break;
      default:
        break;
    }
  }

  // Through the window's own loop, as a key press comes: the dialog manager moves the focus.
  void pressTab() override { PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0); }

  Sight look(bool picture) override {
    Sight sight;
    HWND w = top();
    if (w == nullptr) return sight;
    const CDialogEx& model = *backend_.topDialog();
    if (picture) {
      RedrawWindow(w, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      sight.picture = capture(w);
    }
    RECT client;
    GetClientRect(w, &client);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT frame;
    GetWindowRect(w, &frame);
    const RECT& work = monitor.rcWork;
    sight.onScreen = frame.left >= work.left && frame.top >= work.top &&
                     frame.right <= work.right && frame.bottom <= work.bottom;
    RECT workOnClient = work;
    MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&workOnClient), 2);
    RECT visible;
    IntersectRect(&visible, &client, &workOnClient);
    sight.visible = {static_cast<int>(visible.left), static_cast<int>(visible.top),
                     static_cast<int>(visible.right - visible.left),
                     static_cast<int>(visible.bottom - visible.top)};
    sight.content = {0, 0, static_cast<int>(client.right), static_cast<int>(client.bottom)};
    sight.ringReach = atDpi(kFocusRingReach, dpi(w));
    const auto style = static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE));
    for (const int bar : {SB_HORZ, SB_VERT}) {
      if ((style & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) == 0) continue;
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_POS | SIF_RANGE;
      GetScrollInfo(w, bar, &info);
      if (bar == SB_HORZ) {
        sight.content.x = -info.nPos;
        sight.content.width = info.nMax + 1;
      } else {
        sight.content.y = -info.nPos;
        sight.content.height = info.nMax + 1;
      }
    }
    HWND focus = GetFocus();
    int index = 0;
    for (HWND child = GetWindow(w, GW_CHILD);
         child != nullptr && index < static_cast<int>(model.controls().size());
         child = GetWindow(child, GW_HWNDNEXT), ++index) {
      const ControlState& s = model.controls()[static_cast<std::size_t>(index)];
      ControlSight c;
      c.index = index;
      c.id = s.id;
      c.kind = s.kind;
      c.enabled = IsWindowEnabled(child) != FALSE;
      c.visible = IsWindowVisible(child) != FALSE;
      c.box = rectIn(child, w);
      describeText(child, s, c);
      if (child == focus) {
        sight.focused = index;
        if (s.kind == ControlKind::Edit) {
          DWORD start = 0;
          DWORD end = 0;
          SendMessageW(child, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
          sight.selectionStart = static_cast<int>(start);
          sight.selectionEnd = static_cast<int>(end);
        }
      }
      sight.controls.push_back(std::move(c));
    }
    return sight;
  }

  // Each control's own accessible object, as a screen reader gets it: AccessibleObjectFromWindow
  // asks the control (WM_GETOBJECT), and the answer comes back through oleacc.
  std::optional<std::vector<windowcheck::Announced>> announced() override {
    HWND w = top();
    if (w == nullptr) return std::nullopt;
    const CDialogEx& model = *backend_.topDialog();
    const bool firstLook = unaided_.find(model.templateId()) == unaided_.end();
    Unaided& unaided = unaided_[model.templateId()];
    std::vector<windowcheck::Announced> heard;
    int index = 0;
    for (HWND child = GetWindow(w, GW_CHILD);
         child != nullptr && index < static_cast<int>(model.controls().size());
         child = GetWindow(child, GW_HWNDNEXT), ++index) {
      const ControlState& s = model.controls()[static_cast<std::size_t>(index)];
      windowcheck::Announced a;
      a.id = s.id;
      a.interactive = s.kind != ControlKind::Static && s.kind != ControlKind::GroupBox &&
                      s.kind != ControlKind::Icon;
      a.visible = IsWindowVisible(child) != FALSE;
      a.value = toUtf8(s.kind == ControlKind::Edit ? s.text
                       : s.kind == ControlKind::ComboBox && s.selection >= 0
                           ? s.items[static_cast<std::size_t>(s.selection)]
                           : std::u16string());
      if (a.interactive) {
        IAccessible* object = nullptr;
        AccessibleObjectFromWindow(child, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&object));
        const Heard said = heardFrom(object);
        a.name = said.name;
        a.description = said.description;
        a.role = said.role;
        a.states = statesOf(s);
        a.statesHeard = said.asked ? said.states : "no accessible object";
        if (firstLook && a.visible) {
          IAccessible* standard = nullptr;
          CreateStdAccessibleObject(child, OBJID_CLIENT, __uuidof(IAccessible),
                                    reinterpret_cast<void**>(&standard));
          const Heard alone = heardFrom(standard);
          ++unaided.controls;
          unaided.named += alone.name == a.name ? 1 : 0;
          unaided.described += alone.description == a.description ? 1 : 0;
          unaided.roles += alone.role == a.role ? 1 : 0;
          unaided.states += alone.states == a.states ? 1 : 0;
        }
      }
      heard.push_back(std::move(a));
    }
    return heard;
  }

  const std::map<int, Unaided>& unaided() const { return unaided_; }

  void closeTop() override {
    HWND w = top();
    if (w != nullptr) {
      PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (HWND active = GetActiveWindow()) {
      PostMessageW(active, WM_CLOSE, 0, 0);  // a message box: answered as its close box does
    }
  }

 private:
  // The program's window on top, or nullptr when something else (a message box) is active.
  HWND top() const {
    HWND w = static_cast<HWND>(backend_.topWindow());
    if (w == nullptr) return nullptr;
    HWND active = GetActiveWindow();
    return active == nullptr || active == w ? w : nullptr;
  }

  // What a control shows as text, where, and how wide it is in the control's font.
  static void describeText(HWND child, const ControlState& s, ControlSight& c) {
    std::u16string text;
    int lineHeight = 0;
    const RECT box{c.box.x, c.box.y, c.box.x + c.box.width, c.box.y + c.box.height};
    RECT area = box;
    switch (s.kind) {
      case ControlKind::Icon:
        return;
      case ControlKind::Static:
        text = textOf(child);
        measure(child, u"X", &lineHeight);
        c.oneLine = c.box.height < 2 * lineHeight;
        break;
      case ControlKind::GroupBox:
        text = textOf(child);
        measure(child, u"X", &lineHeight);
        area = RECT{box.left + 4, box.top, box.right - 4, box.top + lineHeight};
        break;
      case ControlKind::Edit: {
        text = textOf(child);
        if (s.passwordChar != 0) text.assign(text.size(), s.passwordChar);
        RECT formatting;
        SendMessageW(child, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&formatting));
        area = RECT{box.left + formatting.left, box.top + formatting.top,
                    box.left + formatting.right, box.top + formatting.bottom};
        break;
      }
      case ControlKind::ComboBox: {
        if (s.selection >= 0 && s.selection < static_cast<int>(s.items.size())) {
          text = s.items[static_cast<std::size_t>(s.selection)];
        }
        // The field the window draws the entry in, and each entry's width.
        const Rect field = listTextField(c.box.width, c.box.height, dpi(child));
        const int padding = atDpi(kListPadding, dpi(child));
        area = RECT{box.left + field.x + padding, box.top + field.y,
                    box.left + field.x + field.width - padding, box.top + field.y + field.height};
        c.oneLine = true;
        for (std::size_t i = 0; i < s.items.size(); ++i) {
          const int width = static_cast<int>(measure(child, s.items[i]).cx);
          if (width > c.widestItem) {
            c.widestItem = width;
            c.widestPosition = static_cast<int>(i);
          }
        }
        break;
      }
      case ControlKind::CheckBox:
      case ControlKind::RadioButton: {
        // The mark (13 pixels at 96 DPI) at the left, the caption after a third of its width.
        text = s.text;
        const int mark = std::min(atDpi(13, dpi(child)), c.box.height);
        area = RECT{box.left + mark + mark / 3, box.top, box.right, box.bottom};
        c.oneLine = true;
        break;
      }
      case ControlKind::PushButton:
        text = textOf(child);
        area = RECT{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3};
        c.oneLine = true;
        break;
    }
    c.text = text;
    c.textBox = {static_cast<int>(area.left), static_cast<int>(area.top),
                 static_cast<int>(area.right - area.left), static_cast<int>(area.bottom - area.top)};
    c.textWidth = static_cast<int>(measure(child, trimmed(text)).cx);
  }

  Win32Backend& backend_;
  std::map<int, Unaided> unaided_;  // by template
};

// The environment the run is in ("96dpi", "144dpi"), for the pictures' names.
std::string environment() {
  const char* name = std::getenv("TARNWICK_WINDOW_CHECK_NAME");
  return name != nullptr ? name : "desktop";
}

// What a person looks at: each case's first look as a BMP under the build folder.
void savePicture(const windowcheck::Picture& picture, const std::string& caseName) {
  std::string name;
  for (const char c : caseName) {
    const bool keep = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    const bool upper = c >= 'A' && c <= 'Z';
    if (keep || upper) {
      name += upper ? static_cast<char>(c - 'A' + 'a') : c;
    } else if (!name.empty() && name.back() != '-') {
      name += '-';
    }
  }
  const std::filesystem::path folder =
      std::filesystem::u8path(TARNWICK_SCREENSHOT_DIR) / "window-check";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  const std::size_t stride = (static_cast<std::size_t>(picture.width) * 3 + 3) & ~std::size_t{3};
  std::vector<std::uint8_t> rows(stride * static_cast<std::size_t>(picture.height), 0);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const Rgb p = picture.at(x, picture.height - 1 - y);  // bottom-up rows
      std::uint8_t* out = &rows[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 3];
      out[0] = p.blue;
      out[1] = p.green;
      out[2] = p.red;
    }
  }
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = picture.width;
  header.biHeight = picture.height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + rows.size());
  const std::filesystem::path path = folder / ("win32-" + environment() + "-" + name + ".bmp");
  if (FILE* out = _wfopen(path.c_str(), L"wb")) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(rows.data(), 1, rows.size(), out);
    std::fclose(out);
  }
}

// The check leaves the main window's lists at their longest entries. It ends the window through
// its close box without the quit question (which has scripts of its own), as the Qt check ends
// it through the dialog.
class CheckedMainWindow : public CTarnwickDlg {
 public:
  bool hasUnsavedWork() override { return false; }
};

TEST(WindowCheck, EveryStateOfEveryWindowInTheTable) {
  std::vector<std::string> errors;
  const windowcheck::Table table = windowcheck::programTable(errors);
  ASSERT_TRUE(errors.empty()) << errors.front();

  // The screen reader's side asks through COM, on this thread as a screen reader's would.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  programRecord() = ConfigRecord{};
  Win32Backend backend;
  setBackend(&backend);
  WindowsEdition edition(backend);
  windowcheck::CheckRun run(table, edition, resources::ids::tarnwickDlg::kTemplate);
  run.setLookHook(savePicture);
  bool started = false;
  backend.setShownHook([&](void*) {
    if (started) return;
    started = true;
    edition.later([&run] { run.start(); });
  });
  CheckedMainWindow main;
  main.DoModal();
  setBackend(nullptr);
  programRecord() = ConfigRecord{};

  for (const std::string& p : windowcheck::problemsOf(run, table)) {
    ADD_FAILURE() << environment() << ", " << p;
  }
  // What the system's own accessible objects would tell a screen reader without the windows'
  // answers: the measure of what the windows' answers mend.
  for (const auto& [templateId, u] : edition.unaided()) {
    std::printf("%s, window %d: of %d controls, the system alone gives %d their name, %d their "
                "description, %d their role, %d their states\n",
                environment().c_str(), templateId, u.controls, u.named, u.described, u.roles,
                u.states);
  }
}

}  // namespace
}  // namespace tarnwick::tk::win32
