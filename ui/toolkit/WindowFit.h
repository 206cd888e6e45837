#pragma once

#include "ui/toolkit/Accessible.h"
#include "ui/toolkit/ControlState.h"

#include <span>
#include <vector>

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

// How a window arranges its dialog: where the dialog is as wide as the room it has or narrower,
// every control where the template puts it; where the room is narrower (a phone), one control
// after another down one column, so that nothing needs sideways panning. A screen used by touch
// alone (`touchOnly`: no mouse) takes one column too: a template's buttons, boxes and check
// boxes are smaller than the 24 pixels a fingertip needs.
enum class Arrangement { Template, OneColumn };
Arrangement arrangementFor(int dialogWidth, int room, bool touchOnly);

// One row of the one-column arrangement: the controls one line of the template holds, a label
// with the boxes or switches it names and the hint after them, in tab order.
struct ColumnRow {
  int group = -1;             // the captioned group box the row stands in (by index), or -1
  std::vector<int> controls;  // by index; never a group box
  bool operator==(const ColumnRow&) const = default;
};

// The one-column arrangement of a dialog's controls, from top to bottom. Every control but the
// group boxes is in exactly one row, in tab (template) order; a row begins at each label and
// wherever the template starts a new line. The rows of one group box stand together under it,
// where the group's first control comes in tab order; a run of controls outside any group box
// stays where it comes. A group box without a caption frames nothing and is in no row.
std::vector<ColumnRow> oneColumnRows(std::span<const ControlState> controls,
                                     std::span<const Accessible> said);

}  // namespace tarnwick::tk
