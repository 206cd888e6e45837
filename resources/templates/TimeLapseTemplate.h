#pragma once

#include "ui/toolkit/DialogTemplate.h"

namespace tarnwick::resources {

// "Time-lapse Setting" (245 x 96): hour, minute and second of the time-lapse period.
const tk::DialogTemplate& timeLapseTemplate();

namespace ids::timeLapseDlg {
inline constexpr int kTemplate = 133;
inline constexpr int kLabel = 1072;  // "Time-lapse"
inline constexpr int kHour = 1073;
inline constexpr int kMinute = 1074;
inline constexpr int kSecond = 1075;
}  // namespace ids::timeLapseDlg

}  // namespace tarnwick::resources
