#include "ui/network/CParamPwd.h"

#include "config/TextConversions.h"
#include "network/NetworkTexts.h"
#include "resources/templates/ParamPwdTemplate.h"

namespace tarnwick {

CParamPwd::CParamPwd() : tk::CDialogEx(resources::paramPwdTemplate()) {}

void CParamPwd::OnOK() {
  FormText entered = GetDlgItemText(resources::ids::paramPwd::kCodeEdit);
  trimWhitespace(entered);
  // Compared code unit for code unit: case matters.
  if (entered == parameterAccessCode) {
    tk::CDialogEx::OnOK();
    return;
  }
  if (!entered.empty()) MessageBox(u"Wrong Password!");
  tk::CDialogEx::OnCancel();
}

}  // namespace tarnwick
