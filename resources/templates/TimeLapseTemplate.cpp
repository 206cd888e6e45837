#include "resources/templates/TimeLapseTemplate.h"

#include <array>

namespace tarnwick::resources {

namespace {
using namespace ids::timeLapseDlg;
using tk::ControlKind;
using tk::kNoControlId;

constexpr std::uint32_t kEditStyle = tk::kBorder | tk::kTabStop | tk::kAutoHScroll;

// Column headings above the three edits, the row label to their left, ":" between them.
constexpr std::array<tk::ControlTemplate, 11> kControls{{
    {kNoControlId, ControlKind::Static, "HH", {80, 22, 30, 8}, tk::kCenterText},
    {kNoControlId, ControlKind::Static, "MM  ", {124, 22, 30, 8}, tk::kCenterText},
    {kNoControlId, ControlKind::Static, "SS", {168, 22, 30, 8}, tk::kCenterText},
    {kLabel, ControlKind::Static, "Time-lapse", {20, 37, 54, 8}, tk::kStyleNone},
    {kHour, ControlKind::Edit, "", {80, 34, 30, 14}, kEditStyle},
    {kNoControlId, ControlKind::Static, ":", {112, 37, 10, 8}, tk::kCenterText},
    {kMinute, ControlKind::Edit, "", {124, 34, 30, 14}, kEditStyle},
    {kNoControlId, ControlKind::Static, ":", {156, 37, 10, 8}, tk::kCenterText},
    {kSecond, ControlKind::Edit, "", {168, 34, 30, 14}, kEditStyle},
    {tk::IDOK, ControlKind::PushButton, "OK", {134, 75, 50, 14}, tk::kDefaultButton | tk::kTabStop},
    {tk::IDCANCEL, ControlKind::PushButton, "Cancel", {188, 75, 50, 14}, tk::kTabStop},
}};

constexpr tk::DialogTemplate kTemplateData{
    kTemplate, "Time-lapse Setting", 245, 96, "MS Shell Dlg", 8, false, false, kControls};
}  // namespace

const tk::DialogTemplate& timeLapseTemplate() { return kTemplateData; }

}  // namespace tarnwick::resources
