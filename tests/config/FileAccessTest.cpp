// The settings file through the active file access: a store without a file system (a browser's
// files) reads and saves the same image under the same rules, and a store that fails shows its
// reason to the caller unchanged.

#include "config/ConfigFile.h"
#include "config/Defaults.h"
#include "config/FileAccess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick {
namespace {

// Makes `access` the active file access for one test.
class ScopedFileAccess {
 public:
  explicit ScopedFileAccess(FileAccess& access) { setFileAccess(&access); }
  ~ScopedFileAccess() { setFileAccess(nullptr); }
  ScopedFileAccess(const ScopedFileAccess&) = delete;
  ScopedFileAccess& operator=(const ScopedFileAccess&) = delete;
};

// A store whose every operation fails with the system's words for an I/O error.
class FailingFiles : public FileAccess {
 public:
  ReadFileResult readPrefix(const std::string&, std::span<std::uint8_t>) override {
    return {ReadFileResult::Status::ReadError, "Input/output error"};
  }
  ReadFileResult readWholeFile(const std::string&, std::uint64_t,
                               std::vector<std::uint8_t>&) override {
    return {ReadFileResult::Status::ReadError, "Input/output error"};
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
  EXPECT_EQ(readConfigFile("menu.cfg", back).status, ReadConfigStatus::Loaded);
  EXPECT_EQ(back, record);
}

TEST(FileAccessTest, MemoryFilesReadLikeTheFileSystem) {
  MemoryFiles files;
  ScopedFileAccess scoped(files);
  ConfigRecord record;
  const ReadConfigResult missing = readConfigFile("absent.cfg", record);
  EXPECT_EQ(missing.status, ReadConfigStatus::CannotOpen);
  EXPECT_EQ(missing.reason, "No such file or directory");

  files.put("short.cfg", std::vector<std::uint8_t>(kRecordSize - 1, 0xFF));
  EXPECT_EQ(readConfigFile("short.cfg", record).status, ReadConfigStatus::TooShort);
  EXPECT_EQ(record, ConfigRecord{});

  std::vector<std::uint8_t> out;
  files.put("big", std::vector<std::uint8_t>(11, 1));
  EXPECT_EQ(files.readWholeFile("big", 10, out).status, ReadFileResult::Status::ReadError);
  EXPECT_EQ(files.readWholeFile("big", 11, out).status, ReadFileResult::Status::Ok);
  EXPECT_EQ(out.size(), 11u);
  EXPECT_TRUE(files.save("", out).has_value());
}

TEST(FileAccessTest, AFailingStoreReportsItsReasonAndLeavesTheRecord) {
  FailingFiles files;
  ScopedFileAccess scoped(files);
  ConfigRecord record;
  applyDefaults(record);
  const ConfigRecord before = record;
  const ReadConfigResult read = readConfigFile("menu.cfg", record);
  EXPECT_EQ(read.status, ReadConfigStatus::ReadError);
  EXPECT_EQ(read.reason, "Input/output error");
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
  const auto missing = readConfigFile("absent.cfg", record).error("absent.cfg");
  ASSERT_TRUE(missing.has_value());
  EXPECT_EQ(missing->kind, FileErrorKind::CannotOpen);
  EXPECT_EQ(missing->path, "absent.cfg");
  EXPECT_EQ(missing->reason, "No such file or directory");
  const auto shortFile = readConfigFile("short.cfg", record).error("short.cfg");
  ASSERT_TRUE(shortFile.has_value());
  EXPECT_EQ(shortFile->kind, FileErrorKind::TooShort);

  std::vector<std::uint8_t> out;
  const auto tooLarge = files.readWholeFile("short.cfg", 2, out).error("short.cfg");
  ASSERT_TRUE(tooLarge.has_value());
  EXPECT_EQ(tooLarge->kind, FileErrorKind::ReadError);
  EXPECT_EQ(tooLarge->reason, "The file is too large");
  EXPECT_FALSE(files.readWholeFile("short.cfg", 3, out).error("short.cfg").has_value());

  FailingFiles failing;
  ScopedFileAccess failingScope(failing);
  const auto saved = writeConfigFile("menu.cfg", record);
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->kind, FileErrorKind::SaveError);
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
