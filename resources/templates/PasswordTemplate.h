#pragma once

#include "ui/toolkit/DialogTemplate.h"

namespace tarnwick::resources {

// "Password Setting" (182 x 95): the camera password's edit, masked, and "Show password".
const tk::DialogTemplate& passwordTemplate();

namespace ids::passwordDlg {
inline constexpr int kTemplate = 131;
inline constexpr int kLabel = 1065;         // "Password"
inline constexpr int kCodeEdit = 1064;      // password style, at most 4 characters
inline constexpr int kShowPassword = 1151;  // check box "Show password"
}  // namespace ids::passwordDlg

}  // namespace tarnwick::resources
