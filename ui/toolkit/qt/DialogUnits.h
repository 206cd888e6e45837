#pragma once

#include "ui/toolkit/DialogUnits.h"

class QFont;

namespace tarnwick::tk {

// The dialog base units of a Qt font, from its measured alphabet and height.
DialogBaseUnits dialogBaseUnits(const QFont& font);

}  // namespace tarnwick::tk
