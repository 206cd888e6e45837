#pragma once

#include "config/TextConversions.h"
#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/DataExchange.h"

#include <cstdint>

namespace tarnwick {

// "Password Setting": edits the camera's four-digit password (record field password). The
// code edit masks its text until "Show password" is ticked. OK refuses an empty code or "0000".
// Runs modally; IDOK when the code was stored, IDCANCEL otherwise (record unchanged).
class CPasswordDlg : public tk::CDialogEx {
 public:
  CPasswordDlg();
  ~CPasswordDlg() override;

  void DoDataExchange(tk::DataExchange& dx) override;
  bool OnInitDialog() override;
  void OnOK() override;
  void OnPaint(tk::PaintContext& paint) override;
  tk::CtlColor OnCtlColor(int controlId, tk::CtlColorType type) override;

  // "Show password" clicked: clear text while ticked, '*' while unticked.
  void OnShowPassword();

 private:
  FormText code_;
};

}  // namespace tarnwick
