#include "ui/main/MainFormValues.h"

#include "resources/templates/MainWindowIds.h"

namespace tarnwick {

namespace {
namespace ids = resources::ids::tarnwickDlg;

constexpr std::array<ListBinding, kMainFormListCount> kLists{{
    {ids::kModeList, &fields::workMode, nullptr},
    {ids::kLanguageList, &fields::language, nullptr},
    {ids::kImageSizeList, &fields::imageSize, nullptr},
    {ids::kVideoSizeList, &fields::videoSize, nullptr},
    // The form shows shotNumberB; saving writes the selection into both copies.
    {ids::kShotNumberList, &fields::shotNumberB, &fields::shotNumber},
    {ids::kPirSensitivityList, &fields::pirSensitivity, nullptr},
    {ids::kDateStampList, &fields::dateStamp, nullptr},
    {ids::kRecordAudioList, &fields::recordAudio, nullptr},
    {ids::kSdCycleList, &fields::sdCycle, nullptr},
    {ids::kGpsSwitchList, &fields::gpsSwitch, nullptr},
    {ids::kTimeZoneList, &fields::timeZone, nullptr},
}};

constexpr std::array<SwitchBinding, kMainFormSwitchCount> kSwitches{{
    {ids::kPasswordOn, ids::kPasswordOff, &fields::passwordOff, &fields::password},
    {ids::kSerialNoOn, ids::kSerialNoOff, &fields::serialNoOff, &fields::serialNo},
    {ids::kTimeLapseOn, ids::kTimeLapseOff, &fields::timeLapseOff, &fields::timeLapse},
    {ids::kOrgNameOn, ids::kOrgNameOff, &fields::orgNameOff, nullptr},
    {ids::kSmsCtrlOn, ids::kSmsCtrlOff, &fields::smsCtrlOff, nullptr},
}};
}  // namespace

std::span<const ListBinding> mainFormLists() { return kLists; }

std::span<const SwitchBinding> mainFormSwitches() { return kSwitches; }

MainFormValues recordToFormValues(const ConfigRecord& record) {
  MainFormValues values;
  for (std::size_t i = 0; i < kLists.size(); ++i) values.lists[i] = record.getInt32(*kLists[i].field);
  values.videoLength = record.getUInt32(fields::videoLength);
  const IntervalDisplay interval = splitInterval(record.getUInt32(fields::interval));
  values.intervalNumber = interval.number;
  values.intervalUnit = interval.unit;
  for (std::size_t i = 0; i < kSwitches.size(); ++i) {
    values.switchOn[i] = record.getInt32(*kSwitches[i].offFlag) == 0;
  }
  return values;
}

void formValuesToRecord(const MainFormValues& values, ConfigRecord& record) {
  for (std::size_t i = 0; i < kLists.size(); ++i) {
    record.setInt32(*kLists[i].field, values.lists[i]);
    if (kLists[i].alsoCollectedInto != nullptr) {
      record.setInt32(*kLists[i].alsoCollectedInto, values.lists[i]);
    }
  }
  record.setUInt32(fields::videoLength, values.videoLength);
  record.setUInt32(fields::interval, combineInterval(values.intervalNumber, values.intervalUnit));
  for (std::size_t i = 0; i < kSwitches.size(); ++i) {
    const SwitchBinding& pair = kSwitches[i];
    record.setInt32(*pair.offFlag, values.switchOn[i] ? 0 : 1);
    if (!values.switchOn[i] && pair.zeroedWhenOff != nullptr) {
      record.setUInt32(*pair.zeroedWhenOff, 0);
    }
  }
}

}  // namespace tarnwick
