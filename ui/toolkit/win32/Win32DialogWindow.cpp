#include "ui/toolkit/win32/Win32DialogWindow.h"

#include "ui/toolkit/WindowFit.h"
#include "ui/toolkit/win32/DialogTemplateBuilder.h"

// After windows.h: control subclassing, and the coordinates of a message's point.
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

namespace tarnwick::tk::win32 {

// The style values the template builder writes are those of the Windows headers.
static_assert(style::kPopup == WS_POPUP && style::kChild == WS_CHILD);
static_assert(style::kVisible == WS_VISIBLE && style::kDisabled == WS_DISABLED);
static_assert(style::kCaption == WS_CAPTION && style::kBorder == WS_BORDER);
static_assert(style::kVScroll == WS_VSCROLL && style::kSysMenu == WS_SYSMENU);
static_assert(style::kGroup == WS_GROUP && style::kMinimizeBox == WS_MINIMIZEBOX);
static_assert(style::kTabStop == WS_TABSTOP && style::kDsSetFont == DS_SETFONT);
static_assert(style::kDsModalFrame == DS_MODALFRAME && style::kExAppWindow == WS_EX_APPWINDOW);
static_assert(style::kBsDefPushButton == BS_DEFPUSHBUTTON && style::kBsCheckBox == BS_CHECKBOX);
static_assert(style::kBsRadioButton == BS_RADIOBUTTON && style::kBsGroupBox == BS_GROUPBOX);
static_assert(style::kBsNotify == BS_NOTIFY && style::kEsPassword == ES_PASSWORD);
static_assert(style::kEsAutoHScroll == ES_AUTOHSCROLL && style::kEsCenter == ES_CENTER);
static_assert(style::kEsRight == ES_RIGHT && style::kSsIcon == SS_ICON);
static_assert(style::kSsCenter == SS_CENTER && style::kSsRight == SS_RIGHT);
static_assert(style::kCbsDropDownList == CBS_DROPDOWNLIST);

namespace {

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

std::u16string windowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  const int got = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

COLORREF colourRef(Rgb c) { return RGB(c.red, c.green, c.blue); }

bool isRadio(const CDialogEx& dialog, int index) {
  return index >= 0 && dialog.controls()[static_cast<std::size_t>(index)].kind == ControlKind::RadioButton;
}

Rgb rgbOf(COLORREF c) { return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)}; }

// The side of the system's check box and radio button mark at 96 dots per inch.
constexpr int kCheckMark = 13;
// The frame of a closed list and the line before its drop button: the dark grey of the
// desktop's control borders.
constexpr COLORREF kListBorder = RGB(122, 122, 122);
// How far a window that does not fit scrolls for a mouse wheel notch and for a scroll bar's arrow.
constexpr int kWheelStep = 48;
constexpr int kLineStep = 16;

// What a control shows as its text: an edit's own text (masked when it has a password
// character), a list's chosen entry, any other control's caption.
std::u16string shownText(HWND control, const ControlState& s) {
  if (s.kind == ControlKind::ComboBox) {
    return s.selection >= 0 && s.selection < static_cast<int>(s.items.size())
               ? s.items[static_cast<std::size_t>(s.selection)]
               : std::u16string();
  }
  std::u16string text = windowText(control);
  if (s.kind == ControlKind::Edit && s.passwordChar != 0) text.assign(text.size(), s.passwordChar);
  return text;
}

void drawText(HDC dc, const std::u16string& text, RECT area, UINT format) {
  DrawTextW(dc, wide(text), static_cast<int>(text.size()), &area, format);
}

// Messages after which a system control may have drawn itself at once (not through WM_PAINT):
// the window then paints the host's look over it again.
bool mayRedrawItself(UINT message) {
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_CAPTURECHANGED:
    case WM_COMMAND:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case CB_SETCURSEL:
    case CB_RESETCONTENT:
    case CB_SHOWDROPDOWN:
    case EM_SETPASSWORDCHAR:
      return true;
    default:
      return false;
  }
}

}  // namespace

Win32DialogWindow::Win32DialogWindow(CDialogEx& dialog, HWND owner)
    : dialog_(dialog), host_(dialog, *this), owner_(owner) {}

