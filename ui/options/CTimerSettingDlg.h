#pragma once

#include "config/TextConversions.h"
#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/DataExchange.h"

#include <array>
#include <cstdint>

namespace tarnwick {

// "Timer Setting": edits the camera's three working-time timers, each an ON switch with a
// start and a stop time of day. The third timer's controls are hidden, yet it is loaded,
// checked and written exactly like the other two. A failed OK may already have written the
// times of the timers before the failing one; the ON flags are written only when all pass.
class CTimerSettingDlg : public tk::CDialogEx {
 public:
  CTimerSettingDlg();
  ~CTimerSettingDlg() override;

  void DoDataExchange(tk::DataExchange& dx) override;
  bool OnInitDialog() override;
  void OnOK() override;
  void OnPaint(tk::PaintContext& paint) override;
  tk::CtlColor OnCtlColor(int controlId, tk::CtlColorType type) override;

 private:
  // Index 0-2 = timer 1-3.
  std::array<std::uint8_t, 3> startHour_{};
  std::array<std::uint8_t, 3> startMinute_{};
  std::array<std::uint8_t, 3> stopHour_{};
  std::array<std::uint8_t, 3> stopMinute_{};
};

}  // namespace tarnwick
