#include "ui/toolkit/win32/DialogTemplateBuilder.h"

#include "config/TextConversions.h"

#include <string>

namespace tarnwick::tk::win32 {

namespace {

class TemplateWriter {
 public:
  void word(std::uint16_t value) { units_.push_back(value); }
  void dword(std::uint32_t value) {
    word(static_cast<std::uint16_t>(value & 0xFFFF));
    word(static_cast<std::uint16_t>(value >> 16));
  }
  void coordinate(int value) { word(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))); }
  // A zero-terminated UTF-16 string from the template's UTF-8 text.
  void text(std::string_view utf8) {
    for (char16_t unit : fromUtf8(utf8)) word(static_cast<std::uint16_t>(unit));
    word(0);
  }
  // Items start on a 4-byte boundary: an even number of 16-bit units.
  void alignToDword() {
    if (units_.size() % 2 != 0) word(0);
  }
  std::vector<std::uint16_t> take() { return std::move(units_); }

 private:
  std::vector<std::uint16_t> units_;
};

std::uint32_t commonStyle(std::uint32_t templateStyle) {
  std::uint32_t s = style::kChild;
  if ((templateStyle & kHidden) == 0) s |= style::kVisible;
  if ((templateStyle & kDisabled) != 0) s |= style::kDisabled;
  if ((templateStyle & kTabStop) != 0) s |= style::kTabStop;
  if ((templateStyle & kGroupStart) != 0) s |= style::kGroup;
  if ((templateStyle & kBorder) != 0) s |= style::kBorder;
  if ((templateStyle & kVScroll) != 0) s |= style::kVScroll;
  return s;
}

}  // namespace

NativeControlStyle nativeStyleOf(const ControlTemplate& control) {
  const std::uint32_t t = control.style;
  std::uint32_t s = commonStyle(t);
  switch (control.kind) {
    case ControlKind::Static:
      if ((t & kCenterText) != 0) s |= style::kSsCenter;
      if ((t & kRightText) != 0) s |= style::kSsRight;
      return {ControlClass::Static, s};
    case ControlKind::Icon:
      return {ControlClass::Static, s | style::kSsIcon};
    case ControlKind::GroupBox:
      return {ControlClass::Button, s | style::kBsGroupBox};
    case ControlKind::Edit:
      if ((t & kPasswordEdit) != 0) s |= style::kEsPassword;
      if ((t & kAutoHScroll) != 0) s |= style::kEsAutoHScroll;
      if ((t & kCenterText) != 0) s |= style::kEsCenter;
      if ((t & kRightText) != 0) s |= style::kEsRight;
      return {ControlClass::Edit, s};
    case ControlKind::ComboBox:
      return {ControlClass::ComboBox, s | style::kCbsDropDownList};
    // Check boxes and radio buttons are the plain (not automatic) kinds: the dialog object
    // decides what a click does, and the window only shows the state it is given. BS_NOTIFY
    // reports the keyboard focus, which the dialog object follows.
    case ControlKind::CheckBox:
      return {ControlClass::Button, s | style::kBsCheckBox | style::kBsNotify};
    case ControlKind::RadioButton:
      return {ControlClass::Button, s | style::kBsRadioButton | style::kBsNotify};
    case ControlKind::PushButton:
      s |= ((t & kDefaultButton) != 0) ? style::kBsDefPushButton : style::kBsPushButton;
      return {ControlClass::Button, s | style::kBsNotify};
  }
  return {ControlClass::Static, s};
}

std::uint32_t dialogStyleOf(const DialogTemplate& dialog) {
  std::uint32_t s = style::kPopup | style::kCaption | style::kSysMenu | style::kDsModalFrame;
  if (!dialog.fontName.empty()) s |= style::kDsSetFont;
  if (dialog.minimizeBox) s |= style::kMinimizeBox;
  return s;
}

std::uint32_t dialogExStyleOf(const DialogTemplate& dialog) {
  return dialog.taskbarWindow ? style::kExAppWindow : 0;
}

std::vector<std::uint16_t> buildDialogTemplate(const DialogTemplate& dialog) {
  TemplateWriter w;
  // DLGTEMPLATEEX
  w.word(1);       // dlgVer
  w.word(0xFFFF);  // signature: the extended form
  w.dword(0);      // helpID
  w.dword(dialogExStyleOf(dialog));
  w.dword(dialogStyleOf(dialog));
  w.word(static_cast<std::uint16_t>(dialog.controls.size()));
  w.coordinate(0);
  w.coordinate(0);
  w.coordinate(dialog.width);
  w.coordinate(dialog.height);
  w.word(0);  // no menu
  w.word(0);  // the predefined dialog class
  w.text(dialog.caption);
  if (!dialog.fontName.empty()) {
    w.word(static_cast<std::uint16_t>(dialog.pointSize));
    w.word(400);  // weight: normal
    w.word(0);    // italic (one byte, 0) and charset (one byte, 0: ANSI_CHARSET)
    w.text(dialog.fontName);
  }
  for (const ControlTemplate& control : dialog.controls) {
    w.alignToDword();
    const NativeControlStyle native = nativeStyleOf(control);
    // DLGITEMTEMPLATEEX
    w.dword(0);  // helpID
    w.dword(0);  // exStyle
    w.dword(native.style);
    w.coordinate(control.rect.x);
    w.coordinate(control.rect.y);
    w.coordinate(control.rect.width);
    w.coordinate(control.rect.height);
    // Controls without an id get 0xFFFF, as resource compilers give IDC_STATIC (-1).
    w.dword(control.id == kNoControlId ? 0xFFFFu : static_cast<std::uint32_t>(control.id));
    w.word(0xFFFF);
    w.word(static_cast<std::uint16_t>(native.windowClass));
    if (control.kind == ControlKind::Icon) {
      w.word(0xFFFF);  // the title is a resource number: the icon to show
      w.word(kApplicationIconResource);
    } else {
      w.text(control.caption);
    }
    w.word(0);  // no creation data
  }
  return w.take();
}

}  // namespace tarnwick::tk::win32
