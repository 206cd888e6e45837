#include "resources/templates/TimerSettingTemplate.h"

#include <array>
#include <string_view>

namespace tarnwick::resources {

namespace {
using namespace ids::timerSettingDlg;
using tk::ControlKind;
using tk::kNoControlId;

constexpr std::uint32_t kEditStyle = tk::kBorder | tk::kTabStop | tk::kAutoHScroll;
constexpr int kControlsPerGroup = 10;

struct GroupIds {
  int group, on, startLabel, startHour, startMinute, stopLabel, stopHour, stopMinute;
};

// One timer group at vertical position y: the group box, the ON box, then start and stop time
// side by side, each with its label above an hour : minute pair.
constexpr std::array<tk::ControlTemplate, kControlsPerGroup> timerGroup(std::string_view caption,
                                                                        const GroupIds& g, int y,
                                                                        std::uint32_t extra) {
  return {{
      {g.group, ControlKind::GroupBox, caption, {7, y, 237, 48}, extra},
      {g.on, ControlKind::CheckBox, "ON", {18, y + 24, 30, 10}, tk::kTabStop | extra},
      {g.startLabel, ControlKind::Static, "Start Time", {60, y + 12, 70, 8}, extra},
      {g.startHour, ControlKind::Edit, "", {60, y + 24, 26, 14}, kEditStyle | extra},
      {kNoControlId, ControlKind::Static, ":", {88, y + 27, 8, 8}, tk::kCenterText | extra},
      {g.startMinute, ControlKind::Edit, "", {98, y + 24, 26, 14}, kEditStyle | extra},
      {g.stopLabel, ControlKind::Static, "Stop Time", {150, y + 12, 70, 8}, extra},
      {g.stopHour, ControlKind::Edit, "", {150, y + 24, 26, 14}, kEditStyle | extra},
      {kNoControlId, ControlKind::Static, ":", {178, y + 27, 8, 8}, tk::kCenterText | extra},
      {g.stopMinute, ControlKind::Edit, "", {188, y + 24, 26, 14}, kEditStyle | extra},
  }};
}

constexpr std::array<tk::ControlTemplate, 3 * kControlsPerGroup + 2> makeControls() {
  const std::array groups{
      timerGroup("Timer-1",
                 {kTimer1Group, kTimer1On, kTimer1StartLabel, kTimer1StartHour, kTimer1StartMinute,
                  kTimer1StopLabel, kTimer1StopHour, kTimer1StopMinute},
                 7, tk::kStyleNone),
      timerGroup("Timer-2",
                 {kTimer2Group, kTimer2On, kTimer2StartLabel, kTimer2StartHour, kTimer2StartMinute,
                  kTimer2StopLabel, kTimer2StopHour, kTimer2StopMinute},
                 59, tk::kStyleNone),
      // The camera's third timer is not offered to the user, but it stays in the dialog.
      timerGroup("Timer-3",
                 {kTimer3Group, kTimer3On, kTimer3StartLabel, kTimer3StartHour, kTimer3StartMinute,
                  kTimer3StopLabel, kTimer3StopHour, kTimer3StopMinute},
                 111, tk::kHidden),
  };
  std::array<tk::ControlTemplate, 3 * kControlsPerGroup + 2> all{};
  std::size_t n = 0;
  for (const auto& group : groups) {
    for (const auto& control : group) all[n++] = control;
  }
  all[n++] = {tk::IDOK, ControlKind::PushButton, "OK", {140, 170, 50, 14},
              tk::kDefaultButton | tk::kTabStop};
  all[n++] = {tk::IDCANCEL, ControlKind::PushButton, "Cancel", {194, 170, 50, 14}, tk::kTabStop};
  return all;
}

constexpr auto kControls = makeControls();

constexpr tk::DialogTemplate kTemplateData{
    kTemplate, "Timer Setting", 251, 191, "MS Shell Dlg", 8, false, false, kControls};
}  // namespace

const tk::DialogTemplate& timerSettingTemplate() { return kTemplateData; }

}  // namespace tarnwick::resources
