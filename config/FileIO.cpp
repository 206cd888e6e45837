#include "FileIO.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string_view>
#include <system_error>
#include <vector>

namespace tarnwick {

namespace {

// Symbolic links followed before giving up, as the kernel does for a path (ELOOP).
constexpr int kMaxLinkHops = 40;

std::string systemReason(int err) {
  return std::error_code(err, std::generic_category()).message();
}

FileError systemError(const std::string& path, int err) {
  return FileError{path, systemReason(err), err};
}

// A file descriptor closed on every path out of a function.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now and reports the result: a delayed write error may only show up here.
  int close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }

 private:
  int fd_;
};

std::string folderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Whether this process may follow the symbolic link `link` (its lstat) that lies in the folder
// `folder` (its stat). In a sticky folder anyone may write to (/tmp), anyone may also plant a
// link, so a link there is followed only when it is the caller's own or the folder owner's: the
// kernel's rule for such folders (fs.protected_symlinks), applied here because the save
// resolves links itself and the kernel never sees them followed.
bool mayFollowLink(const struct stat& link, const struct stat& folder) {
  const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
  if (!shared) return true;
  return link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

// The refusal of a link that mayFollowLink does not allow; `link` is named unless it is the
// path itself.
FileError linkRefusal(const std::string& path, const std::string& link) {
  std::string reason = "Not following the symbolic link" +
                       (link == path ? std::string() : " " + link) +
                       ": it belongs to another user and lies in a folder anyone can write to";
  return FileError{path, std::move(reason), EACCES};
}

bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The path the save should replace: a symbolic link is followed to the file it names (which
// need not exist yet), so the link itself survives the rename. A link the kernel's rule for
// shared folders would not follow is refused. Errors other than "does not exist" are reported.
std::optional<FileError> resolveTarget(const std::string& path, std::string& target) {
  target = path;
  for (int hops = 0;; ++hops) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0) {
      if (errno == ENOENT) return std::nullopt;
      return systemError(path, errno);
    }
    if (!S_ISLNK(st.st_mode)) return std::nullopt;
    if (hops >= kMaxLinkHops) return systemError(path, ELOOP);
    struct stat folder {};
    if (::stat(folderOf(target).c_str(), &folder) != 0) return systemError(path, errno);
    if (!mayFollowLink(st, folder)) return linkRefusal(path, target);
    std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 0) + 256, '\0');
    const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
    if (n < 0) return systemError(path, errno);
    if (static_cast<std::size_t>(n) >= link.size()) return systemError(path, ENAMETOOLONG);
    link.resize(static_cast<std::size_t>(n));
    // The link that was read must be the one that was judged: one swapped in between is looked
    // at again (and counts as a hop, so endless swapping ends as ELOOP).
    struct stat again {};
    if (::lstat(target.c_str(), &again) != 0 || !sameFile(st, again) || again.st_uid != st.st_uid) {
      continue;
    }
    target = (!link.empty() && link.front() == '/') ? link : folderOf(target) + "/" + link;
  }
}

// One line of /proc/self/status: "Umask:", blanks, then the mask in octal ("Umask:\t0022").
bool parseUmaskLine(std::string_view line, unsigned& mask) {
  constexpr std::string_view kKey = "Umask:";
  if (!line.starts_with(kKey)) return false;
  line.remove_prefix(kKey.size());
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  return std::from_chars(line.data(), line.data() + line.size(), mask, 8).ec == std::errc{};
}

// The process umask, read without changing it where the kernel reports it.
mode_t currentUmask() {
  if (FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, status) != nullptr) {
      found = parseUmaskLine(line, mask);
    }
    std::fclose(status);
    if (found) return static_cast<mode_t>(mask);
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

