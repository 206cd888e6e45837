#include "ui/options/OptionRules.h"

#include "config/Defaults.h"
#include "config/FieldCatalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tarnwick {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace msg = optionmessages;

Bytes bytesAt(const ConfigRecord& record, std::size_t offset, std::size_t count) {
  const auto all = record.bytes();
  return Bytes(all.begin() + static_cast<std::ptrdiff_t>(offset),
               all.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

void setBytes(ConfigRecord& record, std::size_t offset, const Bytes& bytes) {
  std::copy(bytes.begin(), bytes.end(), record.bytes().begin() + static_cast<std::ptrdiff_t>(offset));
}

// A record whose every byte is non-zero, so that a missed or partial write shows.
ConfigRecord filledRecord() {
  ConfigRecord record;
  std::fill(record.bytes().begin(), record.bytes().end(), std::uint8_t{0xAA});
  return record;
}

// --- Four-digit codes -------------------------------------------------------------------------

TEST(DigitCodeRuleTest, NullAndNegativeCodesAreRefusedOthersStoreTheLeadingNumber) {
  struct Case {
    FormText text;
    OptionCheck message;  // for the serial number; the password has its own texts
    Bytes digits;         // stored when no message
  };
  const FormText null = msg::kNullSerialNumber;
  const FormText invalid = msg::kInvalidSerialNumber;
  const Case cases[] = {
      {u"", null, {}},
      {u"0000", null, {}},
      {u"0", std::nullopt, {0, 0, 0, 0}},  // only the four-zero text is the null code
      {u"00", std::nullopt, {0, 0, 0, 0}},
      {u"000", std::nullopt, {0, 0, 0, 0}},
      {u"12", std::nullopt, {0, 0, 1, 2}},
      {u"0042", std::nullopt, {0, 0, 4, 2}},
      {u"9999", std::nullopt, {9, 9, 9, 9}},
      {u"7x", std::nullopt, {0, 0, 0, 7}},
      {u"ab", std::nullopt, {0, 0, 0, 0}},
      {u" ", std::nullopt, {0, 0, 0, 0}},
      {u" 8", std::nullopt, {0, 0, 0, 8}},
      {u"12  ", std::nullopt, {0, 0, 1, 2}},
      {u"+12", std::nullopt, {0, 0, 1, 2}},
      {u"-0", std::nullopt, {0, 0, 0, 0}},
      {u"-5", invalid, {}},
      {u"-999", invalid, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.text));
    ConfigRecord record = filledRecord();
    const ConfigRecord before = record;
    EXPECT_EQ(storeSerialNo(c.text, record), c.message);
    if (c.message) {
      EXPECT_EQ(record, before);
    } else {
      EXPECT_EQ(bytesAt(record, 0x46c, 4), c.digits);
      // Nothing beside the four bytes changed (the password lies right after them).
      setBytes(record, 0x46c, Bytes(4, 0xAA));
      EXPECT_EQ(record, before);
    }
  }
}

TEST(DigitCodeRuleTest, PasswordUsesItsOwnFieldAndMessages) {
  ConfigRecord record = filledRecord();
  EXPECT_EQ(storePassword(u"0000", record), FormText(msg::kNullPassword));
  EXPECT_EQ(storePassword(u"", record), FormText(msg::kNullPassword));
  EXPECT_EQ(storePassword(u"-5", record), FormText(msg::kInvalidPassword));
  EXPECT_EQ(storePassword(u"1234", record), std::nullopt);
  EXPECT_EQ(bytesAt(record, 0x470, 4), (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(bytesAt(record, 0x46c, 4), Bytes(4, 0xAA));
}

TEST(DigitCodeRuleTest, OpeningShowsFourDigitsAndMarksForeignBytes) {
  ConfigRecord record;
  EXPECT_EQ(passwordText(record), u"0000");
  EXPECT_EQ(serialNoText(record), u"0000");
  setBytes(record, 0x46c, {0, 0, 1, 2});
  setBytes(record, 0x470, {0, 0, 4, 2});
  EXPECT_EQ(serialNoText(record), u"0012");
  EXPECT_EQ(passwordText(record), u"0042");
  // A stored code always comes back as the text that was typed, padded to four digits.
  ASSERT_EQ(storeSerialNo(u"7", record), std::nullopt);
  EXPECT_EQ(serialNoText(record), u"0007");
}

// --- Time-lapse -------------------------------------------------------------------------------

TEST(TimeLapseRuleTest, RangeBeforeZeroAndAWholeWordWritten) {
  struct Case {
    ClockHMS period;
    OptionCheck message;
    Bytes stored;
  };
  const FormText illegal = msg::kIllegalTime;
  const Case cases[] = {
      {{0, 0, 1}, std::nullopt, {1, 0, 0, 0}},
      {{23, 59, 59}, std::nullopt, {59, 59, 23, 0}},
      {{1, 2, 3}, std::nullopt, {3, 2, 1, 0}},
      {{24, 0, 0}, illegal, {}},  // not "Invalid time-lapse!": the range comes first
      {{0, 60, 0}, illegal, {}},
      {{0, 0, 60}, illegal, {}},
      {{255, 255, 255}, illegal, {}},
      {{0, 0, 0}, FormText(msg::kInvalidTimeLapse), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int{c.period.hour} << ':' << int{c.period.minute} << ':'
                                    << int{c.period.second});
    ConfigRecord record = filledRecord();
    const ConfigRecord before = record;
    EXPECT_EQ(storeTimeLapse(c.period, record), c.message);
    if (c.message) {
      EXPECT_EQ(record, before);
    } else {
      EXPECT_EQ(bytesAt(record, 0x450, 4), c.stored);
    }
  }
}

TEST(TimeLapseRuleTest, OpeningIgnoresTheTopByte) {
  ConfigRecord record;
  setBytes(record, 0x450, {3, 2, 1, 0x7F});
  const ClockHMS t = timeLapseForOpening(record);
  EXPECT_EQ(t.hour, 1);
  EXPECT_EQ(t.minute, 2);
  EXPECT_EQ(t.second, 3);
}

// --- SMS control interval ---------------------------------------------------------------------

TEST(SmsIntervalRuleTest, ChecksInOrderAndWritesTheWholeWord) {
  struct Case {
    ClockHM interval;
    OptionCheck message;
    Bytes stored;
  };
  const FormText illegal = msg::kIllegalTime;
  const FormText tooShort = msg::kIntervalTooShort;
  const Case cases[] = {
      {{0, 10}, std::nullopt, {10, 0, 0, 0}},
      {{1, 0}, std::nullopt, {0, 1, 0, 0}},
      {{23, 59}, std::nullopt, {59, 23, 0, 0}},
      {{0, 9}, tooShort, {}},
      {{0, 1}, tooShort, {}},
      {{0, 0}, FormText(msg::kInvalidInterval), {}},
      {{24, 0}, illegal, {}},
      {{0, 60}, illegal, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int{c.interval.hour} << ':' << int{c.interval.minute});
    ConfigRecord record = filledRecord();
    const ConfigRecord before = record;
    EXPECT_EQ(storeSmsInterval(c.interval, record), c.message);
    if (c.message) {
      EXPECT_EQ(record, before);
    } else {
      EXPECT_EQ(bytesAt(record, 0x44c, 4), c.stored);
    }
  }
}

TEST(SmsIntervalRuleTest, IntervalsBelowTenMinutesOpenAsTenMinutes) {
  struct Case {
    Bytes field;
    int hour;
    int minute;
  };
  const Case cases[] = {
      {{0, 0, 0, 0}, 0, 10},      // a fresh record
      {{5, 0, 0, 0}, 0, 10},
      {{9, 0, 0, 0}, 0, 10},
      {{10, 0, 0, 0}, 0, 10},
      {{5, 1, 0, 0}, 1, 5},       // the rule is for hour 0 only
      {{30, 2, 0xFF, 0xFF}, 2, 30},  // upper bytes are not read
  };
  for (const Case& c : cases) {
    ConfigRecord record;
    setBytes(record, 0x44c, c.field);
    const ClockHM t = smsIntervalForOpening(record);
    EXPECT_EQ(t.hour, c.hour);
    EXPECT_EQ(t.minute, c.minute);
  }
}

// --- Timers -----------------------------------------------------------------------------------

TimerValues on(std::uint8_t h1, std::uint8_t m1, std::uint8_t h2, std::uint8_t m2) {
  return {true, {h1, m1}, {h2, m2}};
}
TimerValues off(std::uint8_t h1 = 0, std::uint8_t m1 = 0, std::uint8_t h2 = 0,
                std::uint8_t m2 = 0) {
  return {false, {h1, m1}, {h2, m2}};
}

std::uint32_t word(const ConfigRecord& record, const FieldInfo& f) { return record.getUInt32(f); }

TEST(TimerRuleTest, DefaultsOpenAllOffAndOkWritesOnlyTheFlags) {
  ConfigRecord record;
  applyDefaults(record);
  const TimerSet timers = timersForOpening(record);
  for (const TimerValues& t : timers) {
    EXPECT_FALSE(t.on);
    EXPECT_EQ(t.start.hour + t.start.minute + t.stop.hour + t.stop.minute, 0);
  }
  const ConfigRecord before = record;
  ASSERT_EQ(storeTimers(timers, record), std::nullopt);
  EXPECT_EQ(record, before);  // the defaults already hold 1, 1, 1 and zero times
  EXPECT_EQ(record.getInt32(fields::timer1Off), 1);
  EXPECT_EQ(record.getInt32(fields::timer3Off), 1);
}

TEST(TimerRuleTest, EarlierTimersAreWrittenBeforeALaterOneFailsAndFlagsWaitForAll) {
  ConfigRecord record;
  applyDefaults(record);
  record.setUInt32(fields::timer2Start, 0x0102);
  const TimerSet timers{on(8, 0, 18, 0), on(9, 0, 9, 0), off()};
  EXPECT_EQ(storeTimers(timers, record), FormText(msg::kInvalidTimer));
  EXPECT_EQ(bytesAt(record, 0x454, 4), (Bytes{0, 8, 0, 0}));
  EXPECT_EQ(bytesAt(record, 0x460, 4), (Bytes{0, 18, 0, 0}));
  EXPECT_EQ(word(record, fields::timer2Start), 0x0102u);  // the failing timer is not written
  EXPECT_EQ(record.getInt32(fields::timer1Off), 1);       // flags not yet updated
  EXPECT_EQ(record.getInt32(fields::timer2Off), 1);

  // The same with an illegal time in the second timer.
  ConfigRecord second;
  applyDefaults(second);
  EXPECT_EQ(storeTimers({on(1, 2, 3, 4), on(0, 0, 24, 0), off()}, second),
            FormText(msg::kIllegalTime));
  EXPECT_EQ(word(second, fields::timer1Start), 0x0102u);
  EXPECT_EQ(word(second, fields::timer1Stop), 0x0304u);
  EXPECT_EQ(word(second, fields::timer2Stop), 0u);
}

TEST(TimerRuleTest, EachCheckedTimerIsValidatedIllegalBeforeEqual) {
  struct Case {
    TimerValues timer;
    OptionCheck message;
  };
  const FormText illegal = msg::kIllegalTime;
  const Case cases[] = {
      {on(22, 0, 6, 0), std::nullopt},  // over midnight
      {on(0, 0, 23, 59), std::nullopt},
      {on(0, 0, 0, 0), FormText(msg::kInvalidTimer)},
      {on(12, 30, 12, 30), FormText(msg::kInvalidTimer)},
      {on(24, 0, 24, 0), illegal},  // equal, but illegal is reported
      {on(0, 0, 24, 0), illegal},
      {on(0, 60, 1, 0), illegal},
      {on(0, 0, 1, 60), illegal},
      {off(99, 99, 99, 99), std::nullopt},  // a timer that is off is not checked
  };
  for (std::size_t timer = 0; timer < 3; ++timer) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "timer " << timer + 1 << " " << int{c.timer.start.hour}
                                      << ':' << int{c.timer.start.minute} << '-'
                                      << int{c.timer.stop.hour} << ':' << int{c.timer.stop.minute});
      TimerSet timers{off(), off(), off()};
      timers[timer] = c.timer;
      ConfigRecord record;
      applyDefaults(record);
      EXPECT_EQ(storeTimers(timers, record), c.message);
    }
  }
}

