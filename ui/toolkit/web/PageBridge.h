#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::tk::web {

// The calls between the program and its page (web/page.js). The only file with emscripten's
// JavaScript glue. The calls that wait (the next event, a message box, a file picker) suspend
// the program until the page answers; the page never calls into the program meanwhile.
namespace page {

struct FontMeasures {
  int alphabetWidth = 0;  // of "A".."Z" "a".."z", as the browser draws them
  int height = 0;         // the font's line height
};
FontMeasures measureFont(const std::string& family, int pixelSize);
// The width of `text` in that font, as the browser draws it.
int measureText(const std::string& family, int pixelSize, const std::string& text);

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
// Lets the user pick a file; waits. Its name and bytes, or nothing when the user cancelled.
struct PickedFile {
  std::string name;
  std::vector<std::uint8_t> bytes;
};
std::optional<PickedFile> pickFile(const std::string& accept);
// Offers bytes to the user as a download with this name.
void download(const std::string& name, const std::vector<std::uint8_t>& bytes);
// The main window has closed: the page says so.
void programEnded();

}  // namespace page
}  // namespace tarnwick::tk::web
