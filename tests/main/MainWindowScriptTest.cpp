// Replays of the main window's user-visible flows: each script under scripts/ drives the whole
// program on the headless backend in a scratch folder; the files it saves are checked byte by
// byte afterwards.

#include "config/Cards.h"
#include "config/ConfigFile.h"
#include "config/ConfigRecord.h"
#include "config/Defaults.h"
#include "config/FieldCatalog.h"
#include "config/TextConversions.h"
#include "ui/main/CTarnwickApp.h"
#include "ui/toolkit/headless/ScriptRunner.h"

#include "FakeSystemRoot.h"
#include "ScratchDir.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace tarnwick {
namespace {

using testing::readBytes;
using testing::ScratchDir;
using testing::writeBytes;

ConfigRecord defaultsRecord() {
  ConfigRecord record;
  applyDefaults(record);
  return record;
}

// Every byte set, unnamed bytes included, so that a byte the program should leave alone but
// rewrites shows up.
ConfigRecord patternedRecord() {
  ConfigRecord record;
  std::uint32_t state = 0x9E3779B9u;
  for (std::uint8_t& b : record.bytes()) {
    state = state * 1664525u + 1013904223u;
    b = static_cast<std::uint8_t>(state >> 24);
  }
  return record;
}

// A patterned record whose form fields hold values the form shows and collects unchanged.
ConfigRecord stableRecord() {
  ConfigRecord r = patternedRecord();
  r.setInt32(fields::workMode, 1);
  r.setInt32(fields::language, 7);
  r.setInt32(fields::imageSize, 2);
  r.setInt32(fields::videoSize, 2);
  r.setInt32(fields::shotNumber, 1);
  r.setInt32(fields::shotNumberB, 1);
  r.setInt32(fields::pirSensitivity, 0);
  r.setInt32(fields::dateStamp, 1);
  r.setInt32(fields::recordAudio, 0);
  r.setInt32(fields::sdCycle, 0);
  r.setInt32(fields::gpsSwitch, 0);
  r.setInt32(fields::timeZone, 3);
  r.setUInt32(fields::videoLength, 12345);
  r.setUInt32(fields::interval, 75);
  r.setInt32(fields::passwordOff, 0);  // On: the password bytes stay as they are
  r.setInt32(fields::serialNoOff, 1);
  r.setUInt32(fields::serialNo, 0);
  r.setInt32(fields::timeLapseOff, 0);
  r.setInt32(fields::orgNameOff, 1);   // Off: the name is kept all the same
  r.setInt32(fields::smsCtrlOff, 1);   // Off: the SMS interval is kept all the same
  return r;
}

// Values the form cannot show as they are.
ConfigRecord oddRecord() {
  ConfigRecord r = stableRecord();
  r.setInt32(fields::workMode, -5);
  r.setInt32(fields::language, 20);
  r.setInt32(fields::imageSize, -1);
  r.setInt32(fields::timeZone, 24);
  r.setInt32(fields::shotNumber, 2);
  r.setInt32(fields::shotNumberB, 1);
  r.setInt32(fields::passwordOff, 7);
  r.setUInt32(fields::password, 0x04030201u);
  r.setUInt32(fields::serialNo, 0x08070605u);
  r.setInt32(fields::timeLapseOff, -1);
  r.setUInt32(fields::timeLapse, 0x00010203u);
  r.setUInt32(fields::interval, 150);
  r.setInt32(fields::orgNameOff, 3);
  return r;
}

// The factory defaults with an e-mail account on the "Gmail" row, sending by SMTP.
ConfigRecord gmailRecord() {
  ConfigRecord r = defaultsRecord();
  r.setInt32(fields::dataOption, 0);
  r.setUInt8(fields::smtpPreset, 6);
  textToField(u"smtp.gmail.com", r.field(fields::smtpServer));
  textToField(u"465", r.field(fields::smtpPort));
  textToField(u"a.b@gmail.com", r.field(fields::smtpEmail));
  textToField(u"app-password-1", r.field(fields::smtpPassword));
  return r;
}

std::vector<std::uint8_t> fileImage(const ConfigRecord& record) {
  const auto image = encodeConfigImage(record);
  return {image.begin(), image.end()};
}

void writeRecordFile(const std::string& path, const ConfigRecord& record) {
  writeBytes(path, fileImage(record));
}

// The record a saved file holds, checking first that it is exactly one record long.
ConfigRecord savedRecord(const std::string& path) {
  const std::vector<std::uint8_t> bytes = readBytes(path);
  EXPECT_EQ(bytes.size(), kRecordSize) << path;
  std::array<std::uint8_t, kRecordSize> image{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), kRecordSize), image.begin());
  return decodeConfigImage(image);
}

