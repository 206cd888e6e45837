// What reaches the terminal: every error is one line, and control characters from file
// contents, paths and arguments are written as \xNN, the way get writes them in values; set
// reads those escapes back; a character outside the Basic Multilingual Plane is named by its
// code point.

#include <gtest/gtest.h>

#include <algorithm>

#include "ToolRun.h"
#include "cli/ByteText.h"
#include "cli/StartupRecord.h"
#include "config/ConfigFile.h"
#include "config/FieldCatalog.h"
#include "ui/toolkit/headless/Script.h"

namespace tarnwick::cli {
namespace {

using test::runTool;
using test::ScratchDir;
using test::ToolResult;

// One line, ending in a newline, without a byte a terminal would act on.
void expectCleanLine(const std::string& err) {
  ASSERT_FALSE(err.empty());
  EXPECT_EQ(err.back(), '\n');
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  for (std::size_t i = 0; i + 1 < err.size(); ++i) {
    const auto c = static_cast<unsigned char>(err[i]);
    EXPECT_FALSE(c < 0x20 || c == 0x7F) << "control byte " << int{c} << " in: " << err;
  }
}

TEST(Messages, ControlCharactersInFilesPathsAndArgumentsAreEscaped) {
  ScratchDir dir;
  test::writeText(dir.file("evil.json"), "{\"\\u001b[2J\": 1}");
  ToolResult r = runTool({"import", "evil.json", "-o", "out.cfg"}, dir.path());
  EXPECT_EQ(r.status, 1);
  expectCleanLine(r.err);
  EXPECT_EQ(r.err, "tarnwick-cfg: evil.json: $['\\x1B[2J']: unknown key\n");

  r = runTool({"show", "two\nlines.cfg"}, dir.path());
  expectCleanLine(r.err);
#ifdef _WIN32
  // Windows refuses a control character in a file name outright.
  EXPECT_EQ(r.err, "tarnwick-cfg: two\\x0Alines.cfg: Invalid name\n");
#else
  EXPECT_EQ(r.err, "tarnwick-cfg: two\\x0Alines.cfg: No such file or directory\n");
#endif

  ASSERT_FALSE(writeConfigFile(dir.file("menu.cfg"), startupRecord()));
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"get", "menu.cfg", "no\x1b" "field"},
        std::vector<std::string>{"set", "menu.cfg", "no\x1b" "field=1"},
        std::vector<std::string>{"set", "menu.cfg", "bare\x1b" "word"},
        std::vector<std::string>{"no\x1b" "command"},
        std::vector<std::string>{"batch", "menu.cfg", "cams\x1b.csv", "-o", "cards"},
        std::vector<std::string>{"check", "menu.cfg", "gone\x1b.cfg"}}) {
    r = runTool(args, dir.path());
    EXPECT_NE(r.status, 0);
    expectCleanLine(r.err);
    EXPECT_NE(r.err.find("\\x1B"), std::string::npos) << r.err;
  }
#ifndef TARNWICK_NO_APNS
  r = runTool({"oper-db", "build", "--from-apns", "x.xml", "--countries", "DE,\x1b[2J", "-o",
               "x.db"},
              dir.path());
  EXPECT_EQ(r.status, 2);
  expectCleanLine(r.err);
  EXPECT_EQ(r.err.rfind("tarnwick-cfg: --countries: ", 0), 0u) << r.err;
#endif
  // A camera name with a line end and a bell refused by batch: one line, escaped.
  test::writeText(dir.file("cams.csv"), "camera\n\"a\nb\x07\"\n");
  r = runTool({"batch", "menu.cfg", "cams.csv", "-o", "cards"}, dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("\"a\\x0Ab\\x07\" holds a character"), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
#ifndef _WIN32
  // check's findings name the file as get names values.
  ConfigRecord odd = startupRecord();
  odd.setUInt32(fields::videoLength, 200);
  ASSERT_FALSE(writeConfigFile(dir.file("odd\x1b.cfg"), odd));
  r = runTool({"check", "odd\x1b.cfg"}, dir.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out.rfind("odd\\x1B.cfg: videoLength = ", 0), 0u) << r.out;
#endif
}

TEST(Messages, SetReadsBackTheEscapesGetPrints) {
  ScratchDir dir;
  ASSERT_FALSE(writeConfigFile(dir.file("menu.cfg"), startupRecord()));
  // A control character, a C1 control and a backslash that starts no escape of get's.
  ToolResult r = runTool({"set", "menu.cfg", "mmsApn=a\\x1Bb\\x85c\\x41d\\x"}, dir.path());
  ASSERT_EQ(r.status, 0) << r.err;
  r = runTool({"get", "menu.cfg", "mmsApn"}, dir.path());
  EXPECT_EQ(r.out, "a\\x1Bb\\x85c\\x41d\\x\n");
  ConfigRecord record;
  ASSERT_EQ(errorKind(readConfigFile(dir.file("menu.cfg"), record)), std::nullopt);
  const auto bytes = record.field(fields::mmsApn);
  const std::string stored(bytes.begin(), bytes.begin() + 12);
  EXPECT_EQ(stored, std::string("a\x1b" "b\x85" "c\\x41d\\x"));
  // What get printed goes back in unchanged.
  r = runTool({"set", "menu.cfg", "mmsApn=a\\x1Bb\\x85c\\x41d\\x"}, dir.path());
  ASSERT_EQ(r.status, 0) << r.err;
  ConfigRecord again;
  ASSERT_EQ(errorKind(readConfigFile(dir.file("menu.cfg"), again)), std::nullopt);
  EXPECT_EQ(again, record);
}

TEST(Messages, CharactersOutsideTheBmpAreNamedByTheirCodePoint) {
  EXPECT_EQ(utf8ToLatin1("a\xF0\x9F\x98\x80").error,
            "the character U+1F600 cannot be stored (only U+0001-U+00FF fit one byte)");
  EXPECT_EQ(utf8ToAnsi("\xF0\x9F\x98\x80").error,
            "the character U+1F600 has no Windows-1252 byte");
  EXPECT_EQ(utf8ToLatin1("\xC4\x80").error,
            "the character U+0100 cannot be stored (only U+0001-U+00FF fit one byte)");
  EXPECT_EQ(describeCodePoint(0x10FFFF), "U+10FFFF");
}

TEST(Messages, UiScriptFileNamesCannotHoldAZeroCharacter) {
  for (const char* word : {"save-file", "open-file"}) {
    const auto parsed = tk::parseScript(std::string(word) + " \"abc\\u0000def.cfg\"\n");
    const auto* error = std::get_if<tk::ScriptSyntaxError>(&parsed);
    ASSERT_NE(error, nullptr) << word;
    EXPECT_EQ(error->line, 1);
    EXPECT_EQ(error->message, std::string(word) + ": a file name cannot hold the character U+0000");
  }
}

}  // namespace
}  // namespace tarnwick::cli
