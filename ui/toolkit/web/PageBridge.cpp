#include "ui/toolkit/web/PageBridge.h"

#include <emscripten.h>

#include <array>
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

EM_JS(int, tarnwick_window_room, (), { return Module.page.windowRoom(); });

EM_JS(int, tarnwick_touch_only, (), { return Module.page.touchOnly() ? 1 : 0; });

EM_JS(void, tarnwick_arrange_window, (int window, const char* rows), {
  Module.page.arrangeWindow(window, JSON.parse(UTF8ToString(rows)));
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

// A file call's answer stays with the page (Module.page.reply) until the program has room for
// its texts and bytes.
EM_ASYNC_JS(void, tarnwick_pick_file, (const char* types, double limit), {
  Module.page.reply = await Module.page.pickFile(JSON.parse(UTF8ToString(types)), limit);
});

EM_ASYNC_JS(void, tarnwick_choose_save_target, (const char* name, const char* types), {
  Module.page.reply =
      await Module.page.chooseSaveTarget(UTF8ToString(name), JSON.parse(UTF8ToString(types)));
});

EM_ASYNC_JS(void, tarnwick_save_file, (const char* name, const unsigned char* bytes, int size), {
  const copy = HEAPU8.slice(bytes, bytes + size);
  Module.page.reply = await Module.page.saveFile(UTF8ToString(name), copy);
});

EM_ASYNC_JS(void, tarnwick_read_page_file, (const char* input, double limit), {
  Module.page.reply = await Module.page.readPageFile(UTF8ToString(input), limit);
});

EM_JS(int, tarnwick_reply_sizes, (int* sizes), {
  const reply = Module.page.reply;
  HEAP32[sizes >> 2] = lengthBytesUTF8(reply.status) + 1;
  HEAP32[(sizes >> 2) + 1] = lengthBytesUTF8((reply.name || "")) + 1;
  HEAP32[(sizes >> 2) + 2] = lengthBytesUTF8((reply.text || "")) + 1;
  return reply.bytes ? reply.bytes.length : 0;
});

EM_JS(void, tarnwick_take_reply, (char* status, char* name, char* text, const int* sizes,
                                  unsigned char* bytes), {
  const reply = Module.page.reply;
  Module.page.reply = null;
  stringToUTF8(reply.status, status, HEAP32[sizes >> 2]);
  stringToUTF8((reply.name || ""), name, HEAP32[(sizes >> 2) + 1]);
  stringToUTF8((reply.text || ""), text, HEAP32[(sizes >> 2) + 2]);
  if (reply.bytes) HEAPU8.set(reply.bytes, bytes);
});

EM_JS(void, tarnwick_show_page_file_note, (const char* input, const char* text), {
  Module.page.showPageFileNote(UTF8ToString(input), UTF8ToString(text));
});

EM_JS(void, tarnwick_program_ended, (), { Module.page.programEnded(); });

EM_JS(void, tarnwick_set_unsaved_work, (int unsaved), {
  Module.page.setUnsavedWork(unsaved !== 0);
});

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

int windowRoom() { return tarnwick_window_room(); }

bool touchOnly() { return tarnwick_touch_only() != 0; }

void arrangeWindow(int window, const std::string& rowsJson) {
  tarnwick_arrange_window(window, rowsJson.c_str());
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

namespace {
// Takes the answer the last file call left with the page.
FileReply takeReply() {
  std::array<int, 3> sizes{};
  const int size = tarnwick_reply_sizes(sizes.data());
  std::array<std::string, 3> texts;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    texts[i].assign(static_cast<std::size_t>(sizes[i]), '\0');
  }
  FileReply reply;
  reply.bytes.resize(static_cast<std::size_t>(size));
  tarnwick_take_reply(texts[0].data(), texts[1].data(), texts[2].data(), sizes.data(),
                      reply.bytes.data());
  for (std::string& text : texts) text.resize(text.empty() ? 0 : text.size() - 1);
  reply.status = std::move(texts[0]);
  reply.name = std::move(texts[1]);
  reply.text = std::move(texts[2]);
  return reply;
}
}  // namespace

FileReply pickFile(const std::string& typesJson, std::uint64_t readLimit) {
  tarnwick_pick_file(typesJson.c_str(), static_cast<double>(readLimit));
  return takeReply();
}

FileReply chooseSaveTarget(const std::string& proposedName, const std::string& typesJson) {
  tarnwick_choose_save_target(proposedName.c_str(), typesJson.c_str());
  return takeReply();
}

FileReply saveFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  tarnwick_save_file(name.c_str(), bytes.data(), static_cast<int>(bytes.size()));
  return takeReply();
}

FileReply readPageFile(const std::string& input, std::uint64_t readLimit) {
  tarnwick_read_page_file(input.c_str(), static_cast<double>(readLimit));
  return takeReply();
}

void showPageFileNote(const std::string& input, const std::string& text) {
  tarnwick_show_page_file_note(input.c_str(), text.c_str());
}

void programEnded() { tarnwick_program_ended(); }

void setUnsavedWork(bool unsaved) { tarnwick_set_unsaved_work(unsaved ? 1 : 0); }

}  // namespace tarnwick::tk::web::page
