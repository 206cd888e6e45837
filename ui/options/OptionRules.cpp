#include "ui/options/OptionRules.h"

#include "config/FieldCatalog.h"

#include <cstddef>

namespace tarnwick {

namespace {

constexpr std::uint8_t kLastHour = 23;
constexpr std::uint8_t kLastMinute = 59;
constexpr std::uint8_t kLastSecond = 59;
// The SMS control may not poll more often than every ten minutes.
constexpr std::uint32_t kShortestSmsInterval = 10;
constexpr std::size_t kOrgNameWidth = 8;

std::span<std::uint8_t, 4> digitsOf(ConfigRecord& record, const FieldInfo& field) {
  return record.field(field).first<4>();
}

std::span<const std::uint8_t, 4> digitsOf(const ConfigRecord& record, const FieldInfo& field) {
  return record.field(field).first<4>();
}

OptionCheck storeDigitCode(const FormText& text, std::span<std::uint8_t, 4> digits,
                           const char16_t* nullMessage, const char16_t* invalidMessage) {
  if (text.empty() || text == u"0000") return FormText(nullMessage);
  // A minus sign would need digit values below zero, which the field cannot hold; the text is
  // refused rather than silently stored as some other code.
  const long long value = parseLeadingInteger(text);
  if (value < 0 || value > 9999) return FormText(invalidMessage);
  textToDigitCode(text, digits);
  return std::nullopt;
}

bool legalHourMinute(const ClockHM& t) { return t.hour <= kLastHour && t.minute <= kLastMinute; }

}  // namespace

FormText passwordText(const ConfigRecord& record) {
  return digitCodeToText(digitsOf(record, fields::password));
}

FormText serialNoText(const ConfigRecord& record) {
  return digitCodeToText(digitsOf(record, fields::serialNo));
}

OptionCheck storePassword(const FormText& text, ConfigRecord& record) {
  return storeDigitCode(text, digitsOf(record, fields::password), optionmessages::kNullPassword,
                        optionmessages::kInvalidPassword);
}

OptionCheck storeSerialNo(const FormText& text, ConfigRecord& record) {
  return storeDigitCode(text, digitsOf(record, fields::serialNo),
                        optionmessages::kNullSerialNumber, optionmessages::kInvalidSerialNumber);
}

ClockHMS timeLapseForOpening(const ConfigRecord& record) {
  ClockHMS t;
  unpackHourMinuteSecond(record.getUInt32(fields::timeLapse), t.hour, t.minute, t.second);
  return t;
}

OptionCheck storeTimeLapse(const ClockHMS& period, ConfigRecord& record) {
  if (period.hour > kLastHour || period.minute > kLastMinute || period.second > kLastSecond) {
    return FormText(optionmessages::kIllegalTime);
  }
  if (period.hour == 0 && period.minute == 0 && period.second == 0) {
    return FormText(optionmessages::kInvalidTimeLapse);
  }
  record.setUInt32(fields::timeLapse,
                   packHourMinuteSecond(period.hour, period.minute, period.second));
  return std::nullopt;
}

ClockHM smsIntervalForOpening(const ConfigRecord& record) {
  ClockHM t;
  unpackHourMinute(record.getUInt32(fields::smsInterval), t.hour, t.minute);
  if (t.hour == 0 && t.minute < kShortestSmsInterval) t.minute = kShortestSmsInterval;
  return t;
}

OptionCheck storeSmsInterval(const ClockHM& interval, ConfigRecord& record) {
  if (!legalHourMinute(interval)) return FormText(optionmessages::kIllegalTime);
  const std::uint32_t value = packHourMinute(interval.hour, interval.minute);
  if (value == 0) return FormText(optionmessages::kInvalidInterval);
  if (value < kShortestSmsInterval) return FormText(optionmessages::kIntervalTooShort);
  record.setUInt32(fields::smsInterval, value);
  return std::nullopt;
}

namespace {
struct TimerFields {
  const FieldInfo& off;
  const FieldInfo& start;
  const FieldInfo& stop;
};

const std::array<TimerFields, 3>& timerFields() {
  static const std::array<TimerFields, 3> all{{
      {fields::timer1Off, fields::timer1Start, fields::timer1Stop},
      {fields::timer2Off, fields::timer2Start, fields::timer2Stop},
      {fields::timer3Off, fields::timer3Start, fields::timer3Stop},
  }};
  return all;
}
}  // namespace

TimerSet timersForOpening(const ConfigRecord& record) {
  TimerSet timers;
  for (std::size_t i = 0; i < timers.size(); ++i) {
    const TimerFields& f = timerFields()[i];
    TimerValues& t = timers[i];
    t.on = record.getInt32(f.off) == 0;
    unpackHourMinute(record.getUInt32(f.start), t.start.hour, t.start.minute);
    unpackHourMinute(record.getUInt32(f.stop), t.stop.hour, t.stop.minute);
  }
  return timers;
}

OptionCheck storeTimers(const TimerSet& timers, ConfigRecord& record) {
  for (std::size_t i = 0; i < timers.size(); ++i) {
    const TimerValues& t = timers[i];
    if (!t.on) continue;
    // Hours before minutes: start hour, stop hour, start minute, stop minute.
    if (t.start.hour > kLastHour || t.stop.hour > kLastHour || t.start.minute > kLastMinute ||
        t.stop.minute > kLastMinute) {
      return FormText(optionmessages::kIllegalTime);
    }
    if (t.start.hour == t.stop.hour && t.start.minute == t.stop.minute) {
      return FormText(optionmessages::kInvalidTimer);
    }
    // A start after the stop is a timer running over midnight.
    record.setUInt32(timerFields()[i].start, packHourMinute(t.start.hour, t.start.minute));
    record.setUInt32(timerFields()[i].stop, packHourMinute(t.stop.hour, t.stop.minute));
  }
  for (std::size_t i = 0; i < timers.size(); ++i) {
    record.setInt32(timerFields()[i].off, timers[i].on ? 0 : 1);
  }
  return std::nullopt;
}

FormText orgNameForOpening(const ConfigRecord& record) {
  return fieldToText(record.field(fields::orgName));
}

OptionCheck storeOrgName(FormText name, ConfigRecord& record) {
  trimTrailingSpaces(name);
  if (name.empty()) return FormText(optionmessages::kEmptyName);
  if (name.size() > kOrgNameWidth) return FormText(optionmessages::kNameTooLong);
  textToField(name, record.field(fields::orgName));
  return std::nullopt;
}

}  // namespace tarnwick
