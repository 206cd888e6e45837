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

struct BaseUnits {
  int x = 0;
  int y = 0;
};
// The dialog base units of a font: its average character width (from the width of the alphabet
// as the browser draws it) and its line height.
BaseUnits measureFont(const std::string& family, int pixelSize);

void openWindow(int window, const std::string& json);
void updateControl(int window, int index, const std::string& json);
void setCaption(int window, const std::string& caption);
void setBackground(int window, const std::string& colourJson);
void focusControl(int window, int index, bool selectText);
void closeWindow(int window);

// The next user input, as a line of text (see parsePageEvent). Waits for it.
std::string nextEvent();
// Shows an in-page message box and waits for its answer: 1 (OK), 6 (Yes) or 7 (No).
int messageBox(const std::string& json);
// Lets the user pick a file; waits. Its name, with its bytes written under that name in the
// working folder of the in-memory file system; nothing when the user cancelled.
std::optional<std::string> pickFile(const std::string& accept);
// Offers bytes to the user as a download with this name.
void download(const std::string& name, const std::vector<std::uint8_t>& bytes);
// The main window has closed: the page says so.
void programEnded();

}  // namespace page
}  // namespace tarnwick::tk::web
