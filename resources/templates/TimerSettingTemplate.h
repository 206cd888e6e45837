#pragma once

#include "ui/toolkit/DialogTemplate.h"

#include <array>

namespace tarnwick::resources {

// "Timer Setting" (251 x 191): three timer groups, each an ON check box with a start and a stop
// time (hour : minute). Every control of the Timer-3 group is hidden.
const tk::DialogTemplate& timerSettingTemplate();

namespace ids::timerSettingDlg {
inline constexpr int kTemplate = 130;

inline constexpr int kTimer1Group = 1127;  // "Timer-1"
inline constexpr int kTimer1On = 1131;     // "ON"
inline constexpr int kTimer1StartLabel = 1056;
inline constexpr int kTimer1StartHour = 1058;
inline constexpr int kTimer1StartMinute = 1059;
inline constexpr int kTimer1StopLabel = 1057;
inline constexpr int kTimer1StopHour = 1061;
inline constexpr int kTimer1StopMinute = 1060;

inline constexpr int kTimer2Group = 1128;  // "Timer-2"
inline constexpr int kTimer2On = 1132;
inline constexpr int kTimer2StartLabel = 1062;
inline constexpr int kTimer2StartHour = 1063;
inline constexpr int kTimer2StartMinute = 1064;
inline constexpr int kTimer2StopLabel = 1065;
inline constexpr int kTimer2StopHour = 1066;
inline constexpr int kTimer2StopMinute = 1067;

inline constexpr int kTimer3Group = 1129;  // "Timer-3", hidden
inline constexpr int kTimer3On = 1133;
inline constexpr int kTimer3StartLabel = 1068;
inline constexpr int kTimer3StartHour = 1069;
inline constexpr int kTimer3StartMinute = 1070;
inline constexpr int kTimer3StopLabel = 1071;
inline constexpr int kTimer3StopHour = 1072;
inline constexpr int kTimer3StopMinute = 1073;

// The same ids by timer (index 0-2 = timer 1-3).
inline constexpr std::array<int, 3> kOn{kTimer1On, kTimer2On, kTimer3On};
inline constexpr std::array<int, 3> kStartHour{kTimer1StartHour, kTimer2StartHour,
                                               kTimer3StartHour};
inline constexpr std::array<int, 3> kStartMinute{kTimer1StartMinute, kTimer2StartMinute,
                                                 kTimer3StartMinute};
inline constexpr std::array<int, 3> kStopHour{kTimer1StopHour, kTimer2StopHour, kTimer3StopHour};
inline constexpr std::array<int, 3> kStopMinute{kTimer1StopMinute, kTimer2StopMinute,
                                                kTimer3StopMinute};
}  // namespace ids::timerSettingDlg

}  // namespace tarnwick::resources
