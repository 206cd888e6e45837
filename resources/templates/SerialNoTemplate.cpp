#include "resources/templates/SerialNoTemplate.h"

#include <array>

namespace tarnwick::resources {

namespace {
using namespace ids::serialNoDlg;
using tk::ControlKind;

constexpr std::array<tk::ControlTemplate, 4> kControls{{
    {kLabel, ControlKind::Static, "Serial No.", {16, 24, 40, 8}, tk::kStyleNone},
    {kCodeEdit, ControlKind::Edit, "", {60, 22, 80, 14},
     tk::kBorder | tk::kTabStop | tk::kAutoHScroll},
    {tk::IDOK, ControlKind::PushButton, "OK", {48, 56, 50, 14}, tk::kDefaultButton | tk::kTabStop},
    {tk::IDCANCEL, ControlKind::PushButton, "Cancel", {102, 56, 50, 14}, tk::kTabStop},
}};

constexpr tk::DialogTemplate kTemplateData{
    kTemplate, "Serial Number Setting", 159, 77, "MS Shell Dlg", 8, false, false, kControls};
}  // namespace

const tk::DialogTemplate& serialNoTemplate() { return kTemplateData; }

}  // namespace tarnwick::resources
