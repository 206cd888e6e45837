// Commands that write a settings file do not replace one by surprise: import keeps an existing
// output unless --force, export does not write its JSON over the settings file it reads, and
// import reads standard input when asked to, a pipe included.

#include <gtest/gtest.h>

#include <filesystem>

#include "ToolRun.h"
#include "cli/RecordJson.h"
#include "cli/StartupRecord.h"
#include "config/ConfigFile.h"

namespace tarnwick::cli {
namespace {

using test::readBytes;
using test::runTool;
using test::runToolWithInput;
using test::ScratchDir;
using test::ToolResult;

std::string readText(const std::string& path) {
  const auto bytes = readBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

class CommandGuards : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(writeConfigFile(dir.file("menu.cfg"), startupRecord()));
    const ConfigRecord other = test::randomRecord(7);
    test::writeText(dir.file("other.json"), exportRecordJson(other));
    // The bytes a settings file of that record holds.
    ASSERT_FALSE(writeConfigFile(dir.file("other.cfg"), other));
    otherBytes = readBytes(dir.file("other.cfg"));
  }
  ToolResult run(const std::vector<std::string>& args) { return runTool(args, dir.path()); }
  ScratchDir dir;
  std::vector<std::uint8_t> otherBytes;
};

TEST_F(CommandGuards, ImportKeepsAnExistingOutputWithoutForce) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX only: uses symbolic links, which Windows gives only to privileged "
                  "accounts and Wine cannot make";
#endif
  const auto before = readBytes(dir.file("menu.cfg"));
  // The default output and a named one; a dangling link counts as something there.
  std::filesystem::create_symlink("nowhere.cfg", dir.file("dangling.cfg"));
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"import", "other.json"},
        std::vector<std::string>{"import", "other.json", "-o", "menu.cfg"},
        std::vector<std::string>{"import", "other.json", "-o", "dangling.cfg"}}) {
    const ToolResult r = run(args);
    EXPECT_EQ(r.status, 1);
    const std::string out = args.size() == 2 ? "menu.cfg" : args.back();
    EXPECT_EQ(r.err, "tarnwick-cfg: " + out + ": already exists (use --force to replace it)\n");
  }
  EXPECT_EQ(readBytes(dir.file("menu.cfg")), before);
  EXPECT_FALSE(std::filesystem::exists(dir.file("nowhere.cfg")));

  ToolResult r = run({"import", "other.json", "--force"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(readBytes(dir.file("menu.cfg")), otherBytes);
  r = run({"import", "other.json", "-o", "new.cfg"});  // a new file needs no --force
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(readBytes(dir.file("new.cfg")), otherBytes);
}

TEST_F(CommandGuards, ExportDoesNotWriteOverTheFileItReads) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX only: uses symbolic links, which Windows gives only to privileged "
                  "accounts and Wine cannot make";
#endif
  const auto before = readBytes(dir.file("menu.cfg"));
  std::filesystem::create_symlink("menu.cfg", dir.file("link.cfg"));
  for (const char* out : {"menu.cfg", "./menu.cfg", "link.cfg"}) {
    const ToolResult r = run({"export", "menu.cfg", "-o", out});
    EXPECT_EQ(r.status, 1) << out;
    EXPECT_EQ(r.err, std::string("tarnwick-cfg: ") + out +
                         ": is the settings file being exported (use --force to replace it)\n");
    EXPECT_EQ(readBytes(dir.file("menu.cfg")), before);
  }
  // Another existing file is replaced as before; --force writes over the input itself.
  ASSERT_EQ(run({"export", "menu.cfg", "-o", "other.json"}).status, 0);
  EXPECT_TRUE(importRecordJson(readText(dir.file("other.json"))).record);
  ASSERT_EQ(run({"export", "menu.cfg", "-o", "menu.cfg", "--force"}).status, 0);
  EXPECT_TRUE(importRecordJson(readText(dir.file("menu.cfg"))).record);
}

TEST_F(CommandGuards, ImportReadsStandardInputFromAPipe) {
  const std::string json = readText(dir.file("other.json"));
  ToolResult r = runToolWithInput({"import", "-", "-o", "piped.cfg"}, dir.path(), json);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(readBytes(dir.file("piped.cfg")), otherBytes);

  // Over 1 MiB on standard input is refused like a file of that size, and nothing is written.
  std::string big = json;
  big.resize(kMaxRecordJsonBytes + 1, ' ');
  r = runToolWithInput({"import", "-", "-o", "big.cfg"}, dir.path(), big);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "tarnwick-cfg: -: more than the 1 MiB a settings document may have (an export is "
            "about 4.4 KB)\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("big.cfg")));

  r = runToolWithInput({"import", "-", "-o", "bad.cfg"}, dir.path(), "{");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("tarnwick-cfg: -: at byte 2: ", 0), 0u) << r.err;
}

}  // namespace
}  // namespace tarnwick::cli
