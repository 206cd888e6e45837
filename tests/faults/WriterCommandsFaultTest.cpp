// Every tarnwick-cfg command that writes a file goes through the same safe save: when the write
// cannot complete, the command fails with the file and the reason, and the file it was to
// replace is left byte for byte as it was, with no temporary file beside it.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <sstream>
#include <tuple>

#include "CardMount.h"
#include "FaultCases.h"
#include "cli/Cli.h"
#include "cli/RecordJson.h"
#include "ScopedFileAccess.h"
#include "config/FileAccess.h"

namespace tarnwick::faults {
namespace {

struct WriterCase {
  const char* name;
  std::vector<std::string> args;
  const char* target;
};

struct Fault {
  const char* name;
  Limits limits;
  bool immutableFolder;
  const char* reason;
  std::vector<std::string> card = {};  // the test card's options: the folder is a card
};

void PrintTo(const WriterCase& c, std::ostream* os) { *os << c.name; }
void PrintTo(const Fault& f, std::ostream* os) { *os << f.name; }

const WriterCase kWriters[] = {
    {"New", {"new", "-o", "menu.cfg", "--force"}, "menu.cfg"},
    {"SetInPlace", {"set", "menu.cfg", "orgName=Faulty"}, "menu.cfg"},
    {"SetToOther", {"set", "in.cfg", "orgName=Faulty", "-o", "menu.cfg"}, "menu.cfg"},
    {"Import", {"import", "in.json", "-o", "menu.cfg", "--force"}, "menu.cfg"},
    {"Export", {"export", "in.cfg", "-o", "out.json"}, "out.json"},
    {"BuildOperDb", {"oper-db", "build", "table.json", "-o", "oper.db"}, "oper.db"},
};

const Fault kFaults[] = {
    // Each output is well over 1000 bytes, so the write fails part-way.
    {"WriteFailsPartWay", {Runner::Self, 1000}, false, "File too large"},
    {"ImmutableFolder", {}, true, "Operation not permitted"},
    // Every saved file is read back from the card before it takes its name.
    {"CardReturnsOtherBytes", {}, false, kCardReturnedDifferentBytes, {"--corrupt"}},
};

class WriterCommandFault : public ::testing::TestWithParam<std::tuple<WriterCase, Fault>> {
 protected:
  void SetUp() override {
    const Fault& fault = std::get<1>(GetParam());
    if (fault.immutableFolder && ::geteuid() != 0) GTEST_SKIP() << "needs root";
    ASSERT_TRUE(folder_.ok());
    const std::string& dir = folder_.path();
    // The inputs, made by the program itself, and the existing files a command would replace.
    folder_.write("in.cfg", imageOf(existingRecord()));
    folder_.write("menu.cfg", imageOf(existingRecord()), 0640);
    ASSERT_EQ(runCli(dir, {}, {"export", "in.cfg", "-o", "in.json"}).status, 0);
    const ChildRun table = runCli(dir, {}, {"operators", "--json"});
    ASSERT_EQ(table.status, 0);
    folder_.write("table.json", Bytes(table.out.begin(), table.out.end()));
    folder_.write("out.json", {'{', '}', '\n'});
    folder_.write("oper.db", {0x01, 0x02, 0x03});
    if (fault.immutableFolder && !folder_.makeImmutable("")) {
      GTEST_SKIP() << "no immutable folders here";
    }
    if (!fault.card.empty()) {
      card_ = std::make_unique<testing::CardMount>(dir, fault.card);
      if (!card_->unavailable().empty()) GTEST_SKIP() << card_->unavailable();
    }
    before_ = folder_.state();
  }

