#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarnwick {

// What went wrong with a file.
enum class FileErrorKind {
  CannotOpen,  // missing, not a regular file, no permission
  TooShort,    // shorter than the reader needs
  ReadError,   // opened but not read whole (an I/O error)
  SaveError,   // not saved; the old file, if any, is intact
  TooLarge,    // above what the reader accepts, so not read at all
  NotUsable,   // read whole, but not what the reader expects (an oper.db header)
};

// Why a file operation failed, in words a person can read: the one error of every file read
// and save, for the windows and the command line alike.
struct FileError {
  std::string path;
  std::string reason;    // the operating system's reason (strerror text) or our own
  int errorNumber = 0;   // errno where the system gave one, else 0
  FileErrorKind kind = FileErrorKind::SaveError;
};

// The reason of a save whose read-back differs from what was written: the card (or whatever
// holds the file system) keeps other bytes than it was given.
inline constexpr char kCardReturnedDifferentBytes[] =
    "the card returned different bytes: it may be failing or counterfeit";

// The reason of a save that would create a file where one already exists.
inline constexpr char kAlreadyExists[] = "already exists";

// What a save does when the target exists: replace it, or fail without touching it
// (FileErrorKind::SaveError, errorNumber EEXIST or ERROR_FILE_EXISTS, reason kAlreadyExists).
enum class IfExists { Replace, Fail };

// How the temporary file is made; every caller but the tests of the named way (the one FAT
// cards and non-Linux systems take) keeps the default.
enum class TempFiles { UnnamedWherePossible, NamedOnly };

// The one way this program saves a file.
//
// Writes `data` to a temporary file in the target's folder, checks that every byte went out
// and fsyncs it. Then it proves the bytes are on the device: the file's cached pages are
// dropped and the file is read back from the device and compared byte for byte; a difference
// fails the save with kCardReturnedDifferentBytes. Only then does the file take the target's
// name (a rename), and the folder is fsynced. Until that rename the old file is untouched, so
// a crash, a full disk, an I/O error or a card that does not keep what it is given never
// leaves a damaged file, and a failed save leaves the old file exactly as it was.
//
// With IfExists::Fail the last step cannot replace anything, even a file that another program
// creates at the same moment: the file is linked in where no name exists (linkat of an
// unnamed file, renameat2 with RENAME_NOREPLACE, link), or on a file system that offers none
// of these (FUSE exFAT or FAT) the name is first claimed with an exclusive create and the
// finished file renamed over that empty placeholder. Of two such saves started together on a
// missing file, exactly one succeeds.
//
// Where the file system allows it (Linux, O_TMPFILE) the temporary file has no name until it
// is complete; elsewhere (a FAT memory card) it is a named ".tarnwick-save-XXXXXX". A save
// holds a lock on its temporary file for as long as it works on it, so one that was killed
// leaves an unlocked file: the next save into that folder removes such a file of ours at once
// (an empty one, which a save has not yet locked, once it is a minute old).
//
// An existing target keeps its owner and group where we may set them, and its permission bits
// (set-user-ID and set-group-ID included while owner and group are kept); a new one gets
// 0666 & ~umask like a plain open. A file system that has no owners or modes (FAT, exFAT,
// network shares) refuses to set them; that is no failure, the file is saved as it can be.
// An existing target the caller may not write (read-only, or another account's) is refused
// with the system's reason, as opening it for writing would be.
// When the target is a symbolic link, the file it points to is replaced and the link stays.
// A link in a shared folder (sticky and writable by everyone, like /tmp) is followed only when
// it belongs to the caller or to the folder's owner, the rule the kernel applies when it
// follows links there: anyone may plant a link in such a folder, and following theirs would
// let them choose which of the caller's files gets replaced. Otherwise nothing is written.
// On any failure the temporary file is removed and the error carries the system's reason.
std::optional<FileError> saveFileAtomically(const std::string& path,
                                            std::span<const std::uint8_t> data,
                                            IfExists ifExists = IfExists::Replace,
                                            TempFiles temps = TempFiles::UnnamedWherePossible);

// Compares what a save wrote with what the device gave back: nothing when they are equal,
// otherwise the save's failure (kCardReturnedDifferentBytes) for `path`.
std::optional<FileError> compareReadBack(const std::string& path,
                                         std::span<const std::uint8_t> written,
                                         std::span<const std::uint8_t> readBack);

// Makes sure that `path` is a folder to save into, component by component: a component that is
// a symbolic link is followed only under the rule above for links in shared folders, and one
// that exists but is not a folder is refused ("Not a directory"). With `create`, missing
// folders are made (0777 & ~umask, like mkdir -p); without it a missing component ends the
// check without an error (there is nothing there yet that could be refused).
std::optional<FileError> prepareFolder(const std::string& path, bool create);

// An exclusive advisory lock (flock) on a file, held while the object lives, for a
// read-modify-write: two programs that each take it before reading and keep it until their
// save is done cannot lose each other's change. A save replaces the file by a new one, so
// taking the lock checks afterwards that the path still names the locked file and otherwise
// locks the new one. A missing file gives an empty lock (there is nothing to lose), as does one
// that cannot be opened or locked: the read or save that follows reports its own reason.
class FileLock {
 public:
  FileLock() = default;
  explicit FileLock(int fd) : fd_(fd) {}
  FileLock(FileLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();

  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Waits until the file at `path` (a link's file, when it is one) can be locked, and locks it.
FileLock lockForUpdate(const std::string& path);

// A read's outcome: nothing when it succeeded, otherwise its error (CannotOpen, TooShort or
// ReadError). The kind alone, for code that only tells outcomes apart.
inline std::optional<FileErrorKind> errorKind(const std::optional<FileError>& error) {
  if (!error) return std::nullopt;
  return error->kind;
}

// Reads exactly the first out.size() bytes of a regular file into `out`.
//
// Opening never blocks (a FIFO is refused rather than waited on); anything that is not a
// regular file is CannotOpen, a file shorter than out.size() is TooShort, and a read that
// fails or ends early is ReadError. Never reads more than out.size() bytes, so a huge or
// sparse file costs no more than a small one. `out` may be partly written on failure.
std::optional<FileError> readPrefix(const std::string& path, std::span<std::uint8_t> out);

// Reads a whole regular file of at most maxBytes bytes into `out` (same opening rules as
// readPrefix). A file larger than maxBytes is TooLarge, checked before anything is read, with
// a reason that names the limit (tooLargeError).
std::optional<FileError> readWholeFile(const std::string& path, std::uint64_t maxBytes,
                                       std::vector<std::uint8_t>& out);

// The error of a file above a reader's limit: "The file is larger than the 64 MiB accepted".
FileError tooLargeError(const std::string& path, std::uint64_t maxBytes);

}  // namespace tarnwick