bool writeAll(int fd, std::span<const std::uint8_t> data, int& err) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      return false;
    }
    if (n == 0) {  // no progress and no error: treat as a full device rather than spin
      err = ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Opens without blocking (a FIFO with no writer would otherwise hang) and admits regular
// files only.
std::optional<FileError> openRegular(const std::string& path, int& fdOut, std::uint64_t& size) {
  fdOut = -1;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return FileError{path, systemReason(errno), 0, FileErrorKind::CannotOpen};
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    return FileError{path, systemReason(err), 0, FileErrorKind::CannotOpen};
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return FileError{path, S_ISDIR(st.st_mode) ? systemReason(EISDIR) : "Not a regular file", 0, FileErrorKind::CannotOpen};
  }
  fdOut = fd;
  size = static_cast<std::uint64_t>(st.st_size);
  return std::nullopt;
}

std::optional<FileError> readExactly(const std::string& path, int fd, std::uint8_t* out,
                                     std::size_t want) {
  std::size_t done = 0;
  while (done < want) {
    const ssize_t n = ::read(fd, out + done, want - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return FileError{path, systemReason(errno), 0, FileErrorKind::ReadError};
    }
    if (n == 0) return FileError{path, "The file ended before all its bytes could be read", 0, FileErrorKind::ReadError};
    done += static_cast<std::size_t>(n);
  }
  return std::nullopt;
}


// Names of our temporary files: this prefix, then six letters or digits.
constexpr std::string_view kTempPrefix = ".tarnwick-save-";
constexpr std::size_t kTempSuffixLength = 6;

// An empty temporary file of ours that nobody holds locked and that is older than this was
// left by a save killed between creating and locking it (a save takes milliseconds).
constexpr std::time_t kStaleTempSeconds = 60;

bool isTempName(std::string_view name) {
  if (!name.starts_with(kTempPrefix) || name.size() != kTempPrefix.size() + kTempSuffixLength) {
    return false;
  }
  for (const char c : name.substr(kTempPrefix.size())) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!alnum) return false;
  }
  return true;
}

// Whether a temporary file of ours, found in a folder, was left by a save that no longer runs.
// A save locks its temporary file before it writes to it and holds the lock until the file has
// its final name, so a file with content that nobody holds locked is a killed save's. One
// without content may belong to a save that is just starting: it goes only once it is old. On
// a file system without locks the age alone decides.
bool leftBehind(int dirFd, const char* name, const struct stat& found, std::time_t now) {
  const bool old = now - found.st_mtime > kStaleTempSeconds;
  Fd fd(::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) return old;
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return errno != EWOULDBLOCK && old;
  struct stat current {};
  if (::fstat(fd.get(), &current) != 0 || !sameFile(current, found)) return false;
  return current.st_size > 0 || old;
}

