// A memory card for tests, as a FUSE file system mounted over a folder and showing what that
// folder holds. It behaves like a FAT or exFAT card through FUSE: no hard links, no
// renameat2 flags, no unnamed temporary files. Options make it worse:
//   --corrupt   the card keeps the byte at offset 100 of every file with its lowest bit
//               flipped, as a failing or counterfeit card returns other bytes than it was given;
//   --no-modes  setting a file's mode or owner fails with ENOSYS ("Function not implemented"),
//               as FAT through FUSE answers.
//
//   tarnwick_changing_card [--corrupt] [--no-modes] FOLDER
//
// The program returns once the card is mounted (the file system goes on in the background)
// and ends when the folder is unmounted (umount FOLDER, or fusermount3 -u FOLDER).

#define FUSE_USE_VERSION 31
#include <dirent.h>
#include <fcntl.h>
#include <fuse.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int folderFd = -1;  // the folder under the mount, opened before mounting over it
bool corrupt = false;
bool noModes = false;

constexpr off_t kChangedOffset = 100;

// A path inside the file system, relative to the folder.
std::string rel(const char* path) {
  while (*path == '/') ++path;
  return *path == '\0' ? std::string(".") : std::string(path);
}

int result(int rc) { return rc < 0 ? -errno : rc; }

int getAttributes(const char* path, struct stat* st, fuse_file_info* fi) {
  if (fi != nullptr) return result(::fstat(static_cast<int>(fi->fh), st));
  return result(::fstatat(folderFd, rel(path).c_str(), st, AT_SYMLINK_NOFOLLOW));
}

int readLink(const char* path, char* buffer, size_t size) {
  const ssize_t n = ::readlinkat(folderFd, rel(path).c_str(), buffer, size - 1);
  if (n < 0) return -errno;
  buffer[n] = '\0';
  return 0;
}

int makeFolder(const char* path, mode_t mode) {
  return result(::mkdirat(folderFd, rel(path).c_str(), mode));
}

int makeNode(const char* path, mode_t mode, dev_t device) {
  return result(::mknodat(folderFd, rel(path).c_str(), mode, device));
}

int removeFile(const char* path) { return result(::unlinkat(folderFd, rel(path).c_str(), 0)); }

int removeFolder(const char* path) {
  return result(::unlinkat(folderFd, rel(path).c_str(), AT_REMOVEDIR));
}

int makeLink(const char* target, const char* path) {
  return result(::symlinkat(target, folderFd, rel(path).c_str()));
}

int renameEntry(const char* from, const char* to, unsigned int flags) {
  if (flags != 0) return -EINVAL;  // as FAT and exFAT through FUSE: no RENAME_NOREPLACE
  return result(::renameat(folderFd, rel(from).c_str(), folderFd, rel(to).c_str()));
}

int hardLink(const char*, const char*) { return -EPERM; }  // FAT has no hard links

int changeMode(const char* path, mode_t mode, fuse_file_info* fi) {
  if (noModes) return -ENOSYS;
  if (fi != nullptr) return result(::fchmod(static_cast<int>(fi->fh), mode));
  return result(::fchmodat(folderFd, rel(path).c_str(), mode, 0));
}

int changeOwner(const char* path, uid_t uid, gid_t gid, fuse_file_info* fi) {
  if (noModes) return -ENOSYS;
  if (fi != nullptr) return result(::fchown(static_cast<int>(fi->fh), uid, gid));
  return result(::fchownat(folderFd, rel(path).c_str(), uid, gid, AT_SYMLINK_NOFOLLOW));
}