Win32DialogWindow::~Win32DialogWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  for (auto& [colour, brush] : brushes_) DeleteObject(brush);
  if (icon_ != nullptr) DestroyIcon(icon_);
}

int Win32DialogWindow::runModal(const std::function<void(HWND)>& shown) {
  const std::vector<std::uint16_t> units = buildDialogTemplate(dialog_.dialogTemplate());
  hwnd_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                     reinterpret_cast<LPCDLGTEMPLATEW>(units.data()), owner_,
                                     &Win32DialogWindow::dialogProc, reinterpret_cast<LPARAM>(this));
  if (hwnd_ == nullptr) {
    dialog_.EndDialog(IDCANCEL);
    return host_.finish();
  }
  const std::size_t count = dialog_.controls().size();
  // The dialog manager made one child per template control, in template order: the n-th child
  // is control n. They are looked up once here; asking the window system for a sibling is a
  // round trip to Wine's server, and the controls are looked up on every change and paint.
  controls_.assign(count, nullptr);
  HWND child = GetWindow(hwnd_, GW_CHILD);
  for (std::size_t i = 0; i < count && child != nullptr; ++i) {
    controls_[i] = child;
    child = GetWindow(child, GW_HWNDNEXT);
  }
  looks_.assign(count, ControlLook{});
  shownItems_.assign(count, {});
  for (std::size_t i = 0; i < count; ++i) {
    const ControlKind kind = dialog_.controls()[i].kind;
    // Lists, check boxes and radio buttons are drawn here in every state, edits when disabled:
    // the system's controls draw disabled text in a grey of their own, and lists with a wider
    // drop button. Every control a user can use tells a screen reader what the host calls it.
    if (kind == ControlKind::ComboBox || kind == ControlKind::CheckBox ||
        kind == ControlKind::RadioButton || kind == ControlKind::Edit ||
        kind == ControlKind::PushButton) {
      SetWindowSubclass(controlWindow(static_cast<int>(i)), &Win32DialogWindow::controlProc, i,
                        reinterpret_cast<DWORD_PTR>(this));
    }
    showControl(static_cast<int>(i));
  }
  RECT client;
  GetClientRect(hwnd_, &client);
  content_ = SIZE{client.right, client.bottom};
  HDC dc = GetDC(hwnd_);
  dpi_ = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(hwnd_, dc);

  if (!host_.start()) {
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    return host_.result();
  }
  appendSystemMenu();
  fitToScreen();
  // Modal: the owner takes no input while this dialog is open.
  ownerDisabled_ = owner_ != nullptr && IsWindowEnabled(owner_);
  if (ownerDisabled_) EnableWindow(owner_, FALSE);
  ShowWindow(hwnd_, SW_SHOW);
  host_.showInitialState();
  UpdateWindow(hwnd_);
  if (shown) shown(hwnd_);

  MSG msg;
  bool quit = false;
  while (!done_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      quit = true;
      break;
    }
    if (got < 0) break;
    if (preTranslate(msg)) continue;
    // A focus that the dialog manager moves for Tab came by the keyboard.
    tabbing_ = msg.message == WM_KEYDOWN && msg.wParam == VK_TAB;
    if (!IsDialogMessageW(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    tabbing_ = false;
  }
  enableOwner();
  DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
  return host_.finish();
}

// Enter, Escape and the arrow keys on radio buttons go to the dialog object; everything else
// (Tab, Space on a button, typing) is the dialog manager's and the controls' own.
bool Win32DialogWindow::preTranslate(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  // The menu key and Shift+F10 offer the dialog's own menu entries (About ...): where a window
  // manager draws the title bar, its menu does not carry them.
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  if ((msg.wParam == VK_APPS && !shift) || (msg.wParam == VK_F10 && shift)) {
    if (GetKeyState(VK_CONTROL) < 0) return false;
    return host_.contextMenu(true);
  }
  if (msg.message != WM_KEYDOWN) return false;
  if ((GetKeyState(VK_CONTROL) < 0) || (GetKeyState(VK_MENU) < 0)) return false;
  const HWND focus = GetFocus();
  const int focusIndex = indexOfWindow(focus);
  // An open drop-down list takes Enter and Escape itself.
  const bool droppedList = focusIndex >= 0 &&
                           dialog_.controls()[static_cast<std::size_t>(focusIndex)].kind == ControlKind::ComboBox &&
                           SendMessageW(focus, CB_GETDROPPEDSTATE, 0, 0) != 0;
  switch (msg.wParam) {
    case VK_RETURN:
      if (droppedList) return false;
      host_.enter();
      return true;
    case VK_ESCAPE:
      if (droppedList) return false;
      host_.escape();
      return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (!isRadio(dialog_, focusIndex)) return false;
      return host_.arrow(msg.wParam == VK_RIGHT || msg.wParam == VK_DOWN);
    default:
      return false;
  }
}

