// Two tarnwick-cfg processes changing one file at the same time: each keeps the other's change.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ToolRun.h"
#include "cli/FieldValues.h"
#include "cli/RecordJson.h"
#include "cli/StartupRecord.h"
#include "config/ConfigFile.h"
#include "config/FieldCatalog.h"

extern char** environ;

namespace tarnwick::cli {
namespace {

using test::ScratchDir;

// Rounds of each race. Under the sanitizers every start of the tool costs a third of a second
// or more (a second a round on a busy machine), so there a tenth of the rounds run, which still
// meet every path; the ordinary build runs them all.
#ifdef TARNWICK_CLI_SANITIZED
constexpr int kShare = 10;
#else
constexpr int kShare = 1;
#endif

// Starts tarnwick-cfg with `args` in `folder`, its output thrown away; returns its process id.
pid_t startTool(const std::vector<std::string>& args, const std::string& folder) {
  std::vector<std::string> store{TARNWICK_CFG_PATH};
  store.insert(store.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : store) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_RDWR);
    if (null < 0 || ::chdir(folder.c_str()) != 0) ::_exit(127);
    ::dup2(null, 0), ::dup2(null, 1), ::dup2(null, 2);
    ::execve(argv[0], argv.data(), environ);
    ::_exit(127);
  }
  return pid;
}

int waitTool(pid_t pid) {
  int status = 0;
  if (pid <= 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

std::string valueOf(const ConfigRecord& record, const FieldInfo& field) {
  return viewField(record, field).value;
}

// 100 rounds of two set commands started together on one file, each changing its own field:
// after each round both changes are in the file.
TEST(ConcurrentWrites, TwoSetCommandsOnOneFileKeepBothChanges) {
  ScratchDir dir;
  const std::string path = dir.file("menu.cfg");
  ASSERT_FALSE(writeConfigFile(path, startupRecord()));
  int lost = 0;
  const int rounds = 100 / kShare;
  for (int round = 0; round < rounds; ++round) {
    const std::string name = "Forest" + std::to_string(round);
    char digits[5];
    std::snprintf(digits, sizeof digits, "%04d", round + 1);  // 0000 is refused
    const pid_t a = startTool({"set", "menu.cfg", "orgName=" + name}, dir.path().string());
    const pid_t b =
        startTool({"set", "menu.cfg", std::string("serialNo=") + digits}, dir.path().string());
    ASSERT_EQ(waitTool(a), 0);
    ASSERT_EQ(waitTool(b), 0);
    ConfigRecord record;
    ASSERT_EQ(errorKind(readConfigFile(path, record)), std::nullopt);
    if (valueOf(record, fields::orgName) != name) ++lost;
    if (valueOf(record, fields::serialNo) != digits) ++lost;
  }
  EXPECT_EQ(lost, 0) << lost << " of " << 2 * rounds << " changes were lost";
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"menu.cfg"}));
}

// 200 rounds of `new` and `import` started together on a missing file: exactly one of them
// makes it, the other finds it there, and the file is the one that made it.
TEST(ConcurrentWrites, TwoCreatorsOfOneMissingFileNeverBothSucceed) {
  ScratchDir dir;
  const ConfigRecord other = test::randomRecord(7);
  test::writeText(dir.file("other.json"), exportRecordJson(other));
  int both = 0;
  int neither = 0;
  const int rounds = 200 / kShare;
  for (int round = 0; round < rounds; ++round) {
    const std::string name = "r" + std::to_string(round) + ".cfg";
    const pid_t a = startTool({"new", "-o", name}, dir.path().string());
    const pid_t b = startTool({"import", "other.json", "-o", name}, dir.path().string());
    const int madeByNew = waitTool(a);
    const int madeByImport = waitTool(b);
    both += madeByNew == 0 && madeByImport == 0;
    neither += madeByNew != 0 && madeByImport != 0;
    ConfigRecord saved;
    ASSERT_EQ(errorKind(readConfigFile(dir.file(name), saved)), std::nullopt);
    EXPECT_EQ(saved, madeByNew == 0 ? startupRecord() : other) << name;
  }
  EXPECT_EQ(both, 0) << both << " of " << rounds << " pairs both reported success";
  EXPECT_EQ(neither, 0);
  // The files and other.json, no temporary file.
  EXPECT_EQ(dir.entries().size(), static_cast<std::size_t>(rounds) + 1);
}

// Two batches into one new folder, started together, twelve times: one writes every camera, the
// other stops at the first camera the first one made; no camera is written twice.
TEST(ConcurrentWrites, TwoBatchesIntoOneFolderNeverBothWriteACamera) {
  ScratchDir dir;
  std::string csv = "camera\n";
  for (int i = 1; i <= 20; ++i) csv += "cam" + std::to_string(i) + "\n";
  test::writeText(dir.file("cameras.csv"), csv);
  for (const char* org : {"A", "B"}) {
    ConfigRecord base = startupRecord();
    ASSERT_FALSE(assignField(base, fields::orgName, org));
    ASSERT_FALSE(writeConfigFile(dir.file(std::string(org) + ".cfg"), base));
  }
  for (int round = 0; round < std::max(2, 12 / kShare); ++round) {
    const std::string out = "out" + std::to_string(round);
    const pid_t a = startTool({"batch", "A.cfg", "cameras.csv", "-o", out}, dir.path().string());
    const pid_t b = startTool({"batch", "B.cfg", "cameras.csv", "-o", out}, dir.path().string());
    const int statusA = waitTool(a);
    const int statusB = waitTool(b);
    ASSERT_TRUE((statusA == 0) != (statusB == 0)) << statusA << " " << statusB;
    const std::string winner = statusA == 0 ? "A" : "B";
    for (int i = 1; i <= 20; ++i) {
      ConfigRecord saved;
      const std::string file = dir.file(out + "/cam" + std::to_string(i) + "/menu.cfg");
      ASSERT_EQ(errorKind(readConfigFile(file, saved)), std::nullopt) << file;
      EXPECT_EQ(valueOf(saved, fields::orgName), winner) << file;
    }
  }
}

}  // namespace
}  // namespace tarnwick::cli
