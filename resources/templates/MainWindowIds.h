#pragma once

// The control ids of the main window, apart from its template so that the platform-free form
// rules can name the controls without the dialog layer.

namespace tarnwick::resources {

namespace ids::tarnwickDlg {
inline constexpr int kTemplate = 102;

// Commands.
inline constexpr int kLoadConfigButton = 1116;
inline constexpr int kDefaultConfigButton = 1013;
inline constexpr int kSaveConfigButton = 1117;
inline constexpr int kMmsButton = 1031;
inline constexpr int kTimerButton = 1026;

// Labels that carry an id.
inline constexpr int kModeLabel = 1002;
inline constexpr int kLanguageLabel = 1003;
inline constexpr int kImageSizeLabel = 1004;
inline constexpr int kVideoSizeLabel = 1005;
inline constexpr int kShotNumberLabel = 1006;
inline constexpr int kVideoLengthLabel = 1007;
inline constexpr int kIntervalLabel = 1008;
inline constexpr int kPirSensitivityLabel = 1009;
inline constexpr int kDateStampLabel = 1010;
inline constexpr int kRecordAudioLabel = 1012;
inline constexpr int kSdCycleLabel = 1014;
inline constexpr int kGpsSwitchLabel = 1019;
inline constexpr int kVideoLengthHint = 1042;
inline constexpr int kIntervalHint = 1041;
inline constexpr int kPasswordLabel = 1065;
inline constexpr int kTimeLapseLabel = 1072;
inline constexpr int kSerialNoLabel = 1095;
inline constexpr int kOrgNameLabel = 1098;
inline constexpr int kSmsCtrlLabel = 1099;

// Drop-down lists.
inline constexpr int kModeList = 1000;
inline constexpr int kLanguageList = 1015;
inline constexpr int kImageSizeList = 1016;
inline constexpr int kVideoSizeList = 1017;
inline constexpr int kShotNumberList = 1018;
inline constexpr int kIntervalUnitList = 1020;
inline constexpr int kPirSensitivityList = 1021;
inline constexpr int kDateStampList = 1022;
inline constexpr int kRecordAudioList = 1024;
inline constexpr int kSdCycleList = 1025;
inline constexpr int kGpsSwitchList = 1027;
inline constexpr int kTimeZoneList = 1160;

// Number edits.
inline constexpr int kVideoLengthEdit = 1035;
inline constexpr int kIntervalEdit = 1040;

// The five On/Off pairs; each "On" starts a radio group of its own.
inline constexpr int kPasswordOn = 1103;
inline constexpr int kPasswordOff = 1104;
inline constexpr int kSerialNoOn = 1105;
inline constexpr int kSerialNoOff = 1106;
inline constexpr int kTimeLapseOn = 1107;
inline constexpr int kTimeLapseOff = 1108;
inline constexpr int kOrgNameOn = 1109;
inline constexpr int kOrgNameOff = 1110;
inline constexpr int kSmsCtrlOn = 1111;
inline constexpr int kSmsCtrlOff = 1112;

// System menu command that opens the About box.
inline constexpr int kAboutCommand = 0x0010;
}  // namespace ids::tarnwickDlg

}  // namespace tarnwick::resources
