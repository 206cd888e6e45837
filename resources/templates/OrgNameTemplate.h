#pragma once

#include "ui/toolkit/DialogTemplate.h"

namespace tarnwick::resources {

// "Organization Name Setting" (201 x 81): the organization name's edit.
const tk::DialogTemplate& orgNameTemplate();

namespace ids::orgNameDlg {
inline constexpr int kTemplate = 134;
inline constexpr int kLabel = 1078;     // "Organization Name"
inline constexpr int kNameEdit = 1079;  // at most 8 characters
}  // namespace ids::orgNameDlg

}  // namespace tarnwick::resources
