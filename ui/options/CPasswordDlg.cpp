#include "ui/options/CPasswordDlg.h"

#include "resources/templates/PasswordTemplate.h"
#include "ui/options/OptionDialogFrame.h"
#include "ui/options/OptionDialogLook.h"

namespace tarnwick {

namespace {
namespace ids = resources::ids::passwordDlg;
constexpr int kCodeChars = 4;
}  // namespace

CPasswordDlg::CPasswordDlg() : CDialogEx(resources::passwordTemplate()) {
  OnClicked(ids::kShowPassword, &CPasswordDlg::OnShowPassword);
}

CPasswordDlg::~CPasswordDlg() = default;

void CPasswordDlg::DoDataExchange(tk::DataExchange& dx) {
  dx.text(ids::kCodeEdit, code_, kCodeChars);
}

bool CPasswordDlg::OnInitDialog() {
  CDialogEx::OnInitDialog();
  code_ = passwordText(programRecord());
  UpdateData(false);
  return true;
}

void CPasswordDlg::OnOK() {
  UpdateData(true);  // a refused field is reported again by the toolkit's OK below
  finishOptionOk(*this, storePassword(code_, programRecord()));
}

void CPasswordDlg::OnShowPassword() {
  const bool show = GetDlgItem(ids::kShowPassword).GetCheck() != 0;
  GetDlgItem(ids::kCodeEdit).SetPasswordChar(show ? char16_t{0} : u'*');
}

void CPasswordDlg::OnPaint(tk::PaintContext& paint) { paintOptionBackground(paint); }

tk::CtlColor CPasswordDlg::OnCtlColor(int controlId, tk::CtlColorType type) {
  return optionControlColor(*this, controlId, type);
}

}  // namespace tarnwick
