#include "ui/options/OptionDialogFrame.h"

#include "ui/toolkit/MessageBoxes.h"

namespace tarnwick {

void finishOptionOk(tk::CDialogEx& dialog, const OptionCheck& outcome) {
  if (outcome) {
    tk::showWarning(*outcome);
    return;
  }
  // Qualified: the toolkit's standard OK, not the dialog's own override that called us.
  dialog.tk::CDialogEx::OnOK();
}

}  // namespace tarnwick
