#include "ui/toolkit/CFileDialog.h"

#include "config/TextConversions.h"
#include "ui/toolkit/Backend.h"
#include "ui/toolkit/Types.h"

#include <utility>

namespace tarnwick::tk {

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
  request.owner = owner_;
  std::optional<ChosenFile> chosen = backend->chooseFile(request);
  if (!chosen) return IDCANCEL;
  if (!chosen->hasPath()) {
    // Without a path an open needs the file's bytes, and a save a name to deliver under.
    if (open_ ? !chosen->contents : chosen->name.empty()) return IDCANCEL;
  }
  path_ = applyDefaultExtension(chosen->hasPath() ? chosen->path : chosen->name,
                                defaultExtension_);
  chosen_ = std::move(*chosen);
  if (!chosen_.hasPath()) chosen_.name = path_;
  return IDOK;
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
