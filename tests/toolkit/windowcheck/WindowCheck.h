#pragma once

// The window check: one table of what a user must be able to see in each window of the program,
// in the states that matter, and the rules that check it from what an edition really shows (a
// picture of the window and the edition's own report of its controls, focus and scrolling).
// Every edition runs the same table through the same rules: Qt offscreen and Windows under Wine
// in-process (WindowCheckRun), the browser through the evaluator program (WindowCheckTool).

#include "ui/toolkit/Types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::windowcheck {

using tk::Rect;
using tk::Rgb;

// ---- The table ---------------------------------------------------------------------------------

// One user action of a state's or a window's steps, in the words of a UI script ("click 1031",
// "select 1122 1", "type 1154 \"code\"", "key enter", "sysmenu 16"), or `longest`: every usable
// list of the window set to its widest entry.
struct Step {
  std::string text;
  bool longest() const { return text == "longest"; }
};

// A window: how it opens from the main window, and the control that has the focus when it does.
struct WindowRow {
  int templateId = 0;
  std::string name;
  int focusId = tk::kNoControlId;
  std::vector<Step> open;
};

// A state of a window worth looking at, and the steps that reach it once the window is open.
// Room for more per-control expectations: a row names the controls it is about by id.
struct StateRow {
  int templateId = 0;
  std::string name;
  std::vector<Step> steps;
  int line = 0;
};

// What a screen reader must say about one control in every state of its window: its role
// ("button", "check box", "radio button", "list", "edit"), its name and, where
// the row gives one, its description.
struct ControlRow {
  int templateId = 0;
  int id = tk::kNoControlId;
  std::string role;
  std::string name;
  std::string description;
  int line = 0;
};

struct Table {
  std::vector<WindowRow> windows;
  std::vector<StateRow> states;
  std::vector<ControlRow> controls;
  const WindowRow* window(int templateId) const;
};

struct TableError {
  int line = 0;
  std::string message;
};

// Reads the table's text. Errors name the line.
Table parseTable(std::string_view text, std::vector<TableError>& errors);
// The program's table (window-check.table), built in.
extern const char kTableText[];

// A case: a window in one state, with the steps from the main window to it (the window's, then
// the state's), and its name for messages ("MMS / 4G Setup, revealed").
struct Case {
  const WindowRow* window = nullptr;
  const StateRow* state = nullptr;
  std::string name() const;
  std::vector<Step> steps() const;
};
std::vector<Case> casesOf(const Table& table);

// ---- What an edition shows -------------------------------------------------------------------

// A picture in 8-bit RGB, row by row.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;
  Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
  Picture crop(const Rect& area) const;  // `area` must lie inside the picture
};

using tk::ControlKind;
// A control kind by the name the page gives it ("static", "group", "edit", "list", "check",
// "radio", "button", "icon"), and back.
ControlKind kindOf(std::string_view name);
std::string_view nameOf(ControlKind kind);

// One control as the edition shows it, in the coordinates of the window's picture.
struct ControlSight {
  int index = -1;
  int id = tk::kNoControlId;
  ControlKind kind = ControlKind::Static;
  bool enabled = true;
  bool visible = true;
  Rect box;                // the control
  Rect textBox;            // where it draws its text; empty for a control without text
  std::u16string text;     // the text it shows (an edit's mask characters when it masks)
  int textWidth = 0;       // that text's width in the edition's font, blanks at its ends left out
  bool oneLine = false;    // the text is drawn on one line, so it must fit its box
  int widestItem = 0;      // a list: the width of its widest entry in the edition's font
  int widestPosition = -1; // and that entry's position
};

// One look at a window: its picture, the report of its controls, where the keyboard focus is,
// and what of the window can be seen.
struct Sight {
  Picture picture;
  Rect visible;            // where the dialog's controls can be seen on the picture
  Rect content;            // the dialog's whole client area there (beyond the picture where
                           // the window scrolls)
  bool onScreen = true;    // the window lies inside the screen's free area
  int ringReach = 3;       // how far the focus ring reaches outside a control, in the
                           // picture's pixels (kFocusRingReach at the edition's density)
  int focused = -1;        // the control with the keyboard focus (its index), -1: none
  int selectionStart = 0;  // the focused edit's selection, in UTF-16 units
  int selectionEnd = 0;
  std::vector<ControlSight> controls;
  const ControlSight* control(int index) const;
  const ControlSight* controlById(int id) const;
};

