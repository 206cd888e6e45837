// The checks of what the camera accepts: each rule finds its problem on a record made for it,
// names the right field, and the factory defaults pass all of them.

#include <gtest/gtest.h>

#include <functional>

#include "config/Defaults.h"
#include "fleet/SettingsCheck.h"

namespace tarnwick {
namespace {

namespace f = fields;

ConfigRecord defaults() {
  ConfigRecord r;
  applyDefaults(r);
  return r;
}

void setText(ConfigRecord& r, const FieldInfo& field, std::string_view text) {
  auto bytes = r.field(field);
  std::fill(bytes.begin(), bytes.end(), std::uint8_t{0});
  std::copy(text.begin(), text.end(), bytes.begin());
}

void setDigits(ConfigRecord& r, const FieldInfo& field, std::array<std::uint8_t, 4> digits) {
  std::copy(digits.begin(), digits.end(), r.field(field).begin());
}

std::vector<std::string> namesOf(const std::vector<CheckFinding>& findings) {
  std::vector<std::string> names;
  for (const CheckFinding& x : findings) names.emplace_back(x.field->name);
  return names;
}

std::vector<std::string> check(const ConfigRecord& r) {
  const OperatorTable builtIn;
  return namesOf(checkSettings(r, builtIn));
}

using Names = std::vector<std::string>;

TEST(SettingsCheck, TheFactoryDefaultsAndARecordSetUpProperlyPass) {
  EXPECT_EQ(check(defaults()), Names{});
  // Everything switched on and filled in as the camera wants it.
  ConfigRecord r = defaults();
  for (const FieldInfo* off : {&f::passwordOff, &f::serialNoOff, &f::timeLapseOff,
                               &f::orgNameOff, &f::smsCtrlOff, &f::timer1Off}) {
    r.setInt32(*off, 0);
  }
  setDigits(r, f::password, {4, 8, 2, 1});
  setDigits(r, f::serialNo, {0, 0, 4, 2});
  r.setUInt32(f::timeLapse, 0x000500);      // 0:05:00
  r.setUInt32(f::smsInterval, 0x0010);      // 0:16
  r.setUInt32(f::timer1Start, 0x0700);      // 07:00
  r.setUInt32(f::timer1Stop, 0x1300);       // 19:00
  setText(r, f::orgName, "Reserve");
  r.setInt32(f::mmsOption, 1);
  setText(r, f::phone3, "+15550100");
  r.setInt32(f::dataOption, 0);
  setText(r, f::smtpServer, "smtp.example.org");
  setText(r, f::smtpPort, "465");
  setText(r, f::smtpEmail, "cam@example.org");
  setText(r, f::mmsPort, "8080");
  r.setUInt32(f::interval, 120);            // 60 min, the longest
  r.setUInt32(f::videoLength, 5);
  r.setUInt8(f::countryIndex, 54);          // United Kingdom
  r.setUInt8(f::operatorIndex, 7);          // its last operator
  EXPECT_EQ(check(r), Names{});
}

TEST(SettingsCheck, ListPositionsOutsideTheirListsAndNoSelection) {
  ConfigRecord r = defaults();
  r.setInt32(f::imageSize, 4);
  r.setInt32(f::language, -1);
  r.setInt32(f::timeZone, 24);
  r.setUInt8(f::smtpEncrypt, 3);
  r.setUInt8(f::smtpPreset, 12);  // the provider table has twelve rows
  r.setUInt8(f::networkMode, 2);
  EXPECT_EQ(check(r), (Names{"imageSize", "language", "timeZone", "smtpPreset", "smtpEncrypt",
                             "networkMode"}));
  r = defaults();
  r.setInt32(f::imageSize, 3);
  r.setInt32(f::timeZone, 23);
  r.setUInt8(f::smtpPreset, 11);
  EXPECT_EQ(check(r), Names{});
}

TEST(SettingsCheck, IntervalAndVideoLengthOutsideTheCamerasRanges) {
  struct Case {
    std::uint32_t interval;
    std::uint32_t video;
    Names found;
  };
  for (const Case& c : {Case{0, 30, {"interval"}}, Case{2, 30, {"interval"}}, Case{3, 30, {}},
                        Case{121, 30, {"interval"}}, Case{120, 4, {"videoLength"}},
                        Case{10, 31, {"videoLength"}}, Case{10, 200, {"videoLength"}},
                        Case{1, 0, {"interval", "videoLength"}}}) {
    SCOPED_TRACE(std::to_string(c.interval) + " / " + std::to_string(c.video));
    ConfigRecord r = defaults();
    r.setUInt32(f::interval, c.interval);
    r.setUInt32(f::videoLength, c.video);
    EXPECT_EQ(check(r), c.found);
  }
}

TEST(SettingsCheck, ASwitchOnWithItsValueUnset) {
  const auto on = [](const FieldInfo& off, const std::function<void(ConfigRecord&)>& edit) {
    ConfigRecord r = defaults();
    r.setInt32(off, 0);
    if (edit) edit(r);
    return check(r);
  };
  EXPECT_EQ(on(f::passwordOff, nullptr), Names{"password"});
  EXPECT_EQ(on(f::passwordOff, [](ConfigRecord& r) { setDigits(r, f::password, {1, 2, 3, 10}); }),
            Names{"password"});
  EXPECT_EQ(on(f::serialNoOff, nullptr), Names{"serialNo"});
  EXPECT_EQ(on(f::timeLapseOff, nullptr), Names{"timeLapse"});
  EXPECT_EQ(on(f::orgNameOff, nullptr), Names{"orgName"});  // eight spaces read as empty
  EXPECT_EQ(on(f::smsCtrlOff, [](ConfigRecord& r) { r.setUInt32(f::smsInterval, 9); }),
            Names{"smsInterval"});
  EXPECT_EQ(on(f::timer2Off, [](ConfigRecord& r) {
              r.setUInt32(f::timer2Start, 0x0800);
              r.setUInt32(f::timer2Stop, 0x0800);
            }),
            Names{"timer2Start"});
  // Switched off, the same values are no problem.
  ConfigRecord r = defaults();
  r.setUInt32(f::timer2Start, 0x0800);
  r.setUInt32(f::timer2Stop, 0x0800);
  EXPECT_EQ(check(r), Names{});
  // A value set while the switch is On is fine.
  EXPECT_EQ(on(f::orgNameOff, [](ConfigRecord& x) { setText(x, f::orgName, "A"); }), Names{});
}

// A clock that is no time of day, as get marks it "(out of range)", is a finding whenever its
// switch is On: hours above 23, minutes or seconds above 59, bytes above the hour.
TEST(SettingsCheck, ASwitchOnWithAClockOutOfRange) {
  struct Case {
    const FieldInfo* off;
    const FieldInfo* clock;
    std::uint32_t value;
    Names found;
  };
  const Case cases[] = {
      {&f::timer1Off, &f::timer1Start, 70 * 256 + 99, {"timer1Start"}},  // 70:99
      {&f::timer1Off, &f::timer1Stop, 24 * 256, {"timer1Stop"}},         // 24:00
      {&f::timer3Off, &f::timer3Start, 0x010700, {"timer3Start"}},       // a byte above
      {&f::timeLapseOff, &f::timeLapse, 0x63633F, {"timeLapse"}},        // 99:99:63
      {&f::timeLapseOff, &f::timeLapse, 0x00003C, {"timeLapse"}},        // 0:00:60
      {&f::smsCtrlOff, &f::smsInterval, 30 * 256 + 99, {"smsInterval"}},  // 30:99
      {&f::timer2Off, &f::timer2Start, 23 * 256 + 59, {}},               // 23:59
      {&f::timeLapseOff, &f::timeLapse, 0x173B3B, {}},                   // 23:59:59
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.clock->name) + " " + std::to_string(c.value));
    ConfigRecord r = defaults();
    r.setInt32(*c.off, 0);
    r.setUInt32(f::timer1Stop, 0x1300);  // no timer starts when it stops
    r.setUInt32(f::timer2Stop, 0x1300);
    r.setUInt32(f::timer3Stop, 0x1300);
    r.setUInt32(*c.clock, c.value);
    EXPECT_EQ(check(r), c.found);
    r.setInt32(*c.off, 1);  // switched off, any clock passes
    EXPECT_EQ(check(r), Names{});
  }
}

