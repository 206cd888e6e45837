#include "config/ConfigFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <numeric>

#include "ScratchDir.h"
#include "config/Codec.h"
#include "config/Defaults.h"
#include "config/FieldCatalog.h"

namespace tarnwick {
namespace {

using testing::modeOf;
using testing::readBytes;
using testing::ScratchDir;
using testing::writeBytes;

using Bytes = std::vector<std::uint8_t>;

// A record whose every byte differs from its neighbours and from the defaults.
ConfigRecord patternRecord() {
  ConfigRecord r;
  std::iota(r.bytes().begin(), r.bytes().end(), std::uint8_t{7});
  return r;
}

TEST(CodecTest, NegationIsItsOwnInverse) {
  Bytes all(256);
  std::iota(all.begin(), all.end(), std::uint8_t{0});
  Bytes coded = all;
  negateBytes(coded.data(), 256);
  EXPECT_EQ(coded[0x00], 0x00);
  EXPECT_EQ(coded[0x80], 0x80);
  EXPECT_EQ(coded[0x20], 0xE0);
  EXPECT_EQ(coded[0x01], 0xFF);
  EXPECT_EQ(coded[0xFF], 0x01);
  negateBytes(coded.data(), 256);
  EXPECT_EQ(coded, all);
  negateBytes(coded.data(), 0);
  negateBytes(nullptr, 5);
  EXPECT_EQ(coded, all);
}

TEST(ConfigFileTest, WritesExactlyTheNegatedRecordAndLeavesItPlain) {
  ScratchDir dir;
  const ConfigRecord original = patternRecord();
  ASSERT_FALSE(writeConfigFile(dir.file("menu.cfg"), original));
  EXPECT_EQ(original, patternRecord());
  const Bytes file = readBytes(dir.file("menu.cfg"));
  ASSERT_EQ(file.size(), kRecordSize);
  for (std::size_t i = 0; i < kRecordSize; ++i) {
    ASSERT_EQ(static_cast<std::uint8_t>(file[i] + original.bytes()[i]), 0) << "byte " << i;
  }
  ConfigRecord back;
  ASSERT_EQ(errorKind(readConfigFile(dir.file("menu.cfg"), back)), std::nullopt);
  EXPECT_EQ(back, original);
}

TEST(ConfigFileTest, LengthDecidesBetweenTooShortAndLoaded) {
  ScratchDir dir;
  const auto image = encodeConfigImage(patternRecord());
  struct Case {
    std::size_t length;
    std::optional<FileErrorKind> kind;  // nothing: loads
  };
  const Case cases[] = {{0, FileErrorKind::TooShort}, {1791, FileErrorKind::TooShort},
                        {1792, std::nullopt}, {5000, std::nullopt}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    Bytes content(c.length, 0x33);  // what follows the image must be ignored
    std::copy_n(image.begin(), std::min(c.length, kRecordSize), content.begin());
    writeBytes(dir.file("f.cfg"), content);
    ConfigRecord r;
    std::fill(r.bytes().begin(), r.bytes().end(), std::uint8_t{0x99});
    const ConfigRecord before = r;
    const auto result = readConfigFile(dir.file("f.cfg"), r);
    EXPECT_EQ(errorKind(result), c.kind);
    EXPECT_EQ(r, c.kind == std::nullopt ? patternRecord() : before);
  }
}

TEST(ConfigFileTest, SparseFileBeyondFourGiBLoadsFromItsStart) {
  ScratchDir dir;
  const std::string path = dir.file("huge.cfg");
  const auto image = encodeConfigImage(patternRecord());
  writeBytes(path, Bytes(image.begin(), image.end()));
  std::error_code ec;
  std::filesystem::resize_file(path, (5ull << 30) + 3, ec);
  if (ec) GTEST_SKIP() << "no sparse files here: " << ec.message();
  ConfigRecord r;
  EXPECT_EQ(errorKind(readConfigFile(path, r)), std::nullopt);
  EXPECT_EQ(r, patternRecord());
}

// Nothing but a regular file is read, and opening never waits (a FIFO without a writer would
// block a plain open forever; the alarm turns such a hang into a failure).
TEST(ConfigFileTest, NonRegularPathsCannotBeOpenedAndNeverBlock) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.file("folder.cfg"));
  ConfigRecord r = patternRecord();
#ifdef _WIN32
  // Windows has no FIFOs in the file system; its null device is NUL.
  for (const std::string& path : {dir.file("missing.cfg"), dir.file("folder.cfg"),
                                  std::string("NUL"), std::string()}) {
#else
  ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
  ::alarm(20);
  for (const std::string& path : {dir.file("missing.cfg"), dir.file("folder.cfg"),
                                  dir.file("fifo"), std::string("/dev/null"), std::string()}) {
#endif
    SCOPED_TRACE(path);
#ifdef __EMSCRIPTEN__
    // node's view of the real file system (the wasm test build) reports a FIFO as a file.
    if (path == dir.file("fifo")) continue;
#endif
    const auto result = readConfigFile(path, r);
    EXPECT_EQ(errorKind(result), FileErrorKind::CannotOpen);
    EXPECT_FALSE(result && result->reason.empty());
  }
#ifndef _WIN32
  ::alarm(0);
#endif
  EXPECT_EQ(r, patternRecord());
}

TEST(ConfigFileTest, UnreadableFileCannotBeOpened) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX only: Windows has no permission bits that deny the owner reading";
#else
  if (::geteuid() == 0) GTEST_SKIP() << "root reads any file";
  ScratchDir dir;
  writeBytes(dir.file("locked.cfg"), Bytes(kRecordSize, 1));
  ::chmod(dir.file("locked.cfg").c_str(), 0);
  ConfigRecord r;
  EXPECT_EQ(errorKind(readConfigFile(dir.file("locked.cfg"), r)), FileErrorKind::CannotOpen);
#endif
}

