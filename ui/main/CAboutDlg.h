#pragma once

#include "ui/toolkit/CDialogEx.h"

namespace tarnwick {

// The About box: the application icon and two lines of text. Its OK button and the close box
// end it through the toolkit's defaults.
class CAboutDlg : public tk::CDialogEx {
 public:
  CAboutDlg();
};

}  // namespace tarnwick
