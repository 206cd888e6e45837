#pragma once

#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/ControlState.h"
#include "ui/toolkit/Types.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::tk::web {

// What the page reports to the program: one user input on one dialog window. The page queues
// them and the program takes them one at a time, so nothing calls into the program while a
// modal loop waits.
// PageFile is no window's input: the user picked a file in one of the page's own file inputs
// (the operator table); its text names the input.
enum class PageEventKind {
  Click, Type, Select, Focus, Enter, Escape, Arrow, Close, SystemCommand, PageFile
};

struct PageEvent {
  int window = 0;
  PageEventKind kind = PageEventKind::Click;
  int index = -1;   // the control's position in its template
  int number = 0;   // list position or system command
  std::u16string text;  // an edit's whole text after typing
};

// What the program does with a PageFile event: it gets the input's id.
using PageFileHandler = std::function<void(const std::string& input)>;

// An event as the page writes it: "window<TAB>kind<TAB>index<TAB>number<TAB>text", the kind
// spelled click, type, select, focus, enter, escape, close, syscmd or pagefile. The text is the
// rest of the line and may itself hold tabs. Nothing for a malformed line.
std::optional<PageEvent> parsePageEvent(std::string_view line);

// JSON text for the page: a string literal (UTF-8, quotes and control characters escaped).
std::string jsonString(std::u16string_view text);
std::string jsonString(std::string_view utf8);
// "#rrggbb", or null.
std::string jsonColour(const std::optional<Rgb>& colour);

// The colours one control asked its dialog for, as the page applies them.
struct ControlColours {
  std::optional<Rgb> background;  // solid fill behind the control
  std::optional<Rgb> text;
  bool transparent = false;       // nothing painted behind it: the dialog shows through
  bool face = false;              // the toolkit's face colour behind it (a label left unanswered)
  bool operator==(const ControlColours&) const = default;
};

// What a control of this kind shows for its dialog's colour answer, as the desktop draws it:
// an edit takes a brush or a hollow brush, a list only a brush, a group box never paints its
// inside, and labels, check boxes, radio buttons and icons take a brush, or stand transparent
// when asked for transparent text or a hollow brush, or else on the face colour. Push buttons
// keep the page's button look. Text colours apply to every kind but push buttons.
ControlColours coloursFor(ControlKind kind, const CtlColor& answer);

// One control as the page draws it: its kind, pixel rectangle, contents, state and colours.
// `tabStop` says whether Tab stops on it.
std::string controlJson(int index, const ControlState& state, const Rect& pixels, bool tabStop,
                        const ControlColours& colours);

// The CSS font list of a template's font: the names of the system's own dialog fonts stand for
// the same fallbacks the desktop uses (an installed sans-serif, then fonts with CJK text); any
// other name comes first. Always ends in the generic sans-serif.
std::string cssFontFamilies(std::string_view templateFontName);
// A point size at 96 pixels per inch, as the desktop's dialogs are drawn.
int fontPixels(int pointSize);

// A file dialog's filter as the page's pickers take it, a JSON list of the entries that filter
// by extension: [{"description":"Config file(*.cfg)","extensions":[".cfg"]}] for
// "Config file(*.cfg)|*.cfg|All files(*.*)|*.*||". The browser's pickers offer every file
// besides, so an entry for every file is left out; a pattern that is no plain extension
// ("menu?.cfg") cannot be told to a browser, and the list is then empty (every file).
std::string pickerTypesJson(const std::u16string& filter);

}  // namespace tarnwick::tk::web
