#pragma once

#include "ui/toolkit/CDialogEx.h"
#include "ui/toolkit/DataExchange.h"

#include <array>
#include <string>

namespace tarnwick::tk::testing {

// A small dialog that exercises every kind of control and every exchange entry.
inline constexpr int kEditName = 10;
inline constexpr int kEditByte = 11;
inline constexpr int kEditNumber = 12;
inline constexpr int kList = 13;
inline constexpr int kCheck = 14;
inline constexpr int kRadioA = 15;
inline constexpr int kRadioB = 16;
inline constexpr int kRadioC = 17;
inline constexpr int kHiddenButton = 18;
inline constexpr int kDisabledEdit = 19;
inline constexpr int kPush = 20;
inline constexpr int kByte2 = 21;

inline constexpr std::array<ControlTemplate, 15> kControls{{
    {kNoControlId, ControlKind::Static, "Name", {4, 4, 30, 8}, kStyleNone},
    {kEditName, ControlKind::Edit, "", {40, 4, 60, 12}, kBorder | kTabStop},
    {kEditByte, ControlKind::Edit, "", {40, 20, 20, 12}, kBorder | kTabStop},
    {kByte2, ControlKind::Edit, "", {64, 20, 20, 12}, kBorder | kTabStop},
    {kEditNumber, ControlKind::Edit, "", {40, 36, 40, 12}, kBorder | kTabStop},
    {kList, ControlKind::ComboBox, "", {40, 52, 60, 40}, kTabStop | kVScroll},
    {kCheck, ControlKind::CheckBox, "Check", {4, 70, 40, 10}, kTabStop},
    {kRadioA, ControlKind::RadioButton, "A", {4, 84, 20, 10}, kGroupStart | kTabStop},
    {kRadioB, ControlKind::RadioButton, "B", {24, 84, 20, 10}, kStyleNone},
    {kRadioC, ControlKind::RadioButton, "C", {44, 84, 20, 10}, kGroupStart | kTabStop},
    {kHiddenButton, ControlKind::PushButton, "Hidden", {4, 98, 40, 14}, kHidden | kGroupStart},
    {kDisabledEdit, ControlKind::Edit, "", {50, 98, 40, 14}, kDisabled | kPasswordEdit},
    {kPush, ControlKind::PushButton, "Push", {4, 114, 40, 14}, kTabStop},
    {IDOK, ControlKind::PushButton, "OK", {60, 114, 40, 14}, kDefaultButton | kTabStop},
    {IDCANCEL, ControlKind::PushButton, "Cancel", {104, 114, 40, 14}, kTabStop},
}};

inline constexpr DialogTemplate kTemplate{900, "Test Dialog", 150, 132, "MS Shell Dlg", 8,
                                          false, false, kControls};

class TestDlg : public CDialogEx {
 public:
  TestDlg() : CDialogEx(kTemplate) {
    OnClicked(kPush, &TestDlg::OnPush);
    OnSelChange(kList, &TestDlg::OnListChange);
    OnClicked(kRadioA, &TestDlg::OnRadioA);
  }

  std::u16string name = u"initial";
  std::uint8_t byte = 7;
  std::uint8_t byte2 = 9;
  std::uint32_t number = 42;
  int pushes = 0;
  int listChanges = 0;
  int radioAClicks = 0;

  bool OnInitDialog() override {
    CDialogEx::OnInitDialog();
    GetDlgItem(kList).AddString(u"zero");
    GetDlgItem(kList).AddString(u"one");
    return true;
  }
  void DoDataExchange(DataExchange& dx) override {
    dx.text(kEditName, name, 8);
    dx.byteValue(kEditByte, byte);
    dx.byteValue(kByte2, byte2);
    dx.uint32Value(kEditNumber, number);
  }

 private:
  void OnPush() { ++pushes; }
  void OnListChange() { ++listChanges; }
  void OnRadioA() { ++radioAClicks; }
};

}  // namespace tarnwick::tk::testing
