#include "FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <system_error>

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

// The path the save should replace: a symbolic link is followed to the file it names (which
// need not exist yet), so the link itself survives the rename. Errors other than "does not
// exist" are reported.
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
    std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 0) + 256, '\0');
    const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
    if (n < 0) return systemError(path, errno);
    if (static_cast<std::size_t>(n) >= link.size()) return systemError(path, ENAMETOOLONG);
    link.resize(static_cast<std::size_t>(n));
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
ReadFileResult openRegular(const std::string& path, int& fdOut, std::uint64_t& size) {
  using S = ReadFileResult::Status;
  fdOut = -1;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {S::CannotOpen, systemReason(errno)};
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    return {S::CannotOpen, systemReason(err)};
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return {S::CannotOpen, S_ISDIR(st.st_mode) ? systemReason(EISDIR) : "Not a regular file"};
  }
  fdOut = fd;
  size = static_cast<std::uint64_t>(st.st_size);
  return {S::Ok, {}};
}

ReadFileResult readExactly(int fd, std::uint8_t* out, std::size_t want) {
  using S = ReadFileResult::Status;
  std::size_t done = 0;
  while (done < want) {
    const ssize_t n = ::read(fd, out + done, want - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return {S::ReadError, systemReason(errno)};
    }
    if (n == 0) return {S::ReadError, "The file ended before all its bytes could be read"};
    done += static_cast<std::size_t>(n);
  }
  return {S::Ok, {}};
}

}  // namespace

std::optional<FileError> saveFileAtomically(const std::string& path,
                                            std::span<const std::uint8_t> data) {
  if (path.empty()) return systemError(path, ENOENT);

  std::string target;
  if (auto err = resolveTarget(path, target)) return err;

  struct stat existing {};
  bool exists = false;
  if (::stat(target.c_str(), &existing) == 0) {
    exists = true;
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

  std::string tempPath = folderOf(target) + "/.tarnwick-save-XXXXXX";
  const int rawFd = ::mkostemp(tempPath.data(), O_CLOEXEC);
  if (rawFd < 0) return systemError(path, errno);
  Fd fd(rawFd);

  auto fail = [&](int err) {
    if (fd.get() >= 0) fd.close();
    ::unlink(tempPath.c_str());
    return systemError(path, err);
  };

  const mode_t mode = exists ? (existing.st_mode & 07777) : (0666 & ~currentUmask());
  if (::fchmod(fd.get(), mode) != 0) return fail(errno);
  if (exists) {
    // Keep the owner where we may; an ordinary user cannot give files away, and that is fine.
    if (::fchown(fd.get(), existing.st_uid, existing.st_gid) != 0 && errno != EPERM) {
      return fail(errno);
    }
  }

  int err = 0;
  if (!writeAll(fd.get(), data, err)) return fail(err);
  if (::fsync(fd.get()) != 0) return fail(errno);
  if (fd.close() != 0) return fail(errno);
  if (::rename(tempPath.c_str(), target.c_str()) != 0) return fail(errno);

  // Make the rename itself durable. The new file is already in place at this point, so a
  // folder that cannot be synced (some file systems refuse) does not turn the save into a
  // failure.
  const int dirFd = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return std::nullopt;
}

ReadFileResult readPrefix(const std::string& path, std::span<std::uint8_t> out) {
  using S = ReadFileResult::Status;
  int rawFd = -1;
  std::uint64_t size = 0;
  if (auto opened = openRegular(path, rawFd, size); opened.status != S::Ok) return opened;
  Fd fd(rawFd);
  if (size < out.size()) return {S::TooShort, "The file is shorter than expected"};
  return readExactly(fd.get(), out.data(), out.size());
}

ReadFileResult readWholeFile(const std::string& path, std::uint64_t maxBytes,
                             std::vector<std::uint8_t>& out) {
  using S = ReadFileResult::Status;
  int rawFd = -1;
  std::uint64_t size = 0;
  if (auto opened = openRegular(path, rawFd, size); opened.status != S::Ok) return opened;
  Fd fd(rawFd);
  if (size > maxBytes) return {S::ReadError, "The file is too large"};
  out.assign(static_cast<std::size_t>(size), 0);
  return readExactly(fd.get(), out.data(), out.size());
}

}  // namespace tarnwick
