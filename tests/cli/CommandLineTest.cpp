// Each command of the real tarnwick-cfg program, on its success and failure paths: exit
// status, output, the one-line error naming the file, and what is (not) written.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "SystemReasons.h"
#include "ToolRun.h"
#include "cli/RecordJson.h"
#include "cli/StartupRecord.h"
#include "config/ConfigFile.h"
#include "config/FieldCatalog.h"

namespace tarnwick::cli {
namespace {

using test::readBytes;
using test::runTool;
using test::ScratchDir;
using test::ToolResult;
using Json = nlohmann::ordered_json;

int lineCount(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// A failure is reported as exactly one line on standard error, naming `file`.
void expectOneLineError(const ToolResult& r, const std::string& file, const std::string& reason) {
  EXPECT_EQ(lineCount(r.err), 1) << r.err;
  EXPECT_EQ(r.err.rfind("tarnwick-cfg: " + file + ": ", 0), 0u) << r.err;
  EXPECT_NE(r.err.find(reason), std::string::npos) << r.err;
}

ConfigRecord load(const std::string& path) {
  ConfigRecord record;
  EXPECT_EQ(errorKind(readConfigFile(path, record)), std::nullopt) << path;
  return record;
}

void save(const std::string& path, const ConfigRecord& record) {
  ASSERT_FALSE(writeConfigFile(path, record)) << path;
}

class CommandLine : public ::testing::Test {
 protected:
  ToolResult run(const std::vector<std::string>& args) { return runTool(args, dir.path()); }
  ScratchDir dir;
};

TEST_F(CommandLine, VersionHelpAndUsageErrors) {
  ToolResult r = run({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "tarnwick-cfg 4.22\n");

  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"new"}, {"show"}, {"get"}, {"set"}, {"export"}, {"import"},
        {"diff"}, {"operators"}, {"oper-db"}, {"oper-db", "dump"}, {"oper-db", "build"}, {"ui"}}) {
    std::vector<std::string> args = command;
    args.push_back("--help");
    r = run(args);
    EXPECT_EQ(r.status, 0) << command.back();
    EXPECT_NE(r.out.find("Example:\n  tarnwick-cfg " + command.front()), std::string::npos)
        << command.back() << ":\n" << r.out;
  }

  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{}, {"frobnicate"}, {"show"}, {"show", "a", "b"},
        {"new", "--bogus"}, {"oper-db", "build", "table.json"}, {"get", "menu.cfg"}}) {
    r = run(bad);
    EXPECT_EQ(r.status, 2) << (bad.empty() ? "(nothing)" : bad.front());
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
}

TEST_F(CommandLine, SetHelpNamesEveryFieldWithItsMeaningAndLabel) {
  const ToolResult r = run({"set", "--help"});
  ASSERT_EQ(r.status, 0);
  for (const FieldInfo* field : fieldCatalog()) {
    std::string line = "\n  " + std::string(field->name) + ": " + std::string(field->meaning);
    if (!field->label.empty()) line += " [" + std::string(field->label) + "]";
    EXPECT_NE(r.out.find(line + "\n"), std::string::npos) << field->name;
  }
}

