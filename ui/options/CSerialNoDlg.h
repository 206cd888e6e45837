#pragma once

#include "config/TextConversions.h"
#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/DataExchange.h"

#include <cstdint>

namespace tarnwick {

// "Serial Number Setting": edits the camera's four-digit serial number (record field
// serialNo). OK refuses an empty code or "0000". Runs modally; IDOK when the number was stored.
class CSerialNoDlg : public tk::CDialogEx {
 public:
  CSerialNoDlg();
  ~CSerialNoDlg() override;

  void DoDataExchange(tk::DataExchange& dx) override;
  bool OnInitDialog() override;
  void OnOK() override;
  void OnPaint(tk::PaintContext& paint) override;
  tk::CtlColor OnCtlColor(int controlId, tk::CtlColorType type) override;

 private:
  FormText code_;
};

}  // namespace tarnwick
