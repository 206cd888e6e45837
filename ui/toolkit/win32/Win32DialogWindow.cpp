#include "ui/toolkit/win32/Win32DialogWindow.h"

#include "ui/toolkit/win32/DialogTemplateBuilder.h"

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
  colours_.assign(count, CtlColor{});
  shownItems_.assign(count, {});
  for (std::size_t i = 0; i < count; ++i) showControl(static_cast<int>(i));

  if (!host_.start()) {
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    return host_.result();
  }
  appendSystemMenu();
  // Modal: the owner takes no input while this dialog is open.
  const bool ownerWasEnabled = owner_ != nullptr && IsWindowEnabled(owner_);
  if (ownerWasEnabled) EnableWindow(owner_, FALSE);
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
    if (!IsDialogMessageW(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  // The owner comes back before this window goes, so the activation returns to it.
  if (ownerWasEnabled) EnableWindow(owner_, TRUE);
  DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
  return host_.finish();
}

// Enter, Escape and the arrow keys on radio buttons go to the dialog object; everything else
// (Tab, Space on a button, typing) is the dialog manager's and the controls' own.
bool Win32DialogWindow::preTranslate(MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
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
      if (code == BN_SETFOCUS) host_.focusedByUser(id);
      break;
    case ControlKind::Edit:
      if (code == EN_CHANGE) host_.type(id, windowText(controlWindow(index)));
      if (code == EN_SETFOCUS) host_.focusedByUser(id);
      break;
    case ControlKind::ComboBox:
      if (code == CBN_SELCHANGE) {
        host_.select(id, static_cast<int>(SendMessageW(controlWindow(index), CB_GETCURSEL, 0, 0)));
      }
      if (code == CBN_SETFOCUS) host_.focusedByUser(id);
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
  EndPaint(hwnd_, &ps);
}

bool Win32DialogWindow::eraseBackground(HDC dc) {
  if (IsIconic(hwnd_)) return false;
  const PaintContext paint = host_.paint();
  const auto fill = paint.fill();
  if (!fill) return false;
  RECT client;
  GetClientRect(hwnd_, &client);
  const COLORREF colour = colourRef(*fill);
  auto [it, added] = brushes_.try_emplace(colour, nullptr);
  if (added) it->second = CreateSolidBrush(colour);
  FillRect(dc, &client, it->second);
  return true;
}

HBRUSH Win32DialogWindow::onCtlColor(HDC dc, HWND control) {
  const int index = indexOfWindow(control);
  if (index < 0) return nullptr;
  const CtlColor& c = colours_[static_cast<std::size_t>(index)];
  if (!c.transparentText && !c.hollowBrush && !c.brush && !c.textColour) return nullptr;
  if (c.textColour) SetTextColor(dc, colourRef(*c.textColour));
  if (c.transparentText) SetBkMode(dc, TRANSPARENT);
  if (c.hollowBrush) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  if (c.brush) {
    const COLORREF colour = colourRef(*c.brush);
    SetBkColor(dc, colour);
    auto [it, added] = brushes_.try_emplace(colour, nullptr);
    if (added) it->second = CreateSolidBrush(colour);
    return it->second;
  }
  const bool edit = dialog_.controls()[static_cast<std::size_t>(index)].kind == ControlKind::Edit &&
                    IsWindowEnabled(control);
  const int sysColour = edit ? COLOR_WINDOW : COLOR_BTNFACE;
  SetBkColor(dc, GetSysColor(sysColour));
  return GetSysColorBrush(sysColour);
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

void Win32DialogWindow::showColours(int index, const CtlColor& colours) {
  auto& current = colours_[static_cast<std::size_t>(index)];
  const bool changed = current.transparentText != colours.transparentText ||
                       current.hollowBrush != colours.hollowBrush ||
                       current.brush != colours.brush || current.textColour != colours.textColour;
  current = colours;
  if (changed) {
    if (HWND w = controlWindow(index)) InvalidateRect(w, nullptr, TRUE);
  }
}

void Win32DialogWindow::moveFocus(int index, bool selectText) {
  HWND w = controlWindow(index);
  if (w == nullptr) return;
  ++mirroring_;
  SetFocus(w);
  if (selectText) SendMessageW(w, EM_SETSEL, 0, -1);
  --mirroring_;
}

// The dialog and its controls again: the background first, then the controls over it (the
// labels are drawn without a background of their own).
void Win32DialogWindow::repaintBackground() {
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32DialogWindow::closeWindow(int /*result*/) {
  done_ = true;
  ShowWindow(hwnd_, SW_HIDE);
}

}  // namespace tarnwick::tk::win32
