// Saving a settings file when the file system stands in the way, through the main window's
// Save Config File and through `tarnwick-cfg new -o FILE --force`. Every case checks what the
// user is told, the exit status, and that the folder afterwards holds exactly what it held
// before, plus the new file where the save succeeds: no damaged file, no temporary left behind.

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

#include "CardMount.h"
#include "FaultCases.h"
#include "cli/StartupRecord.h"

namespace tarnwick::faults {
namespace {

constexpr std::uint64_t kPartWay = 1000;  // bytes let through before a write fails

struct SaveCase {
  const char* name;
  Runner runner;
  Needs needs;
  std::function<bool(FaultFolder&)> setup;  // false: the folder cannot be prepared here
  const char* target;                        // as the user types it
  const char* reason;                        // the system's reason; nullptr: the save succeeds
  const char* written = nullptr;             // on success, the file that receives the bytes
  unsigned writtenMode = 0;                  // its mode afterwards; 0 for a new file's default
  std::uint64_t fileSizeLimit = 0;
  const char* foreign = nullptr;  // an entry that stays with the account running the tests
  std::vector<std::string> card = {};  // the test card's options: the folder is a card (CardMount.h)
};

void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.name; }

const Bytes& oldImage() {
  static const Bytes image = imageOf(existingRecord());
  return image;
}

bool withExisting(FaultFolder& f) {
  f.write("menu.cfg", oldImage());
  return true;
}

// One name longer than any file system allows (255 bytes).
const std::string kLongName = std::string(300, 'n') + ".cfg";

const SaveCase kSaveCases[] = {
    // Folders that take no new file. Root ignores permission bits, so for root the folder is
    // made immutable; the unprivileged account meets the permission bits themselves.
    {"ImmutableFolder", Runner::Self, Needs::Immutable,
     [](FaultFolder& f) { return withExisting(f) && f.makeImmutable(""); }, "menu.cfg",
     "Operation not permitted"},
    {"ReadOnlyFolder", Runner::Unprivileged, Needs::Nothing,
     [](FaultFolder& f) {
       withExisting(f);
       f.chmod("", 0555);
       return true;
     },
     "menu.cfg", "Permission denied"},
    {"NewFileInReadOnlyFolder", Runner::Unprivileged, Needs::Nothing,
     [](FaultFolder& f) {
       f.chmod("", 0555);
       return true;
     },
     "new.cfg", "Permission denied"},
    {"FolderWithoutSearchPermission", Runner::Unprivileged, Needs::Nothing,
     [](FaultFolder& f) {
       f.folder("locked");
       f.write("locked/menu.cfg", oldImage());
       f.chmod("locked", 0);
       return true;
     },
     "locked/menu.cfg", "Permission denied"},
    {"LinkIntoImmutableFolder", Runner::Self, Needs::Immutable,
     [](FaultFolder& f) {
       f.folder("locked");
       f.write("locked/menu.cfg", oldImage());
       f.link("menu.cfg", "locked/menu.cfg");
       return f.makeImmutable("locked");
     },
     "menu.cfg", "Operation not permitted"},

    // Paths that cannot become a file.
    {"TargetIsAFolder", Runner::Self, Needs::Nothing,
     [](FaultFolder& f) {
       f.folder("taken.cfg");
       f.write("taken.cfg/inside", {1, 2, 3});
       return true;
     },
     "taken.cfg", "Is a directory"},
    {"FolderDoesNotExist", Runner::Self, Needs::Nothing, withExisting, "missing/menu.cfg",
     "No such file or directory"},
    {"PathThroughAFile", Runner::Self, Needs::Nothing, withExisting, "menu.cfg/new.cfg",
     "Not a directory"},
    {"NameTooLong", Runner::Self, Needs::Nothing, withExisting, kLongName.c_str(),
     "File name too long"},
    {"TargetIsAFifo", Runner::Self, Needs::Nothing,
     [](FaultFolder& f) {
       f.fifo("pipe.cfg");
       return true;
     },
     "pipe.cfg", "Not a regular file"},
    {"LinkLoop", Runner::Self, Needs::Nothing,
     [](FaultFolder& f) {
       f.link("loop.cfg", "loop.cfg");
       return true;
     },
     "loop.cfg", "Too many levels of symbolic links"},

    // The write stops part-way, as on a full disk.
    {"WriteFailsPartWay", Runner::Self, Needs::Nothing, withExisting, "menu.cfg",
     "File too large", nullptr, 0, kPartWay},
    {"NewFileWriteFailsPartWay", Runner::Self, Needs::Nothing, withExisting, "new.cfg",
     "File too large", nullptr, 0, kPartWay},

    // Symbolic links: the file a link names is replaced and the link stays.
    {"ThroughLink", Runner::Self, Needs::Nothing,
     [](FaultFolder& f) {
       f.folder("real");
       f.write("real/menu.cfg", oldImage());
       f.link("menu.cfg", "real/menu.cfg");
       return true;
     },
     "menu.cfg", nullptr, "real/menu.cfg", 0644},
    {"ThroughDanglingLink", Runner::Self, Needs::Nothing,
     [](FaultFolder& f) {
       f.folder("real");
       f.link("menu.cfg", "real/later.cfg");
       return true;
     },
     "menu.cfg", nullptr, "real/later.cfg"},

    // Unusual permissions on the existing file. Saving needs the right to write the file, as
    // writing into it would: a file its owner made read-only, or someone else's file, is
    // refused even where the folder would allow replacing it. An existing file keeps its mode.
    {"OwnPrivateFile", Runner::Self, Needs::Nothing,
     [](FaultFolder& f) {
       f.write("menu.cfg", oldImage(), 0600);
       return true;
     },
     "menu.cfg", nullptr, "menu.cfg", 0600},
    {"OwnPrivateFileUnprivileged", Runner::Unprivileged, Needs::Nothing,
     [](FaultFolder& f) {
       f.write("menu.cfg", oldImage(), 0600);
       return true;
     },
     "menu.cfg", nullptr, "menu.cfg", 0600},
    {"ReadOnlyFileUnprivileged", Runner::Unprivileged, Needs::Nothing,
     [](FaultFolder& f) {
       f.write("menu.cfg", oldImage(), 0444);
       return true;
     },
     "menu.cfg", "Permission denied"},
    {"SomeoneElsesFile", Runner::Unprivileged, Needs::Nothing,
     [](FaultFolder& f) {
       f.write("menu.cfg", oldImage(), 0644);
       return true;
     },
     "menu.cfg", "Permission denied", nullptr, 0, 0, "menu.cfg"},
    {"ReadOnlyFileAsRoot", Runner::Self, Needs::Root,
     [](FaultFolder& f) {
       f.write("menu.cfg", oldImage(), 0444);
       return true;
     },
     "menu.cfg", nullptr, "menu.cfg", 0444},
    {"ImmutableFile", Runner::Self, Needs::Immutable,
     [](FaultFolder& f) { return withExisting(f) && f.makeImmutable("menu.cfg"); }, "menu.cfg",
     "Operation not permitted"},

    // Memory cards. One that keeps other bytes than it is given fails every save, read back
    // before the file takes its name, so the old file stays. One without modes (FAT through
    // FUSE) takes the file with the mode it was made with.
    {"CardReturnsOtherBytes", Runner::Self, Needs::Nothing, withExisting, "menu.cfg",
     kCardReturnedDifferentBytes, nullptr, 0, 0, nullptr, {"--corrupt"}},
    {"NewFileOnCardReturningOtherBytes", Runner::Self, Needs::Nothing, withExisting, "new.cfg",
     kCardReturnedDifferentBytes, nullptr, 0, 0, nullptr, {"--corrupt"}},
    {"CardWithoutModes", Runner::Self, Needs::Nothing, withExisting, "menu.cfg", nullptr,
     "menu.cfg", 0600, 0, nullptr, {"--no-modes"}},
    {"NewFileOnCardWithoutModes", Runner::Self, Needs::Nothing, withExisting, "new.cfg", nullptr,
     "new.cfg", 0600, 0, nullptr, {"--no-modes"}},
};

class SaveFault : public ::testing::TestWithParam<SaveCase> {
 protected:
  void SetUp() override {
    const SaveCase& c = GetParam();
    if (const std::string why = unavailable(c.runner, c.needs); !why.empty()) GTEST_SKIP() << why;
    ASSERT_TRUE(folder_.ok());
    if (!c.setup(folder_)) GTEST_SKIP() << "the folder cannot be prepared here";
    if (!c.card.empty()) {
      card_ = std::make_unique<testing::CardMount>(folder_.path(), c.card);
      if (!card_->unavailable().empty()) GTEST_SKIP() << card_->unavailable();
    }
    if (c.runner == Runner::Unprivileged) {
      folder_.giveTo(*unprivilegedAccount());
      if (c.foreign != nullptr) folder_.keepOwn(c.foreign);
    }
    before_ = folder_.state();
  }

