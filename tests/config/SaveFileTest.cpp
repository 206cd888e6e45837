#include "config/FileIO.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
// The immutable-folder and file-size-limit cases need Linux's ioctls and child processes; the
// node build of these tests (the browser edition) has neither and leaves them out.
#if defined(__linux__)
#define TARNWICK_LINUX_FAULT_TESTS 1
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#endif

#include <csignal>
#include <filesystem>

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

class SaveFileTest : public ::testing::Test {
 protected:
  // A failed save leaves the old file as it was and no temporary file beside it.
  void expectUntouched(const std::string& path, const std::set<std::string>& entriesBefore) {
    EXPECT_EQ(readBytes(path), kOld);
    EXPECT_EQ(dir_.entries(), entriesBefore);
  }
  ScratchDir dir_;
};

TEST_F(SaveFileTest, ReplacesContentAndKeepsPermissionBits) {
  const std::string path = dir_.file("menu.cfg");
  writeBytes(path, kOld);
  ::chmod(path.c_str(), 0640);
  ASSERT_FALSE(saveFileAtomically(path, kNew));
  EXPECT_EQ(readBytes(path), kNew);
  EXPECT_EQ(modeOf(path), 0640u);
  EXPECT_EQ(dir_.entries(), (std::set<std::string>{"menu.cfg"}));
}

TEST_F(SaveFileTest, NewFileGetsTheUsualModeUnderTheUmask) {
#ifdef __EMSCRIPTEN__
  GTEST_SKIP() << "the wasm test build keeps a umask of its own that node's files do not follow";
#endif
  for (const mode_t mask : {mode_t{022}, mode_t{077}}) {
    const mode_t old = ::umask(mask);
    const std::string path = dir_.file("new" + std::to_string(mask) + ".cfg");
    EXPECT_FALSE(saveFileAtomically(path, kNew));
    ::umask(old);
    EXPECT_EQ(modeOf(path), 0666u & ~mask);
    EXPECT_EQ(readBytes(path), kNew);
  }
}

TEST_F(SaveFileTest, SymbolicLinkStaysAndItsFileIsReplaced) {
  fs::create_directory(dir_.file("real"));
  writeBytes(dir_.file("real/menu.cfg"), kOld);
  fs::create_symlink("real/menu.cfg", dir_.file("link.cfg"));     // relative, existing
  fs::create_symlink("real/later.cfg", dir_.file("dangling.cfg"));  // file does not exist yet
  for (const char* name : {"link.cfg", "dangling.cfg"}) {
    SCOPED_TRACE(name);
    ASSERT_FALSE(saveFileAtomically(dir_.file(name), kNew));
    EXPECT_TRUE(fs::is_symlink(dir_.file(name)));
    EXPECT_EQ(readBytes(dir_.file(name)), kNew);
  }
  EXPECT_EQ(dir_.entries(), (std::set<std::string>{"real", "link.cfg", "dangling.cfg"}));
}

// Creating where no file may be replaced: a file, a link to one, even an empty file stay as
// they are and the save names them; a new name, also behind a dangling link, is created. Both
// ways of making the temporary file, so that linkat and renameat2 are both met.
TEST_F(SaveFileTest, CreatingNeverReplaces) {
  fs::create_directory(dir_.file("real"));
  writeBytes(dir_.file("real/menu.cfg"), kOld);
  writeBytes(dir_.file("empty.cfg"), {});
  fs::create_symlink("real/menu.cfg", dir_.file("link.cfg"));
  for (const TempFiles temps : {TempFiles::UnnamedWherePossible, TempFiles::NamedOnly}) {
    for (const char* name : {"real/menu.cfg", "link.cfg", "empty.cfg"}) {
      SCOPED_TRACE(name);
      const auto err = saveFileAtomically(dir_.file(name), kNew, IfExists::Fail, temps);
      ASSERT_TRUE(err);
      EXPECT_EQ(err->reason, kAlreadyExists);
      EXPECT_EQ(err->errorNumber, EEXIST);
    }
    EXPECT_EQ(readBytes(dir_.file("real/menu.cfg")), kOld);
    EXPECT_TRUE(readBytes(dir_.file("empty.cfg")).empty());
    const std::string fresh = dir_.file(temps == TempFiles::NamedOnly ? "named.cfg" : "new.cfg");
    ASSERT_FALSE(saveFileAtomically(fresh, kNew, IfExists::Fail, temps));
    EXPECT_EQ(readBytes(fresh), kNew);
  }
  fs::create_symlink("real/later.cfg", dir_.file("dangling.cfg"));
  ASSERT_FALSE(saveFileAtomically(dir_.file("dangling.cfg"), kNew, IfExists::Fail));
  EXPECT_EQ(readBytes(dir_.file("real/later.cfg")), kNew);
  EXPECT_EQ(dir_.entries(), (std::set<std::string>{"real", "empty.cfg", "link.cfg", "new.cfg",
                                                   "named.cfg", "dangling.cfg"}));
}

