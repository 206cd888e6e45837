#pragma once

#include "ui/toolkit/DialogTemplate.h"

namespace tarnwick::resources {

// "SMS Control Setting" (201 x 81): hour and minute of the SMS control interval.
const tk::DialogTemplate& smsCtrlTemplate();

namespace ids::smsCtrlDlg {
inline constexpr int kTemplate = 138;
inline constexpr int kLabel = 1155;  // "Interval"
inline constexpr int kHour = 1157;
inline constexpr int kMinute = 1158;
}  // namespace ids::smsCtrlDlg

}  // namespace tarnwick::resources
