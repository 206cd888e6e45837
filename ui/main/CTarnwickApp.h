#pragma once

namespace tarnwick {

// The application object. The program is one modal main window: InitInstance runs it and
// returns false once it has closed, so the program ends there. Nothing is saved on the way out.
class CTarnwickApp {
 public:
  // Opens the main window (CTarnwickDlg) through the active toolkit backend and returns when it
  // has closed. The window's result is not looked at. Always returns false.
  bool InitInstance();
};

}  // namespace tarnwick
