// Windows only: a settings file another program holds open without sharing it (an editor, a
// spreadsheet, a backup tool) can be neither read nor replaced. Reads and saves say so in words
// that tell the user what to do, through the file layer and the command line alike, and the
// file is left exactly as it was.

#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "ToolRun.h"
#include "cli/RecordJson.h"
#include "cli/StartupRecord.h"
#include "config/ConfigFile.h"

namespace tarnwick::cli {
namespace {

using test::readBytes;
using test::runTool;
using test::ScratchDir;
using test::ToolResult;

constexpr char kHeldOpen[] = "The file is open in another program; close it there and try again";

// The other program's handle: the file opened for reading and writing with the given sharing,
// as long as the object lives.
class OtherProgram {
 public:
  OtherProgram(const std::string& path, DWORD share)
      : h_(::CreateFileW(std::filesystem::u8path(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                         share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~OtherProgram() { release(); }
  OtherProgram(const OtherProgram&) = delete;
  OtherProgram& operator=(const OtherProgram&) = delete;
  bool holds() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE handle() const { return h_; }
  void release() {
    if (holds()) ::CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_;
};

class HeldOpenFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(writeConfigFile(dir.file("menu.cfg"), startupRecord()));
    before = readBytes(dir.file("menu.cfg"));
    other = test::randomRecord(11);
    test::writeText(dir.file("other.json"), exportRecordJson(other));
  }
  ToolResult run(const std::vector<std::string>& args) { return runTool(args, dir.path()); }
  std::string heldLine() const { return "tarnwick-cfg: menu.cfg: " + std::string(kHeldOpen) + "\n"; }

  // The file is as it was and the failed saves left no temporary file behind.
  void expectUntouched() {
    EXPECT_EQ(readBytes(dir.file("menu.cfg")), before);
    EXPECT_EQ(dir.entries(), (std::set<std::string>{"menu.cfg", "other.json"}));
  }

  ScratchDir dir;
  std::vector<std::uint8_t> before;
  ConfigRecord other;
};

TEST_F(HeldOpenFile, NotSharedAtAllNeitherReadsNorSaves) {
  OtherProgram holder(dir.file("menu.cfg"), 0);
  ASSERT_TRUE(holder.holds());

  ConfigRecord record = test::randomRecord(3);
  const ConfigRecord unchanged = record;
  auto error = readConfigFile(dir.file("menu.cfg"), record);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->kind, FileErrorKind::CannotOpen);
  EXPECT_EQ(error->reason, kHeldOpen);
  EXPECT_EQ(record, unchanged);

  error = writeConfigFile(dir.file("menu.cfg"), other);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->kind, FileErrorKind::SaveError);
  EXPECT_EQ(error->reason, kHeldOpen);
  EXPECT_EQ(error->errorNumber, ERROR_SHARING_VIOLATION);

  // Every command that reads or writes the file gives the same one line and writes nothing.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"get", "menu.cfg", "orgName"},
        std::vector<std::string>{"show", "menu.cfg"},
        std::vector<std::string>{"export", "menu.cfg", "-o", "-"},
        std::vector<std::string>{"set", "menu.cfg", "orgName=Hochsitz"},
        std::vector<std::string>{"import", "other.json", "-o", "menu.cfg", "--force"},
        std::vector<std::string>{"new", "-o", "menu.cfg", "--force"}}) {
    SCOPED_TRACE(args.front());
    const ToolResult r = run(args);
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.err, heldLine());
    EXPECT_EQ(r.out, "");
  }
  holder.release();
  expectUntouched();

  // Once the other program lets go, the same save goes through.
  const ToolResult r = run({"import", "other.json", "-o", "menu.cfg", "--force"});
  ASSERT_EQ(r.status, 0) << r.err;
  ConfigRecord saved;
  ASSERT_FALSE(readConfigFile(dir.file("menu.cfg"), saved));
  EXPECT_EQ(saved, other);
}

// A program that lets others read, or read and write, but not delete or rename, still keeps
// the file from being replaced: reading works, saving says why it cannot.
TEST_F(HeldOpenFile, SharedForReadingOnlyReadsButDoesNotSave) {
  for (const DWORD share : {DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
    SCOPED_TRACE(share);
    OtherProgram holder(dir.file("menu.cfg"), share);
    ASSERT_TRUE(holder.holds());

    ConfigRecord record;
    EXPECT_FALSE(readConfigFile(dir.file("menu.cfg"), record));
    EXPECT_EQ(record, startupRecord());
    ToolResult r = run({"get", "menu.cfg", "orgNameOff"});
    EXPECT_EQ(r.status, 0) << r.err;

    const auto error = writeConfigFile(dir.file("menu.cfg"), other);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->reason, kHeldOpen);
    r = run({"set", "menu.cfg", "orgName=Hochsitz"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, heldLine());
    holder.release();
    expectUntouched();
  }
}

// The program's own save (the Save button, here replayed without windows) tells the user the
// same, and does not claim success.
TEST_F(HeldOpenFile, TheWindowsSaveSaysWhyItFailed) {
  test::writeText(dir.file("save.ui"),
                  "expect-dialog 102\n"
                  "click 1117\n"
                  "save-file \"menu.cfg\"\n"
                  "message \"Cannot save menu.cfg: " + std::string(kHeldOpen) + "\"\n"
                  "key esc\n");
  OtherProgram holder(dir.file("menu.cfg"), FILE_SHARE_READ);
  ASSERT_TRUE(holder.holds());
  const ToolResult r = run({"ui", "save.ui"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  holder.release();
  EXPECT_EQ(readBytes(dir.file("menu.cfg")), before);
  EXPECT_EQ(dir.entries(), (std::set<std::string>{"menu.cfg", "other.json", "save.ui"}));
}

}  // namespace
}  // namespace tarnwick::cli
