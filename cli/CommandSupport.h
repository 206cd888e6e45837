#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/Commands.h"
#include "config/ConfigRecord.h"
#include "config/FileIO.h"

// What the commands share: error lines, reading the files they take and writing the files they
// make.

namespace tarnwick::cli {

// Writes "tarnwick-cfg: FILE: REASON" on one line and returns kExitFailed.
int reportFailure(Io io, std::string_view file, std::string_view reason);
// The same for a file's error (its path and reason; "cannot be read" when it gives none).
int reportFailure(Io io, const FileError& error);

// "1 country", "3 countries".
std::string counted(std::size_t n, std::string_view one, std::string_view many);

// Reads a settings file; on failure reports it, hands the reason to `reason` (when given) and
// returns nothing.
std::optional<ConfigRecord> loadSettings(Io io, const std::string& path,
                                         std::string* reason = nullptr);

// Reads a whole text file (JSON, scripts) of at most maxBytes; on failure reports it.
std::optional<std::string> loadText(Io io, const std::string& path, std::uint64_t maxBytes);

// The output name that stands for standard output, as in most command-line tools, and the
// input name that stands for standard input.
inline constexpr std::string_view kStandardOutput = "-";
inline constexpr std::string_view kStandardInput = "-";

// Reads standard input (a file, a pipe or a terminal) to its end, at most maxBytes; more is
// reported with `tooLarge`. On failure reports it and returns nothing.
std::optional<std::string> loadStandardInput(Io io, std::uint64_t maxBytes,
                                             std::string_view tooLarge);

// Why a command without --force does not write where a file is.
inline constexpr std::string_view kExistsWithoutForce = "already exists (use --force to replace it)";

// Saves through the program's safe save (temporary file, read back from the device, rename);
// false after reporting a failure. With IfExists::Fail an existing file is kept and reported
// as "already exists (use --force to replace it)". The name "-" writes to standard output
// instead.
bool saveSettings(Io io, const std::string& path, const ConfigRecord& record,
                  IfExists ifExists = IfExists::Replace);
bool saveText(Io io, const std::string& path, std::string_view text);

// The largest JSON or script file read: far above any real one (an export is about 7 KB, the
// largest operator table a few MB).
inline constexpr std::uint64_t kMaxInputBytes = std::uint64_t{64} * 1024 * 1024;

}  // namespace tarnwick::cli