INT_PTR CALLBACK Win32DialogWindow::dialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    reinterpret_cast<Win32DialogWindow*>(lParam)->hwnd_ = hwnd;
    return FALSE;  // the focus is placed once the dialog object has initialised
  }
  auto* self = reinterpret_cast<Win32DialogWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (self == nullptr || self->hwnd_ != hwnd) return FALSE;
  return self->handleMessage(message, wParam, lParam);
}

INT_PTR Win32DialogWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0 || mirroring_ > 0) return TRUE;  // a menu or accelerator, or our own change
      onCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_SYSCOMMAND: {
      const int command = static_cast<int>(wParam & 0xFFF0);
      if (command == SC_CLOSE) {
        host_.closeBox();
        return TRUE;
      }
      for (const SystemMenuItem& item : dialog_.systemMenu()) {
        if (item.id != 0 && item.id == command) {
          host_.systemCommand(item.id);
          return TRUE;
        }
      }
      return FALSE;  // move, minimize, restore: the window's own
    }
    case WM_CLOSE:
      host_.closeRequested();
      return TRUE;
    case WM_PAINT:
      onPaint();
      return TRUE;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
      // Themed check boxes and radio buttons draw their parent's background behind them by
      // asking it to erase or print: it must be the painted colour, not the system's.
      return eraseBackground(reinterpret_cast<HDC>(wParam)) ? TRUE : FALSE;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(icon_);
    case WM_CONTEXTMENU:
      // A right click on the dialog's background (or a label), or the keyboard's menu key.
      host_.contextMenu(GET_X_LPARAM(lParam) == -1 && GET_Y_LPARAM(lParam) == -1);
      return TRUE;
    case WM_HSCROLL:
      onScroll(SB_HORZ, LOWORD(wParam));
      return TRUE;
    case WM_VSCROLL:
      onScroll(SB_VERT, LOWORD(wParam));
      return TRUE;
    case WM_MOUSEWHEEL:
      if ((GetWindowLongW(hwnd_, GWL_STYLE) & WS_VSCROLL) == 0) return FALSE;
      scrollTo(scroll_.x, scroll_.y - GET_WHEEL_DELTA_WPARAM(wParam) * kWheelStep / WHEEL_DELTA);
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return reinterpret_cast<INT_PTR>(onCtlColor(reinterpret_cast<HDC>(wParam),
                                                  reinterpret_cast<HWND>(lParam)));
    default:
      return FALSE;
  }
}

void Win32DialogWindow::onCommand(int id, int code) {
  const int index = dialog_.indexOf(id);
  if (index < 0) return;
  switch (dialog_.controls()[static_cast<std::size_t>(index)].kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      if (code == BN_CLICKED) host_.click(id);
      if (code == BN_SETFOCUS) focusArrived(index);
      break;
    case ControlKind::Edit:
      if (code == EN_CHANGE) host_.type(id, windowText(controlWindow(index)));
      if (code == EN_SETFOCUS) focusArrived(index);
      break;
    case ControlKind::ComboBox:
      if (code == CBN_SELCHANGE) {
        host_.select(id, static_cast<int>(SendMessageW(controlWindow(index), CB_GETCURSEL, 0, 0)));
      }
      if (code == CBN_SETFOCUS) focusArrived(index);
      break;
    default:
      break;
  }
}

