#pragma once

#include "ui/toolkit/DialogHost.h"

#include <windows.h>

#include <functional>
#include <map>
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
  bool preTranslate(MSG& msg);
  void onCommand(int id, int code);
  void onPaint();
  bool eraseBackground(HDC dc);
  HBRUSH onCtlColor(HDC dc, HWND control);
  void appendSystemMenu();
  HWND controlWindow(int index) const;
  int indexOfWindow(HWND control) const;

  // NativeWindow
  void showControl(int index) override;
  void showCaption() override;
  void showIcon(int iconResourceId) override;
  void showColours(int index, const CtlColor& colours) override;
  void moveFocus(int index, bool selectText) override;
  void repaintBackground() override;
  void closeWindow(int result) override;

  CDialogEx& dialog_;
  DialogHost host_;
  HWND owner_;
  HWND hwnd_ = nullptr;
  HICON icon_ = nullptr;
  bool done_ = false;
  int mirroring_ = 0;  // >0 while the window changes controls itself: their notifications are ours
  std::vector<HWND> controls_;  // the native control of each template control, by index
  std::vector<CtlColor> colours_;
  std::vector<std::vector<std::u16string>> shownItems_;
  std::map<COLORREF, HBRUSH> brushes_;
};

}  // namespace tarnwick::tk::win32
