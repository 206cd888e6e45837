#pragma once

#include "ui/toolkit/Backend.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarnwick::tk::web {

// The toolkit in a web page: every modal dialog becomes an HTML element drawn from its template
// above the ones below it; message boxes are in-page boxes. The program runs its modal loops as
// it does on the desktop: each waits (suspended, through emscripten's Asyncify) for the next input
// the page has queued. A page has no paths: "open" answers with the picked file's name and bytes,
// "save" with the proposed name, and the written bytes become a download under that name.
// While an open window holds unsaved work the page asks before it is left or reloaded.
class WebBackend : public Backend {
 public:
  WebBackend() = default;
  WebBackend(const WebBackend&) = delete;
  WebBackend& operator=(const WebBackend&) = delete;

  int runModal(CDialogEx& dialog) override;
  int showMessageBox(const MessageBoxRequest& request) override;
  std::optional<ChosenFile> chooseFile(const FileDialogRequest& request) override;
  std::optional<std::string> deliverFile(const ChosenFile& file,
                                         std::span<const std::uint8_t> bytes) override;

 private:
  // Tells the page whether leaving it now would lose work, when that has changed.
  void reportUnsavedWork();

  std::vector<CDialogEx*> open_;
  int nextWindow_ = 1;
  bool unsavedReported_ = false;
};

}  // namespace tarnwick::tk::web