// Minimized: the icon drawn in the middle of the client area. Otherwise the dialog object's
// OnPaint decides the background; without a fill the dialog keeps the system's colour.
void Win32DialogWindow::onPaint() {
  PAINTSTRUCT ps;
  if (IsIconic(hwnd_)) {
    HDC dc = BeginPaint(hwnd_, &ps);
    SendMessageW(hwnd_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(hwnd_, &client);
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    if (icon_ != nullptr) DrawIcon(dc, x, y, icon_);
    EndPaint(hwnd_, &ps);
    return;
  }
  HDC dc = BeginPaint(hwnd_, &ps);
  eraseBackground(dc);
  // The focus ring around the control that has the focus, on the dialog's surface.
  if (ringIndex_ >= 0 && IsWindowVisible(controlWindow(ringIndex_))) {
    const RECT ring = ringRect(ringIndex_);
    HBRUSH brush = brushOf(looks_[static_cast<std::size_t>(ringIndex_)].focus);
    const int width = atDpi(kFocusRingWidth, dpi_);
    const RECT sides[] = {
        {ring.left, ring.top, ring.right, ring.top + width},
        {ring.left, ring.bottom - width, ring.right, ring.bottom},
        {ring.left, ring.top, ring.left + width, ring.bottom},
        {ring.right - width, ring.top, ring.right, ring.bottom},
    };
    for (const RECT& side : sides) FillRect(dc, &side, brush);
  }
  EndPaint(hwnd_, &ps);
}

bool Win32DialogWindow::eraseBackground(HDC dc) {
  if (IsIconic(hwnd_)) return false;
  const PaintContext paint = host_.paint();
  const auto fill = paint.fill();
  if (!fill) return false;
  RECT client;
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, brushOf(*fill));
  return true;
}

HBRUSH Win32DialogWindow::brushOf(Rgb colour) {
  auto [it, added] = brushes_.try_emplace(colourRef(colour), nullptr);
  if (added) it->second = CreateSolidBrush(colourRef(colour));
  return it->second;
}

// Every control stands on the ground the host chose for it (its own fill, or the dialog's
// background, a solid colour) and writes in the host's text colour.
HBRUSH Win32DialogWindow::onCtlColor(HDC dc, HWND control) {
  const int index = indexOfWindow(control);
  if (index < 0) return nullptr;
  const ControlLook& look = looks_[static_cast<std::size_t>(index)];
  if (look.nativeFace) return nullptr;
  SetTextColor(dc, colourRef(look.text));
  SetBkColor(dc, colourRef(look.ground));
  if (!look.fill) SetBkMode(dc, TRANSPARENT);
  return brushOf(look.ground);
}

// The entries the dialog object asked for (a separator and "About Tarnwick..." for the main
// window), appended to the window's real system menu.
void Win32DialogWindow::appendSystemMenu() {
  if (dialog_.systemMenu().empty()) return;
  HMENU menu = GetSystemMenu(hwnd_, FALSE);
  if (menu == nullptr) return;
  for (const SystemMenuItem& item : dialog_.systemMenu()) {
    if (item.id == 0) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id), wide(item.text));
    }
  }
}

// Controls without an id share 0xFFFF and cannot be found by id: they are found by position.
HWND Win32DialogWindow::controlWindow(int index) const {
  if (index < 0 || index >= static_cast<int>(controls_.size())) return nullptr;
  return controls_[static_cast<std::size_t>(index)];
}

int Win32DialogWindow::indexOfWindow(HWND control) const {
  if (control == nullptr) return -1;
  const auto found = std::find(controls_.begin(), controls_.end(), control);
  return found == controls_.end() ? -1 : static_cast<int>(found - controls_.begin());
}

