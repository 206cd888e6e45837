#pragma once

#include <QFont>
#include <QStringList>

#include <string_view>

namespace tarnwick::tk {

// The font families a template's font name stands for, best first. The Windows dialog fonts
// ("MS Shell Dlg", "微软雅黑" and their kin) become an installed sans-serif, with fonts that
// cover Chinese after it; any other name is tried first as itself.
QStringList dialogFontFamilies(std::string_view templateFontName);

// The font of a dialog: the families above at the template's point size, sized in pixels the
// way the dialog's units expect (points at 96 pixels per inch, rounded).
QFont dialogFont(std::string_view templateFontName, int pointSize);

}  // namespace tarnwick::tk
