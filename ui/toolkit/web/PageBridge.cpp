#include "ui/toolkit/web/PageBridge.h"

#include <emscripten.h>

#include <cstdlib>

// Each function hands its strings to the page script (Module.page, set up by web/page.js).

EM_JS(int, tarnwick_measure_font, (const char* family, int pixelSize, int* height), {
  const measures = Module.page.measureFont(UTF8ToString(family), pixelSize);
  HEAP32[height >> 2] = measures[1];
  return measures[0];
});

EM_JS(int, tarnwick_measure_text, (const char* family, int pixelSize, const char* text), {
  return Module.page.measureText(UTF8ToString(family), pixelSize, UTF8ToString(text));
});

EM_JS(void, tarnwick_scroll_into_view, (int window, int index), {
  Module.page.scrollIntoView(window, index);
});

EM_JS(void, tarnwick_open_window_menu, (int window, int index), {
  Module.page.openWindowMenu(window, index);
});

EM_JS(void, tarnwick_open_window, (int window, const char* json), {
  Module.page.openWindow(window, JSON.parse(UTF8ToString(json)));
});

EM_JS(void, tarnwick_update_control, (int window, int index, const char* json), {
  Module.page.updateControl(window, index, JSON.parse(UTF8ToString(json)));
});

EM_JS(void, tarnwick_set_caption, (int window, const char* caption), {
  Module.page.setCaption(window, UTF8ToString(caption));
});

EM_JS(void, tarnwick_set_background, (int window, const char* colour), {
  Module.page.setBackground(window, JSON.parse(UTF8ToString(colour)));
});

EM_JS(void, tarnwick_focus_control, (int window, int index, int selectText), {
  Module.page.focusControl(window, index, selectText !== 0);
});

EM_JS(void, tarnwick_close_window, (int window), { Module.page.closeWindow(window); });

// The event text is copied into memory the program allocates, after the wait is over.
EM_ASYNC_JS(int, tarnwick_next_event_length, (), {
  Module.page.currentEvent = await Module.page.nextEvent();
  return lengthBytesUTF8(Module.page.currentEvent) + 1;
});

EM_JS(void, tarnwick_take_event, (char* buffer, int size), {
  stringToUTF8(Module.page.currentEvent, buffer, size);
  Module.page.currentEvent = null;
});

EM_ASYNC_JS(int, tarnwick_message_box, (const char* json), {
  return await Module.page.messageBox(JSON.parse(UTF8ToString(json)));
});

// The picked file stays with the page until the program has room for its name and bytes.
EM_ASYNC_JS(int, tarnwick_pick_file, (const char* accept, int* nameSize), {
  const file = await Module.page.pickFile(UTF8ToString(accept));
  Module.page.picked = file;
  if (!file) return -1;
  HEAP32[nameSize >> 2] = lengthBytesUTF8(file.name) + 1;
  return file.bytes.length;
});

EM_JS(void, tarnwick_take_picked_file, (char* name, int nameSize, unsigned char* bytes), {
  const file = Module.page.picked;
  Module.page.picked = null;
  stringToUTF8(file.name, name, nameSize);
  HEAPU8.set(file.bytes, bytes);
});

EM_JS(void, tarnwick_download, (const char* name, const unsigned char* bytes, int size), {
  Module.page.download(UTF8ToString(name), HEAPU8.slice(bytes, bytes + size));
});

EM_JS(void, tarnwick_program_ended, (), { Module.page.programEnded(); });

namespace tarnwick::tk::web::page {

FontMeasures measureFont(const std::string& family, int pixelSize) {
  FontMeasures measures;
  measures.alphabetWidth = tarnwick_measure_font(family.c_str(), pixelSize, &measures.height);
  return measures;
}

int measureText(const std::string& family, int pixelSize, const std::string& text) {
  return tarnwick_measure_text(family.c_str(), pixelSize, text.c_str());
}

void scrollIntoView(int window, int index) { tarnwick_scroll_into_view(window, index); }

void openWindowMenu(int window, int index) { tarnwick_open_window_menu(window, index); }

void openWindow(int window, const std::string& json) { tarnwick_open_window(window, json.c_str()); }

void updateControl(int window, int index, const std::string& json) {
  tarnwick_update_control(window, index, json.c_str());
}

void setCaption(int window, const std::string& caption) {
  tarnwick_set_caption(window, caption.c_str());
}

void setBackground(int window, const std::string& colourJson) {
  tarnwick_set_background(window, colourJson.c_str());
}

void focusControl(int window, int index, bool selectText) {
  tarnwick_focus_control(window, index, selectText ? 1 : 0);
}

void closeWindow(int window) { tarnwick_close_window(window); }

std::string nextEvent() {
  const int size = tarnwick_next_event_length();
  std::string line(static_cast<std::size_t>(size), '\0');
  tarnwick_take_event(line.data(), size);
  line.resize(static_cast<std::size_t>(size > 0 ? size - 1 : 0));
  return line;
}

int messageBox(const std::string& json) { return tarnwick_message_box(json.c_str()); }

std::optional<PickedFile> pickFile(const std::string& accept) {
  int nameSize = 0;
  const int size = tarnwick_pick_file(accept.c_str(), &nameSize);
  if (size < 0) return std::nullopt;
  PickedFile file;
  file.name.assign(static_cast<std::size_t>(nameSize), '\0');
  file.bytes.resize(static_cast<std::size_t>(size));
  tarnwick_take_picked_file(file.name.data(), nameSize, file.bytes.data());
  file.name.resize(static_cast<std::size_t>(nameSize > 0 ? nameSize - 1 : 0));
  return file;
}

void download(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  tarnwick_download(name.c_str(), bytes.data(), static_cast<int>(bytes.size()));
}

void programEnded() { tarnwick_program_ended(); }

}  // namespace tarnwick::tk::web::page
