#include "fleet/SettingsCheck.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "config/TextConversions.h"
#include "network/SmtpPresetTable.h"

namespace tarnwick {

namespace {

// Interval codes: 1-60 seconds, above 60 minutes + 60; the camera takes 3 s to 60 min.
constexpr std::uint32_t kMinInterval = 3;
constexpr std::uint32_t kMaxInterval = 60 + 60;
constexpr std::uint32_t kMinVideoSeconds = 5;
constexpr std::uint32_t kMaxVideoSeconds = 30;
constexpr std::uint32_t kMinSmsInterval = 10;  // 0:10 as hour * 256 + minute
constexpr std::int32_t kNoneOption = 2;        // "OFF" in the MMS and Data Option lists
constexpr std::int32_t kSmtpOption = 0;
constexpr std::int32_t kFtpOption = 1;
constexpr std::uint8_t kAutoMode = 0;

// A text field as the program reads it: zero bytes skipped, trailing spaces removed.
std::string textOf(const ConfigRecord& record, const FieldInfo& field) {
  std::string text;
  for (const std::uint8_t b : record.field(field)) {
    if (b != 0) text.push_back(static_cast<char>(b));
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

bool blank(const ConfigRecord& record, const FieldInfo& field) {
  const std::string text = textOf(record, field);
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

class Findings {
 public:
  void add(const FieldInfo& field, std::string reason) {
    list_.push_back({&field, std::move(reason)});
  }
  std::vector<CheckFinding> take() { return std::move(list_); }

 private:
  std::vector<CheckFinding> list_;
};

void checkLists(const ConfigRecord& record, Findings& out) {
  for (const FieldInfo* field : fieldCatalog()) {
    std::int64_t count = static_cast<std::int64_t>(field->items.size());
    if (field->name == fields::smtpPreset.name) {
      count = static_cast<std::int64_t>(programSmtpPresetTable().size());
    }
    if (count == 0) continue;
    std::int64_t value = 0;
    if (field->encoding == Encoding::Index) {
      value = record.getInt32(*field);
    } else if (field->encoding == Encoding::ByteIndex) {
      value = record.getUInt8(*field);
    } else {
      continue;
    }
    if (value >= 0 && value < count) continue;
    out.add(*field, "not a position of its list (0-" + std::to_string(count - 1) + ")");
  }
}

void checkRanges(const ConfigRecord& record, Findings& out) {
  const std::uint32_t interval = record.getUInt32(fields::interval);
  if (interval < kMinInterval || interval > kMaxInterval) {
    out.add(fields::interval, "outside the camera's 3 s to 60 min");
  }
  const std::uint32_t video = record.getUInt32(fields::videoLength);
  if (video < kMinVideoSeconds || video > kMaxVideoSeconds) {
    out.add(fields::videoLength, "outside the camera's 5 s to 30 s");
  }
}

bool on(const ConfigRecord& record, const FieldInfo& offFlag) {
  return record.getInt32(offFlag) == 0;
}

void checkCode(const ConfigRecord& record, const FieldInfo& offFlag, const FieldInfo& code,
               Findings& out) {
  if (!on(record, offFlag)) return;
  const auto digits = record.field(code);
  if (std::any_of(digits.begin(), digits.end(), [](std::uint8_t d) { return d > 9; })) {
    out.add(code, std::string(offFlag.name) + " is On and the code is not four digits");
  } else if (std::all_of(digits.begin(), digits.end(), [](std::uint8_t d) { return d == 0; })) {
    out.add(code, std::string(offFlag.name) + " is On and the code is unset (0000)");
  }
}

// A clock of a switch that is On must be a time of day, as `get` shows it.
bool clockOutOfRange(const ConfigRecord& record, const FieldInfo& offFlag, const FieldInfo& clock,
                     Findings& out) {
  if (clockInRange(record.getUInt32(clock), clock.encoding == Encoding::ClockHMS)) return false;
  out.add(clock, std::string(offFlag.name) + " is On and the time is out of range");
  return true;
}

void checkSwitches(const ConfigRecord& record, Findings& out) {
  checkCode(record, fields::passwordOff, fields::password, out);
  checkCode(record, fields::serialNoOff, fields::serialNo, out);
  if (on(record, fields::timeLapseOff) &&
      !clockOutOfRange(record, fields::timeLapseOff, fields::timeLapse, out) &&
      record.getUInt32(fields::timeLapse) == 0) {
    out.add(fields::timeLapse, "timeLapseOff is On and the period is unset (0:00:00)");
  }
  if (on(record, fields::orgNameOff) && blank(record, fields::orgName)) {
    out.add(fields::orgName, "orgNameOff is On and the name is empty");
  }
  if (on(record, fields::smsCtrlOff) &&
      !clockOutOfRange(record, fields::smsCtrlOff, fields::smsInterval, out) &&
      record.getUInt32(fields::smsInterval) < kMinSmsInterval) {
    out.add(fields::smsInterval, "smsCtrlOff is On and the interval is under 0:10");
  }
  const std::array<std::array<const FieldInfo*, 3>, 3> timers{{
      {&fields::timer1Off, &fields::timer1Start, &fields::timer1Stop},
      {&fields::timer2Off, &fields::timer2Start, &fields::timer2Stop},
      {&fields::timer3Off, &fields::timer3Start, &fields::timer3Stop},
  }};
  for (const auto& timer : timers) {
    if (!on(record, *timer[0])) continue;
    const bool badStart = clockOutOfRange(record, *timer[0], *timer[1], out);
    const bool badStop = clockOutOfRange(record, *timer[0], *timer[2], out);
    if (!badStart && !badStop && record.getUInt32(*timer[1]) == record.getUInt32(*timer[2])) {
      out.add(*timer[1], std::string(timer[0]->name) + " is On and the timer starts when it stops");
    }
  }
}

// A decimal number from 1 to 65535, digits only.
bool validPort(const std::string& text) {
  if (text.empty() || text.size() > 5) return false;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  const long value = std::stol(text);
  return value >= 1 && value <= 65535;
}

void checkPorts(const ConfigRecord& record, Findings& out) {
  for (const FieldInfo* port : {&fields::mmsPort, &fields::smtpPort, &fields::ftpPort}) {
    if (blank(record, *port)) continue;
    if (!validPort(textOf(record, *port))) {
      out.add(*port, "not a decimal port number from 1 to 65535");
    }
  }
}

void checkSending(const ConfigRecord& record, Findings& out) {
  const std::int32_t data = record.getInt32(fields::dataOption);
  if (data == kSmtpOption) {
    for (const FieldInfo* needed : {&fields::smtpServer, &fields::smtpPort, &fields::smtpEmail}) {
      if (blank(record, *needed)) out.add(*needed, "empty while Data Option is SMTP");
    }
  } else if (data == kFtpOption && blank(record, fields::ftpServer)) {
    out.add(fields::ftpServer, "empty while Data Option is FTP");
  }
  const std::int32_t mms = record.getInt32(fields::mmsOption);
  if (mms >= 0 && mms < kNoneOption && blank(record, fields::phone1) &&
      blank(record, fields::phone2) && blank(record, fields::phone3)) {
    out.add(fields::phone1, "MMS Option is on and no phone number is given");
  }
}

// "3 operators (0-2)", "1 country (0-0)", "no countries".
std::string positions(std::size_t count, std::string_view one, std::string_view many) {
  if (count == 0) return "no " + std::string(many);
  return std::to_string(count) + " " + std::string(count == 1 ? one : many) + " (0-" +
         std::to_string(count - 1) + ")";
}

void checkOperator(const ConfigRecord& record, const OperatorTable& table, Findings& out) {
  if (record.getUInt8(fields::networkMode) != kAutoMode) return;
  const CountryEntry* entry = table.country(record.getUInt8(fields::countryIndex));
  if (entry == nullptr) {
    out.add(fields::countryIndex, "Auto mode and the operator table has " +
                                      positions(table.countryCount(), "country", "countries"));
    return;
  }
  const std::size_t operators = entry->listedOperators().size();
  if (record.getUInt8(fields::operatorIndex) >= operators) {
    out.add(fields::operatorIndex,
            "Auto mode and the country has " + positions(operators, "operator", "operators"));
  }
}

void checkShownTexts(const ConfigRecord& record, Findings& out) {
  if (blank(record, fields::orgName)) return;
  const std::string text = textOf(record, fields::orgName);
  if (std::any_of(text.begin(), text.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b > 0x7E;
      })) {
    out.add(fields::orgName, "holds characters outside printable ASCII, which the camera "
                             "cannot print on its pictures");
  }
}

}  // namespace

std::vector<CheckFinding> checkSettings(const ConfigRecord& record, const OperatorTable& table) {
  Findings out;
  checkLists(record, out);
  checkRanges(record, out);
  checkSwitches(record, out);
  checkPorts(record, out);
  checkSending(record, out);
  checkOperator(record, table, out);
  checkShownTexts(record, out);
  return out.take();
}

}  // namespace tarnwick