  FaultFolder folder_;
  std::unique_ptr<testing::CardMount> card_;  // unmounted before the folder goes
  TreeState before_;
};

TEST_P(WriterCommandFault, FailsAndKeepsTheOldFile) {
  const auto& [writer, fault] = GetParam();
  const ChildRun run = runCli(folder_.path(), fault.limits, writer.args);
  ASSERT_TRUE(run.exited) << "tarnwick-cfg did not finish: signal " << run.status;
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, cliError(writer.target, fault.reason));
  const TreeState after = folder_.state();
  EXPECT_TRUE(after == before_) << describeDifferences(before_, after);
}

INSTANTIATE_TEST_SUITE_P(Faults, WriterCommandFault,
                         ::testing::Combine(::testing::ValuesIn(kWriters),
                                            ::testing::ValuesIn(kFaults)),
                         [](const auto& p) {
                           return std::string(std::get<0>(p.param).name) + "_" +
                                  std::get<1>(p.param).name;
                         });

// A store that keeps other bytes than it is given, as the file access that every command and
// the main window save through sees it: every writer fails with the card's reason and none
// reports success, also where no FUSE card can be mounted.
class CardThatChangesBytes : public MemoryFiles {
 public:
  std::optional<FileError> save(const std::string& path,
                                std::span<const std::uint8_t> data) override {
    Bytes kept(data.begin(), data.end());
    if (!kept.empty()) kept.back() ^= 0x01;
    return compareReadBack(path, data, kept);
  }
  std::optional<FileError> saveNew(const std::string& path,
                                   std::span<const std::uint8_t> data) override {
    return save(path, data);
  }
};

using testing::ScopedFileAccess;

TEST(WriterCommands, EveryWriterReportsACardThatKeepsOtherBytes) {
  FaultFolder folder;
  ASSERT_TRUE(folder.ok());
  CardThatChangesBytes card;
  ScopedFileAccess scoped(card);
  card.put("menu.cfg", imageOf(existingRecord()));
  card.put("cams.csv", {'c', 'a', 'm', 'e', 'r', 'a', '\n', 'c', '1', '\n'});
  const std::string script =
      "expect-dialog 102\nclick 1117\nsave-file \"menu.cfg\"\n"
      "message \"Cannot save menu.cfg: " + std::string(kCardReturnedDifferentBytes) +
      "\"\nexpect-dialog 102\nkey esc\n";
  card.put("save.ui", Bytes(script.begin(), script.end()));
  const std::string json = cli::exportRecordJson(existingRecord());
  card.put("in.json", Bytes(json.begin(), json.end()));
  const std::string cards = folder.file("cards");
  const std::string cardLine = ": " + std::string(kCardReturnedDifferentBytes) + "\n";
  struct Writer {
    std::vector<std::string> args;
    std::string err;
    int status;
  };
  const Writer writers[] = {
      {{"new", "-o", "new.cfg"}, "tarnwick-cfg: new.cfg" + cardLine, 1},
      {{"new", "-o", "menu.cfg", "--force"}, "tarnwick-cfg: menu.cfg" + cardLine, 1},
      {{"set", "menu.cfg", "orgName=Card"}, "tarnwick-cfg: menu.cfg" + cardLine, 1},
      {{"import", "in.json", "-o", "imported.cfg"}, "tarnwick-cfg: imported.cfg" + cardLine, 1},
      {{"export", "menu.cfg", "-o", "out.json"}, "tarnwick-cfg: out.json" + cardLine, 1},
      {{"batch", "menu.cfg", "cams.csv", "-o", cards},
       "tarnwick-cfg: " + cards + "/c1/menu.cfg" + cardLine +
           "tarnwick-cfg: cams.csv: 0 of 1 cameras written before the failure\n",
       1},
      {{"ui", "save.ui"}, "", 0},  // the script expects the message; no "Save Config File OK!"
  };
  for (const Writer& w : writers) {
    SCOPED_TRACE(w.args.front());
    std::vector<const char*> argv{"tarnwick-cfg"};
    for (const std::string& a : w.args) argv.push_back(a.c_str());
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(cli::runCli(static_cast<int>(argv.size()), argv.data(), out, err), w.status)
        << err.str();
    EXPECT_EQ(err.str(), w.err);
    EXPECT_EQ(out.str(), "");
  }
  EXPECT_EQ(*card.find("menu.cfg"), imageOf(existingRecord()));
}

// A card without modes (FAT through FUSE refuses to set them) takes every writer's file.
TEST(WriterCommands, EveryWriterSavesOntoACardWithoutModes) {
  FaultFolder folder;
  ASSERT_TRUE(folder.ok());
  folder.write("in.cfg", imageOf(existingRecord()));
  ASSERT_EQ(runCli(folder.path(), {}, {"export", "in.cfg", "-o", "in.json"}).status, 0);
  folder.write("cams.csv", {'c', 'a', 'm', 'e', 'r', 'a', '\n', 'c', '1', '\n', 'c', '2', '\n'});
  testing::CardMount card(folder.path(), {"--no-modes"});
  if (!card.unavailable().empty()) GTEST_SKIP() << card.unavailable();
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"new", "-o", "new.cfg"},
        std::vector<std::string>{"set", "in.cfg", "orgName=Card"},
        std::vector<std::string>{"import", "in.json", "-o", "in.cfg", "--force"},
        std::vector<std::string>{"batch", "new.cfg", "cams.csv", "-o", "cards"}}) {
    SCOPED_TRACE(args.front());
    const ChildRun run = runCli(folder.path(), {}, args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
  }
  EXPECT_TRUE(std::filesystem::exists(folder.file("cards/c2/menu.cfg")));
}

// Memory that runs out while batch holds a large table ends in one line that says so.
TEST(WriterCommands, BatchSaysSoWhenMemoryRunsOut) {
#ifdef TARNWICK_FAULTS_SANITIZED
  GTEST_SKIP() << "the sanitizers reserve more address space than the limit allows";
#endif
  FaultFolder folder;
  ASSERT_TRUE(folder.ok());
  folder.write("base.cfg", imageOf(existingRecord()));
  std::string csv = "camera,orgNameOff,orgName\n";
  for (int i = 0; i < 1'000'000; ++i) csv += "cam-" + std::to_string(1'000'000 + i) + ",On,Lease\n";
  folder.write("cams.csv", Bytes(csv.begin(), csv.end()));  // 29 MB
  Limits limits;
  limits.memoryLimit = std::uint64_t{24} << 20;
  const ChildRun run = runCli(folder.path(), limits, {"batch", "base.cfg", "cams.csv", "-o", "cards"});
  ASSERT_TRUE(run.exited) << "signal " << run.status;
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tarnwick-cfg: cams.csv: not enough memory for this table (batch holds its "
                     "text, at most 64 MiB, and 16 bytes a camera, at most 1000000 cameras)\n");
  EXPECT_FALSE(std::filesystem::exists(folder.file("cards")));
}

}  // namespace
}  // namespace tarnwick::faults
