#pragma once

#include <optional>
#include <string>

namespace tarnwick::tk {

class CDialogEx;

// An open or save file dialog with a filter, a default extension and an initial file name.
class CFileDialog {
 public:
  CFileDialog(bool openFileDialog, std::u16string defaultExtension, std::u16string initialName,
              std::u16string filter, const CDialogEx* owner);

  // IDOK when the user chose a file, IDCANCEL otherwise.
  int DoModal();
  // The full path chosen (UTF-8), with the default extension added when the name had none.
  const std::string& GetPathName() const { return path_; }

 private:
  bool open_;
  std::u16string defaultExtension_;
  std::u16string initialName_;
  std::u16string filter_;
  const CDialogEx* owner_;
  std::string path_;
};

// Adds ".ext" to a path whose file name has no extension.
std::string applyDefaultExtension(const std::string& path, const std::u16string& extension);

}  // namespace tarnwick::tk
