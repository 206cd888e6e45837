#pragma once

#include "config/TextConversions.h"
#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/DataExchange.h"

#include <cstdint>

namespace tarnwick {

// "SMS Control Setting": edits the interval of the camera's SMS control as hours and
// minutes (record field smsInterval), at least ten minutes. Keeps the toolkit's own look.
// Runs modally; IDOK when the interval was stored.
class CSMSCtrlDlg : public tk::CDialogEx {
 public:
  CSMSCtrlDlg();
  ~CSMSCtrlDlg() override;

  void DoDataExchange(tk::DataExchange& dx) override;
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  std::uint8_t hour_ = 0;
  std::uint8_t minute_ = 0;
};

}  // namespace tarnwick
