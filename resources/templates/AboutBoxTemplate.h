#pragma once

#include "ui/toolkit/DialogTemplate.h"

namespace tarnwick::resources {

// The About box opened from the main window's system menu.
const tk::DialogTemplate& aboutBoxTemplate();

namespace ids::aboutDlg {
inline constexpr int kTemplate = 100;
inline constexpr int kNoticeText = 1114;
inline constexpr int kOkButton = 1;
}  // namespace ids::aboutDlg

}  // namespace tarnwick::resources
