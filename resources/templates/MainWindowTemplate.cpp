#include "resources/templates/MainWindowTemplate.h"

#include <array>

namespace tarnwick::resources {

namespace {
using tk::ControlKind;
using tk::ControlTemplate;
using namespace ids::tarnwickDlg;

constexpr std::uint32_t kLabel = tk::kStyleNone;
// Drop-down lists take no typing, keep the order of adding and scroll vertically.
constexpr std::uint32_t kList = tk::kTabStop | tk::kVScroll;
constexpr std::uint32_t kNumberEdit = tk::kBorder | tk::kAutoHScroll | tk::kTabStop;
constexpr std::uint32_t kButton = tk::kTabStop;
constexpr std::uint32_t kOnRadio = tk::kGroupStart | tk::kTabStop;
constexpr std::uint32_t kOffRadio = tk::kStyleNone;

// Tab order is the order of this table.
constexpr std::array<ControlTemplate, 49> kControls{{
    {kLoadConfigButton, ControlKind::PushButton, "Load Config File", {157, 164, 70, 17}, kButton},
    {kDefaultConfigButton, ControlKind::PushButton, "Default Config", {14, 164, 70, 17}, kButton},
    {kLanguageLabel, ControlKind::Static, "Language", {6, 28, 47, 8}, kLabel},
    {kLanguageList, ControlKind::ComboBox, "", {58, 27, 69, 30}, kList},
    {kImageSizeLabel, ControlKind::Static, "Image Size", {6, 52, 47, 8}, kLabel},
    {kImageSizeList, ControlKind::ComboBox, "", {58, 51, 69, 14}, kList},
    {kVideoSizeLabel, ControlKind::Static, "Video Size", {6, 77, 47, 8}, kLabel},
    {kVideoSizeList, ControlKind::ComboBox, "", {58, 75, 69, 30}, kList},
    {kVideoLengthLabel, ControlKind::Static, "Video Length", {7, 98, 62, 8}, kLabel},
    {kVideoLengthEdit, ControlKind::Edit, "", {76, 99, 51, 12}, kNumberEdit},
    {kVideoLengthHint, ControlKind::Static, "(5s-30s)", {8, 106, 45, 8}, kLabel},
    {kIntervalLabel, ControlKind::Static, "Interval", {8, 119, 48, 8}, kLabel},
    {kIntervalEdit, ControlKind::Edit, "", {59, 120, 40, 12}, kNumberEdit},
    {kIntervalUnitList, ControlKind::ComboBox, "", {104, 120, 26, 12}, kList},
    {kIntervalHint, ControlKind::Static, " (3sec-60min)", {5, 127, 51, 8}, kLabel},
    {kPirSensitivityLabel, ControlKind::Static, "PIR Sensitivity", {151, 31, 51, 8}, kLabel},
    {kPirSensitivityList, ControlKind::ComboBox, "", {206, 29, 48, 14}, kList},
    {kDateStampLabel, ControlKind::Static, "Date Stamp", {151, 54, 51, 8}, kLabel},
    {kDateStampList, ControlKind::ComboBox, "", {206, 52, 48, 30}, kList},
    {kRecordAudioLabel, ControlKind::Static, "Record Audio", {151, 77, 51, 8}, kLabel},
    {kRecordAudioList, ControlKind::ComboBox, "", {206, 75, 48, 30}, kList},
    {kSerialNoLabel, ControlKind::Static, "Serial No.", {288, 30, 40, 8}, kLabel},
    {kSerialNoOn, ControlKind::RadioButton, "On", {333, 29, 25, 10}, kOnRadio},
    {kSerialNoOff, ControlKind::RadioButton, "Off", {358, 29, 24, 10}, kOffRadio},
    {kTimeLapseLabel, ControlKind::Static, "Time-lapse", {288, 54, 40, 8}, kLabel},
    {kTimeLapseOn, ControlKind::RadioButton, "On", {333, 53, 25, 10}, kOnRadio},
    {kTimeLapseOff, ControlKind::RadioButton, "Off", {358, 53, 24, 10}, kOffRadio},
    {kOrgNameLabel, ControlKind::Static, "Org. Name", {288, 78, 40, 8}, kLabel},
    {kOrgNameOn, ControlKind::RadioButton, "On", {333, 77, 25, 10}, kOnRadio},
    {kOrgNameOff, ControlKind::RadioButton, "Off", {358, 77, 24, 10}, kOffRadio},
    {kMmsButton, ControlKind::PushButton, "MMS / 4G", {298, 119, 80, 12}, kButton},
    {kSaveConfigButton, ControlKind::PushButton, "Save Config File", {304, 164, 70, 17}, kButton},
    {kModeLabel, ControlKind::Static, "Mode", {7, 6, 47, 8}, kLabel},
    {kModeList, ControlKind::ComboBox, "", {58, 4, 69, 30}, kList},
    {kShotNumberLabel, ControlKind::Static, "Shot Number", {151, 6, 51, 8}, kLabel},
    {kShotNumberList, ControlKind::ComboBox, "", {206, 4, 48, 14}, kList},
    {kPasswordLabel, ControlKind::Static, "Password", {288, 5, 40, 8}, kLabel},
    {kPasswordOn, ControlKind::RadioButton, "On", {333, 4, 25, 10}, kOnRadio},
    {kPasswordOff, ControlKind::RadioButton, "Off", {358, 4, 24, 10}, kOffRadio},
    {kTimerButton, ControlKind::PushButton, "Timer", {299, 142, 80, 12}, kButton},
    {kSdCycleLabel, ControlKind::Static, "SD Cycle", {151, 99, 48, 9}, kLabel},
    {kSdCycleList, ControlKind::ComboBox, "", {206, 98, 48, 30}, kList},
    {kSmsCtrlLabel, ControlKind::Static, "SMS Ctrl", {288, 98, 40, 8}, kLabel},
    {kSmsCtrlOn, ControlKind::RadioButton, "On", {333, 97, 25, 10}, kOnRadio},
    {kSmsCtrlOff, ControlKind::RadioButton, "Off", {358, 97, 24, 10}, kOffRadio},
    {kGpsSwitchLabel, ControlKind::Static, "GPS Switch", {151, 121, 48, 9}, kLabel},
    {kGpsSwitchList, ControlKind::ComboBox, "", {207, 120, 48, 30}, kList},
    {tk::kNoControlId, ControlKind::Static, "Local Time Zone", {149, 145, 59, 8}, kLabel},
    {kTimeZoneList, ControlKind::ComboBox, "", {209, 143, 46, 30}, kList},
}};

// No OK button and no default push button: Enter gives the toolkit's default OK. The caption is
// empty here and set when the window opens. Minimize box, shown in the task bar, fixed size.
constexpr tk::DialogTemplate kMainWindow{
    kTemplate, "", 389, 182, "微软雅黑", 9, /*minimizeBox=*/true, /*taskbarWindow=*/true,
    kControls};
}  // namespace

const tk::DialogTemplate& mainWindowTemplate() { return kMainWindow; }

}  // namespace tarnwick::resources
