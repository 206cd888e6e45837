#pragma once

#include "config/TextConversions.h"
#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/DataExchange.h"

#include <cstdint>

namespace tarnwick {

// "Organization Name Setting": edits the organization name, 1-8 characters (record field
// orgName). Runs modally; IDOK when the name was stored.
class COrgNameDlg : public tk::CDialogEx {
 public:
  COrgNameDlg();
  ~COrgNameDlg() override;

  void DoDataExchange(tk::DataExchange& dx) override;
  bool OnInitDialog() override;
  void OnOK() override;
  void OnPaint(tk::PaintContext& paint) override;
  tk::CtlColor OnCtlColor(int controlId, tk::CtlColorType type) override;

 private:
  FormText name_;
};

}  // namespace tarnwick
