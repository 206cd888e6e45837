#include "ui/toolkit/CFileDialog.h"

#include "config/TextConversions.h"
#include "config/Utf8Path.h"
#include "ui/toolkit/Backend.h"
#include "ui/toolkit/Types.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace tarnwick::tk {

namespace {
std::string& lastFolder() {
  static std::string folder;
  return folder;
}

// The absolute folder of a chosen path; empty when it cannot be told.
std::string folderOf(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(pathFromUtf8(path), error);
  if (error) return {};
  return utf8FromPath(absolute.parent_path().lexically_normal());
}
}  // namespace

const std::string& fileDialogFolder() { return lastFolder(); }

void setFileDialogFolder(std::string folder) { lastFolder() = std::move(folder); }

CFileDialog::CFileDialog(bool openFileDialog, std::u16string defaultExtension,
                         std::u16string initialName, std::u16string filter,
                         const CDialogEx* owner)
    : open_(openFileDialog),
      defaultExtension_(std::move(defaultExtension)),
      initialName_(std::move(initialName)),
      filter_(std::move(filter)),
      owner_(owner) {}

int CFileDialog::DoModal() {
  Backend* backend = activeBackend();
  if (backend == nullptr) return IDCANCEL;
  FileDialogRequest request;
  request.save = !open_;
  request.filter = filter_;
  request.defaultExtension = defaultExtension_;
  request.initialName = initialName_;
  request.initialFolder = initialFolder_.empty() ? lastFolder() : initialFolder_;
  request.owner = owner_;
  request.readLimit = readLimit_;
  std::optional<ChosenFile> chosen = backend->chooseFile(request);
  if (!chosen) return IDCANCEL;
  if (!chosen->hasPath()) {
    // Without a path an open needs the file's bytes (or why they could not be read), and a
    // save a name to deliver under.
    const bool opened = chosen->contents || !chosen->readProblem.empty();
    if (open_ ? !opened : chosen->name.empty()) return IDCANCEL;
  }
  path_ = applyDefaultExtension(chosen->hasPath() ? chosen->path : chosen->name,
                                defaultExtension_);
  chosen_ = std::move(*chosen);
  if (!chosen_.hasPath()) chosen_.name = path_;
  // Whether or not the file then loads or saves, the user went to that folder. A file chosen
  // without a path (a browser's) has no folder to remember.
  if (chosen_.hasPath()) {
    if (std::string folder = folderOf(path_); !folder.empty()) lastFolder() = std::move(folder);
  }
  return IDOK;
}

std::optional<FileError> CFileDialog::readFailure() const {
  if (chosen_.hasPath() || chosen_.contents || chosen_.readProblem.empty()) return std::nullopt;
  FileError error;
  error.path = path_;
  error.reason = chosen_.readProblem;
  error.kind = FileErrorKind::CannotOpen;
  return error;
}

std::optional<FileError> CFileDialog::deliver(std::span<const std::uint8_t> bytes) const {
  Backend* backend = activeBackend();
  std::optional<std::string> problem =
      backend == nullptr ? std::optional<std::string>("no front end is active")
                         : backend->deliverFile(chosen_, bytes);
  if (!problem) return std::nullopt;
  FileError error;
  error.path = path_;
  error.reason = std::move(*problem);
  return error;
}

std::string applyDefaultExtension(const std::string& path, const std::u16string& extension) {
  if (extension.empty()) return path;
  const std::size_t slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || name.find('.') != std::string::npos) return path;
  return path + "." + toUtf8(extension);
}

}  // namespace tarnwick::tk
