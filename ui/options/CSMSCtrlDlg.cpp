#include "ui/options/CSMSCtrlDlg.h"

#include "resources/templates/SmsCtrlTemplate.h"
#include "ui/options/OptionDialogFrame.h"

namespace tarnwick {

namespace {
namespace ids = resources::ids::smsCtrlDlg;
}  // namespace

CSMSCtrlDlg::CSMSCtrlDlg() : CDialogEx(resources::smsCtrlTemplate()) {}

CSMSCtrlDlg::~CSMSCtrlDlg() = default;

void CSMSCtrlDlg::DoDataExchange(tk::DataExchange& dx) {
  dx.byteValue(ids::kHour, hour_);
  dx.byteValue(ids::kMinute, minute_);
}

bool CSMSCtrlDlg::OnInitDialog() {
  CDialogEx::OnInitDialog();
  const ClockHM interval = smsIntervalForOpening(programRecord());
  hour_ = interval.hour;
  minute_ = interval.minute;
  UpdateData(false);
  return true;
}

void CSMSCtrlDlg::OnOK() {
  UpdateData(true);  // a refused field is reported again by the toolkit's OK below
  finishOptionOk(*this, storeSmsInterval({hour_, minute_}, programRecord()));
}

}  // namespace tarnwick
