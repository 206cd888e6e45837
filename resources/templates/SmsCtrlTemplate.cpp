#include "resources/templates/SmsCtrlTemplate.h"

#include <array>

namespace tarnwick::resources {

namespace {
using namespace ids::smsCtrlDlg;
using tk::ControlKind;
using tk::kNoControlId;

constexpr std::uint32_t kEditStyle = tk::kBorder | tk::kTabStop | tk::kAutoHScroll;

constexpr std::array<tk::ControlTemplate, 8> kControls{{
    {kNoControlId, ControlKind::Static, "HH", {80, 18, 30, 8}, tk::kCenterText},
    {kNoControlId, ControlKind::Static, "MM  ", {124, 18, 30, 8}, tk::kCenterText},
    {kLabel, ControlKind::Static, "Interval", {20, 33, 54, 8}, tk::kStyleNone},
    {kHour, ControlKind::Edit, "", {80, 30, 30, 14}, kEditStyle},
    {kNoControlId, ControlKind::Static, ":", {112, 33, 10, 8}, tk::kCenterText},
    {kMinute, ControlKind::Edit, "", {124, 30, 30, 14}, kEditStyle},
    {tk::IDOK, ControlKind::PushButton, "OK", {90, 60, 50, 14}, tk::kDefaultButton | tk::kTabStop},
    {tk::IDCANCEL, ControlKind::PushButton, "Cancel", {144, 60, 50, 14}, tk::kTabStop},
}};

constexpr tk::DialogTemplate kTemplateData{
    kTemplate, "SMS Control Setting", 201, 81, "MS Shell Dlg", 8, false, false, kControls};
}  // namespace

const tk::DialogTemplate& smsCtrlTemplate() { return kTemplateData; }

}  // namespace tarnwick::resources