void expectSameRecord(const ConfigRecord& actual, const ConfigRecord& expected) {
  int reported = 0;
  for (std::size_t i = 0; i < kRecordSize && reported < 10; ++i) {
    if (actual.bytes()[i] != expected.bytes()[i]) {
      ADD_FAILURE() << "byte 0x" << std::hex << i << " is 0x" << int{actual.bytes()[i]}
                    << ", expected 0x" << int{expected.bytes()[i]};
      ++reported;
    }
  }
}

std::set<std::string> folderEntries() {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(".")) {
    names.insert(e.path().filename().string());
  }
  return names;
}

struct ScriptCase {
  const char* script;
  std::function<void()> setup;
  std::function<void()> check;
};

const ScriptCase kCases[] = {
    {"startup", [] {}, [] { expectSameRecord(programRecord(), defaultsRecord()); }},
    {"about", [] {}, [] {}},
    {"default_config", [] {},
     [] {
       // The password set through its dialog is gone, its switch Off.
       expectSameRecord(savedRecord("defaults.cfg"), defaultsRecord());
     }},
    {"load_sizes",
     [] {
       ConfigRecord shortRecord = defaultsRecord();
       shortRecord.setInt32(fields::language, 9);
       std::vector<std::uint8_t> shortImage = fileImage(shortRecord);
       shortImage.pop_back();
       writeBytes("short.cfg", shortImage);
       writeBytes("empty.cfg", {});
       std::filesystem::create_directory("folder.cfg");

       ConfigRecord exact = defaultsRecord();
       exact.setInt32(fields::language, 3);
       exact.setInt32(fields::imageSize, 0);
       exact.setUInt32(fields::videoLength, 17);
       exact.setUInt32(fields::interval, 65);
       exact.setInt32(fields::serialNoOff, 0);
       writeRecordFile("exact.cfg", exact);

       ConfigRecord head = defaultsRecord();
       head.setInt32(fields::language, 5);
       head.setUInt32(fields::videoLength, 25);
       std::vector<std::uint8_t> longImage = fileImage(head);
       longImage.resize(5000, 0xAA);
       writeBytes("long.cfg", longImage);
     },
     [] {
       ConfigRecord head = defaultsRecord();
       head.setInt32(fields::language, 5);
       head.setUInt32(fields::videoLength, 25);
       expectSameRecord(programRecord(), head);
     }},
    {"round_trip", [] { writeRecordFile("input.cfg", stableRecord()); },
     [] { EXPECT_EQ(readBytes("output.cfg"), readBytes("input.cfg")); }},
    {"rewrites", [] { writeRecordFile("odd.cfg", oddRecord()); },
     [] {
       ConfigRecord expected = oddRecord();
       expected.setInt32(fields::workMode, -1);
       expected.setInt32(fields::language, -1);
       expected.setInt32(fields::imageSize, -1);
       expected.setInt32(fields::timeZone, -1);
       expected.setInt32(fields::shotNumber, 1);
       expected.setInt32(fields::shotNumberB, 1);
       expected.setInt32(fields::passwordOff, 1);
       expected.setUInt32(fields::password, 0);
       expected.setUInt32(fields::serialNo, 0);
       expected.setInt32(fields::timeLapseOff, 1);
       expected.setUInt32(fields::timeLapse, 0);
       expected.setUInt32(fields::interval, 120);
       expected.setInt32(fields::orgNameOff, 1);
       expectSameRecord(savedRecord("rewritten.cfg"), expected);
       // No selection is stored as -1: 01 01 01 01 once negated.
       const std::vector<std::uint8_t> file = readBytes("rewritten.cfg");
       ASSERT_EQ(file.size(), kRecordSize);
       const std::vector<std::uint8_t> language(file.begin() + 0xcc, file.begin() + 0xd0);
       EXPECT_EQ(language, (std::vector<std::uint8_t>{1, 1, 1, 1}));
     }},
    {"defaults_after_load", [] { writeRecordFile("input.cfg", stableRecord()); },
     [] {
       // Fields with a default are reset; smsInterval, the data access point texts, the
       // network selections and every unnamed byte keep what the file gave them.
       ConfigRecord expected = stableRecord();
       applyDefaults(expected);
       expectSameRecord(savedRecord("reset.cfg"), expected);
     }},
    {"save_cancel", [] {},
     [] {
       EXPECT_TRUE(folderEntries().empty());
       const ConfigRecord& r = programRecord();
       EXPECT_EQ(r.getInt32(fields::language), 4);
       EXPECT_EQ(r.getInt32(fields::shotNumber), 2);
       EXPECT_EQ(r.getInt32(fields::shotNumberB), 2);
       EXPECT_EQ(r.getUInt32(fields::videoLength), 12u);
       EXPECT_EQ(r.getUInt32(fields::interval), 65u);
     }},
    {"save_twice", [] {},
     [] { EXPECT_EQ(savedRecord("twice.cfg").getInt32(fields::language), 7); }},
    {"save_failure", [] { std::filesystem::create_directory("taken.cfg"); },
     [] {
       // Nothing left behind by the failed saves: no folder made, no temporary file.
       EXPECT_EQ(folderEntries(), (std::set<std::string>{"menu.cfg", "taken.cfg"}));
       EXPECT_TRUE(std::filesystem::is_empty("taken.cfg"));
       expectSameRecord(savedRecord("menu.cfg"), defaultsRecord());
     }},
    {"refused_numbers", [] {},
     [] {
       // The refused video length stopped the exchange: the interval kept its 10 and was
       // combined with the "min" the user had picked.
       const ConfigRecord saved = savedRecord("refused.cfg");
       EXPECT_EQ(saved.getUInt32(fields::videoLength), 30u);
       EXPECT_EQ(saved.getUInt32(fields::interval), 70u);
       EXPECT_EQ(programRecord().getUInt32(fields::videoLength), 25u);
       EXPECT_EQ(programRecord().getUInt32(fields::interval), 70u);
     }},
    {"interval_table", [] {},
     [] { EXPECT_EQ(programRecord().getUInt32(fields::interval), 0xFFFFFFFFu / 60u + 60u); }},
    {"keys", [] {}, [] { expectSameRecord(programRecord(), defaultsRecord()); }},
    {"focus_and_arrows", [] {}, [] { expectSameRecord(programRecord(), defaultsRecord()); }},
    {"network_keeps_account", [] { writeRecordFile("gmail.cfg", gmailRecord()); },
     [] {
       const ConfigRecord saved = savedRecord("saved.cfg");
       EXPECT_EQ(fieldToText(saved.field(fields::smtpEmail)), u"a.b@gmail.com");
       EXPECT_EQ(fieldToText(saved.field(fields::smtpPassword)), u"app-password-1");
       EXPECT_EQ(saved.getUInt8(fields::smtpPreset), 6);
       EXPECT_EQ(fieldToText(saved.field(fields::smtpServer)), u"smtp.gmail.com");
     }},
    {"close_writes_nothing", [] {},
     [] {
       EXPECT_TRUE(folderEntries().empty());
       expectSameRecord(programRecord(), defaultsRecord());
     }},
    {"quit_question", [] {},
     [] { EXPECT_EQ(savedRecord("kept.cfg").getInt32(fields::language), 2); }},
    {"quit_without_saving", [] {},
     [] {
       EXPECT_TRUE(folderEntries().empty());
       EXPECT_EQ(programRecord().getInt32(fields::timer1Off), 0);
     }},
    {"nothing_to_lose", [] { writeRecordFile("odd.cfg", oddRecord()); }, [] {}},
    {"card_root",
     [] {
       testing::FakeSystemRoot system("root");
       system.addDisk("sdb", "8:16", "usb", true);
       system.addPartition("sdb", "sdb1", "8:17");
       system.mount("8:17", "/media/ann/CARD", "vfat");
       std::filesystem::create_directory("camera");
       writeRecordFile("camera/menu.cfg", stableRecord());
     },
     [] { EXPECT_EQ(readBytes("root/media/ann/CARD/menu.cfg"), readBytes("camera/menu.cfg")); }},
    {"switches", [] {},
     [] {
       const ConfigRecord saved = savedRecord("switches.cfg");
       EXPECT_EQ(saved.getInt32(fields::passwordOff), 0);
       EXPECT_EQ(saved.getUInt32(fields::password), 0x01020304u);  // digits 4 3 2 1
       EXPECT_EQ(saved.getInt32(fields::serialNoOff), 0);
       EXPECT_EQ(saved.getInt32(fields::timeLapseOff), 1);
       EXPECT_EQ(saved.getUInt32(fields::timeLapse), 0u);
       EXPECT_EQ(saved.getInt32(fields::orgNameOff), 1);
       const auto name = saved.field(fields::orgName);
       EXPECT_EQ(std::vector<std::uint8_t>(name.begin(), name.end()),
                 (std::vector<std::uint8_t>{'A', 'C', 'M', 'E', 0, 0, 0, 0}));
       EXPECT_EQ(saved.getInt32(fields::smsCtrlOff), 0);
       EXPECT_EQ(saved.getUInt32(fields::smsInterval), 0x011Eu);
       // Serial number 12 is the digit values 0 0 1 2, negated in the file.
       const std::vector<std::uint8_t> file = readBytes("switches.cfg");
       ASSERT_EQ(file.size(), kRecordSize);
       EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 0x46c, file.begin() + 0x470),
                 (std::vector<std::uint8_t>{0x00, 0x00, 0xFF, 0xFE}));
       // The Timer and MMS / 4G windows were cancelled: their fields keep the defaults.
       const ConfigRecord defaults = defaultsRecord();
       EXPECT_EQ(saved.getUInt32(fields::timer1Start), defaults.getUInt32(fields::timer1Start));
       const auto apn = saved.field(fields::mmsApn);
       const auto defaultApn = defaults.field(fields::mmsApn);
       EXPECT_TRUE(std::equal(apn.begin(), apn.end(), defaultApn.begin(), defaultApn.end()));
     }},
};

