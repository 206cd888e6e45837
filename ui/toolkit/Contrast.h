#pragma once

#include "ui/toolkit/Types.h"

namespace tarnwick::tk {

// Contrast between two colours as the WCAG defines it: (L1 + 0.05) / (L2 + 0.05) of their
// relative luminances, lighter over darker; 1 for equal colours, 21 for black on white.
double contrastRatio(Rgb a, Rgb b);

// Text of a disabled control must stay readable: 4.5 : 1 against what it stands on.
inline constexpr double kReadableContrast = 4.5;

// The grey for disabled text on `background`: the desktop's usual grey text (109, 109, 109)
// where that reads well enough, else the lightest darker (or, on a dark background, the darkest
// lighter) grey that reaches kReadableContrast. Disabled text thus still looks disabled and can
// still be read.
Rgb disabledTextOn(Rgb background);

}  // namespace tarnwick::tk
