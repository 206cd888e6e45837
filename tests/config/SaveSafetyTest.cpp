// Saving where others can reach: links planted in shared folders, set-ID files, saves that are
// killed, leftovers of earlier killed saves, and two writers on one file.

#include "config/FileIO.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <ctime>
#include <filesystem>
#include <memory>

#include "ScratchDir.h"

namespace tarnwick {
namespace {

using testing::modeOf;
using testing::readBytes;
using testing::ScratchDir;
using testing::writeBytes;

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

const Bytes kOld(1792, 0x11);
const Bytes kNew(1792, 0x22);

// An account other than the one running the tests (only root can give files to it).
constexpr uid_t kOther = 65534;
constexpr gid_t kOtherGroup = 65534;

bool isRoot() { return ::geteuid() == 0; }

struct stat statOf(const std::string& path) {
  struct stat st {};
  ::lstat(path.c_str(), &st);
  return st;
}

// A folder like /tmp inside the scratch folder: sticky and writable by everyone.
std::string sharedFolder(const ScratchDir& dir) {
  const std::string shared = dir.file("shared");
  fs::create_directory(shared);
  ::chmod(shared.c_str(), 01777);
  return shared;
}

// Another user's link in a shared folder is not followed: the file it names stays as it was
// and nothing is written in the folder. The user's own link, and one belonging to the folder's
// owner, are followed, as is anyone's link in a folder that is not sticky.
TEST(SaveSafety, LinksInSharedFoldersAreFollowedOnlyWhereTheKernelWouldFollowThem) {
  if (!isRoot()) GTEST_SKIP() << "giving a link to another account needs root";
  ScratchDir dir;
  const std::string shared = sharedFolder(dir);
  const std::string precious = dir.file("precious.conf");
  const std::string planted = shared + "/menu.cfg";
  writeBytes(precious, kOld);
  fs::create_symlink(precious, planted);
  ASSERT_EQ(::lchown(planted.c_str(), kOther, kOtherGroup), 0);

  const auto err = saveFileAtomically(planted, kNew);
  ASSERT_TRUE(err);
  EXPECT_EQ(err->errorNumber, EACCES);
  EXPECT_EQ(err->path, planted);
  EXPECT_EQ(err->reason,
            "Not following the symbolic link: it belongs to another user and lies in a folder "
            "anyone can write to");
  EXPECT_EQ(readBytes(precious), kOld);
  EXPECT_EQ(fs::read_symlink(planted), precious);
  EXPECT_EQ(std::distance(fs::directory_iterator(shared), fs::directory_iterator()), 1);

  // Reached through a link of our own elsewhere, the planted link is refused all the same and
  // named in the reason.
  fs::create_symlink(planted, dir.file("mine.cfg"));
  const auto viaOwn = saveFileAtomically(dir.file("mine.cfg"), kNew);
  ASSERT_TRUE(viaOwn);
  EXPECT_NE(viaOwn->reason.find("symbolic link " + planted + ":"), std::string::npos)
      << viaOwn->reason;
  EXPECT_EQ(readBytes(precious), kOld);

  // Our own link in the shared folder.
  ASSERT_EQ(::lchown(planted.c_str(), ::geteuid(), ::getegid()), 0);
  EXPECT_FALSE(saveFileAtomically(planted, kNew));
  EXPECT_EQ(readBytes(precious), kNew);

  // The folder owner's link.
  writeBytes(precious, kOld);
  ASSERT_EQ(::chown(shared.c_str(), kOther, kOtherGroup), 0);
  ASSERT_EQ(::lchown(planted.c_str(), kOther, kOtherGroup), 0);
  EXPECT_FALSE(saveFileAtomically(planted, kNew));
  EXPECT_EQ(readBytes(precious), kNew);

  // Anyone's link in a folder everyone may write to but which is not sticky.
  writeBytes(precious, kOld);
  ASSERT_EQ(::chown(shared.c_str(), ::geteuid(), ::getegid()), 0);
  ::chmod(shared.c_str(), 0777);
  EXPECT_FALSE(saveFileAtomically(planted, kNew));
  EXPECT_EQ(readBytes(precious), kNew);
}

// Set-user-ID and set-group-ID survive a save, with owner and group, whether the file is the
// saver's own or (saved by root) another account's.
TEST(SaveSafety, SetIdBitsOwnerAndGroupSurviveTheSave) {
  ScratchDir dir;
  for (const TempFiles temps : {TempFiles::UnnamedWherePossible, TempFiles::NamedOnly}) {
    for (const bool other : {false, true}) {
      if (other && !isRoot()) continue;
      const std::string path = dir.file(other ? "other" : "own");
      writeBytes(path, kOld);
      if (other) {
        ASSERT_EQ(::chown(path.c_str(), kOther, kOtherGroup), 0);
      }
      ASSERT_EQ(::chmod(path.c_str(), 06755), 0);
      ASSERT_FALSE(saveFileAtomically(path, kNew, IfExists::Replace, temps));
      EXPECT_EQ(readBytes(path), kNew);
      EXPECT_EQ(modeOf(path), 06755u) << path;
      EXPECT_EQ(statOf(path).st_uid, other ? kOther : ::geteuid());
      EXPECT_EQ(statOf(path).st_gid, other ? kOtherGroup : ::getegid());
    }
  }
}

bool unnamedTempFilesWork(const std::string& folder) {
#ifdef O_TMPFILE
  const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY, 0600);
  if (fd < 0) return false;
  ::close(fd);
  return true;
#else
  (void)folder;
  return false;
#endif
}

// A save killed while it writes (here by SIGXFSZ, the file size limit's signal, after 1000
// bytes) leaves the old file and, where the file system has unnamed temporary files, nothing
// else. The named way leaves its temporary file, for the next save to clear away.
TEST(SaveSafety, AKilledSaveLeavesNoTemporaryFile) {
  ScratchDir dir;
  if (!unnamedTempFilesWork(dir.path())) GTEST_SKIP() << "no O_TMPFILE on this file system";
  for (const TempFiles temps : {TempFiles::UnnamedWherePossible, TempFiles::NamedOnly}) {
    const std::string path = dir.file("menu.cfg");
    writeBytes(path, kOld);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::signal(SIGXFSZ, SIG_DFL);
      rlimit limit{};
      ::getrlimit(RLIMIT_FSIZE, &limit);
      limit.rlim_cur = 1000;
      ::setrlimit(RLIMIT_FSIZE, &limit);
      saveFileAtomically(path, kNew, IfExists::Replace, temps);
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "the save was not killed";
    EXPECT_EQ(readBytes(path), kOld);
    if (temps == TempFiles::UnnamedWherePossible) {
      EXPECT_EQ(dir.entries(), (std::set<std::string>{"menu.cfg"}));
    } else {
      EXPECT_EQ(dir.entries().size(), 2u);
    }
  }
}

void makeOld(const std::string& path, std::time_t age) {
  const std::time_t when = std::time(nullptr) - age;
  const timespec times[2] = {{when, 0}, {when, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

// A save removes our own temporary files that killed saves left: at once when nobody holds
// them locked and they have content (a save locks its file before writing to it), after a
// minute when they are empty. One another save holds, another account's, and names not quite
// ours stay.
TEST(SaveSafety, TemporaryFilesOfKilledSavesAreRemoved) {
  for (const TempFiles temps : {TempFiles::UnnamedWherePossible, TempFiles::NamedOnly}) {
    ScratchDir dir;
    const std::set<std::string> kept = {".tarnwick-save-Locked", ".tarnwick-save-Empty1",
                                        ".tarnwick-save-Theirs", ".tarnwick-save-toolong",
                                        ".tarnwick-save-ab.d12", "tarnwick-save-abcdef",
                                        "menu.cfg"};
    for (const std::string& name : kept) writeBytes(dir.file(name), kOld);
    writeBytes(dir.file(".tarnwick-save-Empty1"), {});
    writeBytes(dir.file(".tarnwick-save-Killed"), kOld);
    writeBytes(dir.file(".tarnwick-save-Stale1"), {});
    makeOld(dir.file(".tarnwick-save-Stale1"), 120);
    fs::create_directory(dir.file(".tarnwick-save-Folder"));
    makeOld(dir.file(".tarnwick-save-Folder"), 3600);
    const int held = ::open(dir.file(".tarnwick-save-Locked").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    const bool other = isRoot() &&
                       ::chown(dir.file(".tarnwick-save-Theirs").c_str(), kOther, kOtherGroup) == 0;
    ASSERT_FALSE(saveFileAtomically(dir.file("menu.cfg"), kNew, IfExists::Replace, temps));
    ::close(held);
    std::set<std::string> expected = kept;
    expected.insert(".tarnwick-save-Folder");
    if (!other) expected.erase(".tarnwick-save-Theirs");
    EXPECT_EQ(dir.entries(), expected);
    EXPECT_EQ(readBytes(dir.file("menu.cfg")), kNew);
  }
}

// Saves killed at any moment (SIGKILL, which no program can catch or delay) leave the old or
// the new file, never a damaged one, and whatever temporary file they leave is gone after the
// next save. Each round kills a saving child at another moment of its saves.
TEST(SaveSafety, SavesKilledAtAnyMomentLeaveNothingAfterTheNextSave) {
  ScratchDir dir;
  const std::string path = dir.file("menu.cfg");
  writeBytes(path, kOld);
  for (int round = 0; round < 400; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) saveFileAtomically(path, i % 2 == 0 ? kNew : kOld);
    }
    ::usleep(static_cast<useconds_t>(500 + (round * 397) % 4000));  // where in a save: varies
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    const Bytes now = readBytes(path);
    ASSERT_TRUE(now == kOld || now == kNew) << "round " << round;
  }
  ASSERT_FALSE(saveFileAtomically(path, kNew));
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"menu.cfg"}));
}

