// Every tarnwick-cfg command that writes a file goes through the same safe save: when the write
// cannot complete, the command fails with the file and the reason, and the file it was to
// replace is left byte for byte as it was, with no temporary file beside it.

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <tuple>

#include "CardMount.h"
#include "FaultCases.h"

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

}  // namespace
}  // namespace tarnwick::faults
