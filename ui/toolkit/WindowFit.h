#pragma once

namespace tarnwick::tk {

struct PixelSize {
  int width = 0;
  int height = 0;
  bool operator==(const PixelSize&) const = default;
};

// How a window shows a dialog whose client area is `content` on a screen (or a page's viewport)
// with room for `available`: the dialog's own size when it fits; otherwise as much as fits, with
// a scroll bar (`scrollBar` pixels thick) on each side that does not fit. A bar on one side takes
// room from the other, which may then need a bar of its own.
struct WindowFit {
  PixelSize window;          // the client size the window takes, scroll bars included
  bool horizontal = false;   // a horizontal scroll bar along the bottom
  bool vertical = false;     // a vertical scroll bar at the right
  // What the window shows of the dialog: its size less the bars.
  PixelSize view(int scrollBar) const;
  bool operator==(const WindowFit&) const = default;
};
WindowFit fitWindow(PixelSize content, PixelSize available, int scrollBar);

// The scroll position (along one axis) at which a view of `view` pixels onto content of
// `content` pixels shows [start, start + length): the current `position` when that is in view
// already, else the smallest move that shows it (its start when it is longer than the view).
// Always within 0 .. content - view.
int scrollToShow(int position, int view, int start, int length, int content);

}  // namespace tarnwick::tk
