// Loading a settings file that is not what it seems, through the main window's Load Config
// File and through `tarnwick-cfg show FILE`. Every case checks what the user is told, the exit
// status, that nothing blocks, that the record changes only when all 1792 bytes were read, and
// that the folder is left exactly as it was.

#include <gtest/gtest.h>

#include <ostream>

#include "FaultCases.h"
#include "config/Defaults.h"
#include "config/FieldCatalog.h"

namespace tarnwick::faults {
namespace {

enum class Outcome { Loads, NoConfigFile, FileSizeError, CannotRead };

struct LoadCase {
  const char* name;
  Runner runner;
  Needs needs;
  std::function<bool(FaultFolder&)> setup;  // false: the folder cannot be prepared here
  const char* path;                          // as the user picks it
  Outcome outcome;
  const char* cliReason;  // what tarnwick-cfg says after "FILE: "; unused when it loads
};

void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

constexpr std::int32_t kLoadedLanguage = 7;

// The file's record: a form value the window shows (the language) and bytes no field names.
ConfigRecord fileRecord() {
  ConfigRecord record = existingRecord();
  record.setInt32(fields::language, kLoadedLanguage);
  return record;
}

ConfigRecord defaultsRecord() {
  ConfigRecord record;
  applyDefaults(record);
  return record;
}

const Bytes& fileImage() {
  static const Bytes image = imageOf(fileRecord());
  return image;
}

constexpr std::uint64_t kGiB = 1ull << 30;

auto sparseFile(std::uint64_t length) {
  return [length](FaultFolder& f) { return f.sparse("big.cfg", fileImage(), length); };
}

// One name longer than any file system allows (255 bytes).
const std::string kLongName = std::string(300, 'n') + ".cfg";

const LoadCase kLoadCases[] = {
    {"Folder", Runner::Self, Needs::Nothing,
     [](FaultFolder& f) {
       f.folder("folder.cfg");
       return true;
     },
     "folder.cfg", Outcome::NoConfigFile, "Is a directory"},
    // Opening a FIFO for reading waits for a writer; the program must not.
    {"FifoWithoutWriter", Runner::Self, Needs::Nothing,
     [](FaultFolder& f) {
       f.fifo("pipe.cfg");
       return true;
     },
     "pipe.cfg", Outcome::NoConfigFile, "Not a regular file"},
    // A device that never ends: nothing is read from it.
    {"EndlessDevice", Runner::Self, Needs::Nothing, [](FaultFolder&) { return true; },
     "/dev/zero", Outcome::NoConfigFile, "Not a regular file"},
    {"MissingFile", Runner::Self, Needs::Nothing, [](FaultFolder&) { return true; },
     "missing.cfg", Outcome::NoConfigFile, "No such file or directory"},
    {"DanglingLink", Runner::Self, Needs::Nothing,
     [](FaultFolder& f) {
       f.link("menu.cfg", "gone.cfg");
       return true;
     },
     "menu.cfg", Outcome::NoConfigFile, "No such file or directory"},
    {"PathThroughAFile", Runner::Self, Needs::Nothing,
     [](FaultFolder& f) {
       f.write("menu.cfg", fileImage());
       return true;
     },
     "menu.cfg/other.cfg", Outcome::NoConfigFile, "Not a directory"},
    {"NameTooLong", Runner::Self, Needs::Nothing, [](FaultFolder&) { return true; },
     kLongName.c_str(), Outcome::NoConfigFile, "File name too long"},
    {"UnreadableFile", Runner::Unprivileged, Needs::Nothing,
     [](FaultFolder& f) {
       f.write("menu.cfg", fileImage(), 0200);
       return true;
     },
     "menu.cfg", Outcome::NoConfigFile, "Permission denied"},
    {"FileInUnreadableFolder", Runner::Unprivileged, Needs::Nothing,
     [](FaultFolder& f) {
       f.folder("locked");
       f.write("locked/menu.cfg", fileImage());
       f.chmod("locked", 0);
       return true;
     },
     "locked/menu.cfg", Outcome::NoConfigFile, "Permission denied"},

    {"Empty", Runner::Self, Needs::Nothing,
     [](FaultFolder& f) {
       f.write("menu.cfg", {});
       return true;
     },
     "menu.cfg", Outcome::FileSizeError, "shorter than the 1792 bytes of a settings file"},
    {"OneByteShort", Runner::Self, Needs::Nothing,
     [](FaultFolder& f) {
       f.write("menu.cfg", Bytes(fileImage().begin(), fileImage().end() - 1));
       return true;
     },
     "menu.cfg", Outcome::FileSizeError, "shorter than the 1792 bytes of a settings file"},

    // The length check passes, then the read comes up short: the record must stay as it was.
    {"ShrinksWhileRead", Runner::Self, Needs::ShortReading,
     [](FaultFolder& f) {
       f.link("shrinking.cfg", kShortReadingFile);
       return true;
     },
     "shrinking.cfg", Outcome::CannotRead, "The file ended before all its bytes could be read"},

    // Lengths beyond 32 bits: only the first 1792 bytes are read, whatever the low 32 bits of
    // the length say (4 GiB + 100 would look like 100 bytes, exactly 4 GiB like an empty file).
    {"SparseOver4GiB", Runner::Self, Needs::Nothing, sparseFile(5 * kGiB + 3), "big.cfg",
     Outcome::Loads, nullptr},
    {"SparseLow32BitsShort", Runner::Self, Needs::Nothing, sparseFile(4 * kGiB + 100),
     "big.cfg", Outcome::Loads, nullptr},
    {"SparseLow32BitsZero", Runner::Self, Needs::Nothing, sparseFile(4 * kGiB), "big.cfg",
     Outcome::Loads, nullptr},
    {"ThroughLink", Runner::Self, Needs::Nothing,
     [](FaultFolder& f) {
       f.folder("real");
       f.write("real/menu.cfg", fileImage(), 0400);
       f.link("menu.cfg", "real/menu.cfg");
       return true;
     },
     "menu.cfg", Outcome::Loads, nullptr},
};

class LoadFault : public ::testing::TestWithParam<LoadCase> {
 protected:
  void SetUp() override {
    const LoadCase& c = GetParam();
    if (const std::string why = unavailable(c.runner, c.needs); !why.empty()) GTEST_SKIP() << why;
    ASSERT_TRUE(folder_.ok());
    if (!c.setup(folder_)) GTEST_SKIP() << "the folder cannot be prepared here";
    if (c.runner == Runner::Unprivileged) folder_.giveTo(*unprivilegedAccount());
    before_ = folder_.state();
  }