void Win32DialogWindow::showControl(int index) {
  HWND w = controlWindow(index);
  if (w == nullptr) return;
  const ControlState& s = dialog_.controls()[static_cast<std::size_t>(index)];
  ++mirroring_;
  if (s.kind != ControlKind::ComboBox && s.kind != ControlKind::Icon && windowText(w) != s.text) {
    SetWindowTextW(w, wide(s.text));
  }
  if ((IsWindowEnabled(w) != FALSE) != s.enabled) EnableWindow(w, s.enabled ? TRUE : FALSE);
  const bool visible = (GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE) != 0;
  if (visible != s.visible) ShowWindow(w, s.visible ? SW_SHOWNA : SW_HIDE);
  switch (s.kind) {
    case ControlKind::Static:
      fitLabel(index);
      break;
    case ControlKind::ComboBox: {
      // A list is filled one AddString at a time, each a change of its own: entries added at
      // the end are appended, and only a list that lost or changed entries is filled afresh.
      auto& shown = shownItems_[static_cast<std::size_t>(index)];
      if (shown != s.items) {
        const bool grown = shown.size() < s.items.size() &&
                           std::equal(shown.begin(), shown.end(), s.items.begin());
        if (!grown) {
          SendMessageW(w, CB_RESETCONTENT, 0, 0);
          shown.clear();
        }
        for (std::size_t i = shown.size(); i < s.items.size(); ++i) {
          SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(s.items[i])));
          shown.push_back(s.items[i]);
        }
      }
      if (SendMessageW(w, CB_GETCURSEL, 0, 0) != s.selection) {
        SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(s.selection), 0);
      }
      break;
    }
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      if (SendMessageW(w, BM_GETCHECK, 0, 0) != s.check) {
        SendMessageW(w, BM_SETCHECK, s.check != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      break;
    case ControlKind::Edit:
      if (static_cast<char16_t>(SendMessageW(w, EM_GETPASSWORDCHAR, 0, 0)) != s.passwordChar) {
        SendMessageW(w, EM_SETPASSWORDCHAR, s.passwordChar, 0);
        InvalidateRect(w, nullptr, TRUE);
      }
      SendMessageW(w, EM_SETLIMITTEXT, static_cast<WPARAM>(s.textLimit), 0);
      break;
    default:
      break;
  }
  --mirroring_;
}

void Win32DialogWindow::showCaption() { SetWindowTextW(hwnd_, wide(dialog_.GetWindowText())); }

void Win32DialogWindow::showIcon(int iconResourceId) {
  if (iconResourceId == 0 || icon_ != nullptr) return;
  HINSTANCE module = GetModuleHandleW(nullptr);
  icon_ = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(iconResourceId), IMAGE_ICON, 0,
                                        0, LR_DEFAULTSIZE));
  HICON small = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(iconResourceId),
                                              IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (icon_ != nullptr) SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  if (small != nullptr) SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void Win32DialogWindow::showLook(int index, const ControlLook& look) {
  ControlLook& current = looks_[static_cast<std::size_t>(index)];
  if (current == look) return;
  current = look;
  if (HWND w = controlWindow(index)) InvalidateRect(w, nullptr, TRUE);
  if (index == ringIndex_) invalidateRing(index);
}

NativePalette Win32DialogWindow::nativePalette() const {
  return NativePalette{rgbOf(GetSysColor(COLOR_BTNFACE)), rgbOf(GetSysColor(COLOR_WINDOW)),
                       rgbOf(GetSysColor(COLOR_WINDOWTEXT))};
}

void Win32DialogWindow::moveFocus(int index, bool selectText) {
  HWND w = controlWindow(index);
  if (w == nullptr) return;
  ++mirroring_;
  if (GetFocus() != w) SetFocus(w);
  if (selectText) SendMessageW(w, EM_SETSEL, 0, -1);
  --mirroring_;
  moveRing(index);
}

// The keyboard focus reached control `index`: the ring moves there, and the host hears of it.
void Win32DialogWindow::focusArrived(int index) {
  moveRing(index);
  host_.focusedByUser(dialog_.controls()[static_cast<std::size_t>(index)].id, tabbing_);
}

void Win32DialogWindow::moveRing(int index) {
  if (ringIndex_ == index) return;
  invalidateRing(ringIndex_);
  ringIndex_ = index;
  invalidateRing(index);
}

RECT Win32DialogWindow::ringRect(int index) const {
  RECT r{};
  HWND w = controlWindow(index);
  if (w == nullptr) return r;
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
  InflateRect(&r, atDpi(kFocusRingReach, dpi_), atDpi(kFocusRingReach, dpi_));
  return r;
}

