#pragma once

#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/ControlState.h"
#include "ui/toolkit/Types.h"

#include <optional>

namespace tarnwick::tk {

// The colours a window system gives what a dialog leaves to it: the face of dialogs, buttons
// and labels, the inside of edits and lists, and text on either. Each backend reports its own.
struct NativePalette {
  Rgb face{240, 240, 240};
  Rgb window{255, 255, 255};
  Rgb text{0, 0, 0};
  bool operator==(const NativePalette&) const = default;
};

// How one control is drawn, decided once for every backend from the dialog's colour answer,
// the control's state and the backend's palette.
struct ControlLook {
  // Painted behind the control; none: what lies under it (the dialog's background) shows through.
  std::optional<Rgb> fill;
  // What the control's text stands on: the fill, or what shows through.
  Rgb ground;
  // The text, readable on `ground` in every state (kReadableContrast).
  Rgb text;
  // The focus indicator, a ring around the control on the dialog's background (see below),
  // kFocusContrast against that background.
  Rgb focus;
  // The control keeps the window system's own face (push buttons, as themed buttons do): a
  // backend paints neither fill nor text colour for it, only the focus ring.
  bool nativeFace = false;
  bool operator==(const ControlLook&) const = default;
};

// The sizes in pixels below are those at 96 dots per inch (the templates' own density); a backend
// that lays its windows out in the pixels of another density scales them with atDpi.
int atDpi(int pixels, int dpi);

// A focus indicator must stand out from what surrounds it: 3 : 1.
inline constexpr double kFocusContrast = 3.0;

// The focus ring: kFocusRingWidth pixels wide, kFocusRingGap pixels outside the control's
// rectangle, drawn on the dialog's surface by every backend whatever the control's kind.
inline constexpr int kFocusRingWidth = 2;
inline constexpr int kFocusRingGap = 1;
// How far outside a control the ring reaches: a window that scrolls a control into view shows
// this much around it, so the ring is seen whole.
inline constexpr int kFocusRingReach = kFocusRingGap + kFocusRingWidth;

// The colour of the focus ring on `background`: the accent blue where it stands out enough,
// else black on a light background and white on a dark one.
Rgb focusRingOn(Rgb background);

// A text colour that can be read on `ground`: `wanted` when it reaches kReadableContrast, else
// the grey of disabled text (disabledTextOn) for a disabled control, or black or white, whichever
// reads better, for an enabled one.
Rgb readableText(Rgb wanted, Rgb ground, bool enabled);

// The look of a control of `state`'s kind and state, given the dialog's colour answer for it, the
// dialog's painted background (none: the palette's face) and the backend's palette:
// - push buttons keep the native face;
// - an edit takes the answer's brush, or with a hollow brush shows the dialog through; otherwise
//   the palette's window colour, or its face when disabled. A disabled edit keeps the answer's
//   text colour (its values are there to be read);
// - a list takes the answer's brush, or the window colour (the face when disabled);
// - a group box never paints its inside;
// - labels, check boxes, radio buttons and icons take the answer's brush, stand transparent when
//   asked for transparent text or a hollow brush, or else on the face colour;
// - every text goes through readableText.
ControlLook controlLook(const ControlState& state, const CtlColor& answer,
                        std::optional<Rgb> dialogBackground, const NativePalette& palette);

// A closed drop-down list as every backend draws it: a frame of kListFrame pixels, a drop button
// kListButtonWidth pixels wide at the right edge with a one-pixel line before it, and the chosen
// entry in the field between, kListPadding pixels in from each side. The button is as narrow as
// the desktop's own lists have it: the templates size each list for it, so the longer entries
// ("Date/Time", "FHD 1920x1080") fit.
inline constexpr int kListFrame = 2;
inline constexpr int kListButtonWidth = 15;
inline constexpr int kListPadding = 1;
// The field of a closed list of `width` x `height` pixels, in the list's own coordinates.
Rect listTextField(int width, int height, int dpi = 96);
// The width that field has for the entry's text.
int listTextRoom(int boxWidth, int dpi = 96);

// A label of one line (its box lower than two lines of `lineHeight`) is as wide as its text:
// a text wider than the template's box, as a font wider than the template's makes it, widens the
// box to the right (left-aligned text), to the left (right-aligned) or both ways (centred)
// instead of wrapping out of sight or being cut. A label of more lines keeps its box and wraps.
Rect labelBox(const Rect& box, std::uint32_t style, int textWidth, int lineHeight);

}  // namespace tarnwick::tk
