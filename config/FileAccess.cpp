#include "config/FileAccess.h"

#include <algorithm>
#include <utility>

namespace tarnwick {

namespace {

class SystemFiles : public FileAccess {
 public:
  ReadFileResult readPrefix(const std::string& path, std::span<std::uint8_t> out) override {
    return tarnwick::readPrefix(path, out);
  }
  ReadFileResult readWholeFile(const std::string& path, std::uint64_t maxBytes,
                               std::vector<std::uint8_t>& out) override {
    return tarnwick::readWholeFile(path, maxBytes, out);
  }
  std::optional<FileError> save(const std::string& path,
                                std::span<const std::uint8_t> data) override {
    return saveFileAtomically(path, data);
  }
};

FileAccess* active = nullptr;

// The text a missing file gives on the system, so that a name a store lacks reads the same.
constexpr char kNoSuchFile[] = "No such file or directory";

}  // namespace

FileAccess& systemFiles() {
  static SystemFiles files;
  return files;
}

FileAccess& fileAccess() { return active != nullptr ? *active : systemFiles(); }

void setFileAccess(FileAccess* access) { active = access; }

ReadFileResult MemoryFiles::readPrefix(const std::string& path, std::span<std::uint8_t> out) {
  using S = ReadFileResult::Status;
  const std::vector<std::uint8_t>* bytes = find(path);
  if (bytes == nullptr) return {S::CannotOpen, kNoSuchFile};
  if (bytes->size() < out.size()) return {S::TooShort, "The file is shorter than expected"};
  std::copy_n(bytes->begin(), out.size(), out.begin());
  return {S::Ok, {}};
}

ReadFileResult MemoryFiles::readWholeFile(const std::string& path, std::uint64_t maxBytes,
                                          std::vector<std::uint8_t>& out) {
  using S = ReadFileResult::Status;
  const std::vector<std::uint8_t>* bytes = find(path);
  if (bytes == nullptr) return {S::CannotOpen, kNoSuchFile};
  if (bytes->size() > maxBytes) return {S::ReadError, "The file is too large"};
  out = *bytes;
  return {S::Ok, {}};
}

std::optional<FileError> MemoryFiles::save(const std::string& path,
                                           std::span<const std::uint8_t> data) {
  if (path.empty()) return FileError{path, kNoSuchFile, 0};
  files_[path].assign(data.begin(), data.end());
  return std::nullopt;
}

void MemoryFiles::put(const std::string& path, std::vector<std::uint8_t> bytes) {
  files_[path] = std::move(bytes);
}

const std::vector<std::uint8_t>* MemoryFiles::find(const std::string& path) const {
  const auto it = files_.find(path);
  return it == files_.end() ? nullptr : &it->second;
}

}  // namespace tarnwick
