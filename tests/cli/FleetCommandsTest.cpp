// batch, check and oper-db build --from-apns, run as the real program: what each writes, what
// it refuses and how it says so.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <nlohmann/json.hpp>

#include "FakeSystemRoot.h"
#include "SystemReasons.h"
#include "ToolRun.h"
#include "config/ConfigFile.h"
#include "config/FieldCatalog.h"
#include "config/TextConversions.h"

namespace tarnwick::cli {
namespace {

using test::runTool;
using test::ScratchDir;
using test::ToolResult;
using test::writeText;
using Json = nlohmann::json;
namespace fs = std::filesystem;

int lineCount(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

ConfigRecord load(const fs::path& path) {
  ConfigRecord record;
  EXPECT_EQ(errorKind(readConfigFile(path.string(), record)), std::nullopt) << path;
  return record;
}

std::string textField(const ConfigRecord& r, const FieldInfo& field) {
  const auto bytes = r.field(field);
  std::string out;
  for (const std::uint8_t b : bytes) {
    if (b != 0) out.push_back(static_cast<char>(b));
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string digits(const ConfigRecord& r, const FieldInfo& field) {
  std::string out;
  for (const std::uint8_t b : r.field(field)) out.push_back(static_cast<char>('0' + b));
  return out;
}

std::size_t filesUnder(const fs::path& folder) {
  std::error_code ec;
  if (!fs::exists(folder, ec)) return 0;
  return static_cast<std::size_t>(std::count_if(
      fs::recursive_directory_iterator(folder), fs::recursive_directory_iterator(),
      [](const fs::directory_entry& e) { return e.is_regular_file(); }));
}

class Fleet : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(run({"new", "-o", "base.cfg"}).status, 0); }
  ToolResult run(const std::vector<std::string>& args) { return runTool(args, dir.path()); }
  void write(const std::string& name, const std::string& text) { writeText(dir.file(name), text); }
  fs::path cards() const { return dir.path() / "cards"; }
  ScratchDir dir;
};

// --- batch ---

// A table of 1000 cameras; `bad` replaces the serial number of camera `badRow` (1-based).
std::string thousandCameras(int badRow, const std::string& bad) {
  std::string csv = "camera,serialNoOff,serialNo,passwordOff,password,orgNameOff,orgName,"
                    "phone1,mailbox1\r\n";
  for (int i = 1; i <= 1000; ++i) {
    char serial[8];
    std::snprintf(serial, sizeof serial, "%04d", i);
    csv += "cam-" + std::string(serial) + ",On," + (i == badRow ? bad : std::string(serial)) +
           ",On," + std::to_string(1000 + i) + ",On,\"Lease " + std::to_string(i % 10) +
           "\",+1555" + serial + ",cam" + serial + "@example.org\r\n";
  }
  return csv;
}

TEST_F(Fleet, OneRefusedValueAmongAThousandCamerasWritesNothingAndTheFixedTableWritesAll) {
  write("cameras.csv", thousandCameras(500, "05x0"));
  ToolResult r = run({"batch", "base.cfg", "cameras.csv", "-o", "cards"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.out.empty()) << r.out;
  // The camera of data row 500 is on table row 501 (the header is row 1).
  EXPECT_TRUE(contains(r.err, "cameras.csv: row 501: column 3 (serialNo): \"05x0\" refused: "))
      << r.err;
  EXPECT_TRUE(contains(r.err, "1 refusal in 1 of 1000 rows; nothing written")) << r.err;
  EXPECT_EQ(lineCount(r.err), 2);
  EXPECT_EQ(filesUnder(cards()), 0u);

  write("cameras.csv", thousandCameras(0, ""));
  r = run({"batch", "base.cfg", "cameras.csv", "-o", "cards"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "1000 cameras written to cards (NAME/menu.cfg)\n");
  EXPECT_EQ(filesUnder(cards()), 1000u);
  const ConfigRecord base = load(dir.path() / "base.cfg");
  for (const int i : {1, 500, 1000}) {
    char serial[8];
    std::snprintf(serial, sizeof serial, "%04d", i);
    const ConfigRecord cam = load(cards() / ("cam-" + std::string(serial)) / "menu.cfg");
    EXPECT_EQ(digits(cam, fields::serialNo), serial);
    EXPECT_EQ(digits(cam, fields::password), std::to_string(1000 + i));
    EXPECT_EQ(cam.getInt32(fields::serialNoOff), 0);
    EXPECT_EQ(textField(cam, fields::orgName), "Lease " + std::to_string(i % 10));
    EXPECT_EQ(textField(cam, fields::mailbox1), "cam" + std::string(serial) + "@example.org");
    // Every field the table does not name is the base file's.
    ConfigRecord expected = cam;
    for (const FieldInfo* f : {&fields::serialNoOff, &fields::serialNo, &fields::passwordOff,
                               &fields::password, &fields::orgNameOff, &fields::orgName,
                               &fields::phone1, &fields::mailbox1}) {
      const auto from = base.field(*f);
      std::copy(from.begin(), from.end(), expected.field(*f).begin());
    }
    EXPECT_EQ(expected, base);
  }

  // Written files are kept without --force, and nothing else is written either.
  fs::remove_all(cards() / "cam-0007");
  r = run({"batch", "base.cfg", "cameras.csv", "-o", "cards"});
  EXPECT_EQ(r.status, 1);
  // Paths are shown the system's way: "cards\cam-0001\menu.cfg" on Windows.
  std::string shownErr = r.err;
#ifdef _WIN32
  std::replace(shownErr.begin(), shownErr.end(), '\\', '/');
#endif
  EXPECT_TRUE(contains(shownErr, "row 2: cards/cam-0001/menu.cfg already exists (use --force"))
      << r.err.substr(0, 300);
  EXPECT_TRUE(contains(r.err, "999 refusals in 999 of 1000 rows; nothing written"));
  EXPECT_FALSE(fs::exists(cards() / "cam-0007"));
}

TEST_F(Fleet, EveryRefusalIsListedWithItsRowAndColumn) {
  write("cameras.csv",
        "camera,videoLength,imageSize,timer1Off,timer1Start,timer1Stop\n"
        "a,10,VGA 640x480,Off,,\n"
        "b,ten,VGA 640x480,Off,,\n"        // row 3: videoLength
        "c,10,huge,Off,25:00,\n"           // row 4: imageSize and timer1Start
        "d,10,3,On,07:00,07:00\n"          // row 5: the timer as a whole
        "a,10,3,Off,,\n"                   // row 6: the same camera as row 2
        "A/B,10,3,Off,,\n"                 // row 7: not a folder name
        "e,10\n");                         // row 8: too few values
  const ToolResult r = run({"batch", "base.cfg", "cameras.csv", "-o", "cards"});
  EXPECT_EQ(r.status, 1);
  for (const char* line : {"row 3: column 2 (videoLength): \"ten\" refused",
                           "row 4: column 3 (imageSize): \"huge\" refused: not one of",
                           "row 4: column 5 (timer1Start): \"25:00\" refused: Illegal time!",
                           "row 5: column 6 (timer1Stop): \"07:00\" refused: ",
                           "row 6: column 1 (camera): camera \"a\" is also row 2",
                           "row 7: column 1 (camera): the camera name \"A/B\" holds",
                           "row 8: 2 values, the header has 6 columns (line 8)",
                           "7 refusals in 6 of 7 rows; nothing written"}) {
    EXPECT_TRUE(contains(r.err, line)) << line << "\n" << r.err;
  }
  EXPECT_EQ(lineCount(r.err), 8) << r.err;
  EXPECT_FALSE(fs::exists(cards()));
}

// Camera names as a memory card takes them, and what is already at each camera's place: all
// found before anything is written, each on one line with nothing a terminal would act on.
TEST_F(Fleet, CameraNamesAndTheirPlacesAreCheckedAsTheCardSeesThem) {
  write("cameras.csv",
        "camera,orgName\n"
        "\xC3\x89" "COLE,a\n"     // row 2
        "\xC3\xA9" "cole,b\n"     // row 3: one folder with row 2 on exFAT, FAT and NTFS
        "e\xCC\x81" "cole,c\n"    // row 4: the same, the accent written as a second character
        "\xCE\xA3,d\n"            // row 5: Σ
        "\xCF\x82,e\n"            // row 6: final ς
        "aux,f\n"                 // row 7: a device on Windows
        "LPT1.txt,g\n"            // row 8
        "bad\xFF,h\n"             // row 9: not UTF-8
        "\"two\nlines\",i\n"      // row 10
        "file,j\n"                // row 11: a file is there
        "fine,k\n");              // row 12: "Fine" is there
  fs::create_directories(cards() / "Fine");
  write("cards/file", "not a folder");
  const ToolResult r = run({"batch", "base.cfg", "cameras.csv", "-o", "cards", "--force"});
  EXPECT_EQ(r.status, 1);
  // Paths are shown the system's way: "cards\\file" on Windows.
  std::string shownErr = r.err;
#ifdef _WIN32
  for (std::size_t at = 0; (at = shownErr.find("cards\\", at)) != std::string::npos;) {
    shownErr[at + 5] = '/';
  }
#endif
  for (const char* line :
       {"row 3: column 1 (camera): camera \"\xC3\xA9" "cole\" is also row 2 as \"\xC3\x89" "COLE\"",
        "row 4: column 1 (camera): camera \"e\xCC\x81" "cole\" is also row 2",
        "row 6: column 1 (camera): camera \"\xCF\x82\" is also row 5",
        "row 7: column 1 (camera): the camera name \"aux\" is a device on Windows",
        "row 8: column 1 (camera): the camera name \"LPT1.txt\" is a device on Windows",
        "row 9: column 1 (camera): the camera name \"bad\\xFF\" is not UTF-8 text",
        "row 10: column 1 (camera): the camera name \"two\\x0Alines\" holds a character",
        "row 11: cards/file is there and is not a folder",
        "row 12: column 1 (camera): camera \"fine\" would be cards/Fine on a memory card",
        "9 refusals in 9 of 11 rows; nothing written"}) {
    EXPECT_TRUE(contains(shownErr, line)) << line << "\n" << r.err;
  }
  EXPECT_EQ(lineCount(r.err), 10) << r.err;
  EXPECT_EQ(r.err.find('\xFF'), std::string::npos);
  EXPECT_TRUE(fs::is_empty(cards() / "Fine"));  // nothing written

  // A table beyond the most cameras a batch takes is refused before its rows are looked at.
  std::string huge = "orgName\n";
  for (std::size_t i = 0; i <= 1'000'000; ++i) huge += "x\n";
  write("huge.csv", huge);
  const ToolResult big = run({"batch", "base.cfg", "huge.csv", "-o", "cards"});
  EXPECT_EQ(big.status, 1);
  EXPECT_EQ(big.err,
            "tarnwick-cfg: huge.csv: has 1000001 rows of cameras; batch takes 1000000 at most\n");
}

#ifndef _WIN32
// Links: a camera's folder or file that is a link is refused (nothing is written outside the
// output folder), and on the way to the output folder a link that another user planted in a
// shared folder such as /tmp is not followed.
TEST_F(Fleet, BatchWritesNothingThroughLinks) {
  fs::create_directories(dir.path() / "victim");
  write("victim/menu.cfg", "precious");
  fs::create_directories(cards() / "cam2");
  fs::create_directory_symlink(dir.path() / "victim", cards() / "cam1");
  fs::create_symlink(dir.path() / "victim" / "menu.cfg", cards() / "cam2" / "menu.cfg");
  write("cameras.csv", "camera,orgName\ncam1,a\ncam2,b\ncam3,c\n");
  ToolResult r = run({"batch", "base.cfg", "cameras.csv", "-o", "cards", "--force"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(contains(r.err, "row 2: cards/cam1 is a symbolic link")) << r.err;
  EXPECT_TRUE(contains(r.err, "row 3: cards/cam2/menu.cfg is a symbolic link")) << r.err;
  EXPECT_EQ(test::readBytes((dir.path() / "victim" / "menu.cfg").string()).size(), 8u);
  EXPECT_FALSE(fs::exists(cards() / "cam3"));

  if (::geteuid() != 0) GTEST_SKIP() << "giving a link to another account needs root";
  const fs::path shared = dir.path() / "shared";
  fs::create_directory(shared);
  fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
  fs::create_directory_symlink(dir.path() / "victim", shared / "cards");
  ASSERT_EQ(::lchown((shared / "cards").c_str(), 65534, 65534), 0);
  write("one.csv", "camera,orgName\nmenu-cam,a\n");
  r = run({"batch", "base.cfg", "one.csv", "-o", "shared/cards/x", "--force"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "tarnwick-cfg: shared/cards/x: Not following the symbolic link shared/cards: "
                   "it belongs to another user and lies in a folder anyone can write to\n");
  EXPECT_FALSE(fs::exists(dir.path() / "victim" / "x"));
}
#endif

TEST_F(Fleet, TheHeaderAndTheTableItselfAreCheckedFirst) {
  write("h.csv", "camera,serialNo,bogus,serialNo,camera\n1,1,1,1,1\n");
  ToolResult r = run({"batch", "base.cfg", "h.csv", "-o", "cards"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(contains(r.err, "row 1: column 3 (bogus): no such field")) << r.err;
  EXPECT_TRUE(contains(r.err, "row 1: column 4 (serialNo): a second column for the same field"));
  EXPECT_TRUE(contains(r.err, "row 1: column 5 (camera): a second camera column"));
  EXPECT_TRUE(contains(r.err, "the header is refused; nothing written"));

  write("q.csv", "camera,orgName\nx,\"open\n");
  r = run({"batch", "base.cfg", "q.csv", "-o", "cards"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "tarnwick-cfg: q.csv: line 2: a quoted field that is never closed\n");

  write("empty.csv", "camera,orgName\n");
  r = run({"batch", "base.cfg", "empty.csv", "-o", "cards"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(contains(r.err, "needs a header row of field names and a row per camera"));

  r = run({"batch", "missing.cfg", "empty.csv", "-o", "cards"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(contains(r.err, "missing.cfg"));
  EXPECT_EQ(run({"batch", "base.cfg", "empty.csv"}).status, 2);  // -o is required
  EXPECT_FALSE(fs::exists(cards()));
}

TEST_F(Fleet, WithoutACameraColumnFoldersAreNumberedAndEmptyCellsKeepTheBase) {
  // A spreadsheet's export: byte-order mark, CRLF, quoted texts with commas and quotes.
  write("t.csv", "\xEF\xBB\xBF" "orgName, phone1 ,mmsApn\r\n"
                 "\"A,B\",,\"x \"\"y\"\"\"\r\n"
                 ",5550100,\r\n");
  ASSERT_EQ(run({"set", "base.cfg", "orgName=Base", "phone1=123"}).status, 0);
  const ToolResult r = run({"batch", "base.cfg", "t.csv", "-o", "cards"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "2 cameras written to cards (NAME/menu.cfg)\n");
  const ConfigRecord one = load(cards() / "001" / "menu.cfg");
  EXPECT_EQ(textField(one, fields::orgName), "A,B");
  EXPECT_EQ(textField(one, fields::phone1), "123");
  EXPECT_EQ(textField(one, fields::mmsApn), "x \"y\"");
  const ConfigRecord two = load(cards() / "002" / "menu.cfg");
  EXPECT_EQ(textField(two, fields::orgName), "Base");
  EXPECT_EQ(textField(two, fields::phone1), "5550100");

  // Again: kept without --force, replaced with it.
  write("t.csv", "orgName\nNew\nNewer\n");
  EXPECT_EQ(run({"batch", "base.cfg", "t.csv", "-o", "cards"}).status, 1);
  EXPECT_EQ(textField(load(cards() / "001" / "menu.cfg"), fields::orgName), "A,B");
  EXPECT_EQ(run({"batch", "base.cfg", "t.csv", "-o", "cards", "--force"}).status, 0);
  EXPECT_EQ(textField(load(cards() / "001" / "menu.cfg"), fields::orgName), "New");
  EXPECT_EQ(textField(load(cards() / "002" / "menu.cfg"), fields::orgName), "Newer");
}

// --- check ---

TEST_F(Fleet, CheckFindsNothingInTheStartupFile) {
  const ToolResult r = run({"check", "base.cfg"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
}

TEST_F(Fleet, CheckListsEachProblemWithFieldValueAndReason) {
  // Each listed problem on a file of its own, made with the tool's own set where set allows
  // it and by bytes where it does not (the windows and set refuse some of these values).
  struct Case {
    std::vector<std::string> set;
    std::string line;
  };
  const std::vector<Case> cases{
      {{"videoLength=200"}, "videoLength = 200 sec: outside the camera's 5 s to 30 s"},
      {{"interval=1"}, "interval = 1 sec: outside the camera's 3 s to 60 min"},
      {{"passwordOff=On"}, "password = 0000: passwordOff is On and the code is unset (0000)"},
      {{"orgNameOff=On"}, "orgName = \"\": orgNameOff is On and the name is empty"},
      {{"smtpPort=4 65"}, "smtpPort = \"4 65\": not a decimal port number from 1 to 65535"},
      {{"dataOption=SMTP", "smtpPort=25", "smtpEmail=a@b"},
       "smtpServer = \"\": empty while Data Option is SMTP"},
      {{"dataOption=FTP"}, "ftpServer = \"\": empty while Data Option is FTP"},
      {{"mmsOption=QVGA"}, "phone1 = \"\": MMS Option is on and no phone number is given"},
      {{"networkMode=Auto", "countryIndex=4", "operatorIndex=1"},
       "operatorIndex = 1: Auto mode and the country has 1 operator (0-0)"},
      {{"orgName=Caf\xC3\xA9"}, "orgName = \"Caf\xC3\xA9\": holds characters outside printable"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::vector<std::string> args{"set", "base.cfg", "-o", "bad.cfg"};
    args.insert(args.end(), c.set.begin(), c.set.end());
    ASSERT_EQ(run(args).status, 0);
    const ToolResult r = run({"check", "bad.cfg"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.rfind("bad.cfg: " + c.line, 0), 0u) << r.out;
    EXPECT_EQ(lineCount(r.out), 1) << r.out;
  }
  // A list value outside its list, which set refuses: written as bytes.
  ConfigRecord r = load(dir.path() / "base.cfg");
  r.setInt32(fields::imageSize, 7);
  ASSERT_FALSE(writeConfigFile(dir.file("list.cfg"), r));
  const ToolResult list = run({"check", "list.cfg"});
  EXPECT_EQ(list.status, 1);
  EXPECT_EQ(list.out, "list.cfg: imageSize = (out of range: 7): not a position of its list (0-3)\n");
  // A clock that is no time, of a switch that is On, which set refuses too.
  r = load(dir.path() / "base.cfg");
  r.setInt32(fields::timer1Off, 0);
  r.setUInt32(fields::timer1Start, 70 * 256 + 99);
  r.setUInt32(fields::timer1Stop, 0x1300);
  ASSERT_FALSE(writeConfigFile(dir.file("clock.cfg"), r));
  const ToolResult clock = run({"check", "clock.cfg"});
  EXPECT_EQ(clock.status, 1);
  EXPECT_EQ(clock.out, "clock.cfg: timer1Start = 70:99 (out of range): timer1Off is On and the "
                       "time is out of range\n");
}

TEST_F(Fleet, CheckOfSeveralFilesAsJsonAndAgainstAnOperDb) {
  ASSERT_EQ(run({"set", "base.cfg", "-o", "bad.cfg", "videoLength=4", "countryIndex=2"}).status, 0);
  ToolResult r = run({"check", "--json", "base.cfg", "bad.cfg"});
  EXPECT_EQ(r.status, 1);
  const Json files = Json::parse(r.out);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0], Json::parse(R"({"file": "base.cfg", "problems": []})"));
  EXPECT_EQ(files[1]["file"], "bad.cfg");
  ASSERT_EQ(files[1]["problems"].size(), 1u);
  EXPECT_EQ(files[1]["problems"][0],
            Json::parse(R"({"field": "videoLength", "value": "4 sec", "raw": 4,
                            "reason": "outside the camera's 5 s to 30 s"})"));

  // Country 2 of a one-country oper.db does not exist; in the built-in table it does.
  write("one.json", R"({"countries": [{"name": "X", "operators": [{"name": "Y"}]}]})");
  ASSERT_EQ(run({"oper-db", "build", "one.json", "-o", "oper.db"}).status, 0);
  r = run({"check", "bad.cfg", "--db", "oper.db"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(contains(r.out, "countryIndex = 2: Auto mode and the operator table has 1 country"))
      << r.out;

  // A file that cannot be read: reported, the others still checked, exit status 2.
  r = run({"check", "base.cfg", "missing.cfg", "bad.cfg"});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(contains(r.err, "missing.cfg")) << r.err;
  EXPECT_TRUE(contains(r.out, "bad.cfg: videoLength")) << r.out;
  // As JSON, each file that cannot be read says why.
  write("short.cfg", "too short");
  r = run({"check", "--json", "missing.cfg", "short.cfg"});
  EXPECT_EQ(r.status, 2);
  const Json unread = Json::parse(r.out);
  ASSERT_EQ(unread.size(), 2u);
  EXPECT_EQ(unread[0]["error"].get<std::string>().rfind(testing::kMissingFileReason, 0), 0u)
      << unread[0];
  EXPECT_EQ(unread[1]["error"], "shorter than the 1792 bytes of a settings file");
  EXPECT_EQ(run({"check", "base.cfg", "--db", "nothing.db"}).status, 2);
}

// --- cards ---

TEST_F(Fleet, CardsListsEachCardAndWhatItsMenuCfgHolds) {
#ifdef _WIN32
  GTEST_SKIP() << "the prepared system root is a Linux one, made of symbolic links";
#endif
  // No card yet.
  testing::FakeSystemRoot system(dir.path() / "root");
  ToolResult r = run({"cards", "--root", "root"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "no memory card found\n");

  system.addDisk("sdb", "8:16", "usb", true);
  system.addPartition("sdb", "sdb1", "8:17");
  system.label("sdb1", "CAM\\x2001");
  system.mount("8:17", "/media/ann/CAM 01", "vfat");
  // The program's own save dialog, run with that root, starts on the one card.
  write("dialogs.ui", "expect-dialog 102\nclick 1117\n"
                      "expect-file-dialog \"root/media/ann/CAM 01\" \"menu.cfg\"\n"
                      "save-file cancel\nkey esc\n");
  r = run({"ui", "--root", "root", "dialogs.ui"});
  EXPECT_EQ(r.status, 0) << r.err;

  system.addDisk("sdc", "8:32", "usb", true);
  system.mount("8:32", "/media/ann/EMPTY", "exfat");
  system.addDisk("sdd", "8:48", "usb", true);
  system.mount("8:48", "/media/ann/SHORT", "vfat");
  ASSERT_EQ(run({"set", "base.cfg", "-o", "root/media/ann/CAM 01/menu.cfg", "workMode=Video",
                 "networkMode=Auto", "countryIndex=3", "operatorIndex=1", "dataOption=SMTP",
                 "passwordOff=On", "password=4821", "serialNoOff=On", "serialNo=7"})
                .status,
            0);
  write("root/media/ann/SHORT/menu.cfg", "short");

  r = run({"cards", "--root", "root"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(lineCount(r.out), 6) << r.out;
  EXPECT_TRUE(contains(r.out, "root/media/ann/CAM 01 (label \"CAM 01\", vfat, ")) << r.out;
  // Data Option SMTP without a server, port or e-mail: three findings.
  EXPECT_TRUE(contains(r.out, "\n  menu.cfg: valid; Mode Video; network Auto: Belgium / Mobistar; "
                              "Data Option SMTP; on: password, serialNo; 3 findings"))
      << r.out;
  EXPECT_TRUE(contains(r.out, "root/media/ann/EMPTY (no label, exfat, ")) << r.out;
  EXPECT_TRUE(contains(r.out, "\n  menu.cfg: none at the card's root\n")) << r.out;
  EXPECT_TRUE(contains(r.out, "\n  menu.cfg: not valid: shorter than the 1792 bytes of a "
                              "settings file\n"))
      << r.out;

  r = run({"cards", "--root", "root", "--json"});
  EXPECT_EQ(r.status, 0);
  const Json cards = Json::parse(r.out);
  ASSERT_EQ(cards.size(), 3u);
  EXPECT_EQ(cards[0]["label"], "CAM 01");
  EXPECT_TRUE(cards[0]["freeBytes"].is_number());
  EXPECT_EQ(cards[0]["settings"]["switchesOn"], Json::parse(R"(["password", "serialNo"])"));
  EXPECT_EQ(cards[0]["settings"]["findings"], 3);
  EXPECT_EQ(cards[1]["settings"], Json::parse(R"({"path": "root/media/ann/EMPTY/menu.cfg",
                                                  "present": false})"));
  EXPECT_EQ(cards[2]["settings"]["valid"], false);
}

// --- oper-db build --from-apns ---

const char* const kApnList = TARNWICK_SOURCE_DIR "/data/apns-conf.xml";

struct WorldFacts {
  std::size_t countries = 0;
  std::size_t operators = 0;
  std::size_t withData = 0;
};

WorldFacts factsOf(const Json& table) {
  WorldFacts facts;
  facts.countries = table["countries"].size();
  for (const Json& c : table["countries"]) {
    for (const Json& o : c["operators"]) {
      ++facts.operators;
      facts.withData += !o["dataApn"].get<std::string>().empty();
    }
  }
  return facts;
}

TEST_F(Fleet, TheWorldTableHoldsMostCountriesAndMostOperatorsCarryADataApn) {
#ifdef TARNWICK_NO_APNS
  GTEST_SKIP() << "this build has no XML parser for apns-conf.xml (no expat for mingw-w64)";
#endif
  ToolResult r = run({"oper-db", "build", "--from-apns", kApnList, "-o", "oper-world.db"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("oper-world.db: ", 0), 0u) << r.out;
  r = run({"oper-db", "dump", "oper-world.db", "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  const WorldFacts world = factsOf(Json::parse(r.out));
  EXPECT_GE(world.countries, 150u);
  EXPECT_LE(world.countries, 255u);
  EXPECT_GE(world.withData * 5, world.operators * 4) << world.withData << " of " << world.operators;
  EXPECT_NE(r.out.find("\"name\": \"India\""), std::string::npos);
  EXPECT_NE(r.out.find("\"name\": \"Peru\""), std::string::npos);

  // --countries keeps the ones named, in the table's order.
  r = run({"oper-db", "build", "--from-apns", kApnList, "--countries", "pe,India,ID", "-o", "three.db"});
  ASSERT_EQ(r.status, 0) << r.err;
  const Json three = Json::parse(run({"oper-db", "dump", "three.db", "--json"}).out);
  ASSERT_EQ(three["countries"].size(), 3u);
  EXPECT_EQ(three["countries"][0]["name"], "India");
  EXPECT_EQ(three["countries"][1]["name"], "Indonesia");
  EXPECT_EQ(three["countries"][2]["name"], "Peru");
  r = run({"oper-db", "build", "--from-apns", kApnList, "--countries", "PE", "-o", "one.db"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("one.db: 1 country, ", 0), 0u) << r.out;
}

TEST_F(Fleet, FromApnsRefusesWhatItCannotRead) {
#ifdef TARNWICK_NO_APNS
  GTEST_SKIP() << "this build has no XML parser for apns-conf.xml (no expat for mingw-w64)";
#endif
  write("broken.xml", "<apns>\n<apn mcc=\"262\"\n</apns>\n");
  ToolResult r = run({"oper-db", "build", "--from-apns", "broken.xml", "-o", "oper.db"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("tarnwick-cfg: broken.xml: line 3: ", 0), 0u) << r.err;
  r = run({"oper-db", "build", "--from-apns", kApnList, "--countries", "Atlantis", "-o", "x.db"});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(contains(r.err, "Atlantis")) << r.err;
  EXPECT_EQ(run({"oper-db", "build", "t.json", "--from-apns", kApnList, "-o", "x.db"}).status, 2);
  EXPECT_EQ(run({"oper-db", "build", "--countries", "DE", "-o", "x.db"}).status, 2);
  EXPECT_EQ(run({"oper-db", "build", "-o", "x.db"}).status, 2);
  EXPECT_FALSE(fs::exists(dir.path() / "oper.db"));
  EXPECT_FALSE(fs::exists(dir.path() / "x.db"));
}

TEST_F(Fleet, TheNetworkWindowListsTheWorldTable) {
#ifdef TARNWICK_NO_APNS
  GTEST_SKIP() << "this build has no XML parser for apns-conf.xml (no expat for mingw-w64)";
#endif
  ASSERT_EQ(run({"oper-db", "build", "--from-apns", kApnList, "-o", "oper.db"}).status, 0);
  const Json table = Json::parse(run({"oper-db", "dump", "oper.db", "--json"}).out);
  // Germany's operator with the most values filled in.
  const Json& countries = table["countries"];
  std::size_t country = 0;
  while (country < countries.size() && countries[country]["name"] != "Germany") ++country;
  ASSERT_LT(country, countries.size());
  const Json& operators = countries[country]["operators"];
  static const char* const kFields[] = {"mmsApn",  "mmsAccount", "mmsPassword",
                                        "dataApn", "dataAccount", "dataPassword",
                                        "mmscUrl", "mmsProxy",    "mmsPort"};
  const auto filled = [&](const Json& o) {
    return std::count_if(std::begin(kFields), std::end(kFields),
                         [&](const char* f) { return !o[f].get<std::string>().empty(); });
  };
  std::size_t best = 0;
  for (std::size_t i = 1; i < operators.size(); ++i) {
    if (filled(operators[i]) > filled(operators[best])) best = i;
  }
  ASSERT_GE(filled(operators[best]), 5);
  // The nine boxes of the window, in the order of the operator's fields 1-9.
  const int boxes[] = {1081, 1083, 1064, 1105, 1107, 1067, 1085, 1087, 1119};
  std::string script = "expect-dialog 102\nclick 1031\nexpect-dialog 135\n";
  script += "expect-count 1124 " + std::to_string(countries.size()) + "\n";
  script += "expect-item 1124 " + std::to_string(country) + " \"Germany\"\n";
  script += "select 1124 " + std::to_string(country) + "\n";
  script += "expect-count 1126 " + std::to_string(operators.size()) + "\n";
  script += "select 1126 " + std::to_string(best) + "\n";
  script += "click 1152\nexpect-dialog 137\ntype 1154 \"vintosk[4082736]\"\nclick 1\n"
            "expect-dialog 135\n";
  for (std::size_t i = 0; i < 9; ++i) {
    script += "expect-text " + std::to_string(boxes[i]) + " \"" +
              operators[best][kFields[i]].get<std::string>() + "\"\n";
  }
  script += "key esc\nexpect-dialog 102\nkey esc\n";
  write("world.ui", script);
  const ToolResult r = run({"ui", "world.ui"});
  EXPECT_EQ(r.status, 0) << r.err << "\n" << script;
}

}  // namespace
}  // namespace tarnwick::cli
