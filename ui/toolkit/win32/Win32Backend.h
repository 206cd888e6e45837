#pragma once

#include "ui/toolkit/Backend.h"

#include <functional>
#include <vector>

namespace tarnwick::tk::win32 {

class Win32DialogWindow;

// The toolkit's front end on the Windows user-interface API: each dialog is a real Windows
// dialog built from its template in memory, message boxes are MessageBoxExW and the file
// dialogs are the system's common dialogs.
class Win32Backend : public Backend {
 public:
  Win32Backend();
  ~Win32Backend() override;

  int runModal(CDialogEx& dialog) override;
  int showMessageBox(const MessageBoxRequest& request) override;
  std::optional<std::string> showFileDialog(const FileDialogRequest& request) override;

  // Called with each dialog's window handle once it is shown (for the start-up measurement).
  void setShownHook(std::function<void(void* hwnd)> hook) { shownHook_ = std::move(hook); }

  // The dialog on top and its window (HWND), for tests; nullptr when none is open.
  const CDialogEx* topDialog() const;
  void* topWindow() const { return ownerFor(nullptr); }

 private:
  void* ownerFor(const CDialogEx* dialog) const;

  std::vector<Win32DialogWindow*> open_;
  std::function<void(void* hwnd)> shownHook_;
};

}  // namespace tarnwick::tk::win32