TEST_F(CommandLine, NewWritesTheStartupFileAndKeepsExistingFiles) {
  ToolResult r = run({"new"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(readBytes(dir.file("menu.cfg")).size(), kRecordSize);
  EXPECT_EQ(load(dir.file("menu.cfg")), startupRecord());

  const ConfigRecord other = test::randomRecord(7);
  save(dir.file("camera.cfg"), other);
  r = run({"new", "-o", "camera.cfg"});
  EXPECT_EQ(r.status, 1);
  expectOneLineError(r, "camera.cfg", "already exists");
  EXPECT_EQ(load(dir.file("camera.cfg")), other);

  r = run({"new", "-o", "camera.cfg", "--force"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(load(dir.file("camera.cfg")), startupRecord());

  r = run({"new", "-o", "no-such-folder/menu.cfg"});
  EXPECT_EQ(r.status, 1);
  expectOneLineError(r, "no-such-folder/menu.cfg", "");
}

TEST_F(CommandLine, DashWritesToStandardOutputAndLostOutputIsAFailure) {
  // "-o -" writes the file's bytes to standard output and creates no file named "-".
  ToolResult r = run({"new", "-o", "-"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto image = encodeConfigImage(startupRecord());
  EXPECT_EQ(r.out, std::string(image.begin(), image.end()));
  EXPECT_FALSE(std::filesystem::exists(dir.file("-")));

  save(dir.file("menu.cfg"), startupRecord());
  r = run({"set", "menu.cfg", "imageSize=0", "-o", "-"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.size(), kRecordSize);
  EXPECT_EQ(load(dir.file("menu.cfg")), startupRecord());  // the input is left alone

#ifndef _WIN32
  // Output that cannot be written is never reported as success (Windows has no /dev/full).
  const std::string command = std::string("cd '") + dir.path().string() + "' && '" +
                              TARNWICK_CFG_PATH + "' show menu.cfg >/dev/full 2>/dev/null";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
#endif
}

TEST_F(CommandLine, ShowAndGetPresentEveryField) {
  ConfigRecord record = startupRecord();
  record.setInt32(fields::language, 20);  // out of range: shown, not hidden
  save(dir.file("menu.cfg"), record);

  ToolResult r = run({"show", "menu.cfg"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lineCount(r.out), static_cast<int>(fieldCatalog().size()));
  EXPECT_EQ(r.out.rfind("imageSize       0x004  5M  2592x1944", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("language        0x0cc  (out of range: 20)"), std::string::npos);
  EXPECT_NE(r.out.find("orgName         0x474  \"\""), std::string::npos);

  r = run({"show", "menu.cfg", "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  const Json rows = Json::parse(r.out);
  ASSERT_EQ(rows.size(), fieldCatalog().size());
  EXPECT_EQ(rows[0]["name"], "imageSize");
  EXPECT_EQ(rows[0]["offset"], 4);
  EXPECT_EQ(rows[0]["value"], "5M  2592x1944");
  EXPECT_EQ(rows[0]["raw"], 1);
  EXPECT_EQ(rows[6]["name"], "language");
  EXPECT_EQ(rows[6]["inRange"], false);

  r = run({"get", "menu.cfg", "imageSize", "interval", "timeLapse", "serialNo", "orgNameOff"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "5M  2592x1944\n10 sec\n0:00:00\n0000\nOff\n");

  r = run({"get", "menu.cfg", "imageSize", "imagesize"});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("imagesize: no such field"), std::string::npos);

  test::writeBytes(dir.file("short.cfg"), std::vector<std::uint8_t>(kRecordSize - 1, 0));
  for (const std::vector<std::string>& args : {std::vector<std::string>{"show", "short.cfg"},
                                               {"get", "short.cfg", "imageSize"},
                                               {"export", "short.cfg"},
                                               {"set", "short.cfg", "imageSize=1"}}) {
    r = run(args);
    EXPECT_EQ(r.status, 1) << args.front();
    EXPECT_TRUE(r.out.empty()) << args.front();
    expectOneLineError(r, "short.cfg", "shorter than the 1792 bytes");
  }
  r = run({"show", "missing.cfg"});
  EXPECT_EQ(r.status, 1);
  expectOneLineError(r, "missing.cfg", tarnwick::testing::kMissingFileReason);
}

TEST_F(CommandLine, SetWritesAllOrNothing) {
  save(dir.file("menu.cfg"), startupRecord());
  const auto before = readBytes(dir.file("menu.cfg"));

  ToolResult r = run({"set", "menu.cfg", "imageSize=VGA 640x480", "serialNo=0042",
                      "timeLapse=1:02:03", "smsInterval=0:05"});
  EXPECT_EQ(r.status, 1);
  expectOneLineError(r, "menu.cfg", "smsInterval=0:05 refused: Interval must be 10 mins at least!");
  EXPECT_EQ(readBytes(dir.file("menu.cfg")), before);

  r = run({"set", "menu.cfg", "imageSize=VGA 640x480", "serialNo=0042", "timeLapse=1:02:03",
           "-o", "out.cfg"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(readBytes(dir.file("menu.cfg")), before);  // -o leaves the input alone
  const ConfigRecord out = load(dir.file("out.cfg"));
  EXPECT_EQ(out.getInt32(fields::imageSize), 3);
  EXPECT_EQ(out.readUInt32(fields::timeLapse.offset), 0x010203u);
  ConfigRecord expected = startupRecord();
  expected.setInt32(fields::imageSize, 3);
  expected.setUInt32(fields::timeLapse, 0x010203);
  const auto code = expected.field(fields::serialNo);
  code[2] = 4, code[3] = 2;
  EXPECT_EQ(out, expected);  // nothing else changed

  r = run({"set", "menu.cfg", "orgName=Forest"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(run({"get", "menu.cfg", "orgName"}).out, "Forest\n");

  for (const char* bad : {"imageSize", "nosuch=1"}) {
    r = run({"set", "menu.cfg", bad});
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
  }
}

TEST_F(CommandLine, ExportImportGiveBackTheSameBytes) {
  for (std::uint32_t seed = 0; seed < 4; ++seed) {
    // Written raw, so the image is whatever the bytes say, out-of-range values included.
    const ConfigRecord image = test::randomRecord(seed + 100);
    test::writeBytes(dir.file("in.cfg"), {image.bytes().begin(), image.bytes().end()});
    ToolResult r = run({"export", "in.cfg", "-o", "in.json"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = run({"import", "in.json", "-o", "out.cfg", "--force"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readBytes(dir.file("out.cfg")), readBytes(dir.file("in.cfg"))) << seed;
  }
  // Standard output carries the same document.
  ToolResult r = run({"export", "in.cfg"});
  ASSERT_EQ(r.status, 0);
  test::writeText(dir.file("copy.json"), r.out);
  EXPECT_EQ(readBytes(dir.file("copy.json")), readBytes(dir.file("in.json")));

  // Import defaults to menu.cfg.
  r = run({"import", "in.json"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(readBytes(dir.file("menu.cfg")), readBytes(dir.file("in.cfg")));

  test::writeText(dir.file("bad.json"), "{\"format\": \"tarnwick-cfg settings\", \"version\": 1, "
                                        "\"fields\": {\"imageSize\": \"big\"}}");
  r = run({"import", "bad.json", "-o", "new.cfg"});
  EXPECT_EQ(r.status, 1);
  expectOneLineError(r, "bad.json", "$.fields.imageSize: expected a whole number");
  EXPECT_FALSE(std::filesystem::exists(dir.file("new.cfg")));
}

TEST_F(CommandLine, DiffListsDifferencesInCatalogueOrder) {
  ConfigRecord a = startupRecord();
  save(dir.file("a.cfg"), a);
  save(dir.file("same.cfg"), a);
  ToolResult r = run({"diff", "a.cfg", "same.cfg"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.out.empty());

  ConfigRecord b = a;
  b.setUInt32(fields::timeLapse, 0x000500);
  b.setInt32(fields::imageSize, 3);
  const auto name = b.field(fields::mmsApn);
  std::fill(name.begin(), name.end(), std::uint8_t{0});  // reads "" like the spaces it replaced
  b.bytes()[0x10] = 0x42;                                // an unnamed byte
  save(dir.file("b.cfg"), b);
  r = run({"diff", "a.cfg", "b.cfg"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "imageSize: 5M  2592x1944 (1) -> VGA 640x480 (3)\n"
            "timeLapse: 0:00:00 -> 0:05:00\n"
            "mmsApn: \"\" -> \"\" (bytes " + [] {
              std::string s;
              for (int i = 0; i < 32; ++i) s += i ? " 20" : "20";
              s += " -> ";
              for (int i = 0; i < 32; ++i) s += i ? " 00" : "00";
              return s;
            }() + ")\n"
            "unnamed bytes 0x008-0x043: 1 byte differs\n");

  r = run({"diff", "a.cfg", "missing.cfg"});
  EXPECT_EQ(r.status, 2);
  expectOneLineError(r, "missing.cfg", "");
}

TEST_F(CommandLine, OperatorsAndOperDbBuildDump) {
  ToolResult r = run({"operators"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("# built-in table: 55 countries, 198 operators\n0  America\n    0  AT&T\n",
                        0),
            0u);
  EXPECT_NE(r.out.find("\n54  United Kingdom\n"), std::string::npos);

  r = run({"operators", "--json"});
  ASSERT_EQ(r.status, 0);
  const Json builtIn = Json::parse(r.out);
  EXPECT_EQ(builtIn["countries"].size(), 55u);

  // A local operator: build, dump, and the dump is the input.
  const Json table = {
      {"countries",
       Json::array({{{"index", 0},
                     {"name", "Freedonia"},
                     {"operators", Json::array({{{"index", 0},
                                                 {"name", "FreeTel"},
                                                 {"mmsApn", "mms.freetel"},
                                                 {"mmsAccount", ""},
                                                 {"mmsPassword", ""},
                                                 {"dataApn", "net.freetel"},
                                                 {"dataAccount", "user"},
                                                 {"dataPassword", "p\xC3\xA4ss"},
                                                 {"mmscUrl", "mms.freetel/servlets/mms"},
                                                 {"mmsProxy", "10.0.0.1"},
                                                 {"mmsPort", "8080"}}})}}})}};
  test::writeText(dir.file("table.json"), table.dump(2) + "\n");
  r = run({"oper-db", "build", "table.json", "-o", "oper.db"});
  ASSERT_EQ(r.status, 0) << r.err;
  r = run({"oper-db", "dump", "oper.db", "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Json::parse(r.out), table);
  r = run({"operators", "--db", "oper.db"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("    0  FreeTel\n        mmsApn        mms.freetel\n"), std::string::npos)
      << r.out;

  // The whole built-in table goes through oper.db unchanged as well.
  test::writeText(dir.file("builtin.json"), builtIn.dump());
  ASSERT_EQ(run({"oper-db", "build", "builtin.json", "-o", "big.db"}).status, 0);
  EXPECT_EQ(Json::parse(run({"oper-db", "dump", "big.db", "--json"}).out), builtIn);

  // Refusals write nothing.
  Json tooMany = table;
  for (int i = 0; i < 32; ++i) tooMany["countries"][0]["operators"].push_back({{"name", "x"}});
  test::writeText(dir.file("many.json"), tooMany.dump());
  r = run({"oper-db", "build", "many.json", "-o", "many.db"});
  EXPECT_EQ(r.status, 1);
  expectOneLineError(r, "many.json", "$.countries[0].operators: 33 operators");
  EXPECT_FALSE(std::filesystem::exists(dir.file("many.db")));

  test::writeBytes(dir.file("junk.db"), {0x10, 0x20, 0x30, 0x40});
  for (const std::vector<std::string>& args : {std::vector<std::string>{"oper-db", "dump", "junk.db"},
                                               {"operators", "--db", "junk.db"}}) {
    r = run(args);
    EXPECT_EQ(r.status, 1);
    expectOneLineError(r, "junk.db", "not an operator database");
  }
}

TEST_F(CommandLine, UiReplaysAScriptAgainstTheWholeProgram) {
  test::writeText(dir.file("ok.ui"), "# start, look, leave\n"
                                     "expect-dialog 102\n"
                                     "expect-caption \"Tarnwick V4.22\"\n"
                                     "expect-selection 1016 1\n"
                                     "key esc\n");
  ToolResult r = run({"ui", "ok.ui"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.err.empty());

  test::writeText(dir.file("bad.ui"), "expect-dialog 102\nexpect-selection 1016 3\nkey esc\n");
  r = run({"ui", "bad.ui"});
  EXPECT_EQ(r.status, 1);
  expectOneLineError(r, "bad.ui", "line 2");

  test::writeText(dir.file("open.ui"), "expect-dialog 102\n");  // ends with the window open
  r = run({"ui", "open.ui"});
  EXPECT_EQ(r.status, 1);
  expectOneLineError(r, "open.ui", "");

  r = run({"ui", "missing.ui"});
  EXPECT_EQ(r.status, 1);
  expectOneLineError(r, "missing.ui", tarnwick::testing::kMissingFileReason);
}

}  // namespace
}  // namespace tarnwick::cli