// Removes temporary files that killed saves of ours left in `folder`: regular files with our
// name pattern, owned by this user, that leftBehind judges so. Best effort: a folder that
// cannot be read or a file that cannot be removed is left as it is.
void removeStaleTemps(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    if (!isTempName(entry->d_name)) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    if (leftBehind(::dirfd(dir), entry->d_name, st, now)) ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

// What file systems without owners or modes (FAT and exFAT through FUSE, some network shares)
// answer when asked to set them.
bool noOwnersOrModesHere(int err) {
  return err == EPERM || err == ENOSYS || err == EOPNOTSUPP;  // ENOTSUP is EOPNOTSUPP
}

// Gives the new file the old one's owner and group, then its mode. In that order: changing the
// owner clears the set-user-ID and set-group-ID bits, so a mode set first would lose them. An
// ordinary user cannot give a file away (EPERM); then the group alone is kept where it can be,
// and a set-ID bit whose owner or group could not be kept is dropped, as the kernel drops it
// when someone else writes such a file. A file system that keeps no modes is no failure: the
// temporary file was made 0600, so a mode that cannot be set never leaves it more open.
int applyOwnerAndMode(int fd, const struct stat* existing) {
  mode_t mode = 0666 & ~currentUmask();
  if (existing != nullptr) {
    mode = existing->st_mode & 07777;
    if (::fchown(fd, existing->st_uid, existing->st_gid) != 0) {
      if (!noOwnersOrModesHere(errno)) return errno;
      if (::fchown(fd, static_cast<uid_t>(-1), existing->st_gid) != 0 &&
          !noOwnersOrModesHere(errno)) {
        return errno;
      }
      struct stat now {};
      if (::fstat(fd, &now) != 0) return errno;
      if (now.st_uid != existing->st_uid) mode &= ~static_cast<mode_t>(S_ISUID);
      if (now.st_gid != existing->st_gid) mode &= ~static_cast<mode_t>(S_ISGID);
    }
  }
  if (::fchmod(fd, mode) != 0 && !noOwnersOrModesHere(errno)) return errno;
  return 0;
}

// Reads the file open at `fd` back from the device and compares it with `data`. The file was
// fsynced, so its cached pages are clean and dropping them makes the read go to the device
// (or, through FUSE, to the file system's own process) instead of returning what we wrote.
std::optional<FileError> verifyOnDevice(const std::string& path, int fd,
                                        std::span<const std::uint8_t> data) {
#ifdef POSIX_FADV_DONTNEED
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
#endif
  // One byte more than was written, to see a file that came back longer.
  std::vector<std::uint8_t> back(data.size() + 1);
  std::size_t done = 0;
  while (done < back.size()) {
    const ssize_t n = ::pread(fd, back.data() + done, back.size() - done, static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return systemError(path, errno);
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  back.resize(done);
  return compareReadBack(path, data, back);
}

// Owner, mode, contents, fsync and read-back of a freshly created temporary file.
std::optional<FileError> fillTemp(const std::string& path, int fd, const struct stat* existing,
                                  std::span<const std::uint8_t> data) {
  // Locked for as long as this save works on it: see leftBehind. A file system without locks
  // only loses the quick clean-up.
  while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
  if (const int err = applyOwnerAndMode(fd, existing)) return systemError(path, err);
  int err = 0;
  if (!writeAll(fd, data, err)) return systemError(path, err);
  if (::fsync(fd) != 0) return systemError(path, errno);
  return verifyOnDevice(path, fd, data);
}

std::string randomTempName(const std::string& folder) {
  static constexpr std::string_view kLetters =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  std::string name = folder + "/" + std::string(kTempPrefix);
  for (std::size_t i = 0; i < kTempSuffixLength; ++i) name += kLetters[random() % kLetters.size()];
  return name;
}

// Gives the unnamed file open at `fd` the name `name`; 0 or the errno (EEXIST when the name is
// taken: linkat never replaces). Through /proc/self/fd, which any user may link from; without
// /proc, AT_EMPTY_PATH (privileged).
int linkUnnamed(int fd, const std::string& name) {
  const std::string procPath = "/proc/self/fd/" + std::to_string(fd);
  int rc = ::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
  if (rc != 0 && errno == ENOENT) rc = ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
  return rc == 0 ? 0 : errno;
}

// Gives the unnamed file open at `fd` a temporary name in `folder`; 0 or the errno.
int nameUnnamedTemp(int fd, const std::string& folder, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = randomTempName(folder);
    const int err = linkUnnamed(fd, name);
    if (err != EEXIST) return err;
  }
  return EEXIST;
}

FileError alreadyExists(const std::string& path) {
  return FileError{path, kAlreadyExists, EEXIST};
}

// Errors by which a file system says it does not offer a way of linking or renaming.
bool notOffered(int err) {
  return err == EINVAL || err == ENOSYS || err == EOPNOTSUPP || err == EPERM || err == EXDEV ||
         err == EMLINK;
}

// Moves the named temporary file to `target` where no file is: 0, EEXIST when one is there, or
// another errno. renameat2(RENAME_NOREPLACE) first; then link and unlink; and on a file system
// with neither (FUSE exFAT and FAT) an exclusive create claims the name, so that no other
// creator can have it, and the finished file is renamed over that empty placeholder.
int moveWithoutReplacing(const std::string& tempName, const std::string& target) {
#if defined(__linux__) && defined(RENAME_NOREPLACE)
  if (::renameat2(AT_FDCWD, tempName.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
    return 0;
  }
  if (!notOffered(errno)) return errno;
#endif
  if (::link(tempName.c_str(), target.c_str()) == 0) {
    ::unlink(tempName.c_str());
    return 0;
  }
  if (!notOffered(errno)) return errno;
  Fd placeholder(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (placeholder.get() < 0) return errno;
  if (::rename(tempName.c_str(), target.c_str()) != 0) {
    const int err = errno;
    ::unlink(target.c_str());
    return err;
  }
  return 0;
}

void syncFolder(const std::string& folder) {
  // The new file is already in place at this point, so a folder that cannot be synced (some
  // file systems refuse) does not turn the save into a failure.
  const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}

// Gives the finished temporary file `tempName` the target's name: replacing what is there, or
// only where nothing is. The temporary name is gone afterwards, whatever happened.
std::optional<FileError> commitNamed(const std::string& path, const std::string& tempName,
                                     const std::string& target, IfExists ifExists) {
  int err = 0;
  if (ifExists == IfExists::Replace) {
    if (::rename(tempName.c_str(), target.c_str()) != 0) err = errno;
  } else {
    err = moveWithoutReplacing(tempName, target);
  }
  if (err != 0) {
    ::unlink(tempName.c_str());
    return err == EEXIST ? alreadyExists(path) : systemError(path, err);
  }
  syncFolder(folderOf(target));
  return std::nullopt;
}

// The save through an unnamed temporary file (O_TMPFILE): a save killed while writing leaves
// nothing. A new file is linked in under the target's name directly (linkat never replaces);
// a replacement needs a name to rename, which it has only for that moment. Returns false, with
// nothing written, where the file system or kernel does not offer it; the caller then takes
// the named way.
bool saveThroughUnnamedTemp(const std::string& path, const std::string& target,
                            const struct stat* existing, std::span<const std::uint8_t> data,
                            IfExists ifExists, std::optional<FileError>& result) {
#ifdef O_TMPFILE
  const std::string folder = folderOf(target);
  Fd fd(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
  if (fd.get() < 0) return false;  // FAT, old kernels: EOPNOTSUPP, EISDIR, EINVAL
  if ((result = fillTemp(path, fd.get(), existing, data))) return true;
  if (ifExists == IfExists::Fail) {
    const int err = linkUnnamed(fd.get(), target);
    if (err == EEXIST) {
      result = alreadyExists(path);
      return true;
    }
    if (err != 0) return false;
    syncFolder(folder);
    return true;
  }
  std::string tempName;
  if (nameUnnamedTemp(fd.get(), folder, tempName) != 0) return false;
  // The lock stays until the descriptor closes, after the rename.
  result = commitNamed(path, tempName, target, ifExists);
  return true;
#else
  (void)path, (void)target, (void)existing, (void)data, (void)ifExists, (void)result;
  return false;
#endif
}

// The save through a named temporary file, which works on every file system.
std::optional<FileError> saveThroughNamedTemp(const std::string& path, const std::string& target,
                                              const struct stat* existing,
                                              std::span<const std::uint8_t> data,
                                              IfExists ifExists) {
  std::string tempName = folderOf(target) + "/" + std::string(kTempPrefix) + "XXXXXX";
  Fd fd(::mkostemp(tempName.data(), O_CLOEXEC));
  if (fd.get() < 0) return systemError(path, errno);
  if (auto failure = fillTemp(path, fd.get(), existing, data)) {
    ::unlink(tempName.c_str());
    return failure;
  }
  return commitNamed(path, tempName, target, ifExists);
}

}  // namespace

std::optional<FileError> saveFileAtomically(const std::string& path,
                                            std::span<const std::uint8_t> data, IfExists ifExists,
                                            TempFiles temps) {
  if (path.empty()) return systemError(path, ENOENT);

  std::string target;
  if (auto err = resolveTarget(path, target)) return err;

  struct stat existing {};
  bool exists = false;
  if (::stat(target.c_str(), &existing) == 0) {
    exists = true;
    if (ifExists == IfExists::Fail) return alreadyExists(path);
    if (S_ISDIR(existing.st_mode)) return systemError(path, EISDIR);
    // Renaming over a device or FIFO would replace the node itself, not write to it.
    if (!S_ISREG(existing.st_mode)) return FileError{path, "Not a regular file", 0};
    // Replacing a file takes the same right as writing into it. The rename below needs only
    // the folder's permission, so without this check a file its owner made read-only, or
    // someone else's file in a shared folder, would be swapped out (and taken over) silently.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
      return systemError(path, errno);
    }
  } else if (errno != ENOENT) {
    return systemError(path, errno);
  }

  removeStaleTemps(folderOf(target));
  const struct stat* old = exists ? &existing : nullptr;
  std::optional<FileError> result;
  if (temps == TempFiles::UnnamedWherePossible &&
      saveThroughUnnamedTemp(path, target, old, data, ifExists, result)) {
    return result;
  }
  return saveThroughNamedTemp(path, target, old, data, ifExists);
}

std::optional<FileError> prepareFolder(const std::string& path, bool create) {
  if (path.empty()) return systemError(path, ENOENT);
  std::string current = path.front() == '/' ? "/" : ".";
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string component = path.substr(start, end - start);
    start = end + 1;
    if (component.empty() || component == ".") continue;
    const std::string next = (current == "/" ? "" : current) + "/" + component;
    struct stat st {};
    if (::lstat(next.c_str(), &st) != 0) {
      if (errno != ENOENT) return systemError(path, errno);
      if (!create) return std::nullopt;
      if (::mkdir(next.c_str(), 0777) != 0 && errno != EEXIST) return systemError(path, errno);
      if (::lstat(next.c_str(), &st) != 0) return systemError(path, errno);
    }
    if (S_ISLNK(st.st_mode)) {
      struct stat folder {};
      if (::stat(current.c_str(), &folder) != 0) return systemError(path, errno);
      if (!mayFollowLink(st, folder)) return linkRefusal(path, path.substr(0, end));
      if (::stat(next.c_str(), &st) != 0) {
        if (errno == ENOENT && !create) return std::nullopt;
        return systemError(path, errno);
      }
    }
    if (!S_ISDIR(st.st_mode)) return systemError(path, ENOTDIR);
    current = next;
  }
  return std::nullopt;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the last descriptor releases the flock
}

FileLock lockForUpdate(const std::string& path) {
  // A save that finished while we waited has put a new file in place; lock that one instead.
  // Bounded, so that a path replaced without end (by something else) still lets us go on.
  for (int attempt = 0; attempt < 1000; ++attempt) {
    struct stat before {};
    // Only regular files: opening a device or FIFO may block or have effects of its own.
    if (::stat(path.c_str(), &before) != 0 || !S_ISREG(before.st_mode)) return {};
    int raw = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (raw < 0 && errno == EACCES) {
      raw = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    }
    if (raw < 0) return {};
    FileLock lock(raw);
    struct stat locked {};
    if (::fstat(raw, &locked) != 0 || !S_ISREG(locked.st_mode)) return {};
    int rc = 0;
    while ((rc = ::flock(raw, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (rc != 0) return {};
    struct stat now {};
    if (::stat(path.c_str(), &now) != 0) return {};  // removed meanwhile: nothing to guard
    if (sameFile(now, locked)) return lock;
  }
  return {};
}

std::optional<FileError> readPrefix(const std::string& path, std::span<std::uint8_t> out) {
  int rawFd = -1;
  std::uint64_t size = 0;
  if (auto opened = openRegular(path, rawFd, size)) return opened;
  Fd fd(rawFd);
  if (size < out.size()) return FileError{path, "The file is shorter than expected", 0, FileErrorKind::TooShort};
  return readExactly(path, fd.get(), out.data(), out.size());
}

std::optional<FileError> readWholeFile(const std::string& path, std::uint64_t maxBytes,
                                       std::vector<std::uint8_t>& out) {
  int rawFd = -1;
  std::uint64_t size = 0;
  if (auto opened = openRegular(path, rawFd, size)) return opened;
  Fd fd(rawFd);
  if (size > maxBytes) return tooLargeError(path, maxBytes);
  out.assign(static_cast<std::size_t>(size), 0);
  return readExactly(path, fd.get(), out.data(), out.size());
}

}  // namespace tarnwick
