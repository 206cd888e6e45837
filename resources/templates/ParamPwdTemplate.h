#pragma once

#include "ui/toolkit/DialogTemplate.h"

namespace tarnwick::resources {

// "Please Input Password" (159 x 53): the access code that reveals the operator parameters of
// the network window.
const tk::DialogTemplate& paramPwdTemplate();

namespace ids::paramPwd {
inline constexpr int kTemplate = 137;
inline constexpr int kLabel = 1065;     // "Password"
inline constexpr int kCodeEdit = 1154;  // password style
}  // namespace ids::paramPwd

}  // namespace tarnwick::resources
