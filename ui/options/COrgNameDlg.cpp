#include "ui/options/COrgNameDlg.h"

#include "resources/templates/OrgNameTemplate.h"
#include "ui/options/OptionDialogFrame.h"
#include "ui/options/OptionDialogLook.h"

namespace tarnwick {

namespace {
namespace ids = resources::ids::orgNameDlg;
constexpr int kNameChars = 8;
}  // namespace

COrgNameDlg::COrgNameDlg() : CDialogEx(resources::orgNameTemplate()) {}

COrgNameDlg::~COrgNameDlg() = default;

void COrgNameDlg::DoDataExchange(tk::DataExchange& dx) {
  dx.text(ids::kNameEdit, name_, kNameChars);
}

bool COrgNameDlg::OnInitDialog() {
  CDialogEx::OnInitDialog();
  name_ = orgNameForOpening(programRecord());
  UpdateData(false);
  return true;
}

void COrgNameDlg::OnOK() {
  UpdateData(true);  // a refused field is reported again by the toolkit's OK below
  // The member keeps what the user typed; only the stored name loses its trailing spaces.
  finishOptionOk(*this, storeOrgName(name_, programRecord()));
}

void COrgNameDlg::OnPaint(tk::PaintContext& paint) { paintOptionBackground(paint); }

tk::CtlColor COrgNameDlg::OnCtlColor(int controlId, tk::CtlColorType type) {
  return optionControlColor(*this, controlId, type);
}

}  // namespace tarnwick
