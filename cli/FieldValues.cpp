#include "cli/FieldValues.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <limits>
#include <vector>

#include "cli/ByteText.h"
#include "config/Interval.h"
#include "config/TextConversions.h"
#include "network/SmtpPresetTable.h"
#include "ui/options/OptionRules.h"

namespace tarnwick::cli {

namespace {

constexpr std::string_view kOutOfRange = "(out of range)";  // after a time that is none
constexpr std::string_view kNoSelection = "(no selection)";
constexpr std::uint8_t kNoByteSelection = 0xFF;

std::string toLowerNoSpace(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (std::isspace(static_cast<unsigned char>(c)) == 0) {
      out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
  }
  return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// A whole decimal number with an optional leading minus sign, nothing else.
template <typename T>
std::optional<T> parseNumber(std::string_view text) {
  T value{};
  if (text.empty() || text.front() == '+') return std::nullopt;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string twoDigits(unsigned value) {
  std::array<char, 8> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%02u", value);
  return buffer.data();
}

// The names of a list field's entries; the SMTP preset byte takes the provider table's names.
std::vector<std::string> listTexts(const FieldInfo& field) {
  std::vector<std::string> texts;
  if (field.name == fields::smtpPreset.name) {
    for (const SmtpPreset& row : programSmtpPresetTable().rows()) texts.push_back(toUtf8(row.name));
    return texts;
  }
  for (const std::string_view item : field.items) texts.emplace_back(item);
  return texts;
}

std::string outOfRange(const std::string& raw) { return "(out of range: " + raw + ")"; }

std::string listView(const std::vector<std::string>& texts, std::int64_t value, bool& inRange) {
  if (value >= 0 && value < static_cast<std::int64_t>(texts.size())) {
    return texts[static_cast<std::size_t>(value)];
  }
  inRange = false;
  return outOfRange(std::to_string(value));
}

FieldView viewClock(const FieldInfo& field, std::uint32_t v) {
  FieldView view;
  view.raw = std::to_string(v);
  view.number = v;
  const bool withSeconds = field.encoding == Encoding::ClockHMS;
  std::uint8_t hour = 0;
  std::uint8_t minute = 0;
  std::uint8_t second = 0;
  if (withSeconds) {
    unpackHourMinuteSecond(v, hour, minute, second);
  } else {
    unpackHourMinute(v, hour, minute);
  }
  // Bytes above the hour are none of a clock's: such a value is no time at all.
  const bool upper = withSeconds ? v != packHourMinuteSecond(hour, minute, second)
                                 : v != packHourMinute(hour, minute);
  if (upper) {
    view.inRange = false;
    view.value = outOfRange(view.raw);
    return view;
  }
  view.value = std::to_string(hour) + ":" + twoDigits(minute);
  if (withSeconds) view.value += ":" + twoDigits(second);
  view.inRange = clockInRange(v, withSeconds);
  // The SMS control interval is 0:10 at least once set; 0:00 is a record that never had one.
  if (field.name == fields::smsInterval.name && v != 0 && v < 10) view.inRange = false;
  if (!view.inRange) view.value += " " + std::string(kOutOfRange);
  return view;
}

std::string unitText(std::size_t position) {
  return std::string(intervalUnitItems()[position]);
}

// --- typed values ---

std::string listChoices(const std::vector<std::string>& texts) {
  std::string out;
  for (const std::string& t : texts) {
    if (!out.empty()) out += ", ";
    out += "\"" + t + "\"";
  }
  return out;
}

// A list entry by its text (exactly, or ignoring case and blanks when that is unambiguous) or
// by its position.
std::optional<std::string> matchList(const std::vector<std::string>& texts,
                                     std::string_view value, std::int64_t& position) {
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (texts[i] == value) {
      position = static_cast<std::int64_t>(i);
      return std::nullopt;
    }
  }
  const std::string wanted = toLowerNoSpace(value);
  int matches = 0;
  for (std::size_t i = 0; i < texts.size() && !wanted.empty(); ++i) {
    if (toLowerNoSpace(texts[i]) == wanted) {
      position = static_cast<std::int64_t>(i);
      ++matches;
    }
  }
  if (matches == 1) return std::nullopt;
  if (const auto n = parseNumber<std::int64_t>(value)) {
    if (*n >= 0 && *n < static_cast<std::int64_t>(texts.size())) {
      position = *n;
      return std::nullopt;
    }
  }
  return "not one of " + listChoices(texts) + ", nor a position 0-" +
         std::to_string(texts.size() - 1);
}

// "H:MM" or "H:MM:SS", one or two digits a part.
std::optional<std::array<unsigned, 3>> parseClock(std::string_view text, int parts) {
  std::array<unsigned, 3> values{};
  int part = 0;
  std::size_t start = 0;
  while (true) {
    const std::size_t colon = text.find(':', start);
    const std::string_view piece =
        text.substr(start, colon == std::string_view::npos ? std::string_view::npos : colon - start);
    if (part >= parts || piece.empty() || piece.size() > 2 ||
        !std::all_of(piece.begin(), piece.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      return std::nullopt;
    }
    values[static_cast<std::size_t>(part++)] = *parseNumber<unsigned>(piece);
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
  if (part != parts) return std::nullopt;
  return values;
}

std::optional<std::string> assignInterval(ConfigRecord& record, std::string_view value) {
  std::size_t digits = 0;
  while (digits < value.size() && value[digits] >= '0' && value[digits] <= '9') ++digits;
  std::string_view unit = value.substr(digits);
  while (!unit.empty() && unit.front() == ' ') unit.remove_prefix(1);
  const auto number = parseNumber<std::uint32_t>(value.substr(0, digits));
  constexpr std::string_view kForm = "expected seconds or minutes, such as \"10 sec\" or \"5 min\"";
  if (!number) return std::string(kForm);
  bool minutes = false;
  if (unit.empty() || equalsIgnoreCase(unit, "s") || equalsIgnoreCase(unit, "sec") ||
      equalsIgnoreCase(unit, "secs") || equalsIgnoreCase(unit, "second") ||
      equalsIgnoreCase(unit, "seconds")) {
    minutes = false;
  } else if (equalsIgnoreCase(unit, "m") || equalsIgnoreCase(unit, "min") ||
             equalsIgnoreCase(unit, "mins") || equalsIgnoreCase(unit, "minute") ||
             equalsIgnoreCase(unit, "minutes")) {
    minutes = true;
  } else {
    return std::string(kForm);
  }
  const std::optional<std::uint32_t> code = exactIntervalCode(*number, minutes);
  if (!code && minutes) return std::string("minutes must be from 1 to 60");
  // The camera counts intervals above a minute in whole minutes.
  if (!code) {
    return std::string("above 60 seconds the interval is whole minutes, from 1 min to 60 min");
  }
  record.setUInt32(fields::interval, *code);
  return std::nullopt;
}

std::optional<std::string> assignText(ConfigRecord& record, const FieldInfo& field,
                                      std::string_view value) {
  // What get prints for a control character (\x1B) reads back as that character.
  ByteText text = utf8ToLatin1(unescapeControls(value));
  if (!text.ok()) return text.error;
  if (field.name == fields::orgName.name) {
    FormText name;
    for (const std::uint8_t b : text.bytes) name.push_back(b);
    if (const OptionCheck refused = storeOrgName(name, record)) return toUtf8(*refused);
    return std::nullopt;
  }
  if (text.bytes.size() > field.size) {
    return "longer than the field's " + std::to_string(field.size) + " characters";
  }
  const auto bytes = record.field(field);
  std::fill(bytes.begin(), bytes.end(), std::uint8_t{0});
  std::copy(text.bytes.begin(), text.bytes.end(), bytes.begin());
  return std::nullopt;
}

std::optional<std::string> assignCode(ConfigRecord& record, const FieldInfo& field,
                                      std::string_view value) {
  const bool isPassword = field.name == fields::password.name;
  if (value.empty() || value.size() > 4 ||
      !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::string("expected a code of one to four digits, such as 1234");
  }
  // Four zero digits mean "no code"; the windows refuse "0000" and this refuses every way of
  // writing zero, so a refusal never passes for a stored code.
  if (std::all_of(value.begin(), value.end(), [](char c) { return c == '0'; })) {
    return toUtf8(isPassword ? optionmessages::kNullPassword : optionmessages::kNullSerialNumber);
  }
  const FormText text = widenAscii(value);
  const OptionCheck refused =
      isPassword ? storePassword(text, record) : storeSerialNo(text, record);
  if (refused) return toUtf8(*refused);
  return std::nullopt;
}

std::optional<std::string> assignClock(ConfigRecord& record, const FieldInfo& field,
                                       std::string_view value) {
  if (field.encoding == Encoding::ClockHMS) {
    const auto parts = parseClock(value, 3);
    if (!parts) return std::string("expected a period as H:MM:SS, such as 1:02:03");
    const ClockHMS period{static_cast<std::uint8_t>((*parts)[0]),
                          static_cast<std::uint8_t>((*parts)[1]),
                          static_cast<std::uint8_t>((*parts)[2])};
    if (const OptionCheck refused = storeTimeLapse(period, record)) return toUtf8(*refused);
    return std::nullopt;
  }
  const auto parts = parseClock(value, 2);
  if (!parts) return std::string("expected a time as H:MM, such as 07:05");
  const ClockHM time{static_cast<std::uint8_t>((*parts)[0]),
                     static_cast<std::uint8_t>((*parts)[1])};
  if (field.name == fields::smsInterval.name) {
    if (const OptionCheck refused = storeSmsInterval(time, record)) return toUtf8(*refused);
    return std::nullopt;
  }
  if (time.hour > 23 || time.minute > 59) return toUtf8(optionmessages::kIllegalTime);
  record.setUInt32(field, packHourMinute(time.hour, time.minute));
  return std::nullopt;
}

// Timer number 1-3 of a timer field, or 0.
int timerOf(const FieldInfo& field) {
  static constexpr std::array<std::array<const FieldInfo*, 3>, 3> kTimers{{
      {&fields::timer1Off, &fields::timer1Start, &fields::timer1Stop},
      {&fields::timer2Off, &fields::timer2Start, &fields::timer2Stop},
      {&fields::timer3Off, &fields::timer3Start, &fields::timer3Stop},
  }};
  for (std::size_t t = 0; t < kTimers.size(); ++t) {
    for (const FieldInfo* f : kTimers[t]) {
      if (f->name == field.name) return static_cast<int>(t) + 1;
    }
  }
  return 0;
}

}  // namespace

std::string hexBytes(std::span<const std::uint8_t> bytes) {
  std::string out;
  for (const std::uint8_t b : bytes) {
    std::array<char, 4> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%02x", b);
    if (!out.empty()) out.push_back(' ');
    out += buffer.data();
  }
  return out;
}

std::string_view encodingName(Encoding encoding) {
  switch (encoding) {
    case Encoding::Index: return "index";
    case Encoding::OffFlag: return "offFlag";
    case Encoding::ByteIndex: return "byteIndex";
    case Encoding::Text: return "text";
    case Encoding::Digits4: return "digits4";
    case Encoding::ClockHM: return "clockHM";
    case Encoding::ClockHMS: return "clockHMS";
    case Encoding::IntervalCode: return "intervalCode";
    case Encoding::Seconds: return "seconds";
    case Encoding::Int32: return "int32";
    case Encoding::UInt8: return "uint8";
  }
  return "unknown";
}

FieldView viewField(const ConfigRecord& record, const FieldInfo& field) {
  FieldView view;
  switch (field.encoding) {
    case Encoding::Index: {
      const std::int32_t v = record.getInt32(field);
      view.raw = std::to_string(v);
      view.number = v;
      if (v == -1) {
        view.inRange = false;
        view.value = std::string(kNoSelection);
      } else {
        view.value = listView(listTexts(field), v, view.inRange);
      }
      return view;
    }
    case Encoding::OffFlag: {
      // Zero is on; the program writes 1 for off, but any other value means off as well.
      const std::int32_t v = record.getInt32(field);
      view.raw = std::to_string(v);
      view.number = v;
      view.value = v == 0 ? "On" : "Off";
      return view;
    }
    case Encoding::ByteIndex: {
      const std::uint8_t v = record.getUInt8(field);
      view.raw = std::to_string(v);
      view.number = v;
      const std::vector<std::string> texts = listTexts(field);
      if (v == kNoByteSelection) {
        view.inRange = false;
        view.value = std::string(kNoSelection);
      } else if (texts.empty()) {
        view.value = view.raw;  // a position in the operator table in use
      } else {
        view.value = listView(texts, v, view.inRange);
      }
      return view;
    }
    case Encoding::Text: {
      const auto bytes = record.field(field);
      std::vector<std::uint8_t> characters;
      for (const std::uint8_t b : bytes) {
        if (b != 0) characters.push_back(b);  // a zero byte is no character; it ends nothing
      }
      while (!characters.empty() && characters.back() == ' ') characters.pop_back();
      view.value = escapeControls(latin1ToUtf8(characters));
      return view;
    }
    case Encoding::Digits4: {
      const auto bytes = record.field(field);
      view.raw = hexBytes(bytes);
      if (std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b <= 9; })) {
        for (const std::uint8_t b : bytes) view.value.push_back(static_cast<char>('0' + b));
      } else {
        view.inRange = false;
        view.value = outOfRange(view.raw);
      }
      return view;
    }
    case Encoding::ClockHM:
    case Encoding::ClockHMS:
      return viewClock(field, record.getUInt32(field));
    case Encoding::IntervalCode: {
      const std::uint32_t v = record.getUInt32(field);
      view.raw = std::to_string(v);
      view.number = v;
      const IntervalDisplay shown = splitInterval(v);
      view.value = std::to_string(shown.number) + " " +
                   unitText(static_cast<std::size_t>(shown.unit));
      return view;
    }
    case Encoding::Seconds: {
      const std::uint32_t v = record.getUInt32(field);
      view.raw = std::to_string(v);
      view.number = v;
      view.value = view.raw + " " + unitText(0);
      return view;
    }
    case Encoding::Int32:
      view.number = record.getInt32(field);
      view.raw = std::to_string(*view.number);
      view.value = view.raw;
      return view;
    case Encoding::UInt8:
      view.number = record.getUInt8(field);
      view.raw = std::to_string(*view.number);
      view.value = view.raw;
      return view;
  }
  return view;
}

std::optional<Assignment> parseAssignment(std::string_view text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos || equals == 0) return std::nullopt;
  return Assignment{std::string(text.substr(0, equals)), std::string(text.substr(equals + 1))};
}

std::optional<std::string> assignField(ConfigRecord& record, const FieldInfo& field,
                                       std::string_view value) {
  ConfigRecord changed = record;
  std::optional<std::string> refused;
  switch (field.encoding) {
    case Encoding::Index:
    case Encoding::ByteIndex: {
      const std::vector<std::string> texts = listTexts(field);
      if (texts.empty()) {
        // A position in the operator table: any byte but the "no selection" 0xFF.
        const auto n = parseNumber<unsigned>(value);
        if (!n || *n >= kNoByteSelection) {
          refused = "expected a position from 0 to 254";
          break;
        }
        changed.setUInt8(field, static_cast<std::uint8_t>(*n));
        break;
      }
      std::int64_t position = 0;
      refused = matchList(texts, value, position);
      if (refused) break;
      if (field.encoding == Encoding::Index) {
        changed.setInt32(field, static_cast<std::int32_t>(position));
      } else {
        changed.setUInt8(field, static_cast<std::uint8_t>(position));
      }
      break;
    }
    case Encoding::OffFlag:
      if (equalsIgnoreCase(value, "On")) {
        changed.setInt32(field, 0);
      } else if (equalsIgnoreCase(value, "Off")) {
        changed.setInt32(field, 1);
      } else {
        refused = "expected On or Off";
      }
      break;
    case Encoding::Text:
      refused = assignText(changed, field, value);
      break;
    case Encoding::Digits4:
      refused = assignCode(changed, field, value);
      break;
    case Encoding::ClockHM:
    case Encoding::ClockHMS:
      refused = assignClock(changed, field, value);
      break;
    case Encoding::IntervalCode:
      refused = assignInterval(changed, value);
      break;
    case Encoding::Seconds: {
      std::string_view number = value;
      for (const std::string_view unit : {" sec", "sec", " s", "s"}) {
        if (number.size() > unit.size() && equalsIgnoreCase(number.substr(number.size() - unit.size()), unit)) {
          number.remove_suffix(unit.size());
          break;
        }
      }
      const auto n = parseNumber<std::uint32_t>(number);
      if (!n) {
        refused = "expected a number of seconds from 0 to 4294967295";
        break;
      }
      changed.setUInt32(field, *n);
      break;
    }
    case Encoding::Int32: {
      const auto n = parseNumber<std::int32_t>(value);
      if (!n) {
        refused = "expected a whole number from -2147483648 to 2147483647";
        break;
      }
      changed.setInt32(field, *n);
      break;
    }
    case Encoding::UInt8: {
      const auto n = parseNumber<unsigned>(value);
      if (!n || *n > 255) {
        refused = "expected a whole number from 0 to 255";
        break;
      }
      changed.setUInt8(field, static_cast<std::uint8_t>(*n));
      break;
    }
  }
  if (!refused) record = changed;
  return refused;
}

std::optional<Refusal> applyAssignments(ConfigRecord& record,
                                        std::span<const Assignment> assignments) {
  // The last assignment of each timer, so that a refusal names a field the user gave.
  std::array<const Assignment*, 3> timerTouched{};
  for (const Assignment& a : assignments) {
    const FieldInfo* field = findField(a.field);
    if (field == nullptr) return Refusal{a.field, a.value, "no such field"};
    if (auto reason = assignField(record, *field, a.value)) {
      return Refusal{a.field, a.value, std::move(*reason)};
    }
    if (const int timer = timerOf(*field)) timerTouched[static_cast<std::size_t>(timer - 1)] = &a;
  }
  // A timer that is on is checked as the Timer window checks it on OK (times, then start equal
  // to stop); timers the assignments did not touch are left as they are.
  const TimerSet timers = timersForOpening(record);
  for (std::size_t t = 0; t < timers.size(); ++t) {
    if (timerTouched[t] == nullptr || !timers[t].on) continue;
    TimerSet only{};
    only[t] = timers[t];
    ConfigRecord scratch = record;
    if (const OptionCheck refused = storeTimers(only, scratch)) {
      const std::string timer = "timer " + std::to_string(t + 1);
      const std::string why = *refused == optionmessages::kInvalidTimer
                                  ? " (" + timer + " is on; its start and stop must differ)"
                                  : " (" + timer + " is on; its stored times are not valid)";
      return Refusal{timerTouched[t]->field, timerTouched[t]->value, toUtf8(*refused) + why};
    }
  }
  return std::nullopt;
}

}  // namespace tarnwick::cli
