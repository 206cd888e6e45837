// The settings file through the active file access: a store without a file system (a browser's
// files) reads and saves the same image under the same rules, and a store that fails shows its
// reason to the caller unchanged.

#include "config/ConfigFile.h"
#include "config/Defaults.h"
#include "config/FileAccess.h"
#include "ScopedFileAccess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick {
namespace {

using testing::ScopedFileAccess;

// A store whose every operation fails with the system's words for an I/O error.
class FailingFiles : public FileAccess {
 public:
  std::optional<FileError> readPrefix(const std::string& path, std::span<std::uint8_t>) override {
    return FileError{path, "Input/output error", 0, FileErrorKind::ReadError};
  }
  std::optional<FileError> readWholeFile(const std::string& path, std::uint64_t,
                                         std::vector<std::uint8_t>&) override {
    return FileError{path, "Input/output error", 0, FileErrorKind::ReadError};
  }
  std::optional<FileError> save(const std::string& path, std::span<const std::uint8_t>) override {
    ++saves;
    return FileError{path, "Input/output error", 5};
  }
  int saves = 0;
};

TEST(FileAccessTest, MemoryFilesHoldTheSavedImageAndReadItBack) {
  MemoryFiles files;
  ScopedFileAccess scoped(files);
  ConfigRecord record;
  applyDefaults(record);
  ASSERT_FALSE(writeConfigFile("menu.cfg", record));
  const std::vector<std::uint8_t>* saved = files.find("menu.cfg");
  ASSERT_NE(saved, nullptr);
  const auto image = encodeConfigImage(record);
  EXPECT_EQ(*saved, std::vector<std::uint8_t>(image.begin(), image.end()));

  ConfigRecord back;
  EXPECT_EQ(errorKind(readConfigFile("menu.cfg", back)), std::nullopt);
  EXPECT_EQ(back, record);
}

TEST(FileAccessTest, MemoryFilesReadLikeTheFileSystem) {
  MemoryFiles files;
  ScopedFileAccess scoped(files);
  ConfigRecord record;
  const std::optional<FileError> missing = readConfigFile("absent.cfg", record);
  EXPECT_EQ(errorKind(missing), FileErrorKind::CannotOpen);
  ASSERT_TRUE(missing.has_value());
  EXPECT_EQ(missing->reason, "No such file or directory");

  files.put("short.cfg", std::vector<std::uint8_t>(kRecordSize - 1, 0xFF));
  EXPECT_EQ(errorKind(readConfigFile("short.cfg", record)), FileErrorKind::TooShort);
  EXPECT_EQ(record, ConfigRecord{});

  std::vector<std::uint8_t> out;
  files.put("big", std::vector<std::uint8_t>(11, 1));
  EXPECT_EQ(errorKind(files.readWholeFile("big", 10, out)), FileErrorKind::TooLarge);
  EXPECT_EQ(errorKind(files.readWholeFile("big", 11, out)), std::nullopt);
  EXPECT_EQ(out.size(), 11u);
  EXPECT_TRUE(files.save("", out).has_value());
}

TEST(FileAccessTest, AFailingStoreReportsItsReasonAndLeavesTheRecord) {
  FailingFiles files;
  ScopedFileAccess scoped(files);
  ConfigRecord record;
  applyDefaults(record);
  const ConfigRecord before = record;
  const std::optional<FileError> read = readConfigFile("menu.cfg", record);
  EXPECT_EQ(errorKind(read), FileErrorKind::ReadError);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->reason, "Input/output error");
  EXPECT_EQ(record, before);

  const auto saved = writeConfigFile("menu.cfg", record);
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->path, "menu.cfg");
  EXPECT_EQ(saved->reason, "Input/output error");
  EXPECT_EQ(files.saves, 1);
}

TEST(FileAccessTest, EveryReadFailureBecomesTheOneErrorWithItsKindPathAndReason) {
  MemoryFiles files;
  ScopedFileAccess scoped(files);
  files.put("short.cfg", std::vector<std::uint8_t>(3, 0));
  ConfigRecord record;
  const auto missing = readConfigFile("absent.cfg", record);
  ASSERT_TRUE(missing.has_value());
  EXPECT_EQ(missing->kind, FileErrorKind::CannotOpen);
  EXPECT_EQ(missing->path, "absent.cfg");
  EXPECT_EQ(missing->reason, "No such file or directory");
  const auto shortFile = readConfigFile("short.cfg", record);
  ASSERT_TRUE(shortFile.has_value());
  EXPECT_EQ(shortFile->kind, FileErrorKind::TooShort);

  std::vector<std::uint8_t> out;
  const auto tooLarge = files.readWholeFile("short.cfg", 2, out);
  ASSERT_TRUE(tooLarge.has_value());
  EXPECT_EQ(tooLarge->kind, FileErrorKind::TooLarge);
  // The limit is named, in the largest unit that states it exactly.
  EXPECT_EQ(tooLarge->reason, "The file is larger than the 2 bytes accepted");
  EXPECT_EQ(tooLargeError("t", std::uint64_t{64} << 20).reason,
            "The file is larger than the 64 MiB accepted");
  EXPECT_EQ(tooLargeError("t", 1536).reason, "The file is larger than the 1536 bytes accepted");
  EXPECT_FALSE(files.readWholeFile("short.cfg", 3, out).has_value());

  FailingFiles failing;
  ScopedFileAccess failingScope(failing);
  const auto saved = writeConfigFile("menu.cfg", record);
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->kind, FileErrorKind::SaveError);
}

// A save that may not replace keeps what a store holds, in memory as on disk, also through a
// store that only knows how to read and replace (the interface's own way).
TEST(FileAccessTest, SavingWhereNoFileIsKeepsAnExistingOne) {
  MemoryFiles files;
  ScopedFileAccess scoped(files);
  ConfigRecord record;
  applyDefaults(record);
  files.put("menu.cfg", {1, 2, 3});
  const auto kept = writeConfigFile("menu.cfg", record, IfExists::Fail);
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->reason, kAlreadyExists);
  EXPECT_EQ(*files.find("menu.cfg"), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_FALSE(writeConfigFile("new.cfg", record, IfExists::Fail));
  EXPECT_NE(files.find("new.cfg"), nullptr);

  FailingFiles failing;  // reads fail as for a missing file: saveNew goes on to save
  EXPECT_TRUE(failing.saveNew("x.cfg", std::vector<std::uint8_t>{1}));
  EXPECT_EQ(failing.saves, 1);
}

TEST(FileAccessTest, TheSystemFilesAreActiveUnlessReplaced) {
  EXPECT_EQ(&fileAccess(), &systemFiles());
  MemoryFiles files;
  {
    ScopedFileAccess scoped(files);
    EXPECT_EQ(&fileAccess(), &files);
  }
  EXPECT_EQ(&fileAccess(), &systemFiles());
}

}  // namespace
}  // namespace tarnwick
