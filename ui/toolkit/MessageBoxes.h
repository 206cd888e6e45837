#pragma once

#include "ui/toolkit/Backend.h"

#include <string>

namespace tarnwick::tk {

// The program's message boxes: no owner window, the caption " " and language 1033.
// A validation failure: exclamation icon, OK (style 0x30).
void showWarning(const std::u16string& text);
// A file result: information icon, OK (style 0x40).
void showInfo(const std::u16string& text);
// A question with Yes and No and the question icon (style 0x24); true only for Yes. With the
// second button as the default (style 0x124), Enter answers No.
bool askYesNo(const std::u16string& text, const std::u16string& caption,
              DefaultButton defaultButton = DefaultButton::First);

}  // namespace tarnwick::tk