int truncateFile(const char* path, off_t size, fuse_file_info* fi) {
  if (fi != nullptr) return result(::ftruncate(static_cast<int>(fi->fh), size));
  const int fd = ::openat(folderFd, rel(path).c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return -errno;
  const int rc = result(::ftruncate(fd, size));
  ::close(fd);
  return rc;
}

int openFile(const char* path, fuse_file_info* fi) {
  const int fd = ::openat(folderFd, rel(path).c_str(), fi->flags & ~O_NOFOLLOW, 0);
  if (fd < 0) return -errno;
  fi->fh = static_cast<uint64_t>(fd);
  return 0;
}

int createFile(const char* path, mode_t mode, fuse_file_info* fi) {
  const int fd = ::openat(folderFd, rel(path).c_str(), fi->flags | O_CREAT, mode);
  if (fd < 0) return -errno;
  fi->fh = static_cast<uint64_t>(fd);
  return 0;
}

int readFile(const char*, char* buffer, size_t size, off_t offset, fuse_file_info* fi) {
  const ssize_t n = ::pread(static_cast<int>(fi->fh), buffer, size, offset);
  return n < 0 ? -errno : static_cast<int>(n);
}

int writeFile(const char*, const char* buffer, size_t size, off_t offset, fuse_file_info* fi) {
  std::vector<char> kept(buffer, buffer + size);
  if (corrupt && offset <= kChangedOffset && kChangedOffset < offset + static_cast<off_t>(size)) {
    kept[static_cast<std::size_t>(kChangedOffset - offset)] ^= 0x01;
  }
  const ssize_t n = ::pwrite(static_cast<int>(fi->fh), kept.data(), size, offset);
  return n < 0 ? -errno : static_cast<int>(n);
}

int fileSystemStatus(const char*, struct statvfs* st) { return result(::fstatvfs(folderFd, st)); }

int releaseFile(const char*, fuse_file_info* fi) {
  ::close(static_cast<int>(fi->fh));
  return 0;
}

int syncFile(const char*, int dataOnly, fuse_file_info* fi) {
  const int fd = static_cast<int>(fi->fh);
  return result(dataOnly != 0 ? ::fdatasync(fd) : ::fsync(fd));
}

int readFolder(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*,
               fuse_readdir_flags) {
  const int fd = ::openat(folderFd, rel(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -errno;
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) {
    ::close(fd);
    return -errno;
  }
  while (const dirent* entry = ::readdir(dir)) {
    if (fill(buffer, entry->d_name, nullptr, 0, static_cast<fuse_fill_dir_flags>(0)) != 0) break;
  }
  ::closedir(dir);
  return 0;
}

int setTimes(const char* path, const timespec times[2], fuse_file_info* fi) {
  if (fi != nullptr) return result(::futimens(static_cast<int>(fi->fh), times));
  return result(::utimensat(folderFd, rel(path).c_str(), times, AT_SYMLINK_NOFOLLOW));
}

int checkAccess(const char* path, int mask) {
  return result(::faccessat(folderFd, rel(path).c_str(), mask, AT_SYMLINK_NOFOLLOW));
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--corrupt") {
      corrupt = true;
    } else if (arg == "--no-modes") {
      noModes = true;
    } else {
      folder = arg;
    }
  }
  if (folder.empty()) {
    std::fprintf(stderr, "usage: %s [--corrupt] [--no-modes] FOLDER\n", argv[0]);
    return 2;
  }
  folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd < 0) {
    std::perror(folder.c_str());
    return 1;
  }
  fuse_operations ops{};
  ops.getattr = getAttributes;
  ops.readlink = readLink;
  ops.mknod = makeNode;
  ops.mkdir = makeFolder;
  ops.unlink = removeFile;
  ops.rmdir = removeFolder;
  ops.symlink = makeLink;
  ops.rename = renameEntry;
  ops.link = hardLink;
  ops.chmod = changeMode;
  ops.chown = changeOwner;
  ops.truncate = truncateFile;
  ops.open = openFile;
  ops.read = readFile;
  ops.write = writeFile;
  ops.statfs = fileSystemStatus;
  ops.release = releaseFile;
  ops.fsync = syncFile;
  ops.readdir = readFolder;
  ops.create = createFile;
  ops.utimens = setTimes;
  ops.access = checkAccess;
  // One thread; in the background once mounted, so that the caller goes on when we return.
  std::vector<std::string> args = {argv[0], folder, "-s", "-o", "fsname=tarnwick-card"};
  std::vector<char*> fuseArgv;
  for (std::string& a : args) fuseArgv.push_back(a.data());
  return fuse_main(static_cast<int>(fuseArgv.size()), fuseArgv.data(), &ops, nullptr);
}
