#include "ui/toolkit/web/PageBridge.h"

#include "ui/toolkit/web/PageText.h"

#include <emscripten.h>

#include <cstdlib>

// Each function hands its strings to the page script (Module.page, set up by web/page.js).

EM_JS(int, tarnwick_measure_font, (const char* family, int pixelSize, int* baseY), {
  const units = Module.page.measureFont(UTF8ToString(family), pixelSize);
  HEAP32[baseY >> 2] = units[1];
  return units[0];
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

EM_ASYNC_JS(int, tarnwick_pick_file_length, (const char* accept), {
  const file = await Module.page.pickFile(UTF8ToString(accept));
  if (!file) return 0;
  // The page picks; the bytes go into the program's file system under the file's own name.
  FS.writeFile(file.name, file.bytes);
  Module.page.pickedName = file.name;
  return lengthBytesUTF8(file.name) + 1;
});

EM_JS(void, tarnwick_take_picked_name, (char* buffer, int size), {
  stringToUTF8(Module.page.pickedName, buffer, size);
  Module.page.pickedName = null;
});

EM_JS(void, tarnwick_download, (const char* name, const unsigned char* bytes, int size), {
  Module.page.download(UTF8ToString(name), HEAPU8.slice(bytes, bytes + size));
});

EM_JS(void, tarnwick_program_ended, (), { Module.page.programEnded(); });

namespace tarnwick::tk::web::page {

BaseUnits measureFont(const std::string& family, int pixelSize) {
  BaseUnits units;
  units.x = averageCharWidth(tarnwick_measure_font(family.c_str(), pixelSize, &units.y));
  return units;
}

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

std::optional<std::string> pickFile(const std::string& accept) {
  const int size = tarnwick_pick_file_length(accept.c_str());
  if (size <= 0) return std::nullopt;
  std::string name(static_cast<std::size_t>(size), '\0');
  tarnwick_take_picked_name(name.data(), size);
  name.resize(static_cast<std::size_t>(size - 1));
  return name;
}

void download(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  tarnwick_download(name.c_str(), bytes.data(), static_cast<int>(bytes.size()));
}

void programEnded() { tarnwick_program_ended(); }

}  // namespace tarnwick::tk::web::page
