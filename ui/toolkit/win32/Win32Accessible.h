#pragma once

#include "ui/toolkit/DialogHost.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace tarnwick::tk::win32 {

class ControlAccessible;

// What a screen reader is told about the controls of one dialog window. A screen reader asks a
// control for its accessible object with WM_GETOBJECT; the answer is the system's own object for
// the control (oleacc's standard one, which knows the control's value, place, state and
// actions), with the name and description the host gives. Where the system's object has no role
// of its own for the control (it says "client", as Wine's does for buttons and lists), the role
// is the host's and a check box or radio button says whether it is checked (the native control's
// own check). The accessibility libraries are loaded on the first question, so a start without
// a screen reader does not wait for them.
class WindowAccessibility {
 public:
  explicit WindowAccessibility(const DialogHost& host) : host_(host) {}
  // Objects still held by a screen reader answer every later question with "disconnected".
  ~WindowAccessibility();
  WindowAccessibility(const WindowAccessibility&) = delete;
  WindowAccessibility& operator=(const WindowAccessibility&) = delete;

  // The answer to WM_GETOBJECT for control `index` (window `control`); none when the question is
  // not for the control's client object or the system's accessibility cannot be had (the
  // control's own default answer then stands).
  std::optional<LRESULT> answer(HWND control, int index, WPARAM wParam, LPARAM lParam);

 private:
  const DialogHost& host_;
  std::vector<ControlAccessible*> objects_;  // by index, made on the first question
};

}  // namespace tarnwick::tk::win32