  void expectFolderUntouched() {
    const TreeState after = folder_.state();
    EXPECT_TRUE(after == before_) << describeDifferences(before_, after);
  }

  Limits limits() const { return {GetParam().runner, 0}; }

  FaultFolder folder_;
  TreeState before_;
};

TEST_P(LoadFault, MainWindowSaysWhatHappened) {
  const LoadCase& c = GetParam();
  std::vector<ShownMessage> expected;
  switch (c.outcome) {
    case Outcome::Loads:
      break;
    case Outcome::NoConfigFile:
      expected.push_back({0x40, "No Config File!"});
      break;
    case Outcome::FileSizeError:
      expected.push_back({0x40, "File Size Error!"});
      break;
    case Outcome::CannotRead:
      expected.push_back({0x30, std::string("Cannot read ") + c.path + ": " + c.cliReason});
      break;
  }
  const bool loads = c.outcome == Outcome::Loads;
  // The form shows the file's language after a load and the default one otherwise.
  const ConfigRecord record = loads ? fileRecord() : defaultsRecord();
  std::string script = "expect-dialog 102\nclick 1116\nopen-file " + scriptQuote(c.path) + "\n";
  for (const ShownMessage& m : expected) script += "message " + scriptQuote(m.text) + "\n";
  script += "expect-selection 1015 " + std::to_string(record.getInt32(fields::language)) +
            "\nkey esc\n";

  const GuiRun run = runGui(folder_.path(), limits(), script, record);
  ASSERT_TRUE(run.child.exited) << "the program did not finish: signal " << run.child.status;
  EXPECT_EQ(run.scriptFailure, "");
  EXPECT_EQ(run.messages, expected);
  EXPECT_EQ(run.recordDifference, "");
  expectFolderUntouched();
}

TEST_P(LoadFault, CommandLineSaysWhatHappened) {
  const LoadCase& c = GetParam();
  const ChildRun run = runCli(folder_.path(), limits(), {"show", c.path});
  ASSERT_TRUE(run.exited) << "tarnwick-cfg did not finish: signal " << run.status;
  if (c.outcome == Outcome::Loads) {
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    // The same listing as for an ordinary copy of the file's first 1792 bytes.
    FaultFolder reference;
    reference.write("menu.cfg", fileImage());
    const ChildRun plain = runCli(reference.path(), {}, {"show", "menu.cfg"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(run.out, plain.out);
  } else {
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, cliError(c.path, c.cliReason));
    EXPECT_EQ(run.out, "");
  }
  expectFolderUntouched();
}

INSTANTIATE_TEST_SUITE_P(Faults, LoadFault, ::testing::ValuesIn(kLoadCases),
                         [](const ::testing::TestParamInfo<LoadCase>& p) {
                           return std::string(p.param.name);
                         });

}  // namespace
}  // namespace tarnwick::faults
