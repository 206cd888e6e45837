#pragma once

#include "config/FileIO.h"
#include "ui/toolkit/Backend.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace tarnwick::tk {

class CDialogEx;

// An open or save file dialog with a filter, a default extension and an initial file name.
class CFileDialog {
 public:
  CFileDialog(bool openFileDialog, std::u16string defaultExtension, std::u16string initialName,
              std::u16string filter, const CDialogEx* owner);

  // "Open": the program uses only the first `bytes` bytes of the file; a front end that hands
  // over the bytes reads no more. Call before DoModal.
  void setReadLimit(std::uint64_t bytes) { readLimit_ = bytes; }

  // Starts the dialog in this folder (UTF-8) instead of the last one a file was chosen in.
  void setInitialFolder(std::string folder) { initialFolder_ = std::move(folder); }

  // IDOK when the user chose a file, IDCANCEL otherwise.
  int DoModal();
  // The full path chosen (UTF-8), with the default extension added when the name had none. A
  // front end without paths gives the file's name here, under the same rule.
  const std::string& GetPathName() const { return path_; }
  // Whether the front end answered with a path the program opens or writes itself.
  bool hasPath() const { return chosen_.hasPath(); }
  // "Open" answered without a path: the chosen file's bytes (else nothing).
  const std::optional<std::vector<std::uint8_t>>& openedContents() const {
    return chosen_.contents;
  }
  // "Open" answered without a path for a file the front end could not read: a CannotOpen
  // error with the front end's reason (else nothing).
  std::optional<FileError> readFailure() const;
  // "Save" answered without a path: hands the bytes the program wrote to the front end (a
  // download). Nothing on success; the error names GetPathName().
  std::optional<FileError> deliver(std::span<const std::uint8_t> bytes) const;

 private:
  bool open_;
  std::u16string defaultExtension_;
  std::u16string initialName_;
  std::u16string filter_;
  const CDialogEx* owner_;
  std::uint64_t readLimit_ = 0;
  std::string initialFolder_;
  std::string path_;
  ChosenFile chosen_;
};

// The folder the next file dialog starts in: the folder of the last file chosen in one, kept in
// memory for the run (nothing is stored), empty before the first choice.
const std::string& fileDialogFolder();
void setFileDialogFolder(std::string folder);

// Adds ".ext" to a path whose file name has no extension.
std::string applyDefaultExtension(const std::string& path, const std::u16string& extension);

}  // namespace tarnwick::tk