// The ring's place is painted again, with the controls it runs beside.
void Win32DialogWindow::invalidateRing(int index) {
  if (index < 0) return;
  const RECT r = ringRect(index);
  RedrawWindow(hwnd_, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32DialogWindow::bringIntoView(int index) {
  if (controlWindow(index) == nullptr) return;
  const auto style = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
  if ((style & (WS_HSCROLL | WS_VSCROLL)) == 0) return;
  const RECT ring = ringRect(index);
  RECT view;
  GetClientRect(hwnd_, &view);
  // In the dialog's own coordinates: where it stands in the window plus how far it is scrolled.
  const int x = scrollToShow(scroll_.x, view.right, ring.left + scroll_.x, ring.right - ring.left,
                             content_.cx);
  const int y = scrollToShow(scroll_.y, view.bottom, ring.top + scroll_.y, ring.bottom - ring.top,
                             content_.cy);
  scrollTo(x, y);
}

// A window larger than the screen's free area takes what fits, with scroll bars for the rest;
// every window stands inside that area.
void Win32DialogWindow::fitToScreen() {
  RECT frame;
  GetWindowRect(hwnd_, &frame);
  RECT client;
  GetClientRect(hwnd_, &client);
  const int frameWidth = static_cast<int>((frame.right - frame.left) - client.right);
  const int frameHeight = static_cast<int>((frame.bottom - frame.top) - client.bottom);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  HWND anchor = owner_ != nullptr ? owner_ : hwnd_;
  if (!GetMonitorInfoW(MonitorFromWindow(anchor, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT work = monitor.rcWork;
  const int bar = std::max(GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL));
  const WindowFit fit = fitWindow(
      {content_.cx, content_.cy},
      {static_cast<int>(work.right - work.left) - frameWidth,
       static_cast<int>(work.bottom - work.top) - frameHeight},
      bar);
  const bool scrolls = fit.horizontal || fit.vertical;
  int width = static_cast<int>(frame.right - frame.left);
  int height = static_cast<int>(frame.bottom - frame.top);
  int x = static_cast<int>(frame.left);
  int y = static_cast<int>(frame.top);
  if (scrolls) {
    LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    if (fit.horizontal) style |= WS_HSCROLL;
    if (fit.vertical) style |= WS_VSCROLL;
    SetWindowLongW(hwnd_, GWL_STYLE, style);
    width = fit.window.width + frameWidth;
    height = fit.window.height + frameHeight;
    // Centred on the free area; the parts that do not fit are reached by scrolling.
    x = static_cast<int>(work.left) + (static_cast<int>(work.right - work.left) - width) / 2;
    y = static_cast<int>(work.top) + (static_cast<int>(work.bottom - work.top) - height) / 2;
  }
  x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
  y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - height));
  SetWindowPos(hwnd_, nullptr, x, y, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE | (scrolls ? SWP_FRAMECHANGED : 0));
  if (!scrolls) return;
  const PixelSize view = fit.view(bar);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = static_cast<int>(content_.cx) - 1;
  info.nPage = static_cast<UINT>(view.width);
  if (fit.horizontal) SetScrollInfo(hwnd_, SB_HORZ, &info, TRUE);
  info.nMax = static_cast<int>(content_.cy) - 1;
  info.nPage = static_cast<UINT>(view.height);
  if (fit.vertical) SetScrollInfo(hwnd_, SB_VERT, &info, TRUE);
}

void Win32DialogWindow::scrollTo(int x, int y) {
  RECT view;
  GetClientRect(hwnd_, &view);
  x = std::clamp(x, 0, std::max(static_cast<int>(content_.cx - view.right), 0));
  y = std::clamp(y, 0, std::max(static_cast<int>(content_.cy - view.bottom), 0));
  if (x == scroll_.x && y == scroll_.y) return;
  ScrollWindowEx(hwnd_, scroll_.x - x, scroll_.y - y, nullptr, nullptr, nullptr, nullptr,
                 SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
  scroll_ = POINT{x, y};
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_POS;
  info.nPos = x;
  SetScrollInfo(hwnd_, SB_HORZ, &info, TRUE);
  info.nPos = y;
  SetScrollInfo(hwnd_, SB_VERT, &info, TRUE);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32DialogWindow::onScroll(int bar, int request) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(hwnd_, bar, &info);
  int position = info.nPos;
  const int page = static_cast<int>(info.nPage);
  switch (request) {
    case SB_LINEUP:
      position -= kLineStep;
      break;
    case SB_LINEDOWN:
      position += kLineStep;
      break;
    case SB_PAGEUP:
      position -= page;
      break;
    case SB_PAGEDOWN:
      position += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      position = info.nTrackPos;
      break;
    case SB_TOP:
      position = 0;
      break;
    case SB_BOTTOM:
      position = info.nMax;
      break;
    default:
      return;
  }
  if (bar == SB_HORZ) {
    scrollTo(position, scroll_.y);
  } else {
    scrollTo(scroll_.x, position);
  }
}

std::optional<int> Win32DialogWindow::showSystemMenu(int nearIndex) {
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return std::nullopt;
  for (const SystemMenuItem& item : dialog_.systemMenu()) {
    if (item.id == 0) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id), wide(item.text));
    }
  }
  POINT at{};
  if (HWND beside = nearIndex >= 0 ? controlWindow(nearIndex) : nullptr) {
    RECT r;
    GetWindowRect(beside, &r);
    at = POINT{r.left, r.bottom};
  } else {
    GetCursorPos(&at);
  }
  const BOOL chosen = TrackPopupMenu(menu,
                                     TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN |
                                         TPM_RIGHTBUTTON,
                                     at.x, at.y, 0, hwnd_, nullptr);
  DestroyMenu(menu);
  if (chosen == 0) return std::nullopt;
  return static_cast<int>(chosen);
}