// The folders a save goes into, made where missing: a link on the way is followed only where
// the kernel would follow it, and a file on the way is no folder.
TEST(SaveSafety, FoldersAreMadeAndEnteredUnderTheLinkRule) {
  ScratchDir dir;
  ASSERT_FALSE(prepareFolder(dir.file("a/b/c"), false));  // nothing there yet: nothing refused
  EXPECT_FALSE(fs::exists(dir.file("a")));
  ASSERT_FALSE(prepareFolder(dir.file("a/b/c"), true));
  EXPECT_TRUE(fs::is_directory(dir.file("a/b/c")));
  writeBytes(dir.file("a/file"), kOld);
  const auto throughFile = prepareFolder(dir.file("a/file/d"), true);
  ASSERT_TRUE(throughFile);
  EXPECT_EQ(throughFile->errorNumber, ENOTDIR);
  fs::create_symlink("a/b", dir.file("mine"));
  ASSERT_FALSE(prepareFolder(dir.file("mine/e"), true));
  EXPECT_TRUE(fs::is_directory(dir.file("a/b/e")));

  if (!isRoot()) GTEST_SKIP() << "giving a link to another account needs root";
  const std::string shared = sharedFolder(dir);
  fs::create_symlink(dir.file("a"), shared + "/planted");
  ASSERT_EQ(::lchown((shared + "/planted").c_str(), kOther, kOtherGroup), 0);
  const auto refused = prepareFolder(shared + "/planted/x", true);
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->reason, "Not following the symbolic link " + shared +
                                 "/planted: it belongs to another user and lies in a folder "
                                 "anyone can write to");
  EXPECT_FALSE(fs::exists(dir.file("a/x")));
}

