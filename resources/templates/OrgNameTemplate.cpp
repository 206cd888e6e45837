#include "resources/templates/OrgNameTemplate.h"

#include <array>

namespace tarnwick::resources {

namespace {
using namespace ids::orgNameDlg;
using tk::ControlKind;

constexpr std::array<tk::ControlTemplate, 4> kControls{{
    {kLabel, ControlKind::Static, "Organization Name", {14, 27, 70, 8}, tk::kStyleNone},
    {kNameEdit, ControlKind::Edit, "", {88, 24, 96, 14},
     tk::kBorder | tk::kTabStop | tk::kAutoHScroll},
    {tk::IDOK, ControlKind::PushButton, "OK", {90, 60, 50, 14}, tk::kDefaultButton | tk::kTabStop},
    {tk::IDCANCEL, ControlKind::PushButton, "Cancel", {144, 60, 50, 14}, tk::kTabStop},
}};

constexpr tk::DialogTemplate kTemplateData{
    kTemplate, "Organization Name Setting", 201, 81, "MS Shell Dlg", 8, false, false, kControls};
}  // namespace

const tk::DialogTemplate& orgNameTemplate() { return kTemplateData; }

}  // namespace tarnwick::resources
