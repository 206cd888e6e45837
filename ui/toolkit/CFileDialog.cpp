#include "ui/toolkit/CFileDialog.h"

#include "config/TextConversions.h"
#include "ui/toolkit/Backend.h"
#include "ui/toolkit/Types.h"

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
  std::optional<std::string> chosen = backend->showFileDialog(request);
  if (!chosen || chosen->empty()) return IDCANCEL;
  path_ = applyDefaultExtension(*chosen, defaultExtension_);
  return IDOK;
}

std::string applyDefaultExtension(const std::string& path, const std::u16string& extension) {
  if (extension.empty()) return path;
  const std::size_t slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || name.find('.') != std::string::npos) return path;
  return path + "." + toUtf8(extension);
}

}  // namespace tarnwick::tk
