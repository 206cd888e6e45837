#pragma once

#include "config/TextConversions.h"
#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/DataExchange.h"

#include <cstdint>

namespace tarnwick {

// "Time-lapse Setting": edits the time-lapse period as hours, minutes and seconds (record
// field timeLapse). Runs modally; IDOK when the period was stored.
class CTimeLapseDlg : public tk::CDialogEx {
 public:
  CTimeLapseDlg();
  ~CTimeLapseDlg() override;

  void DoDataExchange(tk::DataExchange& dx) override;
  bool OnInitDialog() override;
  void OnOK() override;
  void OnPaint(tk::PaintContext& paint) override;
  tk::CtlColor OnCtlColor(int controlId, tk::CtlColorType type) override;

 private:
  std::uint8_t hour_ = 0;
  std::uint8_t minute_ = 0;
  std::uint8_t second_ = 0;
};

}  // namespace tarnwick
