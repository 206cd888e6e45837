#include "ConfigFile.h"

#include <algorithm>

#include "Codec.h"
#include "FileAccess.h"

namespace tarnwick {

std::array<std::uint8_t, kRecordSize> encodeConfigImage(const ConfigRecord& record) {
  std::array<std::uint8_t, kRecordSize> image{};
  const auto plain = record.bytes();
  std::copy(plain.begin(), plain.end(), image.begin());
  negateBytes(image.data(), static_cast<std::uint32_t>(image.size()));
  return image;
}

ConfigRecord decodeConfigImage(std::span<const std::uint8_t, kRecordSize> image) {
  ConfigRecord record;
  const auto plain = record.bytes();
  std::copy(image.begin(), image.end(), plain.begin());
  negateBytes(plain.data(), static_cast<std::uint32_t>(plain.size()));
  return record;
}

ReadConfigResult readConfigFile(const std::string& path, ConfigRecord& record) {
  using S = ReadFileResult::Status;
  // Read into a scratch buffer first: the record changes only once all 1792 bytes are in.
  std::array<std::uint8_t, kRecordSize> image{};
  const ReadFileResult read = fileAccess().readPrefix(path, image);
  switch (read.status) {
    case S::Ok:
      record = decodeConfigImage(image);
      return {ReadConfigStatus::Loaded, {}};
    case S::CannotOpen:
      return {ReadConfigStatus::CannotOpen, read.reason};
    case S::TooShort:
      return {ReadConfigStatus::TooShort, read.reason};
    case S::ReadError:
      break;
  }
  return {ReadConfigStatus::ReadError, read.reason};
}

std::optional<FileError> ReadConfigResult::error(const std::string& path) const {
  switch (status) {
    case ReadConfigStatus::Loaded: return std::nullopt;
    case ReadConfigStatus::CannotOpen: return FileError{path, reason, 0, FileErrorKind::CannotOpen};
    case ReadConfigStatus::TooShort: return FileError{path, reason, 0, FileErrorKind::TooShort};
    case ReadConfigStatus::ReadError: break;
  }
  return FileError{path, reason, 0, FileErrorKind::ReadError};
}

ReadConfigResult readConfigBytes(std::span<const std::uint8_t> bytes, ConfigRecord& record) {
  if (bytes.size() < kRecordSize) return {ReadConfigStatus::TooShort, "The file is shorter than expected"};
  record = decodeConfigImage(bytes.first<kRecordSize>());
  return {ReadConfigStatus::Loaded, {}};
}

std::optional<FileError> writeConfigFile(const std::string& path, const ConfigRecord& record) {
  const auto image = encodeConfigImage(record);
  return fileAccess().save(path, image);
}

}  // namespace tarnwick
