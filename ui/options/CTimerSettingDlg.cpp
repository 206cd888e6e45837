#include "ui/options/CTimerSettingDlg.h"

#include "resources/templates/TimerSettingTemplate.h"
#include "ui/options/OptionDialogFrame.h"
#include "ui/options/OptionDialogLook.h"

namespace tarnwick {

namespace {
namespace ids = resources::ids::timerSettingDlg;
}  // namespace

CTimerSettingDlg::CTimerSettingDlg() : CDialogEx(resources::timerSettingTemplate()) {}

CTimerSettingDlg::~CTimerSettingDlg() = default;

void CTimerSettingDlg::DoDataExchange(tk::DataExchange& dx) {
  // Timer 1 field by field, then timers 2 and 3 interleaved value by value. The order decides
  // which members keep their old values when the toolkit refuses a field (it stops there).
  dx.byteValue(ids::kTimer1StartHour, startHour_[0]);
  dx.byteValue(ids::kTimer1StartMinute, startMinute_[0]);
  dx.byteValue(ids::kTimer1StopHour, stopHour_[0]);
  dx.byteValue(ids::kTimer1StopMinute, stopMinute_[0]);
  dx.byteValue(ids::kTimer2StartHour, startHour_[1]);
  dx.byteValue(ids::kTimer3StartHour, startHour_[2]);
  dx.byteValue(ids::kTimer2StartMinute, startMinute_[1]);
  dx.byteValue(ids::kTimer3StartMinute, startMinute_[2]);
  dx.byteValue(ids::kTimer2StopHour, stopHour_[1]);
  dx.byteValue(ids::kTimer3StopHour, stopHour_[2]);
  dx.byteValue(ids::kTimer2StopMinute, stopMinute_[1]);
  dx.byteValue(ids::kTimer3StopMinute, stopMinute_[2]);
  for (const int id : ids::kOn) dx.control(id);
}

bool CTimerSettingDlg::OnInitDialog() {
  CDialogEx::OnInitDialog();
  const TimerSet timers = timersForOpening(programRecord());
  for (std::size_t i = 0; i < timers.size(); ++i) {
    startHour_[i] = timers[i].start.hour;
    startMinute_[i] = timers[i].start.minute;
    stopHour_[i] = timers[i].stop.hour;
    stopMinute_[i] = timers[i].stop.minute;
  }
  UpdateData(false);
  // The check boxes are no exchange members: they are set after the push.
  for (std::size_t i = 0; i < timers.size(); ++i) {
    GetDlgItem(ids::kOn[i]).SetCheck(timers[i].on ? 1 : 0);
  }
  return true;
}

void CTimerSettingDlg::OnOK() {
  UpdateData(true);  // a refused field is reported again by the toolkit's OK below
  TimerSet timers;
  for (std::size_t i = 0; i < timers.size(); ++i) {
    timers[i].on = GetDlgItem(ids::kOn[i]).GetCheck() != 0;
    timers[i].start = {startHour_[i], startMinute_[i]};
    timers[i].stop = {stopHour_[i], stopMinute_[i]};
  }
  finishOptionOk(*this, storeTimers(timers, programRecord()));
}

void CTimerSettingDlg::OnPaint(tk::PaintContext& paint) { paintOptionBackground(paint); }

tk::CtlColor CTimerSettingDlg::OnCtlColor(int controlId, tk::CtlColorType type) {
  return optionControlColor(*this, controlId, type);
}

}  // namespace tarnwick
