#pragma once

#include "ui/toolkit/DialogTemplate.h"

#include <cstdint>
#include <vector>

namespace tarnwick::tk::win32 {

// Window and control styles, with the values of the Windows headers, so that the template can
// be built (and tested) on any system. The Windows backend checks them against windows.h.
namespace style {
inline constexpr std::uint32_t kPopup = 0x80000000;
inline constexpr std::uint32_t kChild = 0x40000000;
inline constexpr std::uint32_t kVisible = 0x10000000;
inline constexpr std::uint32_t kDisabled = 0x08000000;
inline constexpr std::uint32_t kCaption = 0x00C00000;
inline constexpr std::uint32_t kBorder = 0x00800000;
inline constexpr std::uint32_t kVScroll = 0x00200000;
inline constexpr std::uint32_t kSysMenu = 0x00080000;
inline constexpr std::uint32_t kGroup = 0x00020000;
inline constexpr std::uint32_t kMinimizeBox = 0x00020000;  // on a top-level window
inline constexpr std::uint32_t kTabStop = 0x00010000;
inline constexpr std::uint32_t kDsSetFont = 0x40;
inline constexpr std::uint32_t kDsModalFrame = 0x80;
inline constexpr std::uint32_t kExDlgModalFrame = 0x00000001;
inline constexpr std::uint32_t kExAppWindow = 0x00040000;
inline constexpr std::uint32_t kBsPushButton = 0x0;
inline constexpr std::uint32_t kBsDefPushButton = 0x1;
inline constexpr std::uint32_t kBsCheckBox = 0x2;
inline constexpr std::uint32_t kBsRadioButton = 0x4;
inline constexpr std::uint32_t kBsGroupBox = 0x7;
inline constexpr std::uint32_t kBsNotify = 0x4000;
inline constexpr std::uint32_t kEsCenter = 0x1;
inline constexpr std::uint32_t kEsRight = 0x2;
inline constexpr std::uint32_t kEsPassword = 0x20;
inline constexpr std::uint32_t kEsAutoHScroll = 0x80;
inline constexpr std::uint32_t kSsCenter = 0x1;
inline constexpr std::uint32_t kSsRight = 0x2;
inline constexpr std::uint32_t kSsIcon = 0x3;
inline constexpr std::uint32_t kCbsDropDownList = 0x3;
}  // namespace style

// The predefined window classes, by the atoms a dialog template names them with.
enum class ControlClass : std::uint16_t { Button = 0x80, Edit = 0x81, Static = 0x82, ComboBox = 0x85 };

// What a template control becomes: its class and its styles.
struct NativeControlStyle {
  ControlClass windowClass = ControlClass::Static;
  std::uint32_t style = 0;
};
NativeControlStyle nativeStyleOf(const ControlTemplate& control);

// The dialog's own window styles.
std::uint32_t dialogStyleOf(const DialogTemplate& dialog);
std::uint32_t dialogExStyleOf(const DialogTemplate& dialog);

// The icon resource that icon controls show (the application icon).
inline constexpr std::uint16_t kApplicationIconResource = 128;

// Builds an extended dialog template (DLGTEMPLATEEX followed by one DLGITEMTEMPLATEEX per
// control, each on a 4-byte boundary) in memory, for DialogBoxIndirectParamW or
// CreateDialogIndirectParamW. Controls keep the template's order, which is the tab order.
// The dialog is built without WS_VISIBLE: the backend shows it once the dialog object has
// initialised. The buffer is in 16-bit units; its data is 4-byte aligned as the system needs.
std::vector<std::uint16_t> buildDialogTemplate(const DialogTemplate& dialog);

}  // namespace tarnwick::tk::win32
