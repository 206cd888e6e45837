#include "config/FileAccess.h"

#include <algorithm>
#include <utility>

namespace tarnwick {

namespace {

class SystemFiles : public FileAccess {
 public:
  std::optional<FileError> readPrefix(const std::string& path, std::span<std::uint8_t> out) override {
    return tarnwick::readPrefix(path, out);
  }
  std::optional<FileError> readWholeFile(const std::string& path, std::uint64_t maxBytes,
                               std::vector<std::uint8_t>& out) override {
    return tarnwick::readWholeFile(path, maxBytes, out);
  }
  std::optional<FileError> save(const std::string& path,
                                std::span<const std::uint8_t> data) override {
    return saveFileAtomically(path, data);
  }
  std::optional<FileError> saveNew(const std::string& path,
                                   std::span<const std::uint8_t> data) override {
    return saveFileAtomically(path, data, IfExists::Fail);
  }
};

FileAccess* active = nullptr;

// The text a missing file gives on the system, so that a name a store lacks reads the same.
constexpr char kNoSuchFile[] = "No such file or directory";

}  // namespace

std::optional<FileError> compareReadBack(const std::string& path,
                                         std::span<const std::uint8_t> written,
                                         std::span<const std::uint8_t> readBack) {
  if (std::equal(written.begin(), written.end(), readBack.begin(), readBack.end())) {
    return std::nullopt;
  }
  return FileError{path, kCardReturnedDifferentBytes, 0, FileErrorKind::SaveError};
}

FileError tooLargeError(const std::string& path, std::uint64_t maxBytes) {
  // The limit in the largest unit that states it exactly: "64 MiB", "1 KiB", "1792 bytes".
  std::string limit = std::to_string(maxBytes) + " bytes";
  for (const auto& [unit, size] : {std::pair{"GiB", std::uint64_t{1} << 30},
                                   std::pair{"MiB", std::uint64_t{1} << 20},
                                   std::pair{"KiB", std::uint64_t{1} << 10}}) {
    if (maxBytes >= size && maxBytes % size == 0) {
      limit = std::to_string(maxBytes / size) + " " + unit;
      break;
    }
  }
  return FileError{path, "The file is larger than the " + limit + " accepted", 0,
                   FileErrorKind::TooLarge};
}

std::optional<FileError> FileAccess::saveNew(const std::string& path,
                                             std::span<const std::uint8_t> data) {
  const std::span<std::uint8_t> nothing;
  if (!readPrefix(path, nothing)) return FileError{path, kAlreadyExists, 0};
  return save(path, data);
}

FileAccess& systemFiles() {
  static SystemFiles files;
  return files;
}

FileAccess& fileAccess() { return active != nullptr ? *active : systemFiles(); }

void setFileAccess(FileAccess* access) { active = access; }

std::optional<FileError> MemoryFiles::readPrefix(const std::string& path, std::span<std::uint8_t> out) {
  const std::vector<std::uint8_t>* bytes = find(path);
  if (bytes == nullptr) return FileError{path, kNoSuchFile, 0, FileErrorKind::CannotOpen};
  if (bytes->size() < out.size()) return FileError{path, "The file is shorter than expected", 0, FileErrorKind::TooShort};
  std::copy_n(bytes->begin(), out.size(), out.begin());
  return std::nullopt;
}

std::optional<FileError> MemoryFiles::readWholeFile(const std::string& path, std::uint64_t maxBytes,
                                          std::vector<std::uint8_t>& out) {
  const std::vector<std::uint8_t>* bytes = find(path);
  if (bytes == nullptr) return FileError{path, kNoSuchFile, 0, FileErrorKind::CannotOpen};
  if (bytes->size() > maxBytes) return tooLargeError(path, maxBytes);
  out = *bytes;
  return std::nullopt;
}

std::optional<FileError> MemoryFiles::save(const std::string& path,
                                           std::span<const std::uint8_t> data) {
  if (path.empty()) return FileError{path, kNoSuchFile, 0};
  files_[path].assign(data.begin(), data.end());
  return std::nullopt;
}

std::optional<FileError> MemoryFiles::saveNew(const std::string& path,
                                              std::span<const std::uint8_t> data) {
  if (find(path) != nullptr) return FileError{path, kAlreadyExists, 0};
  return save(path, data);
}

void MemoryFiles::put(const std::string& path, std::vector<std::uint8_t> bytes) {
  files_[path] = std::move(bytes);
}

const std::vector<std::uint8_t>* MemoryFiles::find(const std::string& path) const {
  const auto it = files_.find(path);
  return it == files_.end() ? nullptr : &it->second;
}

}  // namespace tarnwick