  Limits limits() const { return {GetParam().runner, GetParam().fileSizeLimit}; }

  // The folder holds what it held, except the written file on success.
  void expectFolderAfterwards() {
    const SaveCase& c = GetParam();
    TreeState expected = before_;
    if (c.reason == nullptr) {
      EntryState& written = expected[c.written];
      const bool isNew = written.kind == '?';
      written.kind = 'f';
      written.content = imageOf(cli::startupRecord());
      written.size = kRecordSize;
      if (isNew) {
        written.owner = uidOf(c.runner);
        written.mode = 0666u & ~processUmask();
      }
      if (c.writtenMode != 0) written.mode = c.writtenMode;
    }
    const TreeState after = folder_.state();
    EXPECT_TRUE(after == expected) << describeDifferences(expected, after);
  }

  FaultFolder folder_;
  std::unique_ptr<testing::CardMount> card_;  // unmounted before the folder goes
  TreeState before_;
};

TEST_P(SaveFault, MainWindowSaysWhatHappened) {
  const SaveCase& c = GetParam();
  const std::string shown = c.reason != nullptr
                                ? std::string("Cannot save ") + c.target + ": " + c.reason
                                : std::string("Save Config File OK!");
  const std::string script = "expect-dialog 102\nclick 1117\nsave-file " +
                             scriptQuote(c.target) + "\nmessage " + scriptQuote(shown) +
                             "\nexpect-dialog 102\nkey esc\n";
  // The form is collected into the record before the file dialog, whatever the save does.
  const GuiRun run = runGui(folder_.path(), limits(), script, cli::startupRecord());
  ASSERT_TRUE(run.child.exited) << "the program did not finish: signal " << run.child.status;
  EXPECT_EQ(run.scriptFailure, "");
  const std::vector<ShownMessage> expected{{c.reason != nullptr ? 0x30u : 0x40u, shown}};
  EXPECT_EQ(run.messages, expected);
  EXPECT_EQ(run.recordDifference, "");
  expectFolderAfterwards();
}

TEST_P(SaveFault, CommandLineSaysWhatHappened) {
  const SaveCase& c = GetParam();
  const ChildRun run = runCli(folder_.path(), limits(), {"new", "-o", c.target, "--force"});
  ASSERT_TRUE(run.exited) << "tarnwick-cfg did not finish: signal " << run.status;
  if (c.reason != nullptr) {
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, cliError(c.target, c.reason));
  } else {
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
  }
  expectFolderAfterwards();
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveFault, ::testing::ValuesIn(kSaveCases),
                         [](const ::testing::TestParamInfo<SaveCase>& p) {
                           return std::string(p.param.name);
                         });

}  // namespace
}  // namespace tarnwick::faults
