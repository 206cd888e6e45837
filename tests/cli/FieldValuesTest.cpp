// Values typed for the set command: what each encoding accepts, what it refuses and why, and
// how stored values read back, out-of-range ones included.

#include <gtest/gtest.h>

#include <vector>

#include "cli/FieldValues.h"
#include "cli/StartupRecord.h"
#include "config/FieldCatalog.h"

namespace tarnwick::cli {
namespace {

std::vector<std::uint8_t> bytesOf(const ConfigRecord& record, const FieldInfo& field) {
  const auto bytes = record.field(field);
  return {bytes.begin(), bytes.end()};
}

struct Accepted {
  const FieldInfo* field;
  const char* value;
  std::vector<std::uint8_t> bytes;  // the field's bytes afterwards
};

TEST(SetValues, AcceptedValuesStoreTheseBytes) {
  const std::vector<std::uint8_t> abc{'A', 'B', 'C', 0, 0, 0, 0, 0};
  const Accepted cases[] = {
      {&fields::imageSize, "VGA 640x480", {3, 0, 0, 0}},
      {&fields::imageSize, "5m 2592X1944", {1, 0, 0, 0}},  // case and blanks do not matter
      {&fields::imageSize, "2", {2, 0, 0, 0}},             // a position
      {&fields::timeZone, "UTC 0", {11, 0, 0, 0}},
      {&fields::timeZone, "utc+12", {23, 0, 0, 0}},
      {&fields::sdCycle, "On", {0, 0, 0, 0}},      // "On" is position 0 here...
      {&fields::recordAudio, "On", {1, 0, 0, 0}},  // ...and position 1 here
      {&fields::passwordOff, "on", {0, 0, 0, 0}},
      {&fields::timer2Off, "Off", {1, 0, 0, 0}},
      {&fields::timer1Start, "07:05", {0x05, 0x07, 0, 0}},
      {&fields::timer3Stop, "23:59", {0x3B, 0x17, 0, 0}},
      {&fields::timer1Stop, "0:00", {0, 0, 0, 0}},
      {&fields::timeLapse, "1:02:03", {0x03, 0x02, 0x01, 0}},
      {&fields::timeLapse, "0:00:01", {0x01, 0, 0, 0}},
      {&fields::smsInterval, "1:30", {0x1E, 0x01, 0, 0}},
      {&fields::smsInterval, "0:10", {0x0A, 0, 0, 0}},
      {&fields::serialNo, "2025", {2, 0, 2, 5}},
      {&fields::serialNo, "12", {0, 0, 1, 2}},
      {&fields::password, "0042", {0, 0, 4, 2}},
      {&fields::interval, "10", {10, 0, 0, 0}},
      {&fields::interval, "60 sec", {60, 0, 0, 0}},
      {&fields::interval, "120s", {62, 0, 0, 0}},  // two whole minutes
      {&fields::interval, "0", {0, 0, 0, 0}},
      {&fields::interval, "5 min", {65, 0, 0, 0}},
      {&fields::interval, "60min", {120, 0, 0, 0}},
      {&fields::videoLength, "45 s", {45, 0, 0, 0}},
      {&fields::videoLength, "4294967295", {0xFF, 0xFF, 0xFF, 0xFF}},
      {&fields::orgName, "ABC", abc},
      {&fields::orgName, "ABC   ", abc},  // trailing spaces go, as in the window
      {&fields::orgName, " \xC3\xA9", {' ', 0xE9, 0, 0, 0, 0, 0, 0}},  // U+00E9 is one byte
      {&fields::mmsPort, "8080", {'8', '0', '8', '0', 0}},
      {&fields::mmsPort, "12345", {'1', '2', '3', '4', '5'}},  // exactly the width
      {&fields::phone1, "", std::vector<std::uint8_t>(16, 0)},  // clears the field
      {&fields::smtpPreset, "Gmail", {6}},
      {&fields::smtpPreset, "11", {11}},
      {&fields::smtpEncrypt, "StartTLS", {2}},
      {&fields::networkMode, "Manual", {1}},
      {&fields::countryIndex, "54", {54}},
      {&fields::reservedC0, "-5", {0xFB, 0xFF, 0xFF, 0xFF}},
      {&fields::reserved67C, "255", {0xFF}},
  };
  for (const Accepted& c : cases) {
    ConfigRecord record = startupRecord();
    const auto refused = assignField(record, *c.field, c.value);
    EXPECT_FALSE(refused) << c.field->name << "=" << c.value << ": " << refused.value_or("");
    EXPECT_EQ(bytesOf(record, *c.field), c.bytes) << c.field->name << "=" << c.value;
  }
}

struct Refused {
  const FieldInfo* field;
  const char* value;
  const char* reason;  // a part of the reason
};

TEST(SetValues, RefusedValuesNameTheRuleAndLeaveTheRecord) {
  const Refused cases[] = {
      {&fields::imageSize, "4", "not one of \"12M 4032x3024\""},
      {&fields::imageSize, "-1", "position 0-3"},
      {&fields::imageSize, "", "not one of"},
      {&fields::passwordOff, "yes", "On or Off"},
      {&fields::passwordOff, "0", "On or Off"},  // 0 means On in the file: too easy to misread
      {&fields::timer1Start, "24:00", "Illegal time!"},
      {&fields::timer1Start, "7:60", "Illegal time!"},
      {&fields::timer1Start, "7", "H:MM"},
      {&fields::timer1Start, "7:05:00", "H:MM"},
      {&fields::timer1Start, "123:00", "H:MM"},
      {&fields::timeLapse, "0:00:00", "Invalid time-lapse!"},
      {&fields::timeLapse, "24:00:00", "Illegal time!"},  // the time check comes first
      {&fields::timeLapse, "1:02", "H:MM:SS"},
      {&fields::smsInterval, "0:00", "Invalid interval!"},
      {&fields::smsInterval, "0:09", "Interval must be 10 mins at least!"},
      {&fields::smsInterval, "24:00", "Illegal time!"},
      {&fields::serialNo, "0000", "Null serial number!"},
      {&fields::serialNo, "0", "Null serial number!"},  // any way of writing zero
      {&fields::password, "000", "Null password!"},
      {&fields::password, "12345", "one to four digits"},
      {&fields::password, "7x", "one to four digits"},
      {&fields::password, "-5", "one to four digits"},
      {&fields::password, " 12", "one to four digits"},
      {&fields::orgName, "", "Empty name!"},
      {&fields::orgName, "   ", "Empty name!"},
      {&fields::orgName, "ABCDEFGHI", "Must be 8 characters!"},
      {&fields::orgName, "\xE4\xB8\xAD", "U+4E2D"},  // the window would store 0x2D, '-'
      {&fields::mmsPort, "123456", "longer than the field's 5 characters"},
      {&fields::mmsApn, "a\xE2\x82\xAC", "U+20AC"},
      {&fields::interval, "61 sec", "whole minutes"},
      {&fields::interval, "90", "whole minutes"},
      {&fields::interval, "61 min", "from 1 to 60"},
      {&fields::interval, "0 min", "from 1 to 60"},
      {&fields::interval, "5 hours", "expected seconds or minutes"},
      {&fields::interval, "min", "expected seconds or minutes"},
      {&fields::videoLength, "-1", "number of seconds"},
      {&fields::videoLength, "4294967296", "number of seconds"},
      {&fields::countryIndex, "255", "from 0 to 254"},
      {&fields::countryIndex, "x", "from 0 to 254"},
      {&fields::smtpPreset, "12", "\"Yandex\""},
      {&fields::reserved67C, "256", "from 0 to 255"},
      {&fields::reservedC0, "2147483648", "-2147483648 to 2147483647"},
  };
  for (const Refused& c : cases) {
    ConfigRecord record = startupRecord();
    const ConfigRecord before = record;
    const auto refused = assignField(record, *c.field, c.value);
    ASSERT_TRUE(refused) << c.field->name << "=" << c.value << " was accepted";
    EXPECT_NE(refused->find(c.reason), std::string::npos)
        << c.field->name << "=" << c.value << ": " << *refused;
    EXPECT_EQ(record, before) << c.field->name << "=" << c.value;
  }
}

TEST(SetValues, TimersThatAreOnMustStartAndStopAtDifferentTimes) {
  ConfigRecord record = startupRecord();  // timers off, 0:00-0:00
  const std::vector<Assignment> switchOnly{{"timer1Off", "On"}};
  auto refusal = applyAssignments(record, switchOnly);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->field, "timer1Off");
  EXPECT_NE(refusal->reason.find("Invalid timer!"), std::string::npos);

