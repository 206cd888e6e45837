#pragma once

#include "config/ConfigRecord.h"
#include "config/TextConversions.h"

#include <array>
#include <cstdint>
#include <optional>

// The check-and-write step of each option dialog, apart from any window: given the values the
// user entered and the settings record, either every check passes and the fields are written,
// or the first failed check names the one message to show. The dialogs only move values between
// their controls and these functions.

namespace tarnwick {

// The message of the first failed check; nothing when all checks passed and the record was
// written.
using OptionCheck = std::optional<FormText>;

namespace optionmessages {
inline constexpr char16_t kNullPassword[] = u"Null password!";
inline constexpr char16_t kNullSerialNumber[] = u"Null serial number!";
inline constexpr char16_t kInvalidPassword[] = u"Invalid password!";
inline constexpr char16_t kInvalidSerialNumber[] = u"Invalid serial number!";
inline constexpr char16_t kIllegalTime[] = u"Illegal time!";
inline constexpr char16_t kInvalidTimeLapse[] = u"Invalid time-lapse!";
inline constexpr char16_t kInvalidInterval[] = u"Invalid interval!";
inline constexpr char16_t kIntervalTooShort[] = u"Interval must be 10 mins at least!";
inline constexpr char16_t kInvalidTimer[] = u"Invalid timer!";
inline constexpr char16_t kEmptyName[] = u"Empty name!";
inline constexpr char16_t kNameTooLong[] = u"Must be 8 characters!";
}  // namespace optionmessages

// --- Password and serial number: four digit values, most significant first ---

// The code as the dialog shows it when it opens ("0000" for four zero digits).
FormText passwordText(const ConfigRecord& record);
FormText serialNoText(const ConfigRecord& record);

// An empty text or "0000" is the null code and is refused. A text that reads as a negative
// number ("-5") is refused too: the four digit bytes cannot hold it. Any other text is stored
// as the number it starts with ("12" -> 0, 0, 1, 2; "7x" -> 0, 0, 0, 7; "ab" or " " -> zeros).
OptionCheck storePassword(const FormText& text, ConfigRecord& record);
OptionCheck storeSerialNo(const FormText& text, ConfigRecord& record);

// --- Time-lapse period: hour * 65536 + minute * 256 + second ---

struct ClockHMS {
  std::uint8_t hour = 0;
  std::uint8_t minute = 0;
  std::uint8_t second = 0;
};

ClockHMS timeLapseForOpening(const ConfigRecord& record);
// Refuses an hour above 23, a minute or second above 59 ("Illegal time!"), then 0:0:0
// ("Invalid time-lapse!"); writes all 32 bits of timeLapse.
OptionCheck storeTimeLapse(const ClockHMS& period, ConfigRecord& record);

// --- SMS control interval: hour * 256 + minute ---

struct ClockHM {
  std::uint8_t hour = 0;
  std::uint8_t minute = 0;
};

// An interval below ten minutes (a fresh record holds 0:00) opens as 0:10.
ClockHM smsIntervalForOpening(const ConfigRecord& record);
// Refuses an illegal time, then 0:00 ("Invalid interval!"), then 0:01-0:09 ("Interval must be
// 10 mins at least!"); writes all 32 bits of smsInterval.
OptionCheck storeSmsInterval(const ClockHM& interval, ConfigRecord& record);

// --- The three timers ---

struct TimerValues {
  bool on = false;
  ClockHM start;
  ClockHM stop;
};
using TimerSet = std::array<TimerValues, 3>;

// Each timer is on when its flag is 0; its times come from its start and stop fields.
TimerSet timersForOpening(const ConfigRecord& record);
// Timer by timer, for the timers that are on only: refuses an illegal time, then a start equal
// to its stop ("Invalid timer!"), else writes that timer's start and stop at once. A later
// timer's failure therefore leaves the earlier timers' times written. The three flags (0 = on,
// 1 = off) are written only when every timer passed. Times of a timer that is off are neither
// checked nor written.
OptionCheck storeTimers(const TimerSet& timers, ConfigRecord& record);

// --- Organization name: 8-byte text field ---

FormText orgNameForOpening(const ConfigRecord& record);
// Trailing spaces are dropped; an empty name is refused ("Empty name!"), so is one longer than
// 8 characters ("Must be 8 characters!"); the name is stored zero-padded.
OptionCheck storeOrgName(FormText name, ConfigRecord& record);

}  // namespace tarnwick
