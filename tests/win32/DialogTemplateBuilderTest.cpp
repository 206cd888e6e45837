// The in-memory dialog template, read back field by field the way the Windows dialog manager
// reads it: header, font, then one item per control on a 4-byte boundary.

#include "ui/toolkit/win32/DialogTemplateBuilder.h"

#include "resources/templates/AboutBoxTemplate.h"
#include "resources/templates/MainWindowTemplate.h"
#include "resources/templates/MmsSetupTemplate.h"
#include "resources/templates/OrgNameTemplate.h"
#include "resources/templates/ParamPwdTemplate.h"
#include "resources/templates/PasswordTemplate.h"
#include "resources/templates/SerialNoTemplate.h"
#include "resources/templates/SmsCtrlTemplate.h"
#include "resources/templates/TimeLapseTemplate.h"
#include "resources/templates/TimerSettingTemplate.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace tarnwick::tk::win32 {
namespace {

namespace s = style;

struct ReadItem {
  std::size_t offset = 0;  // in 16-bit units from the start
  std::uint32_t exStyle = 0;
  std::uint32_t style = 0;
  Rect rect;
  std::uint32_t id = 0;
  std::uint16_t classAtom = 0;
  std::u16string title;
  int titleOrdinal = -1;
};

struct ReadTemplate {
  std::uint32_t exStyle = 0;
  std::uint32_t style = 0;
  int count = 0;
  Rect rect;
  std::u16string caption;
  int pointSize = 0;
  int weight = 0;
  std::u16string font;
  std::vector<ReadItem> items;
};

class Reader {
 public:
  explicit Reader(const std::vector<std::uint16_t>& units) : units_(units) {}
  std::uint16_t word() {
    if (pos_ < units_.size()) return units_[pos_++];
    ok_ = false;
    return 0;
  }
  std::uint32_t dword() {
    const std::uint32_t low = word();
    return low | (static_cast<std::uint32_t>(word()) << 16);
  }
  int coordinate() { return static_cast<std::int16_t>(word()); }
  std::u16string text() {
    std::u16string out;
    for (std::uint16_t u = word(); ok_ && u != 0; u = word()) out.push_back(static_cast<char16_t>(u));
    return out;
  }
  void align() {
    if (pos_ % 2 != 0) word();
  }
  std::size_t position() const { return pos_; }
  bool ok() const { return ok_; }