LRESULT CALLBACK Win32DialogWindow::controlProc(HWND control, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR index, DWORD_PTR self) {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(control, &Win32DialogWindow::controlProc, index);
    return DefSubclassProc(control, message, wParam, lParam);
  }
  return reinterpret_cast<Win32DialogWindow*>(self)->handleControlMessage(
      control, static_cast<int>(index), message, wParam, lParam);
}

LRESULT Win32DialogWindow::handleControlMessage(HWND control, int index, UINT message,
                                                WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETOBJECT) {
    if (const auto answer = accessibility_.answer(control, index, wParam, lParam)) return *answer;
    return DefSubclassProc(control, message, wParam, lParam);
  }
  if (!drawnHere(control, index)) {
    const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
    // A disabled edit is drawn here: the change of state repaints it whole.
    if (message == WM_ENABLE) InvalidateRect(control, nullptr, TRUE);
    return result;
  }
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(control, &ps);
      paintControl(control, index, dc);
      EndPaint(control, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      paintControl(control, index, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    default: {
      const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
      if (mayRedrawItself(message)) InvalidateRect(control, nullptr, FALSE);
      return result;
    }
  }
}

bool Win32DialogWindow::drawnHere(HWND control, int index) const {
  const ControlKind kind = dialog_.controls()[static_cast<std::size_t>(index)].kind;
  if (kind == ControlKind::PushButton) return false;
  return kind != ControlKind::Edit || IsWindowEnabled(control) == FALSE;
}

void Win32DialogWindow::paintControl(HWND control, int index, HDC dc) {
  const int saved = SaveDC(dc);
  SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colourRef(looks_[static_cast<std::size_t>(index)].text));
  switch (dialog_.controls()[static_cast<std::size_t>(index)].kind) {
    case ControlKind::ComboBox:
      paintList(control, index, dc);
      break;
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      paintCheck(control, index, dc);
      break;
    default:
      paintDisabledEdit(control, index, dc);
      break;
  }
  RestoreDC(dc, saved);
}

