#pragma once

#include "ui/toolkit/Backend.h"

#include <optional>
#include <string>
#include <vector>

namespace tarnwick::tk::web {

class WebDialogWindow;

// The toolkit in a web page: every modal dialog becomes an HTML element drawn from its template
// above the ones below it; message boxes are in-page boxes. The program runs its modal loops as
// it does on the desktop: each waits (suspended, through emscripten's Asyncify) for the next input
// the page has queued. Files live in the program's in-memory file system: an opened file is the
// user's pick copied in under its own name, a saved file is offered to the user as a download.
class WebBackend : public Backend {
 public:
  WebBackend() = default;
  WebBackend(const WebBackend&) = delete;
  WebBackend& operator=(const WebBackend&) = delete;

  int runModal(CDialogEx& dialog) override;
  int showMessageBox(const MessageBoxRequest& request) override;
  std::optional<std::string> showFileDialog(const FileDialogRequest& request) override;

  // Offers a file the program has just written as a download under its own name.
  void offerDownload(const std::string& path);

 private:
  void offerPendingSave();

  std::vector<WebDialogWindow*> open_;
  int nextWindow_ = 1;
  std::optional<std::string> pendingSave_;
};

}  // namespace tarnwick::tk::web