 private:
  const std::vector<std::uint16_t>& units_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

ReadTemplate readBack(const std::vector<std::uint16_t>& units) {
  Reader r(units);
  ReadTemplate t;
  EXPECT_EQ(r.word(), 1);       // dlgVer
  EXPECT_EQ(r.word(), 0xFFFF);  // extended
  EXPECT_EQ(r.dword(), 0u);     // helpID
  t.exStyle = r.dword();
  t.style = r.dword();
  t.count = r.word();
  t.rect = {r.coordinate(), r.coordinate(), r.coordinate(), r.coordinate()};
  EXPECT_EQ(r.word(), 0);  // menu
  EXPECT_EQ(r.word(), 0);  // class
  t.caption = r.text();
  if ((t.style & s::kDsSetFont) != 0) {
    t.pointSize = r.word();
    t.weight = r.word();
    EXPECT_EQ(r.word(), 0);  // italic, charset
    t.font = r.text();
  }
  for (int i = 0; i < t.count; ++i) {
    r.align();
    ReadItem item;
    item.offset = r.position();
    EXPECT_EQ(r.dword(), 0u);  // helpID
    item.exStyle = r.dword();
    item.style = r.dword();
    item.rect = {r.coordinate(), r.coordinate(), r.coordinate(), r.coordinate()};
    item.id = r.dword();
    EXPECT_EQ(r.word(), 0xFFFF);
    item.classAtom = r.word();
    const std::uint16_t first = r.word();
    if (first == 0xFFFF) {
      item.titleOrdinal = r.word();
    } else if (first != 0) {
      item.title.push_back(static_cast<char16_t>(first));
      item.title += r.text();
    }
    EXPECT_EQ(r.word(), 0);  // extra data
    t.items.push_back(item);
  }
  EXPECT_TRUE(r.ok()) << "the template ends inside an item";
  EXPECT_EQ(r.position(), units.size()) << "bytes after the last item";
  return t;
}

TEST(DialogTemplateBuilder, EveryProgramTemplateReadsBackAsWritten) {
  const std::array templates{
      &resources::aboutBoxTemplate(),     &resources::mainWindowTemplate(),
      &resources::timerSettingTemplate(), &resources::passwordTemplate(),
      &resources::serialNoTemplate(),     &resources::timeLapseTemplate(),
      &resources::orgNameTemplate(),      &resources::mmsSetupTemplate(),
      &resources::paramPwdTemplate(),     &resources::smsCtrlTemplate(),
  };
  for (const DialogTemplate* dialog : templates) {
    SCOPED_TRACE(dialog->id);
    const auto units = buildDialogTemplate(*dialog);
    const ReadTemplate t = readBack(units);
    EXPECT_EQ(t.count, static_cast<int>(dialog->controls.size()));
    EXPECT_EQ(t.rect, (Rect{0, 0, dialog->width, dialog->height}));
    EXPECT_EQ(t.pointSize, dialog->pointSize);
    EXPECT_EQ(t.weight, 400);
    // Popup with caption, system menu and modal frame; built hidden, shown by the backend.
    EXPECT_EQ(t.style & (s::kPopup | s::kCaption | s::kSysMenu | s::kDsModalFrame),
              s::kPopup | s::kCaption | s::kSysMenu | s::kDsModalFrame);
    EXPECT_EQ(t.style & s::kVisible, 0u);
    EXPECT_EQ((t.style & s::kMinimizeBox) != 0, dialog->minimizeBox);
    EXPECT_EQ((t.exStyle & s::kExAppWindow) != 0, dialog->taskbarWindow);
    ASSERT_EQ(t.items.size(), dialog->controls.size());
    for (std::size_t i = 0; i < t.items.size(); ++i) {
      const ControlTemplate& c = dialog->controls[i];
      const ReadItem& item = t.items[i];
      SCOPED_TRACE(c.id);
      EXPECT_EQ(item.offset % 2, 0u) << "an item off its 4-byte boundary";
      EXPECT_EQ(item.rect, c.rect);  // the tab order is the template's order
      EXPECT_EQ(item.id, c.id == kNoControlId ? 0xFFFFu : static_cast<std::uint32_t>(c.id));
      EXPECT_EQ(item.style & s::kChild, s::kChild);
      EXPECT_EQ((item.style & s::kVisible) == 0, (c.style & kHidden) != 0);
      EXPECT_EQ((item.style & s::kDisabled) != 0, (c.style & kDisabled) != 0);
      EXPECT_EQ((item.style & s::kTabStop) != 0, (c.style & kTabStop) != 0);
      EXPECT_EQ((item.style & s::kGroup) != 0, (c.style & kGroupStart) != 0);
      if (c.kind == ControlKind::Icon) {
        EXPECT_EQ(item.titleOrdinal, 128);
      } else {
        EXPECT_EQ(item.titleOrdinal, -1);
      }
    }
  }
}

TEST(DialogTemplateBuilder, KindsBecomeTheirWindowsClassesAndStyles) {
  static constexpr std::array<ControlTemplate, 9> kControls{{
      {10, ControlKind::Static, "Label", {1, 2, 30, 8}, kRightText},
      {11, ControlKind::GroupBox, "Group", {0, 0, 100, 50}, kStyleNone},
      {12, ControlKind::Edit, "", {40, 2, 50, 12}, kPasswordEdit | kAutoHScroll | kBorder | kTabStop},
      {13, ControlKind::ComboBox, "", {40, 20, 50, 80}, kVScroll | kTabStop | kDisabled},
      {14, ControlKind::CheckBox, "Check", {1, 30, 40, 10}, kTabStop | kHidden},
      {15, ControlKind::RadioButton, "One", {1, 40, 40, 10}, kGroupStart},
      {1, ControlKind::PushButton, "OK", {10, 60, 50, 14}, kDefaultButton | kTabStop},
      {2, ControlKind::PushButton, "Cancel", {70, 60, 50, 14}, kTabStop},
      {kNoControlId, ControlKind::Icon, "", {5, 5, 21, 20}, kStyleNone},
  }};
  static constexpr DialogTemplate kDialog{900, "Caf\xC3\xA9 test", 200, 80, "MS Shell Dlg", 8,
                                          /*minimizeBox=*/false, /*taskbarWindow=*/false,
                                          kControls};
  const ReadTemplate t = readBack(buildDialogTemplate(kDialog));
  EXPECT_EQ(t.caption, u"Caf\u00e9 test");  // UTF-8 in the source, UTF-16 in the template
  EXPECT_EQ(t.font, u"MS Shell Dlg");
  EXPECT_EQ(t.pointSize, 8);
  ASSERT_EQ(t.items.size(), kControls.size());
  const auto low = [](std::uint32_t st) { return st & 0xFFFF; };
  EXPECT_EQ(t.items[0].classAtom, 0x82);
  EXPECT_EQ(low(t.items[0].style), s::kSsRight);
  EXPECT_EQ(t.items[0].title, u"Label");
  EXPECT_EQ(t.items[1].classAtom, 0x80);
  EXPECT_EQ(low(t.items[1].style), s::kBsGroupBox);
  EXPECT_EQ(t.items[2].classAtom, 0x81);
  EXPECT_EQ(low(t.items[2].style), s::kEsPassword | s::kEsAutoHScroll);
  EXPECT_EQ(t.items[2].style & s::kBorder, s::kBorder);
  EXPECT_EQ(t.items[2].title, u"");
  EXPECT_EQ(t.items[3].classAtom, 0x85);
  EXPECT_EQ(low(t.items[3].style), s::kCbsDropDownList);
  EXPECT_EQ(t.items[3].style & (s::kVScroll | s::kDisabled), s::kVScroll | s::kDisabled);
  // Check boxes and radio buttons are not automatic: the dialog object decides their state.
  EXPECT_EQ(low(t.items[4].style), s::kBsCheckBox | s::kBsNotify);
  EXPECT_EQ(t.items[4].style & s::kVisible, 0u);
  EXPECT_EQ(low(t.items[5].style), s::kBsRadioButton | s::kBsNotify);
  EXPECT_EQ(low(t.items[6].style), s::kBsDefPushButton | s::kBsNotify);
  EXPECT_EQ(low(t.items[7].style), s::kBsPushButton | s::kBsNotify);
  EXPECT_EQ(t.items[8].classAtom, 0x82);
  EXPECT_EQ(low(t.items[8].style), s::kSsIcon);
  EXPECT_EQ(t.items[8].id, 0xFFFFu);
  EXPECT_EQ(t.items[8].titleOrdinal, 128);
  EXPECT_EQ(t.style & s::kMinimizeBox, 0u);
}

TEST(DialogTemplateBuilder, TheMainWindowIsATaskBarWindowWithAMinimizeBox) {
  const ReadTemplate t = readBack(buildDialogTemplate(resources::mainWindowTemplate()));
  EXPECT_EQ(t.style & s::kMinimizeBox, s::kMinimizeBox);
  EXPECT_EQ(t.exStyle & s::kExAppWindow, s::kExAppWindow);
  EXPECT_EQ(t.caption, u"");  // set at run time
  EXPECT_EQ(t.font, u"\u5FAE\u8F6F\u96C5\u9ED1");
  EXPECT_EQ(t.pointSize, 9);
  EXPECT_EQ(t.rect, (Rect{0, 0, 389, 182}));
}

TEST(DialogTemplateBuilder, ADialogWithoutFontHasNoFontBlock) {
  static constexpr std::array<ControlTemplate, 1> kControls{{
      {1, ControlKind::PushButton, "OK", {10, 10, 50, 14}, kDefaultButton}}};
  static constexpr DialogTemplate kDialog{901, "x", 80, 40, "", 8, false, false, kControls};
  const ReadTemplate t = readBack(buildDialogTemplate(kDialog));
  EXPECT_EQ(t.style & s::kDsSetFont, 0u);
  EXPECT_EQ(t.font, u"");
  ASSERT_EQ(t.items.size(), 1u);
  EXPECT_EQ(t.items[0].title, u"OK");
}

}  // namespace
}  // namespace tarnwick::tk::win32
