#pragma once

#include "config/ConfigRecord.h"
#include "config/FieldCatalog.h"
#include "config/Interval.h"

#include <array>
#include <cstdint>
#include <span>

namespace tarnwick {

// One drop-down list of the form: its control, the field it shows, and a second field that
// also takes its selection when the form is collected (the two Shot Number copies).
struct ListBinding {
  int controlId;
  const FieldInfo* field;
  const FieldInfo* alsoCollectedInto;
};

// The eleven record lists, in the order they are shown (the interval unit list is separate).
std::span<const ListBinding> mainFormLists();

// One On/Off pair: its radios, its off-flag, and the value zeroed when it is saved as Off
// (nullptr: the value is kept).
struct SwitchBinding {
  int onId;
  int offId;
  const FieldInfo* offFlag;
  const FieldInfo* zeroedWhenOff;
};

// Password, Serial No., Time-lapse, Org. Name, SMS Ctrl, in that order.
std::span<const SwitchBinding> mainFormSwitches();

inline constexpr std::size_t kMainFormListCount = 11;
inline constexpr std::size_t kMainFormSwitchCount = 5;

// The form's state as plain values, without a window.
struct MainFormValues {
  std::array<std::int32_t, kMainFormListCount> lists{};  // mainFormLists() order; -1 = none
  std::uint32_t videoLength = 0;
  std::uint32_t intervalNumber = 0;
  int intervalUnit = kIntervalUnitSeconds;  // -1 when the unit list has no selection
  std::array<bool, kMainFormSwitchCount> switchOn{};    // mainFormSwitches() order
  bool operator==(const MainFormValues&) const = default;
};

// What the form shows for a record. List values are passed on unchecked: a value that is no
// position of its list shows as no selection when the window sets it.
MainFormValues recordToFormValues(const ConfigRecord& record);

// Collects the form into the record: every list selection (-1 for none; the Shot Number
// selection into both of its fields), the video length, the combined interval, each switch's
// off-flag (0 when "On" is checked, else 1) and, for Password, Serial No. and Time-lapse saved
// as Off, their value zeroed. Org. Name and SMS Ctrl keep their values when Off, so turning the
// switch back on later finds them again.
void formValuesToRecord(const MainFormValues& values, ConfigRecord& record);

}  // namespace tarnwick
