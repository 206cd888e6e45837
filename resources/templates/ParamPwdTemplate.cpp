#include "resources/templates/ParamPwdTemplate.h"

#include <array>

namespace tarnwick::resources {

namespace {
using tk::ControlKind;
using tk::ControlTemplate;
using namespace ids::paramPwd;

constexpr std::array<ControlTemplate, 5> kControls{{
    {tk::kNoControlId, ControlKind::GroupBox, "", {1, 0, 156, 39}, tk::kStyleNone},
    {kLabel, ControlKind::Static, "Password", {8, 17, 32, 8}, tk::kStyleNone},
    {kCodeEdit, ControlKind::Edit, "", {46, 15, 103, 14},
     tk::kBorder | tk::kTabStop | tk::kPasswordEdit | tk::kAutoHScroll},
    {tk::IDOK, ControlKind::PushButton, "OK", {15, 39, 50, 14}, tk::kTabStop | tk::kDefaultButton},
    {tk::IDCANCEL, ControlKind::PushButton, "Cancel", {90, 39, 50, 14}, tk::kTabStop},
}};

constexpr tk::DialogTemplate kTemplateData{
    kTemplate, "Please Input Password", 159, 53, "MS Shell Dlg", 8, false, false, kControls};
}  // namespace

const tk::DialogTemplate& paramPwdTemplate() { return kTemplateData; }

}  // namespace tarnwick::resources