TEST(TimerRuleTest, OffTimersKeepTheirTimesAndFlagsFollowTheBoxes) {
  ConfigRecord record;
  applyDefaults(record);
  setBytes(record, 0x458, {99, 30, 0xEE, 0xEE});  // timer 2 start: an invalid 30:99
  setBytes(record, 0x464, {70, 40, 0, 0});
  const ConfigRecord before = record;
  ASSERT_EQ(storeTimers({on(22, 15, 6, 45), off(1, 1, 2, 2), on(7, 0, 8, 0)}, record),
            std::nullopt);
  EXPECT_EQ(bytesAt(record, 0x458, 4), bytesAt(before, 0x458, 4));
  EXPECT_EQ(bytesAt(record, 0x464, 4), bytesAt(before, 0x464, 4));
  EXPECT_EQ(bytesAt(record, 0x454, 4), (Bytes{15, 22, 0, 0}));
  EXPECT_EQ(bytesAt(record, 0x460, 4), (Bytes{45, 6, 0, 0}));
  EXPECT_EQ(bytesAt(record, 0x45c, 4), (Bytes{0, 7, 0, 0}));
  EXPECT_EQ(bytesAt(record, 0x468, 4), (Bytes{0, 8, 0, 0}));
  EXPECT_EQ(bytesAt(record, 0x110, 12), (Bytes{0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));

  // Reopening shows the invalid times of the off timer as they are.
  const TimerSet reopened = timersForOpening(record);
  EXPECT_FALSE(reopened[1].on);
  EXPECT_EQ(reopened[1].start.hour, 30);
  EXPECT_EQ(reopened[1].start.minute, 99);
  EXPECT_TRUE(reopened[0].on);
  EXPECT_TRUE(reopened[2].on);
}

TEST(TimerRuleTest, AnyNonZeroFlagOpensAsOff) {
  ConfigRecord record;
  record.setInt32(fields::timer1Off, 0);
  record.setInt32(fields::timer2Off, -1);
  record.setInt32(fields::timer3Off, 0x100);
  const TimerSet timers = timersForOpening(record);
  EXPECT_TRUE(timers[0].on);
  EXPECT_FALSE(timers[1].on);
  EXPECT_FALSE(timers[2].on);
}

// --- Organization name ------------------------------------------------------------------------

TEST(OrgNameRuleTest, TrailingSpacesDroppedEmptyAndLongRefusedZeroPadded) {
  struct Case {
    FormText name;
    OptionCheck message;
    Bytes stored;
  };
  const FormText empty = msg::kEmptyName;
  const Case cases[] = {
      {u"ABC", std::nullopt, {'A', 'B', 'C', 0, 0, 0, 0, 0}},
      {u"AB  ", std::nullopt, {'A', 'B', 0, 0, 0, 0, 0, 0}},
      {u"  AB", std::nullopt, {' ', ' ', 'A', 'B', 0, 0, 0, 0}},
      {u"X", std::nullopt, {'X', 0, 0, 0, 0, 0, 0, 0}},
      {u"ABCDEFGH", std::nullopt, {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}},
      {u"ABCDEFGH  ", std::nullopt, {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}},
      {u"A\tB", std::nullopt, {'A', '\t', 'B', 0, 0, 0, 0, 0}},
      {u"\u00E9t\u00E9", std::nullopt, {0xE9, 't', 0xE9, 0, 0, 0, 0, 0}},
      {u"", empty, {}},
      {u"        ", empty, {}},
      {u"ABCDEFGHI", FormText(msg::kNameTooLong), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.name));
    ConfigRecord record;
    applyDefaults(record);  // eight spaces
    const ConfigRecord before = record;
    EXPECT_EQ(storeOrgName(c.name, record), c.message);
    if (c.message) {
      EXPECT_EQ(record, before);
    } else {
      EXPECT_EQ(bytesAt(record, 0x474, 8), c.stored);
      EXPECT_EQ(bytesAt(record, 0x47c, 4), bytesAt(before, 0x47c, 4));  // nothing past the field
    }
  }
}

TEST(OrgNameRuleTest, OpeningJoinsAroundZeroBytesAndTrimsSpaces) {
  ConfigRecord record;
  applyDefaults(record);
  EXPECT_EQ(orgNameForOpening(record), u"");
  setBytes(record, 0x474, {'A', 'B', 0, 'C', ' ', ' ', 0, 0});
  EXPECT_EQ(orgNameForOpening(record), u"ABC");
  ASSERT_EQ(storeOrgName(u"ABC", record), std::nullopt);
  EXPECT_EQ(orgNameForOpening(record), u"ABC");
}

}  // namespace
}  // namespace tarnwick
