#pragma once

// What a screen reader says about each control of a dialog: its role, its name, and what tells it
// apart where the name alone does not. Its state (checked, disabled, masked) is the native
// control's own, which every backend mirrors from ControlState. Worked out once from the dialog's controls
// (the template's order and boxes, and the state the dialog gave them), so that every edition
// announces the same thing; a backend only hands it to its platform.

#include "ui/toolkit/ControlState.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::tk {

enum class AccessibleRole {
  Label, Group, Graphic, Button, CheckBox, RadioButton, List, Edit
};

// The role in the words a table or a page uses: "label", "group", "graphic", "button",
// "check box", "radio button", "list", "edit". A password edit is an edit in the masked state
// (ControlState::passwordChar): a page has no role of its own for it, and a masked box may be
// shown in clear.
std::string_view roleName(AccessibleRole role);

struct Accessible {
  AccessibleRole role = AccessibleRole::Label;
  // What the control is called. A box (edit, list) is called by its label: the text just before
  // it in the template (one label may name several boxes in a row, as "Interval" names its value
  // and its unit). A button, check box or radio button is called by its caption; a caption that
  // several controls of the window share ("On", "ON") is preceded by the label of its switch or
  // the caption of its group ("Password: On", "Timer-1: ON").
  std::u16string name;
  // What tells it apart where the name does not, joined by ", ": the group it lies in, the
  // heading above it ("HH"), its place among the boxes one label names ("1 of 2") and the hint
  // after them ("(5s-30s)"). Empty when there is nothing to add.
  std::u16string description;
  // The caption of the group box the control lies in; empty when none.
  std::u16string group;
  int groupIndex = -1;   // the group box itself, or -1
  int labelIndex = -1;   // the control whose text names this one (the label), or -1
  bool interactive = false;  // a control the keyboard can use
  bool hidden = false;       // not shown, so not heard
};

// Every control's accessible description, by index.
std::vector<Accessible> accessibleOf(std::span<const ControlState> controls);

}  // namespace tarnwick::tk
