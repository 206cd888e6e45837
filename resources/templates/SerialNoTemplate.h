#pragma once

#include "ui/toolkit/DialogTemplate.h"

namespace tarnwick::resources {

// "Serial Number Setting" (159 x 77): the camera serial number's edit.
const tk::DialogTemplate& serialNoTemplate();

namespace ids::serialNoDlg {
inline constexpr int kTemplate = 132;
inline constexpr int kLabel = 1068;     // "Serial No."
inline constexpr int kCodeEdit = 1069;  // plain, at most 4 characters
}  // namespace ids::serialNoDlg

}  // namespace tarnwick::resources
