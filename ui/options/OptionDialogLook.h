#pragma once

#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/Types.h"

namespace tarnwick {

// The painted look of the option dialogs (the main window shares it): a light blue-grey client
// area with labels, group boxes and check-box captions drawn straight onto it.
inline constexpr tk::Rgb optionBackgroundColor{215, 220, 245};

// Paint handler: fills the whole client area with optionBackgroundColor and draws nothing else.
void paintOptionBackground(tk::PaintContext& paint);

// Control-colour handler: starts from the toolkit's own answer for the control; static controls
// (labels, group boxes, check-box and radio captions) then get transparent text over the hollow
// brush, so the painted background shows behind their text. Every other control keeps the
// toolkit's answer (edits and lists stay in the system colours).
tk::CtlColor optionControlColor(tk::CDialogEx& dialog, int controlId, tk::CtlColorType type);

}  // namespace tarnwick
