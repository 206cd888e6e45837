#pragma once

#include "ui/toolkit/ControlState.h"

#include <string>

#include "ui/toolkit/WindowsNames.h"

namespace tarnwick::tk {

class CDialogEx;

// A handle on one control of a dialog, the way the dialog logic addresses it: by id. Every
// operation names the window message it stands for. A handle on an id that the dialog's
// template lacks does nothing and reads as empty; debug builds stop on it.
class Control {
 public:
  Control(CDialogEx& dialog, int index) : dialog_(&dialog), index_(index) {}

  bool IsValid() const { return index_ >= 0; }
  int GetDlgCtrlID() const;
  ControlKind kind() const;

  // Text of any control (WM_SETTEXT / WM_GETTEXT).
  void SetWindowText(const std::u16string& text);
  std::u16string GetWindowText() const;
  // The same under the names windows.h's macros turn them into (see WindowsNames.h).
  void SetWindowTextA(const std::u16string& text) { SetWindowText(text); }
  void SetWindowTextW(const std::u16string& text) { SetWindowText(text); }
  std::u16string GetWindowTextA() const { return GetWindowText(); }
  std::u16string GetWindowTextW() const { return GetWindowText(); }

  void EnableWindow(bool enable);
  bool IsWindowEnabled() const;
  void ShowWindow(bool show);
  bool IsWindowVisible() const;

  // Drop-down lists.
  int AddString(const std::u16string& text);   // CB_ADDSTRING: appends, returns the position
  void ResetContent();                         // CB_RESETCONTENT
  int SetCurSel(int position);                 // CB_SETCURSEL: outside the list selects nothing
  int GetCurSel() const;                       // CB_GETCURSEL: -1 when nothing is selected
  int GetCount() const;
  std::u16string GetLBText(int position) const;

  // Check boxes and radio buttons.
  void SetCheck(int state);  // BM_SETCHECK: 0 or 1
  int GetCheck() const;      // BM_GETCHECK

  // Edits.
  void SetPasswordChar(char16_t mask);  // EM_SETPASSWORDCHAR: 0 shows the text in clear
  char16_t GetPasswordChar() const;
  void LimitText(int maxChars);         // EM_LIMITTEXT
  int GetLimitText() const;

  void SetFocus();

  const ControlState& state() const;

 private:
  ControlState* mutableState() const;
  void changed() const;

  CDialogEx* dialog_;
  int index_;
};

}  // namespace tarnwick::tk

#define TARNWICK_NAMES_RESTORE
#include "ui/toolkit/WindowsNames.h"
