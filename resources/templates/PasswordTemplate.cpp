#include "resources/templates/PasswordTemplate.h"

#include <array>

namespace tarnwick::resources {

namespace {
using namespace ids::passwordDlg;
using tk::ControlKind;

constexpr std::uint32_t kEditStyle = tk::kBorder | tk::kTabStop | tk::kAutoHScroll;

constexpr std::array<tk::ControlTemplate, 5> kControls{{
    {kLabel, ControlKind::Static, "Password", {20, 24, 40, 8}, tk::kStyleNone},
    {kCodeEdit, ControlKind::Edit, "", {66, 22, 90, 14}, kEditStyle | tk::kPasswordEdit},
    {kShowPassword, ControlKind::CheckBox, "Show password", {66, 42, 90, 10}, tk::kTabStop},
    {tk::IDOK, ControlKind::PushButton, "OK", {71, 74, 50, 14}, tk::kDefaultButton | tk::kTabStop},
    {tk::IDCANCEL, ControlKind::PushButton, "Cancel", {125, 74, 50, 14}, tk::kTabStop},
}};

constexpr tk::DialogTemplate kTemplateData{
    kTemplate, "Password Setting", 182, 95, "MS Shell Dlg", 8, false, false, kControls};
}  // namespace

const tk::DialogTemplate& passwordTemplate() { return kTemplateData; }

}  // namespace tarnwick::resources
