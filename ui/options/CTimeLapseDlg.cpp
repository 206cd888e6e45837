#include "ui/options/CTimeLapseDlg.h"

#include "resources/templates/TimeLapseTemplate.h"
#include "ui/options/OptionDialogFrame.h"
#include "ui/options/OptionDialogLook.h"

namespace tarnwick {

namespace {
namespace ids = resources::ids::timeLapseDlg;
}  // namespace

CTimeLapseDlg::CTimeLapseDlg() : CDialogEx(resources::timeLapseTemplate()) {}

CTimeLapseDlg::~CTimeLapseDlg() = default;

void CTimeLapseDlg::DoDataExchange(tk::DataExchange& dx) {
  dx.byteValue(ids::kHour, hour_);
  dx.byteValue(ids::kMinute, minute_);
  dx.byteValue(ids::kSecond, second_);
}

bool CTimeLapseDlg::OnInitDialog() {
  CDialogEx::OnInitDialog();
  const ClockHMS period = timeLapseForOpening(programRecord());
  hour_ = period.hour;
  minute_ = period.minute;
  second_ = period.second;
  UpdateData(false);
  return true;
}

void CTimeLapseDlg::OnOK() {
  UpdateData(true);  // a refused field is reported again by the toolkit's OK below
  finishOptionOk(*this, storeTimeLapse({hour_, minute_, second_}, programRecord()));
}

void CTimeLapseDlg::OnPaint(tk::PaintContext& paint) { paintOptionBackground(paint); }

tk::CtlColor CTimeLapseDlg::OnCtlColor(int controlId, tk::CtlColorType type) {
  return optionControlColor(*this, controlId, type);
}

}  // namespace tarnwick
