#pragma once

#include "ui/toolkit/Backend.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace tarnwick::tk {

class QtDialogWindow;

// The toolkit on Qt 6 Widgets: every modal dialog becomes a QtDialogWindow run in its own event
// loop; message boxes are QMessageBoxes and file dialogs Qt's own (never the platform's native
// dialog, which can hang a run without a desktop). A QApplication must exist.
class QtBackend : public Backend {
 public:
  QtBackend() = default;
  QtBackend(const QtBackend&) = delete;
  QtBackend& operator=(const QtBackend&) = delete;

  int runModal(CDialogEx& dialog) override;
  int showMessageBox(const MessageBoxRequest& request) override;
  std::optional<std::string> showFileDialog(const FileDialogRequest& request) override;

  // Called for every dialog window once it has been painted for the first time (tests, the
  // start-up benchmark). The hook may interact with the window or close it.
  void setShownHook(std::function<void(QtDialogWindow&)> hook) { shownHook_ = std::move(hook); }

  QtDialogWindow* topWindow() const { return open_.empty() ? nullptr : open_.back(); }
  QtDialogWindow* windowFor(const CDialogEx* dialog) const;
  const std::vector<QtDialogWindow*>& openWindows() const { return open_; }

  // Saves a picture of the top-most dialog window as a PNG file; false when no dialog is open
  // or the file cannot be written.
  bool grabTopDialog(const std::string& path) const;

 private:
  QWidget* ownerWidget(const CDialogEx* owner) const;

  std::vector<QtDialogWindow*> open_;
  std::function<void(QtDialogWindow&)> shownHook_;
};

}  // namespace tarnwick::tk
