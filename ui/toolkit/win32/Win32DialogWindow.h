#pragma once

#include "ui/toolkit/DialogHost.h"
#include "ui/toolkit/win32/Win32Accessible.h"

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace tarnwick::tk::win32 {

// One dialog of the program as a Windows dialog: created from the in-memory template, driven by
// one dialog procedure that forwards the user's input to the DialogHost and mirrors the dialog
// object's control states onto the native controls. It runs its own modal loop, so that Enter
// and Escape reach the host as keys rather than as the dialog manager's IDOK and IDCANCEL.
class Win32DialogWindow : private NativeWindow {
 public:
  Win32DialogWindow(CDialogEx& dialog, HWND owner);
  ~Win32DialogWindow() override;
  Win32DialogWindow(const Win32DialogWindow&) = delete;
  Win32DialogWindow& operator=(const Win32DialogWindow&) = delete;

  // Creates the window, runs the dialog and returns its result.
  int runModal(const std::function<void(HWND)>& shown);
  HWND handle() const { return hwnd_; }
  const CDialogEx& model() const { return dialog_; }

 private:
  static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR index, DWORD_PTR self);
  LRESULT handleControlMessage(HWND control, int index, UINT message, WPARAM wParam,
                               LPARAM lParam);
  bool preTranslate(MSG& msg);
  void onCommand(int id, int code);
  void onPaint();
  bool eraseBackground(HDC dc);
  HBRUSH onCtlColor(HDC dc, HWND control);
  HBRUSH brushOf(Rgb colour);
  void appendSystemMenu();
  HWND controlWindow(int index) const;
  int indexOfWindow(HWND control) const;

  // Drawing the host's look where the system's controls would not show it.
  void paintControl(HWND control, int index, HDC dc);
  void paintList(HWND control, int index, HDC dc);
  void paintCheck(HWND control, int index, HDC dc);
  void paintDisabledEdit(HWND control, int index, HDC dc);
  bool drawnHere(HWND control, int index) const;
  void fitLabel(int index);

  // The focus ring and scrolling.
  void focusArrived(int index);
  void moveRing(int index);
  RECT ringRect(int index) const;
  void invalidateRing(int index);
  void fitToScreen();
  void enableOwner();
  void scrollTo(int x, int y);
  void onScroll(int bar, int request);

  // NativeWindow
  void showControl(int index) override;
  void showCaption() override;
  void showIcon(int iconResourceId) override;
  void showLook(int index, const ControlLook& look) override;
  NativePalette nativePalette() const override;
  void moveFocus(int index, bool selectText) override;
  void bringIntoView(int index) override;
  std::optional<int> showSystemMenu(int nearIndex) override;
  void repaintBackground() override;
  void closeWindow(int result) override;

  CDialogEx& dialog_;
  DialogHost host_;
  WindowAccessibility accessibility_{host_};  // after the host, which it asks
  HWND owner_;
  HWND hwnd_ = nullptr;
  HICON icon_ = nullptr;
  bool done_ = false;
  bool ownerDisabled_ = false;  // this window disabled its owner, and enables it again
  int mirroring_ = 0;  // >0 while the window changes controls itself: their notifications are ours
  std::vector<HWND> controls_;  // the native control of each template control, by index
  bool tabbing_ = false;  // the dialog manager is moving the focus for a Tab key
  int ringIndex_ = -1;    // the control the focus ring is drawn around
  SIZE content_{};        // the dialog's client size: the template's
  POINT scroll_{};        // how far the dialog is scrolled
  int dpi_ = 96;          // the pixels per inch it is laid out in
  std::vector<ControlLook> looks_;
  std::vector<std::vector<std::u16string>> shownItems_;
  std::map<COLORREF, HBRUSH> brushes_;
};

}  // namespace tarnwick::tk::win32