// Kernel attribute files claim 4096 bytes but deliver far fewer: the read must end in an
// error, not in a half-filled record.
TEST(ConfigFileTest, ShortReadIsAnError) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX only: needs a Linux kernel attribute file under /sys";
#else
  const std::string path = "/sys/kernel/mm/transparent_hugepage/enabled";
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || st.st_size < 1792 || readBytes(path).size() >= 1792) {
    GTEST_SKIP() << "no short-reading file available";
  }
  ConfigRecord r = patternRecord();
  const auto result = readConfigFile(path, r);
  EXPECT_EQ(errorKind(result), FileErrorKind::ReadError);
  EXPECT_FALSE(result && result->reason.empty());
  EXPECT_EQ(r, patternRecord());
#endif
}

// Bytes the program does not interpret (and the fields the defaults leave alone) survive a
// load, Default Config and a save.
TEST(ConfigFileTest, UnsetBytesSurviveLoadDefaultsAndSave) {
  ScratchDir dir;
  writeBytes(dir.file("in.cfg"), Bytes(kRecordSize, 0xC3));  // every plain byte 0x3D
  ConfigRecord r;
  ASSERT_EQ(errorKind(readConfigFile(dir.file("in.cfg"), r)), std::nullopt);
  applyDefaults(r);
  ASSERT_FALSE(writeConfigFile(dir.file("out.cfg"), r));
  const Bytes out = readBytes(dir.file("out.cfg"));
  ASSERT_EQ(out.size(), kRecordSize);
  auto expectKept = [&](std::uint32_t first, std::uint32_t count) {
    for (auto b = first; b < first + count; ++b) EXPECT_EQ(out[b], 0xC3) << "byte " << b;
  };
  for (const ByteRange& u : unnamedRanges()) expectKept(u.first, u.last - u.first + 1);
  for (const FieldInfo* f : fieldCatalog()) {
    if (f->defaultKind == DefaultKind::NotSet) expectKept(f->offset, f->size);
  }
  EXPECT_EQ(out[0x004], 0xFF);  // imageSize back to 1
}

}  // namespace
}  // namespace tarnwick
