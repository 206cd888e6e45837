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

std::optional<FileError> readConfigFile(const std::string& path, ConfigRecord& record) {
  // Read into a scratch buffer first: the record changes only once all 1792 bytes are in.
  std::array<std::uint8_t, kRecordSize> image{};
  if (auto error = fileAccess().readPrefix(path, image)) return error;
  record = decodeConfigImage(image);
  return std::nullopt;
}

std::optional<FileError> readConfigBytes(std::span<const std::uint8_t> bytes, ConfigRecord& record) {
  if (bytes.size() < kRecordSize) {
    return FileError{{}, "The file is shorter than expected", 0, FileErrorKind::TooShort};
  }
  record = decodeConfigImage(bytes.first<kRecordSize>());
  return std::nullopt;
}

std::optional<FileError> writeConfigFile(const std::string& path, const ConfigRecord& record,
                                         IfExists ifExists) {
  const auto image = encodeConfigImage(record);
  return ifExists == IfExists::Replace ? fileAccess().save(path, image)
                                       : fileAccess().saveNew(path, image);
}

}  // namespace tarnwick
