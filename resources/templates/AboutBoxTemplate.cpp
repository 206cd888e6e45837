#include "resources/templates/AboutBoxTemplate.h"

#include <array>

namespace tarnwick::resources {

namespace {
using tk::ControlKind;
using tk::ControlTemplate;
using namespace ids::aboutDlg;

constexpr std::array<ControlTemplate, 4> kControls{{
    // The application icon (resource 128), the only icon the program has.
    {tk::kNoControlId, ControlKind::Icon, "", {14, 14, 21, 20}, tk::kStyleNone},
    {tk::kNoControlId, ControlKind::Static, "Tarnwick V4.22", {43, 22, 82, 8}, tk::kStyleNone},
    {kNoticeText, ControlKind::Static, "Trail camera setup", {43, 36, 78, 8}, tk::kStyleNone},
    {kOkButton, ControlKind::PushButton, "OK", {122, 61, 50, 14},
     tk::kDefaultButton | tk::kGroupStart | tk::kTabStop},
}};

constexpr tk::DialogTemplate kAboutBox{kTemplate, "About Tarnwick", 179, 82, "MS Shell Dlg", 9,
                                       /*minimizeBox=*/false, /*taskbarWindow=*/false, kControls};
}  // namespace

const tk::DialogTemplate& aboutBoxTemplate() { return kAboutBox; }

}  // namespace tarnwick::resources
