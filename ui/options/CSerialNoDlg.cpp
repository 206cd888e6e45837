#include "ui/options/CSerialNoDlg.h"

#include "resources/templates/SerialNoTemplate.h"
#include "ui/options/OptionDialogFrame.h"
#include "ui/options/OptionDialogLook.h"

namespace tarnwick {

namespace {
namespace ids = resources::ids::serialNoDlg;
constexpr int kCodeChars = 4;
}  // namespace

CSerialNoDlg::CSerialNoDlg() : CDialogEx(resources::serialNoTemplate()) {}

CSerialNoDlg::~CSerialNoDlg() = default;

void CSerialNoDlg::DoDataExchange(tk::DataExchange& dx) {
  dx.text(ids::kCodeEdit, code_, kCodeChars);
}

bool CSerialNoDlg::OnInitDialog() {
  CDialogEx::OnInitDialog();
  code_ = serialNoText(programRecord());
  UpdateData(false);
  return true;
}

void CSerialNoDlg::OnOK() {
  UpdateData(true);  // a refused field is reported again by the toolkit's OK below
  finishOptionOk(*this, storeSerialNo(code_, programRecord()));
}

void CSerialNoDlg::OnPaint(tk::PaintContext& paint) { paintOptionBackground(paint); }

tk::CtlColor CSerialNoDlg::OnCtlColor(int controlId, tk::CtlColorType type) {
  return optionControlColor(*this, controlId, type);
}

}  // namespace tarnwick
