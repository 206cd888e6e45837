#pragma once

#include "config/FileIO.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarnwick {

// Where the program's files are read and saved: the system's file system (the POSIX or Windows
// functions of FileIO.h), or a store of its own, such as a browser's files (bytes in, bytes out)
// or a test's faults. The settings file, oper.db and the command line's files all go through
// the active one, with the promises FileIO.h states.
class FileAccess {
 public:
  virtual ~FileAccess() = default;
  virtual std::optional<FileError> readPrefix(const std::string& path, std::span<std::uint8_t> out) = 0;
  virtual std::optional<FileError> readWholeFile(const std::string& path, std::uint64_t maxBytes,
                                                 std::vector<std::uint8_t>& out) = 0;
  // Saves `data` as the file `path`, replacing one that is there.
  virtual std::optional<FileError> save(const std::string& path,
                                        std::span<const std::uint8_t> data) = 0;
  // Saves `data` as the file `path` only where no file is: one that is there stays as it was
  // and the save fails with kAlreadyExists. The default looks first and then saves, which is
  // enough for a store with one writer; the system's files make the check and the save one
  // step, so that of two saves started together exactly one succeeds.
  virtual std::optional<FileError> saveNew(const std::string& path,
                                           std::span<const std::uint8_t> data);
};

// The system's file system, through FileIO.h.
FileAccess& systemFiles();

// The files every reader and save uses: systemFiles() unless replaced.
FileAccess& fileAccess();
// Replaces the active files (nullptr: the system's again). For a front end without a file
// system and for tests; set it before any file is touched.
void setFileAccess(FileAccess* access);

// Files held in memory by name: what a browser has (an upload in, a download out). A name that
// was never stored cannot be opened, with the reason a missing file gives.
class MemoryFiles : public FileAccess {
 public:
  std::optional<FileError> readPrefix(const std::string& path, std::span<std::uint8_t> out) override;
  std::optional<FileError> readWholeFile(const std::string& path, std::uint64_t maxBytes,
                                         std::vector<std::uint8_t>& out) override;
  std::optional<FileError> save(const std::string& path,
                                std::span<const std::uint8_t> data) override;
  std::optional<FileError> saveNew(const std::string& path,
                                   std::span<const std::uint8_t> data) override;

  void put(const std::string& path, std::vector<std::uint8_t> bytes);
  const std::vector<std::uint8_t>* find(const std::string& path) const;

 private:
  std::map<std::string, std::vector<std::uint8_t>> files_;
};

}  // namespace tarnwick