TEST(SettingsCheck, PortsThatAreNotADecimalNumberFrom1To65535) {
  for (const char* bad : {"4 65", "0", "65536", "99999", "+80", "80a", "-1", " 80"}) {
    SCOPED_TRACE(bad);
    for (const FieldInfo* port : {&f::mmsPort, &f::smtpPort, &f::ftpPort}) {
      ConfigRecord r = defaults();
      setText(r, *port, bad);
      EXPECT_EQ(check(r), Names{std::string(port->name)});
    }
  }
  for (const char* good : {"1", "21", "65535", "08080", "80   "}) {
    SCOPED_TRACE(good);
    ConfigRecord r = defaults();
    setText(r, f::ftpPort, good);
    EXPECT_EQ(check(r), Names{});
  }
}

TEST(SettingsCheck, SendingOptionsWithoutWhatTheyNeed) {
  ConfigRecord r = defaults();
  r.setInt32(f::dataOption, 0);  // SMTP with nothing filled in
  EXPECT_EQ(check(r), (Names{"smtpServer", "smtpPort", "smtpEmail"}));
  setText(r, f::smtpServer, "smtp.example.org");
  setText(r, f::smtpEmail, "   ");  // blank is empty
  setText(r, f::smtpPort, "25");
  EXPECT_EQ(check(r), (Names{"smtpEmail"}));

  r = defaults();
  r.setInt32(f::dataOption, 1);  // FTP
  EXPECT_EQ(check(r), (Names{"ftpServer"}));
  setText(r, f::ftpServer, "ftp.example.org");
  EXPECT_EQ(check(r), Names{});

  r = defaults();
  r.setInt32(f::mmsOption, 0);  // VGA
  EXPECT_EQ(check(r), (Names{"phone1"}));
  setText(r, f::phone2, "5550100");
  EXPECT_EQ(check(r), Names{});
}

