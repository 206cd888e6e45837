#pragma once

#include "ui/toolkit/Types.h"

namespace tarnwick::tk {

// The dialog base units of a font, in pixels: the average width of its letters and its height.
// A dialog unit is a quarter of the first horizontally and an eighth of the second vertically,
// so templates keep their proportions whatever font the dialog ends up with. A backend measures
// its font and hands the two measures to baseUnitsFromMeasures.
struct DialogBaseUnits {
  int x = 0;
  int y = 0;
  bool operator==(const DialogBaseUnits&) const = default;
};

// From the measured width of "A".."Z" followed by "a".."z" and the font's height:
// x = (width + 26) / 52, the average of the 52 letters rounded to the nearest pixel.
DialogBaseUnits baseUnitsFromMeasures(int alphabetWidth, int fontHeight);

// The 52 letters a backend measures for baseUnitsFromMeasures.
inline constexpr char16_t kBaseUnitAlphabet[] =
    u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// value * numerator / denominator, rounded half away from zero (0 when denominator is 0).
int mulDiv(int value, int numerator, int denominator);

// Converts each of x, y, width and height on its own, the way a dialog is laid out from its
// template: x * baseX / 4 and y * baseY / 8, rounded.
Rect dialogUnitsToPixels(const Rect& units, DialogBaseUnits base);

}  // namespace tarnwick::tk