  record = startupRecord();
  const std::vector<Assignment> full{
      {"timer1Start", "8:00"}, {"timer1Stop", "18:00"}, {"timer1Off", "On"}};
  EXPECT_FALSE(applyAssignments(record, full));
  EXPECT_EQ(record.getInt32(fields::timer1Off), 0);
  EXPECT_EQ(record.getUInt32(fields::timer1Stop), 18u * 256u);

  // A timer that stays off may hold equal times, and an untouched timer is not checked.
  record = startupRecord();
  record.setInt32(fields::timer2Off, 0);  // on, 0:00-0:00: what a foreign file may hold
  const std::vector<Assignment> offTimer{{"timer3Start", "6:00"}, {"timer3Stop", "6:00"}};
  EXPECT_FALSE(applyAssignments(record, offTimer));

  const std::vector<Assignment> unknown{{"nosuchField", "1"}};
  refusal = applyAssignments(record, unknown);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->reason, "no such field");
}

TEST(SetValues, AssignmentsSplitAtTheFirstEqualsSign) {
  const auto a = parseAssignment("orgName=A=B");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->field, "orgName");
  EXPECT_EQ(a->value, "A=B");
  EXPECT_TRUE(parseAssignment("phone1="));
  EXPECT_FALSE(parseAssignment("imageSize"));
  EXPECT_FALSE(parseAssignment("=3"));
}