// A part of a window's picture around one control, with where the control stands on it.
struct Crop {
  int index = -1;  // the control
  Rect control;    // its box on this crop
  Picture picture;
};
// The part of `sight` around control `index` (its focus ring's reach and a little more), as far
// as it can be seen; empty (no picture) when the control cannot be seen.
Crop cropAround(const Sight& sight, int index);
// Where that part lies on the picture (empty when nothing of it can be seen).
Rect cropArea(const Sight& sight, int index);

// One stop of the focus as Tab moves it round the window: the report there, the control that
// has the focus now seen focused, and the control that had it before seen without it.
struct TabStop {
  Sight report;   // without a picture
  Crop focused;
  Crop previous;
};

// One control as the edition announces it to a screen reader.
struct Announced {
  int id = tk::kNoControlId;
  std::string role;
  std::string name;
  std::string description;
  std::string value;       // a list's chosen entry, an edit's text
  bool interactive = false;
  bool visible = true;
  // Where the edition asks its platform for the control's states: those it announces, and those
  // the control is in, each in the words "checked", "disabled", "masked", joined by ", ".
  std::optional<std::string> statesHeard = std::nullopt;
  std::string states = {};
};

// ---- The rules -------------------------------------------------------------------------------

// What the user sees of every text: readable (kReadableContrast between ink and ground, also
// when disabled, masked or revealed), whole (a text of one line is not cut, wrapped out of
// sight or run into its box's edge), and every list entry fits its closed list.
// The control with the focus, when it is an edit whose text is shown selected, is left out
// (`skipSelected`): its text is read in the next look, after Tab has taken the focus away.
void checkTexts(const Sight& sight, std::vector<std::string>& problems, bool skipSelected = true);
// The texts of control `index` only, read in `sight`.
void checkTextOf(const Sight& sight, int index, std::vector<std::string>& problems);
// The focused edit of `sight` whose text is shown selected, or -1.
int selectedEdit(const Sight& sight);
// The window lies inside the screen's free area, and the control with the focus can be seen
// whole with its focus ring (as far as the ring lies on the dialog).
void checkInView(const Sight& sight, std::vector<std::string>& problems);
// The focus is on control `focusId` when the window opens, an edit's whole text selected.
void checkFirstFocus(const Sight& sight, int focusId, std::vector<std::string>& problems);
// Round the window with Tab: the focus comes back where it started; each edit reached has its
// whole text selected; each control reached is brought into view; and its focus indicator
// stands out from what it covers (kFocusContrast) over at least the length of the control's
// outline.
void checkTabCycle(const std::vector<TabStop>& stops, std::vector<std::string>& problems);
// Round the window with Tab the focus goes through the controls in the order the window lists
// them (the template's; in the page's one-column arrangement, that column from top to bottom),
// past the last one back to the first, and reaches every one a user can use: each visible, enabled
// button, check box, edit and list, and one radio button of each row of them (the arrow keys
// move within a row).
void checkTabOrder(const std::vector<TabStop>& stops, std::vector<std::string>& problems);

// What a screen reader hears in window `templateId`: every visible control a user can use has a
// name that is not its value and a control row of the table, and says the row's role, name and
// description, and the states it is in where the edition asks for them.
void checkAnnounced(const Table& table, int templateId, const std::vector<Announced>& controls,
                    std::vector<std::string>& problems);

// Measures, exposed for the rules' own tests.
struct Ink {
  Rgb ground;          // the most common colour: what the text stands on
  double contrast = 1; // of the ink that stands out most from the ground
  int left = -1;       // columns of the picture where ink is; -1: none
  int right = -1;
};
Ink inkIn(const Picture& picture, const Rect& area);
// Pixels that differ by at least `ratio` between two pictures of one size.
int pixelsChanged(const Picture& before, const Picture& after, double ratio);

}  // namespace tarnwick::windowcheck
