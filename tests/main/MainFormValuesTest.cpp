#include "ui/main/MainFormValues.h"

#include "config/Defaults.h"
#include "config/FieldCatalog.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
#include <vector>

namespace tarnwick {
namespace {

constexpr std::size_t kPassword = 0, kSerialNo = 1, kTimeLapse = 2, kOrgName = 3, kSmsCtrl = 4;

// A record whose every byte is set, so that a write at a wrong place shows up.
ConfigRecord patternedRecord() {
  ConfigRecord record;
  std::uint32_t state = 0x2545F491u;
  for (std::uint8_t& b : record.bytes()) {
    state = state * 1664525u + 1013904223u;
    b = static_cast<std::uint8_t>(state >> 24);
  }
  return record;
}

MainFormValues sampleValues() {
  MainFormValues values;
  values.lists = {2, 12, 3, 1, 2, 0, 1, 0, 0, 1, 23};
  values.videoLength = 17;
  values.intervalNumber = 5;
  values.intervalUnit = kIntervalUnitMinutes;
  values.switchOn = {true, false, true, false, true};
  return values;
}

TEST(MainFormValuesTest, DefaultsShowTheFactorySettings) {
  ConfigRecord record;
  applyDefaults(record);
  const MainFormValues values = recordToFormValues(record);
  // Mode, Language, Image Size, Video Size, Shot Number, PIR, Date Stamp, Record Audio,
  // SD Cycle, GPS Switch, Local Time Zone.
  const std::array<std::int32_t, kMainFormListCount> expected{0, 0, 1, 0, 0, 1, 2, 1, 1, 1, 19};
  EXPECT_EQ(values.lists, expected);
  EXPECT_EQ(values.videoLength, 30u);
  EXPECT_EQ(values.intervalNumber, 10u);
  EXPECT_EQ(values.intervalUnit, kIntervalUnitSeconds);
  EXPECT_EQ(values.switchOn, (std::array<bool, 5>{}));
}

TEST(MainFormValuesTest, CollectingWritesOnlyTheFormsFields) {
  const ConfigRecord before = patternedRecord();
  ConfigRecord after = before;
  formValuesToRecord(sampleValues(), after);

  std::set<std::uint32_t> formBytes;
  auto mark = [&](const FieldInfo& f) {
    for (std::uint32_t i = 0; i < f.size; ++i) formBytes.insert(f.offset + i);
  };
  for (const ListBinding& list : mainFormLists()) {
    mark(*list.field);
    if (list.alsoCollectedInto != nullptr) mark(*list.alsoCollectedInto);
  }
  mark(fields::videoLength);
  mark(fields::interval);
  for (const SwitchBinding& pair : mainFormSwitches()) {
    mark(*pair.offFlag);
    if (pair.zeroedWhenOff != nullptr) mark(*pair.zeroedWhenOff);
  }
  for (std::uint32_t i = 0; i < kRecordSize; ++i) {
    if (formBytes.count(i) == 0) {
      EXPECT_EQ(after.bytes()[i], before.bytes()[i]) << "byte " << i;
    }
  }
}

TEST(MainFormValuesTest, CollectedValuesShowAgainUnchanged) {
  ConfigRecord record = patternedRecord();
  const MainFormValues values = sampleValues();
  formValuesToRecord(values, record);
  EXPECT_EQ(recordToFormValues(record), values);
  EXPECT_EQ(record.getUInt32(fields::interval), 65u);
  EXPECT_EQ(record.getInt32(fields::timeZone), 23);
  EXPECT_EQ(record.getInt32(fields::language), 12);
}

TEST(MainFormValuesTest, ShotNumberGoesIntoBothCopiesAndShowsTheSecond) {
  ConfigRecord record;
  record.setInt32(fields::shotNumber, 2);
  record.setInt32(fields::shotNumberB, 1);
  MainFormValues values = recordToFormValues(record);
  EXPECT_EQ(values.lists[4], 1);

  formValuesToRecord(values, record);
  EXPECT_EQ(record.getInt32(fields::shotNumber), 1);
  EXPECT_EQ(record.getInt32(fields::shotNumberB), 1);
}

TEST(MainFormValuesTest, ListValuesOutsideTheirListPassThroughAndNoSelectionStoresMinusOne) {
  ConfigRecord record;
  record.setInt32(fields::language, 20);
  record.setInt32(fields::imageSize, -1);
  MainFormValues values = recordToFormValues(record);
  EXPECT_EQ(values.lists[1], 20);  // the window's list then shows nothing selected
  EXPECT_EQ(values.lists[2], -1);

  values.lists.fill(-1);
  formValuesToRecord(values, record);
  for (const ListBinding& list : mainFormLists()) {
    EXPECT_EQ(record.getInt32(*list.field), -1) << list.field->name;
  }
  EXPECT_EQ(record.getInt32(fields::shotNumber), -1);
}

TEST(MainFormValuesTest, AnyNonZeroFlagShowsOffAndIsSavedAsOne) {
  ConfigRecord record;
  record.setInt32(fields::passwordOff, 7);
  record.setInt32(fields::serialNoOff, -1);
  record.setInt32(fields::timeLapseOff, 0);
  MainFormValues values = recordToFormValues(record);
  EXPECT_FALSE(values.switchOn[kPassword]);
  EXPECT_FALSE(values.switchOn[kSerialNo]);
  EXPECT_TRUE(values.switchOn[kTimeLapse]);

  formValuesToRecord(values, record);
  EXPECT_EQ(record.getInt32(fields::passwordOff), 1);
  EXPECT_EQ(record.getInt32(fields::serialNoOff), 1);
  EXPECT_EQ(record.getInt32(fields::timeLapseOff), 0);
}

// Saving a switch as Off zeroes the password, serial number and time-lapse values; the
// organization name and SMS interval are kept for the next time the switch is turned on.
TEST(MainFormValuesTest, SwitchesSavedAsOffZeroOnlyPasswordSerialAndTimeLapse) {
  struct Case {
    std::size_t index;
    const FieldInfo* offFlag;
    const FieldInfo* value;
    bool zeroedWhenOff;
  };
  const Case cases[] = {
      {kPassword, &fields::passwordOff, &fields::password, true},
      {kSerialNo, &fields::serialNoOff, &fields::serialNo, true},
      {kTimeLapse, &fields::timeLapseOff, &fields::timeLapse, true},
      {kOrgName, &fields::orgNameOff, &fields::orgName, false},
      {kSmsCtrl, &fields::smsCtrlOff, &fields::smsInterval, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value->name);
    const ConfigRecord before = patternedRecord();
    const auto original = before.field(*c.value);
    const std::vector<std::uint8_t> originalValue(original.begin(), original.end());

    for (const bool on : {true, false}) {
      ConfigRecord record = before;
      MainFormValues values = sampleValues();
      values.switchOn.fill(true);
      values.switchOn[c.index] = on;
      formValuesToRecord(values, record);

      EXPECT_EQ(record.getInt32(*c.offFlag), on ? 0 : 1);
      const auto stored = record.field(*c.value);
      const std::vector<std::uint8_t> storedValue(stored.begin(), stored.end());
      if (!on && c.zeroedWhenOff) {
        EXPECT_EQ(storedValue, std::vector<std::uint8_t>(c.value->size, 0));
      } else {
        EXPECT_EQ(storedValue, originalValue) << (on ? "on" : "off");
      }
    }
  }
}

}  // namespace
}  // namespace tarnwick
