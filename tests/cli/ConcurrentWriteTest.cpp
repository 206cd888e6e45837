// Two tarnwick-cfg processes changing one file at the same time: each keeps the other's change.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "ToolRun.h"
#include "cli/FieldValues.h"
#include "cli/StartupRecord.h"
#include "config/ConfigFile.h"
#include "config/FieldCatalog.h"

extern char** environ;

namespace tarnwick::cli {
namespace {

using test::ScratchDir;

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
  for (int round = 0; round < 100; ++round) {
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
  EXPECT_EQ(lost, 0) << lost << " of 200 changes were lost";
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"menu.cfg"}));
}

}  // namespace
}  // namespace tarnwick::cli
