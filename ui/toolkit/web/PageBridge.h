#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::tk::web {

// The calls between the program and its page (web/page.js). The only file with emscripten's
// JavaScript glue. The calls that wait (the next event, a message box, the files) suspend
// the program until the page answers; the page never calls into the program meanwhile.
namespace page {

struct FontMeasures {
  int alphabetWidth = 0;  // of "A".."Z" "a".."z", as the browser draws them
  int height = 0;         // the font's line height
};
FontMeasures measureFont(const std::string& family, int pixelSize);
// The width of `text` in that font, as the browser draws it.
int measureText(const std::string& family, int pixelSize, const std::string& text);

// The width a window's dialog has on the page, in CSS pixels: the viewport's, less the page's
// margins around a window.
int windowRoom();
// Whether the page is used by touch alone (no mouse or other fine pointer).
bool touchOnly();
// Arranges an open window's controls: in rows down one column (columnJson), or where the
// template puts them ("null").
void arrangeWindow(int window, const std::string& rowsJson);
void openWindow(int window, const std::string& json);
void updateControl(int window, int index, const std::string& json);
void setCaption(int window, const std::string& caption);
void setBackground(int window, const std::string& colourJson);
void focusControl(int window, int index, bool selectText);
// Scrolls the page so that the control and its focus ring can be seen.
void scrollIntoView(int window, int index);
// Opens the window's menu beside control `index` (-1: below its menu button), the first entry
// focused; the entry the user chooses comes as an event.
void openWindowMenu(int window, int index);
void closeWindow(int window);

// The next user input, as a line of text (see parsePageEvent). Waits for it.
std::string nextEvent();
// Shows an in-page message box and waits for its answer: 1 (OK), 6 (Yes) or 7 (No).
int messageBox(const std::string& json);
// The page's answer to a file request: what happened (each call lists its answers), the
// file's name, a reason, and bytes.
struct FileReply {
  std::string status;
  std::string name;
  std::string text;
  std::vector<std::uint8_t> bytes;
};

// Lets the user pick a file to open (`typesJson`: pickerTypesJson); waits. "cancelled"; "read"
// with the name and the file's first `readLimit` bytes (0: all of them); "unreadable" with the
// name and the browser's reason.
FileReply pickFile(const std::string& typesJson, std::uint64_t readLimit);
// Where a save goes; waits for the user. "cancelled"; "download" (under `proposedName`);
// "file" with the name of the file the user loaded or picked, which the page keeps for the
// saveFile that follows.
FileReply chooseSaveTarget(const std::string& proposedName, const std::string& typesJson);
// Puts the bytes where chooseSaveTarget said; waits. "downloaded"; "failed" with the reason;
// "written" with the file's contents read back from it (one byte more than was written, when
// the file has more).
FileReply saveFile(const std::string& name, const std::vector<std::uint8_t>& bytes);
// The file picked in one of the page's own file inputs (by its element id); waits. "none";
// "read" with the name and bytes; "too-large" with the name, nothing read, when the file has
// more than `readLimit` bytes; "unreadable" with the name and the browser's reason.
FileReply readPageFile(const std::string& input, std::uint64_t readLimit);
// The page's line about that input's file.
void showPageFileNote(const std::string& input, const std::string& text);
// The main window has closed: the page says so.
void programEnded();
// Whether leaving or reloading the page now would lose settings: the page then asks first.
void setUnsavedWork(bool unsaved);

}  // namespace page
}  // namespace tarnwick::tk::web
