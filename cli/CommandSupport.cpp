#include "cli/CommandSupport.h"

#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <vector>

#include "cli/ByteText.h"
#include "config/ConfigFile.h"
#include "config/FileAccess.h"
#include "config/FileIO.h"

namespace tarnwick::cli {

int reportFailure(Io io, std::string_view file, std::string_view reason) {
  // One line, and nothing a terminal would act on: names and reasons may carry control
  // characters from file contents, paths or arguments; they are written as \xNN, as get
  // writes them in values.
  io.err << "tarnwick-cfg: " << escapeControls(file) << ": " << escapeControls(reason) << "\n";
  return kExitFailed;
}

int reportFailure(Io io, const FileError& error) {
  return reportFailure(io, error.path, error.reason.empty() ? "cannot be read" : error.reason);
}

std::string counted(std::size_t n, std::string_view one, std::string_view many) {
  return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

namespace {

std::string settingsFailure(const FileError& error) {
  if (error.kind == FileErrorKind::TooShort) {
    return "shorter than the " + std::to_string(kRecordSize) + " bytes of a settings file";
  }
  return error.reason.empty() ? "cannot be read" : error.reason;
}

}  // namespace

std::optional<ConfigRecord> loadSettings(Io io, const std::string& path, std::string* reason) {
  ConfigRecord record;
  const std::optional<FileError> error = readConfigFile(path, record);
  if (!error) return record;
  const std::string why = settingsFailure(*error);
  reportFailure(io, path, why);
  if (reason != nullptr) *reason = why;
  return std::nullopt;
}

std::optional<std::string> loadStandardInput(Io io, std::uint64_t maxBytes,
                                             std::string_view tooLarge) {
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      reportFailure(io, kStandardInput, std::error_code(errno, std::generic_category()).message());
      return std::nullopt;
    }
    if (n == 0) return text;
    if (text.size() + static_cast<std::size_t>(n) > maxBytes) {
      reportFailure(io, kStandardInput, tooLarge);
      return std::nullopt;
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
}

std::optional<std::string> loadText(Io io, const std::string& path, std::uint64_t maxBytes) {
  std::vector<std::uint8_t> bytes;
  if (const auto error = fileAccess().readWholeFile(path, maxBytes, bytes)) {
    reportFailure(io, *error);
    return std::nullopt;
  }
  return std::string(bytes.begin(), bytes.end());
}

bool saveSettings(Io io, const std::string& path, const ConfigRecord& record,
                  IfExists ifExists) {
  if (path == kStandardOutput) {
    const auto image = encodeConfigImage(record);
    io.out.write(reinterpret_cast<const char*>(image.data()),
                 static_cast<std::streamsize>(image.size()));
    return true;
  }
  if (const auto failure = writeConfigFile(path, record, ifExists)) {
    if (ifExists == IfExists::Fail && failure->reason == kAlreadyExists) {
      reportFailure(io, path, kExistsWithoutForce);
    } else {
      reportFailure(io, *failure);
    }
    return false;
  }
  return true;
}

bool saveText(Io io, const std::string& path, std::string_view text) {
  if (path == kStandardOutput) {
    io.out << text;
    return true;
  }
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                            text.size());
  if (const auto failure = fileAccess().save(path, bytes)) {
    reportFailure(io, *failure);
    return false;
  }
  return true;
}

}  // namespace tarnwick::cli
