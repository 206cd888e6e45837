#pragma once

#include "ui/toolkit/Backend.h"
#include "ui/toolkit/web/PageText.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarnwick::tk::web {

// The toolkit in a web page: every modal dialog becomes an HTML element drawn from its template
// above the ones below it; message boxes are in-page boxes. The program runs its modal loops as
// it does on the desktop: each waits (suspended, through emscripten's Asyncify) for the next input
// the page has queued. A page has no paths: "open" answers with the picked file's name and its
// first bytes (as many as the program uses), "save" with a name; the written bytes go onto the
// file the user loaded or picked, where the browser allows it, and are read back and compared,
// or else become a download under the proposed name.
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

  // What the program does when the user picks a file in one of the page's own inputs, outside
  // every window (the operator table); it gets the input's id and runs between two inputs of
  // whichever window is open.
  void onPageFile(PageFileHandler handler) { pageFile_ = std::move(handler); }

 private:
  // Tells the page whether leaving it now would lose work, when that has changed.
  void reportUnsavedWork();

  PageFileHandler pageFile_;
  std::vector<CDialogEx*> open_;
  int nextWindow_ = 1;
  bool unsavedReported_ = false;
};

}  // namespace tarnwick::tk::web
