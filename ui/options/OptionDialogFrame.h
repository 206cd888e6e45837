#pragma once

#include "ui/options/OptionRules.h"
#include "ui/toolkit/CDialogEx.h"

namespace tarnwick {

// The end of every option dialog's OK, after it has read its controls (without looking at that
// read's result) and run its check-and-write step: a failed check shows its message as a warning
// and leaves the dialog open; otherwise the toolkit's OK reads the controls once more and closes
// the dialog with IDOK only when that read succeeds (a field the toolkit refuses keeps it open,
// with the toolkit's own message).
void finishOptionOk(tk::CDialogEx& dialog, const OptionCheck& outcome);

}  // namespace tarnwick
