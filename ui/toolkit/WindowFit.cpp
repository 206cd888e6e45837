#include "ui/toolkit/WindowFit.h"

#include <algorithm>

namespace tarnwick::tk {

PixelSize WindowFit::view(int scrollBar) const {
  return {std::max(window.width - (vertical ? scrollBar : 0), 0),
          std::max(window.height - (horizontal ? scrollBar : 0), 0)};
}

WindowFit fitWindow(PixelSize content, PixelSize available, int scrollBar) {
  WindowFit fit;
  const int roomX = std::max(available.width, 1);
  const int roomY = std::max(available.height, 1);
  fit.horizontal = content.width > roomX;
  fit.vertical = content.height > roomY;
  // A bar along one side takes room the other direction needed.
  if (fit.horizontal && !fit.vertical) fit.vertical = content.height + scrollBar > roomY;
  if (fit.vertical && !fit.horizontal) fit.horizontal = content.width + scrollBar > roomX;
  fit.window.width = std::min(content.width + (fit.vertical ? scrollBar : 0), roomX);
  fit.window.height = std::min(content.height + (fit.horizontal ? scrollBar : 0), roomY);
  fit.window.width = std::max(fit.window.width, 1);
  fit.window.height = std::max(fit.window.height, 1);
  return fit;
}

int scrollToShow(int position, int view, int start, int length, int content) {
  const int last = std::max(content - view, 0);
  int p = std::clamp(position, 0, last);
  if (start + length > p + view) p = start + length - view;
  if (start < p) p = start;
  return std::clamp(p, 0, last);
}

}  // namespace tarnwick::tk