TEST_F(SaveFileTest, ImpossibleTargetsFailWithTheSystemReason) {
  const std::string path = dir_.file("menu.cfg");
  writeBytes(path, kOld);
  fs::create_directory(dir_.file("folder"));
  ASSERT_EQ(::mkfifo(dir_.file("fifo").c_str(), 0600), 0);
  fs::create_symlink("loop", dir_.file("loop"));
  const auto before = dir_.entries();
  for (const std::string& target : {dir_.file("no/such/folder/menu.cfg"), dir_.file("folder"),
                                    dir_.file("fifo"), dir_.file("loop"), std::string()}) {
    SCOPED_TRACE(target);
#ifdef __EMSCRIPTEN__
    // node's view of the real file system (the wasm test build) reports a FIFO as a file.
    if (target == dir_.file("fifo")) continue;
#endif
    const auto err = saveFileAtomically(target, kNew);
    ASSERT_TRUE(err);
    EXPECT_EQ(err->path, target);
    EXPECT_FALSE(err->reason.empty());
    expectUntouched(path, before);
  }
  EXPECT_TRUE(fs::is_empty(dir_.file("folder")));
}

#ifdef TARNWICK_LINUX_FAULT_TESTS
// A folder where no file can be created. Root ignores permission bits, so as root the folder
// is made immutable instead, which binds root too.
TEST_F(SaveFileTest, ReadOnlyFolderKeepsTheOldFile) {
  const std::string path = dir_.file("menu.cfg");
  writeBytes(path, kOld);
  const auto before = dir_.entries();
  const int fd = ::open(dir_.path().c_str(), O_RDONLY | O_DIRECTORY);
  int flags = 0;
  const bool immutable = ::geteuid() == 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                         (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
  if (!immutable) {
    ::close(fd);
    if (::geteuid() == 0) GTEST_SKIP() << "cannot make a folder read-only for root here";
    ::chmod(dir_.path().c_str(), 0555);
  }
  const auto err = saveFileAtomically(path, kNew);
  if (immutable) {
    flags &= ~FS_IMMUTABLE_FL;
    ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    ::close(fd);
  } else {
    ::chmod(dir_.path().c_str(), 0755);
  }
  ASSERT_TRUE(err);
  EXPECT_NE(err->errorNumber, 0);
  expectUntouched(path, before);
}

// The write stops part-way: the file size limit lets the first 1000 bytes through and then
// refuses. Run in a child process so the limit does not reach the rest of the tests.
TEST_F(SaveFileTest, WriteFailingPartWayKeepsTheOldFile) {
  const std::string path = dir_.file("menu.cfg");
  writeBytes(path, kOld);
  const auto before = dir_.entries();
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = 1000;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const auto err = saveFileAtomically(path, kNew);
    ::_exit(err && err->errorNumber == EFBIG ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save did not report EFBIG";
  expectUntouched(path, before);
}
#endif  // TARNWICK_LINUX_FAULT_TESTS

TEST(ReadFileTest, WholeFileStaysWithinItsLimit) {
  ScratchDir dir;
  writeBytes(dir.file("f"), Bytes(100, 5));
  Bytes out;
  EXPECT_EQ(errorKind(readWholeFile(dir.file("f"), 100, out)), std::nullopt);
  EXPECT_EQ(out, Bytes(100, 5));
  const auto tooLarge = readWholeFile(dir.file("f"), 99, out);
  ASSERT_TRUE(tooLarge);
  EXPECT_EQ(tooLarge->kind, FileErrorKind::TooLarge);
  EXPECT_EQ(tooLarge->reason, "The file is larger than the 99 bytes accepted");
  EXPECT_EQ(errorKind(readWholeFile(dir.path(), 99, out)), FileErrorKind::CannotOpen);
}

}  // namespace
}  // namespace tarnwick