// The named way (FAT cards, systems without O_TMPFILE) saves as the unnamed one does.
TEST(SaveSafety, TheNamedWayReplacesTheFileAndLeavesNothingBehind) {
  ScratchDir dir;
  const std::string path = dir.file("menu.cfg");
  writeBytes(path, kOld);
  ::chmod(path.c_str(), 0640);
  ASSERT_FALSE(saveFileAtomically(path, kNew, IfExists::Replace, TempFiles::NamedOnly));
  EXPECT_EQ(readBytes(path), kNew);
  EXPECT_EQ(modeOf(path), 0640u);
  ASSERT_FALSE(saveFileAtomically(dir.file("new.cfg"), kNew, IfExists::Replace, TempFiles::NamedOnly));
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"menu.cfg", "new.cfg"}));
}

bool lockedElsewhere(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool busy = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return busy;
}

// The lock holds the file against another locker until it goes, follows links, and after a
// save has replaced the file, locking again takes the new file.
TEST(SaveSafety, UpdateLockHoldsTheFileThePathNames) {
  ScratchDir dir;
  const std::string path = dir.file("menu.cfg");
  writeBytes(path, kOld);
  EXPECT_FALSE(lockForUpdate(dir.file("missing.cfg")).held());
  EXPECT_FALSE(lockForUpdate(dir.path()).held());
  {
    const FileLock lock = lockForUpdate(path);
    EXPECT_TRUE(lock.held());
    EXPECT_TRUE(lockedElsewhere(path));
    ASSERT_FALSE(saveFileAtomically(path, kNew));
    EXPECT_FALSE(lockedElsewhere(path));  // the old file is locked, not the new one
  }
  EXPECT_FALSE(lockedElsewhere(path));
  fs::create_symlink("menu.cfg", dir.file("link.cfg"));
  FileLock viaLink = lockForUpdate(dir.file("link.cfg"));
  EXPECT_TRUE(viaLink.held());
  EXPECT_TRUE(lockedElsewhere(path));
  FileLock moved = std::move(viaLink);
  EXPECT_FALSE(viaLink.held());  // NOLINT(bugprone-use-after-move): the moved-from state
  EXPECT_TRUE(lockedElsewhere(path));
  moved = FileLock();
  EXPECT_FALSE(lockedElsewhere(path));
}

// A locker that waited on a file which a save then replaced does not take the old file's lock
// as its own: it goes on to the file now at the path and waits for that one's holder.
TEST(SaveSafety, AWaitingLockerMovesOnToTheFileThatReplacedTheOldOne) {
  ScratchDir dir;
  const std::string path = dir.file("menu.cfg");
  writeBytes(path, kOld);
  auto first = std::make_unique<FileLock>(lockForUpdate(path));
  ASSERT_TRUE(first->held());
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    first.reset();  // the child's copy of the descriptor; the parent's still holds the lock
    const FileLock lock = lockForUpdate(path);
    ::_exit(lock.held() && readBytes(path) == kNew ? 0 : 1);
  }
  ::usleep(100'000);  // the child is now waiting on the old file
  ASSERT_FALSE(saveFileAtomically(path, kNew));
  FileLock second = lockForUpdate(path);  // the new file, while the child still waits
  ASSERT_TRUE(second.held());
  first.reset();
  ::usleep(200'000);
  int status = 0;
  EXPECT_EQ(::waitpid(child, &status, WNOHANG), 0) << "the child took the old file's lock";
  second = FileLock();
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace tarnwick
