#pragma once

namespace tarnwick::tk {

// What Qt itself reports wrongly for our controls, mended for screen readers; installed once per
// program, before the first window is made.
//  - A radio button: the dialog keeps the groups (Qt's own exclusivity is off, see
//    QtDialogWindow), and Qt then reports a radio button as a check box. Ours stays a radio
//    button, with its checked state and one action, a press that reaches the dialog as a click.
//  - A drop-down list: on Linux Qt names it by its chosen entry ("5M 2592x1944") and leaves its
//    name to the label relation. Ours is called by the accessible name the host gave it; the
//    chosen entry stays its value.
void installAccessibleWidgets();

}  // namespace tarnwick::tk
