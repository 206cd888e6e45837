#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "ConfigRecord.h"
#include "FileIO.h"

// The settings file (menu.cfg): the 1792-byte record, every byte negated, no header.
// Files of 1792 bytes or more load from their first 1792 bytes; a saved file is exactly 1792.

namespace tarnwick {

// Loads the file into `record`: nothing on success, otherwise the file's error (CannotOpen,
// TooShort, ReadError); the record is touched only on success.
std::optional<FileError> readConfigFile(const std::string& path, ConfigRecord& record);

// Loads a file's bytes that came without a path (a browser's upload), under the same rules:
// TooShort below 1792 bytes, otherwise the first 1792 bytes are the record.
// Such an error names no file (its path is empty).
std::optional<FileError> readConfigBytes(std::span<const std::uint8_t> bytes, ConfigRecord& record);

// Saves the record's encoded image through the active file access (saveFileAtomically on the
// system's files): replacing an existing file, or with IfExists::Fail only where none is. The
// record itself stays plain.
std::optional<FileError> writeConfigFile(const std::string& path, const ConfigRecord& record,
                                         IfExists ifExists = IfExists::Replace);

// The file image of a record, and back.
std::array<std::uint8_t, kRecordSize> encodeConfigImage(const ConfigRecord& record);
ConfigRecord decodeConfigImage(std::span<const std::uint8_t, kRecordSize> image);

}  // namespace tarnwick
