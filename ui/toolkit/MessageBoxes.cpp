#include "ui/toolkit/MessageBoxes.h"

#include "ui/toolkit/Backend.h"
#include "ui/toolkit/Types.h"

namespace tarnwick::tk {

namespace {
// The style bit of a second default button.
constexpr std::uint32_t kDefaultSecondButton = 0x100;

int show(const std::u16string& text, const std::u16string& caption, MessageIcon icon,
         MessageButtons buttons, std::uint32_t flags,
         DefaultButton defaultButton = DefaultButton::First) {
  Backend* backend = activeBackend();
  if (backend == nullptr) return buttons == MessageButtons::YesNo ? IDNO : IDOK;
  MessageBoxRequest request;
  request.text = text;
  request.caption = caption;
  request.icon = icon;
  request.buttons = buttons;
  request.defaultButton = defaultButton;
  request.flags = flags | (defaultButton == DefaultButton::Second ? kDefaultSecondButton : 0);
  return backend->showMessageBox(request);
}
}  // namespace

void showWarning(const std::u16string& text) {
  show(text, u" ", MessageIcon::Exclamation, MessageButtons::Ok, 0x30);
}

void showInfo(const std::u16string& text) {
  show(text, u" ", MessageIcon::Information, MessageButtons::Ok, 0x40);
}

bool askYesNo(const std::u16string& text, const std::u16string& caption,
              DefaultButton defaultButton) {
  return show(text, caption, MessageIcon::Question, MessageButtons::YesNo, 0x24,
              defaultButton) == IDYES;
}

}  // namespace tarnwick::tk
