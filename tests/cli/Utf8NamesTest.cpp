// File names and values beyond ASCII on the command line. Arguments are UTF-8 (on Windows they
// arrive as UTF-16 and are turned into UTF-8), and every file the program reads or writes is
// the one the argument names: a German umlaut, and CJK characters, one of which (U+4E01, bytes
// E4 B8 81) has a byte that the Windows ANSI code page 1252 has no character for.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "ToolRun.h"
#include "cli/StartupRecord.h"
#include "config/ConfigFile.h"
#include "config/FieldCatalog.h"
#include "config/Utf8Path.h"

namespace tarnwick::cli {
namespace {

using test::runTool;
using test::ScratchDir;
using test::ToolResult;

const std::string kUmlaut = "Kamera-\xC3\xB6";           // Kamera-ö
const std::string kCjk = "\xE7\x9B\xB8\xE6\x9C\xBA-\xE4\xB8\x81";  // 相机-丁
const std::string kForester = "F\xC3\xB6rster1";          // Förster1: orgName takes Latin-1

std::vector<std::uint8_t> bytesOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The names in a folder as UTF-8, as a user sees them.
std::set<std::string> namesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(utf8FromPath(entry.path().filename()));
  }
  return names;
}

class Utf8Names : public ::testing::Test {
 protected:
  ToolResult run(const std::vector<std::string>& args) { return runTool(args, dir.path()); }
  std::filesystem::path at(const std::string& utf8) const { return dir.path() / pathFromUtf8(utf8); }
  ScratchDir dir;
};

TEST_F(Utf8Names, EveryCommandReadsAndWritesTheNamedFile) {
  // What the settings file must hold: the first start's record with the name in its one
  // byte per character (ö is 0xF6).
  ConfigRecord expected = startupRecord();
  expected.setInt32(fields::orgNameOff, 0);
  const std::uint8_t name[] = {'F', 0xF6, 'r', 's', 't', 'e', 'r', '1'};
  std::copy(std::begin(name), std::end(name), expected.bytes().begin() + fields::orgName.offset);
  ASSERT_FALSE(writeConfigFile(dir.file("expected.cfg"), expected));
  const std::vector<std::uint8_t> expectedBytes = bytesOf(dir.path() / "expected.cfg");

  for (const std::string& stem : {kUmlaut, kCjk}) {
    SCOPED_TRACE(stem);
    const std::string cfg = stem + ".cfg";
    ToolResult r = run({"new", "-o", cfg});
    ASSERT_EQ(r.status, 0) << r.err;
    r = run({"set", cfg, "orgNameOff=On", "orgName=" + kForester});
    ASSERT_EQ(r.status, 0) << r.err;
    r = run({"get", cfg, "orgName"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, kForester + "\n");
    EXPECT_EQ(bytesOf(at(cfg)), expectedBytes);

    r = run({"export", cfg, "-o", stem + ".json"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = run({"import", stem + ".json", "-o", stem + "-2.cfg"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(bytesOf(at(stem + "-2.cfg")), expectedBytes);
    r = run({"diff", cfg, stem + "-2.cfg"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    r = run({"check", cfg});
    EXPECT_NE(r.status, 2) << r.err;
  }
  EXPECT_EQ(namesIn(dir.path()),
            (std::set<std::string>{"expected.cfg", kUmlaut + ".cfg", kUmlaut + ".json",
                                   kUmlaut + "-2.cfg", kCjk + ".cfg", kCjk + ".json",
                                   kCjk + "-2.cfg"}));

  // An error names the file as it was typed.
  const ToolResult r = run({"get", kCjk + "-missing.cfg", "orgName"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("tarnwick-cfg: " + kCjk + "-missing.cfg: ", 0), 0u) << r.err;
}

// The guards that keep a file from being replaced by surprise find non-ASCII names too.
TEST_F(Utf8Names, ExistingFilesAreKeptWithoutForce) {
  for (const std::string& stem : {kUmlaut, kCjk}) {
    SCOPED_TRACE(stem);
    const std::string cfg = stem + ".cfg";
    ASSERT_EQ(run({"new", "-o", cfg}).status, 0);
    ASSERT_EQ(run({"set", cfg, "orgNameOff=On", "orgName=" + kForester}).status, 0);
    ASSERT_EQ(run({"export", cfg, "-o", stem + ".json"}).status, 0);
    const std::vector<std::uint8_t> before = bytesOf(at(cfg));

    ToolResult r = run({"new", "-o", cfg});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tarnwick-cfg: " + cfg + ": already exists (use --force to replace it)\n");
    r = run({"import", stem + ".json", "-o", cfg});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tarnwick-cfg: " + cfg + ": already exists (use --force to replace it)\n");
    r = run({"export", cfg, "-o", cfg});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tarnwick-cfg: " + cfg +
                         ": is the settings file being exported (use --force to replace it)\n");
    EXPECT_EQ(bytesOf(at(cfg)), before);
  }
}

TEST_F(Utf8Names, BatchAndOperatorDatabases) {
  const std::string folder = "Karten-\xC3\xBC";  // Karten-ü
  const std::string hut = "H\xC3\xBCtte-1";       // Hütte-1
  test::writeText(dir.file("cams.csv"), "camera,orgName\n" + hut + "," + kForester + "\n" + kCjk +
                                            ",ABCDEFGH\n");
  ASSERT_EQ(run({"new", "-o", kUmlaut + ".cfg"}).status, 0);
  ToolResult r = run({"batch", kUmlaut + ".cfg", "cams.csv", "-o", folder});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "2 cameras written to " + folder + " (NAME/menu.cfg)\n");
  EXPECT_EQ(namesIn(at(folder)), (std::set<std::string>{hut, kCjk}));
  for (const auto& [camera, orgName] :
       {std::pair{hut, kForester}, std::pair{kCjk, std::string("ABCDEFGH")}}) {
    const std::filesystem::path written = at(folder) / pathFromUtf8(camera) / "menu.cfg";
    ASSERT_TRUE(std::filesystem::is_regular_file(written)) << camera;
    r = run({"get", utf8FromPath(std::filesystem::relative(written, dir.path())), "orgName"});
    EXPECT_EQ(r.out, orgName + "\n") << r.err;
  }
  // Run again, the files are there and kept.
  r = run({"batch", kUmlaut + ".cfg", "cams.csv", "-o", folder});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(hut), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("already exists"), std::string::npos) << r.err;

  const std::string db = "Netz-" + kCjk + ".db";
  r = run({"operators", "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  test::writeText(dir.file("table.json"), r.out);
  r = run({"oper-db", "build", "table.json", "-o", db});
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_TRUE(std::filesystem::is_regular_file(at(db)));
  r = run({"oper-db", "dump", db});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("# " + db + ": ", 0), 0u) << r.out;
  r = run({"check", kUmlaut + ".cfg", "--db", db});
  EXPECT_NE(r.status, 2) << r.err;
}

}  // namespace
}  // namespace tarnwick::cli
