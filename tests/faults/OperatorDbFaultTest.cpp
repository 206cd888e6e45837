// An oper.db in the program's folder that cannot be used: the MMS / 4G window still opens, at
// once, on the built-in table (the file is optional and the window names no problem with it),
// while `tarnwick-cfg oper-db dump` names the file and the reason. Nothing is changed on disk.

#include <gtest/gtest.h>

#include <ostream>

#include "FaultCases.h"
#include "cli/OperatorJson.h"
#include "config/Defaults.h"
#include "network/OperatorDb.h"
#include "network/OperatorDbWriter.h"

namespace tarnwick::faults {
namespace {

constexpr int kBuiltInCountries = 55;

// A well-formed oper.db with one country, so that a case that should read the file shows it.
Bytes oneCountryDb() {
  cli::OperatorTableImport imported = cli::importOperatorTableJson(
      R"({"countries":[{"name":"Freedonia","operators":[{"name":"FreeTel","mmsApn":"mms"}]}]})");
  OperatorTable table;
  table.adopt(std::move(imported.countries));
  return buildOperatorDb(table).fileBytes;
}

struct DbCase {
  const char* name;
  Runner runner;
  Needs needs;
  std::function<void(FaultFolder&)> setup;
  int countries;          // what the window's country list shows
  const char* cliReason;  // nullptr: the dump succeeds
};

void PrintTo(const DbCase& c, std::ostream* os) { *os << c.name; }

const DbCase kDbCases[] = {
    {"Readable", Runner::Self, Needs::Nothing,
     [](FaultFolder& f) { f.write("oper.db", oneCountryDb()); }, 1, nullptr},
    {"Folder", Runner::Self, Needs::Nothing, [](FaultFolder& f) { f.folder("oper.db"); },
     kBuiltInCountries, "cannot be read: Is a directory"},
    {"FifoWithoutWriter", Runner::Self, Needs::Nothing, [](FaultFolder& f) { f.fifo("oper.db"); },
     kBuiltInCountries, "cannot be read: Not a regular file"},
    {"EndlessDevice", Runner::Self, Needs::Nothing,
     [](FaultFolder& f) { f.link("oper.db", "/dev/zero"); }, kBuiltInCountries,
     "cannot be read: Not a regular file"},
    {"UnreadableFile", Runner::Unprivileged, Needs::Nothing,
     [](FaultFolder& f) { f.write("oper.db", oneCountryDb(), 0200); }, kBuiltInCountries,
     "cannot be read: Permission denied"},
    // A read that ends early keeps the built-in table too, and says so.
    {"ShrinksWhileRead", Runner::Self, Needs::ShortReading,
     [](FaultFolder& f) { f.link("oper.db", kShortReadingFile); }, kBuiltInCountries,
     "cannot be read: The file ended before all its bytes could be read"},
    // Refused by its length before a byte is read or a buffer allocated.
    {"SparseOver4GiB", Runner::Self, Needs::Nothing,
     [](FaultFolder& f) { f.sparse("oper.db", oneCountryDb(), (5ull << 30) + 3); },
     kBuiltInCountries, "too large to be an operator database"},
};

class OperatorDbFault : public ::testing::TestWithParam<DbCase> {
 protected:
  void SetUp() override {
    const DbCase& c = GetParam();
    if (const std::string why = unavailable(c.runner, c.needs); !why.empty()) GTEST_SKIP() << why;
    ASSERT_TRUE(folder_.ok());
    c.setup(folder_);
    if (c.runner == Runner::Unprivileged) folder_.giveTo(*unprivilegedAccount());
    before_ = folder_.state();
  }

  void expectFolderUntouched() {
    const TreeState after = folder_.state();
    EXPECT_TRUE(after == before_) << describeDifferences(before_, after);
  }

  FaultFolder folder_;
  TreeState before_;
};

TEST_P(OperatorDbFault, NetworkWindowOpensOnTheTableItCanRead) {
  const DbCase& c = GetParam();
  const std::string script = "expect-dialog 102\nclick 1031\nexpect-dialog 135\n"
                             "expect-count 1124 " + std::to_string(c.countries) +
                             "\nkey esc\nexpect-dialog 102\nkey esc\n";
  // Cancelling the network window leaves the record as start-up made it.
  ConfigRecord expected;
  applyDefaults(expected);
  const GuiRun run = runGui(folder_.path(), {c.runner, 0}, script, expected);
  ASSERT_TRUE(run.child.exited) << "the program did not finish: signal " << run.child.status;
  EXPECT_EQ(run.scriptFailure, "");
  EXPECT_TRUE(run.messages.empty());
  EXPECT_EQ(run.recordDifference, "");
  expectFolderUntouched();
}

TEST_P(OperatorDbFault, DumpNamesTheFileAndTheReason) {
  const DbCase& c = GetParam();
  const ChildRun run = runCli(folder_.path(), {c.runner, 0}, {"oper-db", "dump", "oper.db"});
  ASSERT_TRUE(run.exited) << "tarnwick-cfg did not finish: signal " << run.status;
  if (c.cliReason == nullptr) {
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Freedonia"), std::string::npos) << run.out;
  } else {
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, cliError("oper.db", c.cliReason));
  }
  expectFolderUntouched();
}

INSTANTIATE_TEST_SUITE_P(Faults, OperatorDbFault, ::testing::ValuesIn(kDbCases),
                         [](const ::testing::TestParamInfo<DbCase>& p) {
                           return std::string(p.param.name);
                         });

}  // namespace
}  // namespace tarnwick::faults
