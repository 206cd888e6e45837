#include "ui/main/CTarnwickApp.h"

#include "ui/main/CTarnwickDlg.h"

namespace tarnwick {

bool CTarnwickApp::InitInstance() {
  // The window is made for this one run and destroyed when it ends; how it ended (Enter's OK,
  // Esc or the close box) makes no difference: the program stops either way.
  CTarnwickDlg dlg;
  dlg.DoModal();
  return false;
}

}  // namespace tarnwick
