#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarnwick {

// Why a file operation failed, in words a person can read.
struct FileError {
  std::string path;
  std::string reason;    // the operating system's reason (strerror text) or our own
  int errorNumber = 0;   // errno where the system gave one, else 0
};

// The one way this program saves a file.
//
// Writes `data` to a temporary file in the target's folder, checks that every byte went out,
// fsyncs it and renames it over the target, then fsyncs the folder. Until the rename the old
// file is untouched, so a crash, a full disk or an I/O error never leaves a half-written file.
// An existing target keeps its permission bits; a new one gets 0666 & ~umask like a plain open.
// An existing target the caller may not write (read-only, or another account's) is refused
// with the system's reason, as opening it for writing would be.
// When the target is a symbolic link, the file it points to is replaced and the link stays.
// On any failure the temporary file is removed and the error carries the system's reason.
std::optional<FileError> saveFileAtomically(const std::string& path,
                                            std::span<const std::uint8_t> data);

struct ReadFileResult {
  enum class Status { Ok, CannotOpen, TooShort, ReadError } status;
  std::string reason;  // empty on Ok
};

// Reads exactly the first out.size() bytes of a regular file into `out`.
//
// Opening never blocks (a FIFO is refused rather than waited on); anything that is not a
// regular file is CannotOpen, a file shorter than out.size() is TooShort, and a read that
// fails or ends early is ReadError. Never reads more than out.size() bytes, so a huge or
// sparse file costs no more than a small one. `out` may be partly written on failure.
ReadFileResult readPrefix(const std::string& path, std::span<std::uint8_t> out);

// Reads a whole regular file of at most maxBytes bytes into `out` (same opening rules as
// readPrefix). A file larger than maxBytes is ReadError, checked before anything is read.
ReadFileResult readWholeFile(const std::string& path, std::uint64_t maxBytes,
                             std::vector<std::uint8_t>& out);

}  // namespace tarnwick