void PrintTo(const ScriptCase& c, std::ostream* os) { *os << c.script << ".ui"; }

class MainWindowScript : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(MainWindowScript, Replays) {
  const ScriptCase& c = GetParam();
#ifdef _WIN32
  if (std::string_view(c.script) == "save_failure") {
    GTEST_SKIP() << "the script expects the POSIX reason texts of its failed saves";
  }
  if (std::string_view(c.script) == "card_root") {
    GTEST_SKIP() << "the card is found in a Linux system root, made of symbolic links";
  }
#endif
  const std::vector<std::uint8_t> text =
      readBytes(std::string(TARNWICK_MAIN_SCRIPTS_DIR) + "/" + c.script + ".ui");
  ASSERT_FALSE(text.empty()) << "missing script " << c.script;

  programRecord() = ConfigRecord{};
  ScratchDir folder(ScratchDir::Enter::Yes);
  ASSERT_TRUE(folder.ok());
  // The cards of a system laid out under "root", where a script prepares one; none otherwise,
  // whatever is in this PC.
  MountedCards cards("root");
  CardFinder& before = cardFinder();
  setCardFinder(&cards);
  c.setup();
  const tk::ScriptOutcome outcome =
      tk::runScriptText(std::string(text.begin(), text.end()),
                        [] { EXPECT_FALSE(CTarnwickApp().InitInstance()); });
  setCardFinder(&before);
  ASSERT_TRUE(outcome.ok) << c.script << ".ui " << outcome.message;
  c.check();
}

INSTANTIATE_TEST_SUITE_P(Scripts, MainWindowScript, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ScriptCase>& p) {
                           return std::string(p.param.script);
                         });

}  // namespace
}  // namespace tarnwick