TEST(SettingsCheck, AutoModeOperatorPositionsOutsideTheTableInUse) {
  ConfigRecord r = defaults();
  r.setUInt8(f::countryIndex, 55);  // one past "United Kingdom"
  EXPECT_EQ(check(r), Names{"countryIndex"});
  r.setUInt8(f::countryIndex, 4);   // Brazil: one operator
  r.setUInt8(f::operatorIndex, 1);
  EXPECT_EQ(check(r), Names{"operatorIndex"});
  r.setUInt8(f::networkMode, 1);    // Manual: the positions are not used
  EXPECT_EQ(check(r), Names{});

  // Against a table of one country with two operators.
  CountryEntry country;
  country.name[0] = 'X';
  country.operators.resize(2);
  country.operatorCount = 2;
  OperatorTable table;
  table.adopt({country});
  r = defaults();
  r.setUInt8(f::operatorIndex, 1);
  EXPECT_TRUE(checkSettings(r, table).empty());
  r.setUInt8(f::countryIndex, 1);
  const auto findings = checkSettings(r, table);
  ASSERT_EQ(namesOf(findings), Names{"countryIndex"});
  EXPECT_NE(findings[0].reason.find("has 1 country (0-0)"), std::string::npos) << findings[0].reason;
  // A released table has no countries at all; the reason must not count from -1.
  table.release();
  const auto none = checkSettings(defaults(), table);
  ASSERT_EQ(namesOf(none), Names{"countryIndex"});
  EXPECT_NE(none[0].reason.find("has no countries"), std::string::npos) << none[0].reason;
}

TEST(SettingsCheck, OrganizationNameBytesThePictureStampCannotPrint) {
  for (const std::string& bad : {std::string("R\xE9serve"), std::string("Tab\there"), std::string("A\x7F")}) {
    ConfigRecord r = defaults();
    setText(r, f::orgName, bad);
    EXPECT_EQ(check(r), Names{"orgName"});
  }
  ConfigRecord r = defaults();
  setText(r, f::orgName, "A~ !z{}");
  EXPECT_EQ(check(r), Names{});
}

}  // namespace
}  // namespace tarnwick
