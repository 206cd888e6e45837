#pragma once

#include "ui/toolkit/Accessible.h"
#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/ControlLook.h"
#include "ui/toolkit/ControlState.h"
#include "ui/toolkit/Types.h"
#include "ui/toolkit/WindowFit.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::tk::web {

// What the page reports to the program: one user input on one dialog window. The page queues
// them and the program takes them one at a time, so nothing calls into the program while a
// modal loop waits.
// PageFile is no window's input: the user picked a file in one of the page's own file inputs
// (the operator table); its text names the input. Resize is none either: the page's viewport
// changed size (a phone turned), and each window asks again how to arrange its dialog.
enum class PageEventKind {
  Click, Type, Select, Focus, Enter, Escape, Arrow, Close, SystemCommand, MenuKey, PageFile,
  Resize
};

struct PageEvent {
  int window = 0;
  PageEventKind kind = PageEventKind::Click;
  int index = -1;   // the control's position in its template
  int number = 0;   // list position, system command; a focus: 1 when Tab brought it
  std::u16string text;  // an edit's whole text after typing
};

// What the program does with a PageFile event: it gets the input's id.
using PageFileHandler = std::function<void(const std::string& input)>;

// An event as the page writes it: "window<TAB>kind<TAB>index<TAB>number<TAB>text", the kind
// spelled click, type, select, focus, enter, escape, arrow, close, syscmd, menu (the menu key
// or Shift+F10), pagefile or resize. The text is the rest of the line and may itself hold tabs. Nothing
// for a malformed line.
std::optional<PageEvent> parsePageEvent(std::string_view line);

// JSON text for the page: a string literal (UTF-8, quotes and control characters escaped).
std::string jsonString(std::u16string_view text);
std::string jsonString(std::string_view utf8);
// "#rrggbb", or null.
std::string jsonColour(const std::optional<Rgb>& colour);

// The page's own colours for what a dialog leaves to it (web/style.css draws the same).
inline constexpr NativePalette kPagePalette{{240, 240, 240}, {255, 255, 255}, {0, 0, 0}};

// One control as the page draws it: its kind, pixel rectangle, contents, state and the look the
// host gave it (fill, text and focus ring colours; a list's text field). `tabStop` says whether
// Tab stops on it. `said` is what a screen reader says about it: the page names the control by
// its label (`label`, the index of the control whose text names it) where that text is its
// whole name, and otherwise by the name.
std::string controlJson(int index, const ControlState& state, const Rect& pixels, bool tabStop,
                        const ControlLook& look, const Accessible& said);

// A dialog's one-column arrangement as the page takes it: a list of rows, each the index of its
// group box (-1: none) followed by its controls' indices ([[0,8,9],[-1,38,39]]); "null" for the
// template's own arrangement (nothing given).
std::string columnJson(const std::optional<std::vector<ColumnRow>>& rows);

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