// A label of one line widens to its text where the font is wider than the template's.
void Win32DialogWindow::fitLabel(int index) {
  const ControlState& s = dialog_.controls()[static_cast<std::size_t>(index)];
  HWND w = controlWindow(index);
  RECT units{s.rect.x, s.rect.y, s.rect.width, s.rect.height};
  MapDialogRect(hwnd_, &units);  // each of the four on its own, as the dialog was laid out
  const Rect box{static_cast<int>(units.left - scroll_.x), static_cast<int>(units.top - scroll_.y),
                 static_cast<int>(units.right), static_cast<int>(units.bottom)};
  HDC dc = GetDC(w);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32W(dc, wide(s.text), static_cast<int>(s.text.size()), &extent);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(w, dc);
  const Rect fitted = labelBox(box, s.style, static_cast<int>(extent.cx),
                               static_cast<int>(metrics.tmHeight));
  RECT now;
  GetWindowRect(w, &now);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&now), 2);
  if (now.left == fitted.x && now.right - now.left == fitted.width) return;
  SetWindowPos(w, nullptr, fitted.x, fitted.y, fitted.width, fitted.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// A closed list: its frame, the field with the chosen entry, and a narrow drop button (a line
// and an arrow).
void Win32DialogWindow::paintList(HWND control, int index, HDC dc) {
  const ControlState& s = dialog_.controls()[static_cast<std::size_t>(index)];
  const ControlLook& look = looks_[static_cast<std::size_t>(index)];
  RECT r;
  GetClientRect(control, &r);
  FillRect(dc, &r, brushOf(look.ground));
  HBRUSH border = brushOf(rgbOf(kListBorder));
  FrameRect(dc, &r, border);
  const int button = atDpi(kListButtonWidth, dpi_);
  const int buttonLeft = static_cast<int>(r.right) - button;
  const RECT line{buttonLeft - 1, r.top + 1, buttonLeft, r.bottom - 1};
  FillRect(dc, &line, border);
  const int cx = buttonLeft + button / 2;
  const int cy = static_cast<int>(r.top + r.bottom) / 2;
  const int half = atDpi(3, dpi_);
  const POINT arrow[] = {{cx - half, cy - half / 3}, {cx + half, cy - half / 3}, {cx, cy + half - half / 3}};
  SelectObject(dc, brushOf(look.text));
  SelectObject(dc, GetStockObject(NULL_PEN));
  Polygon(dc, arrow, 3);
  const Rect field = listTextField(static_cast<int>(r.right), static_cast<int>(r.bottom), dpi_);
  const int padding = atDpi(kListPadding, dpi_);
  const RECT text{field.x + padding, field.y, field.x + field.width - padding,
                  field.y + field.height};
  drawText(dc, shownText(control, s), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
}

// A check box or radio button: the system's mark, then the caption.
void Win32DialogWindow::paintCheck(HWND control, int index, HDC dc) {
  const ControlState& s = dialog_.controls()[static_cast<std::size_t>(index)];
  RECT r;
  GetClientRect(control, &r);
  FillRect(dc, &r, brushOf(looks_[static_cast<std::size_t>(index)].ground));
  const int box = std::min(atDpi(kCheckMark, dpi_), static_cast<int>(r.bottom - r.top));
  const int top = static_cast<int>(r.top + r.bottom - box) / 2;
  RECT mark{r.left, top, r.left + box, top + box};
  UINT state = s.kind == ControlKind::RadioButton ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
  if (s.check != 0) state |= DFCS_CHECKED;
  if (!s.enabled) state |= DFCS_INACTIVE;
  if ((SendMessageW(control, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0) state |= DFCS_PUSHED;
  DrawFrameControl(dc, &mark, DFC_BUTTON, state);
  const RECT text{mark.right + box / 3, r.top, r.right, r.bottom};
  drawText(dc, s.text, text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

// A disabled edit: its text (or its mask) in the host's colour on its ground; the system's
// disabled edit would draw it in a grey of its own whatever it is told.
void Win32DialogWindow::paintDisabledEdit(HWND control, int index, HDC dc) {
  const ControlState& s = dialog_.controls()[static_cast<std::size_t>(index)];
  RECT r;
  GetClientRect(control, &r);
  FillRect(dc, &r, brushOf(looks_[static_cast<std::size_t>(index)].ground));
  RECT text;
  SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
  UINT align = DT_LEFT;
  if ((s.style & kCenterText) != 0) align = DT_CENTER;
  if ((s.style & kRightText) != 0) align = DT_RIGHT;
  drawText(dc, shownText(control, s), text, DT_SINGLELINE | DT_NOPREFIX | align);
}

// The dialog and its controls again: the background first, then the controls over it (the
// labels are drawn without a background of their own).
void Win32DialogWindow::repaintBackground() {
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The owner takes input again before this window goes, so that the activation (and with it the
// keyboard) returns to it: hidden while its owner is still disabled, the window would leave no
// window active, and keys would reach nothing until a click.
void Win32DialogWindow::enableOwner() {
  if (!ownerDisabled_) return;
  ownerDisabled_ = false;
  EnableWindow(owner_, TRUE);
}

void Win32DialogWindow::closeWindow(int /*result*/) {
  done_ = true;
  enableOwner();
  ShowWindow(hwnd_, SW_HIDE);
}

}  // namespace tarnwick::tk::win32
