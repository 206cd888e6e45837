#pragma once

#include "ui/toolkit/Types.h"

#include <span>
#include <string_view>

namespace tarnwick::tk {

// One control of a dialog template. Captions are UTF-8 in the source; the toolkit widens them.
struct ControlTemplate {
  int id = kNoControlId;
  ControlKind kind = ControlKind::Static;
  std::string_view caption;
  Rect rect;  // dialog units: x, y, width, height
  std::uint32_t style = kStyleNone;
};

// A dialog template: its number, caption, size in dialog units, font, and the controls in tab
// order. Templates are constant data (see resources/); a dialog object is made on one.
struct DialogTemplate {
  int id = 0;
  std::string_view caption;
  int width = 0;   // dialog units
  int height = 0;  // dialog units
  std::string_view fontName;
  int pointSize = 8;
  bool minimizeBox = false;
  bool taskbarWindow = false;
  std::span<const ControlTemplate> controls;
};

}  // namespace tarnwick::tk
