#pragma once

#include "ui/toolkit/Types.h"

#include <string>
#include <vector>

namespace tarnwick::tk {

// The state of one control, as both backends see it. The dialog logic changes it through
// `Control`; a user's input changes it through `CDialogEx::user*`; a window backend mirrors it.
struct ControlState {
  int id = kNoControlId;
  ControlKind kind = ControlKind::Static;
  Rect rect;
  std::uint32_t style = kStyleNone;
  std::u16string text;                 // caption, or an edit's contents
  bool enabled = true;
  bool visible = true;
  std::vector<std::u16string> items;   // drop-down list entries
  int selection = -1;                  // drop-down list position, -1 = none
  int check = 0;                       // check boxes and radio buttons: 0 or 1
  char16_t passwordChar = 0;           // 0 shows an edit's text in clear
  int textLimit = 0;                   // most characters an edit takes from typing; 0 = no limit

  bool operator==(const ControlState&) const = default;
};

}  // namespace tarnwick::tk