struct Stored {
  const FieldInfo* field;
  std::vector<std::uint8_t> bytes;
  const char* value;
  bool inRange;
};

TEST(ShowValues, StoredValuesReadInTheUsersTermsAndNothingIsHidden) {
  const Stored cases[] = {
      {&fields::imageSize, {1, 0, 0, 0}, "5M  2592x1944", true},
      {&fields::imageSize, {0xFF, 0xFF, 0xFF, 0xFF}, "(no selection)", false},
      {&fields::imageSize, {7, 0, 0, 0}, "(out of range: 7)", false},
      {&fields::passwordOff, {0, 0, 0, 0}, "On", true},
      {&fields::passwordOff, {7, 0, 0, 0}, "Off", true},  // any non-zero flag is off
      {&fields::smtpEncrypt, {9}, "(out of range: 9)", false},
      {&fields::networkMode, {0xFF}, "(no selection)", false},
      {&fields::smtpPreset, {7}, "Outlook", true},
      {&fields::countryIndex, {42}, "42", true},
      {&fields::serialNo, {2, 0, 2, 5}, "2025", true},
      {&fields::serialNo, {1, 2, 12, 4}, "(out of range: 01 02 0c 04)", false},
      {&fields::timer1Start, {0x05, 0x07, 0, 0}, "7:05", true},
      {&fields::timer1Start, {0x00, 0x18, 0, 0}, "24:00 (out of range)", false},
      {&fields::timer1Start, {0x00, 0x08, 1, 0}, "(out of range: 67584)", false},
      {&fields::smsInterval, {0, 0, 0, 0}, "0:00", true},  // never set
      {&fields::smsInterval, {5, 0, 0, 0}, "0:05 (out of range)", false},
      {&fields::timeLapse, {0x03, 0x02, 0x01, 0}, "1:02:03", true},
      {&fields::timeLapse, {0x03, 0x3C, 0x01, 0}, "1:60:03 (out of range)", false},
      {&fields::interval, {60, 0, 0, 0}, "60 sec", true},
      {&fields::interval, {61, 0, 0, 0}, "1 min", true},
      {&fields::interval, {150, 0, 0, 0}, "90 min", true},
      {&fields::videoLength, {30, 0, 0, 0}, "30 sec", true},
      {&fields::reservedC0, {0xFB, 0xFF, 0xFF, 0xFF}, "-5", true},
      // Zero bytes are no characters; trailing spaces go; 0xE9 is U+00E9; controls escaped.
      {&fields::orgName, {'A', 0, 0x07, 'B', 0xE9, ' ', ' ', 0}, "A\\x07B\xC3\xA9", true},
      {&fields::orgName, {' ', ' ', 'A', 'B', ' ', ' ', ' ', ' '}, "  AB", true},
      {&fields::orgName, {0x85, 'x', 0, 0, 0, 0, 0, 0}, "\\x85x", true},
  };
  for (const Stored& c : cases) {
    ConfigRecord record;
    const auto bytes = record.field(*c.field);
    std::copy(c.bytes.begin(), c.bytes.end(), bytes.begin());
    const FieldView view = viewField(record, *c.field);
    EXPECT_EQ(view.value, c.value) << c.field->name;
    EXPECT_EQ(view.inRange, c.inRange) << c.field->name;
  }
}

TEST(ShowValues, EveryValueShownForAValidSettingIsAcceptedBackUnchanged) {
  // A camera configured through set: reading each field and typing what it shows back must
  // give the same bytes, so that get and set work as a pair in scripts.
  ConfigRecord record = startupRecord();
  const std::vector<Assignment> setup{
      {"imageSize", "VGA 640x480"}, {"timeZone", "UTC-3"},     {"passwordOff", "On"},
      {"password", "4821"},         {"serialNo", "0017"},      {"timeLapse", "0:30:00"},
      {"smsInterval", "2:15"},      {"timer1Off", "On"},       {"timer1Start", "6:30"},
      {"timer1Stop", "20:00"},      {"orgName", "Forest"},     {"interval", "3 min"},
      {"mmsApn", "internet"},       {"smtpPreset", "Yahoo"},   {"smtpEncrypt", "SSL"},
      {"networkMode", "Manual"},    {"countryIndex", "18"},    {"videoLength", "20"}};
  ASSERT_FALSE(applyAssignments(record, setup));
  for (const Assignment& a : setup) {
    const FieldInfo* field = findField(a.field);
    ConfigRecord again = record;
    const std::string shown = viewField(record, *field).value;
    EXPECT_FALSE(assignField(again, *field, shown)) << a.field << " shows " << shown;
    EXPECT_EQ(again, record) << a.field << " shows " << shown;
  }
}

}  // namespace
}  // namespace tarnwick::cli
