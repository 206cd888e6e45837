// The option dialogs' templates and their look: sizes, captions and ids the main window and the
// scripts rely on, the layout staying inside each dialog, the painted background and the
// transparent labels of every dialog except the SMS control one.
#include "resources/templates/OrgNameTemplate.h"
#include "resources/templates/PasswordTemplate.h"
#include "resources/templates/SerialNoTemplate.h"
#include "resources/templates/SmsCtrlTemplate.h"
#include "resources/templates/TimeLapseTemplate.h"
#include "resources/templates/TimerSettingTemplate.h"
#include "ui/options/COrgNameDlg.h"
#include "ui/options/CPasswordDlg.h"
#include "ui/options/CSMSCtrlDlg.h"
#include "ui/options/CSerialNoDlg.h"
#include "ui/options/CTimeLapseDlg.h"
#include "ui/options/CTimerSettingDlg.h"
#include "ui/options/OptionDialogLook.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>

namespace tarnwick {
namespace {

using tk::ControlKind;

struct TemplateCase {
  const tk::DialogTemplate& (*get)();
  int id;
  std::string_view caption;
  int width;
  int height;
};

const TemplateCase kTemplates[] = {
    {&resources::timerSettingTemplate, 130, "Timer Setting", 251, 191},
    {&resources::passwordTemplate, 131, "Password Setting", 182, 95},
    {&resources::serialNoTemplate, 132, "Serial Number Setting", 159, 77},
    {&resources::timeLapseTemplate, 133, "Time-lapse Setting", 245, 96},
    {&resources::orgNameTemplate, 134, "Organization Name Setting", 201, 81},
    {&resources::smsCtrlTemplate, 138, "SMS Control Setting", 201, 81},
};

TEST(OptionTemplateTest, FrameButtonsAndLayoutFitEachDialog) {
  for (const TemplateCase& c : kTemplates) {
    const tk::DialogTemplate& t = c.get();
    SCOPED_TRACE(c.id);
    EXPECT_EQ(t.id, c.id);
    EXPECT_EQ(t.caption, c.caption);
    EXPECT_EQ(t.width, c.width);
    EXPECT_EQ(t.height, c.height);
    EXPECT_EQ(t.fontName, "MS Shell Dlg");
    EXPECT_EQ(t.pointSize, 8);
    std::set<int> seen;
    int defaultButtons = 0;
    bool hasOk = false;
    bool hasCancel = false;
    for (const tk::ControlTemplate& control : t.controls) {
      SCOPED_TRACE(control.id);
      if (control.id != tk::kNoControlId) {
        EXPECT_TRUE(seen.insert(control.id).second);
      }
      EXPECT_GE(control.rect.x, 0);
      EXPECT_GE(control.rect.y, 0);
      EXPECT_LE(control.rect.x + control.rect.width, t.width);
      EXPECT_LE(control.rect.y + control.rect.height, t.height);
      if ((control.style & tk::kDefaultButton) != 0) ++defaultButtons;
      if (control.id == tk::IDOK) {
        hasOk = true;
        EXPECT_NE(control.style & tk::kDefaultButton, 0u);
      }
      if (control.id == tk::IDCANCEL) hasCancel = true;
      // Only the password's edit masks its text.
      const bool masked = (control.style & tk::kPasswordEdit) != 0;
      EXPECT_EQ(masked, c.id == 131 && control.id == resources::ids::passwordDlg::kCodeEdit);
    }
    EXPECT_EQ(defaultButtons, 1);
    EXPECT_TRUE(hasOk);
    EXPECT_TRUE(hasCancel);
  }
}

TEST(OptionTemplateTest, EveryTimerThreeControlIsHiddenAndNothingElse) {
  namespace ids = resources::ids::timerSettingDlg;
  const tk::DialogTemplate& t = resources::timerSettingTemplate();
  const std::set<int> timer3{ids::kTimer3Group,      ids::kTimer3On,
                             ids::kTimer3StartLabel, ids::kTimer3StartHour,
                             ids::kTimer3StartMinute, ids::kTimer3StopLabel,
                             ids::kTimer3StopHour,   ids::kTimer3StopMinute};
  std::size_t hiddenWithId = 0;
  bool inTimer3 = false;
  for (const tk::ControlTemplate& control : t.controls) {
    if (control.id == ids::kTimer3Group) inTimer3 = true;
    if (control.id == tk::IDOK) inTimer3 = false;
    const bool hidden = (control.style & tk::kHidden) != 0;
    SCOPED_TRACE(control.id);
    EXPECT_EQ(hidden, inTimer3);  // the ":" labels of the group included
    if (hidden && control.id != tk::kNoControlId) {
      EXPECT_EQ(timer3.count(control.id), 1u);
      ++hiddenWithId;
    }
  }
  EXPECT_EQ(hiddenWithId, timer3.size());
}

// One default-constructed dialog of each class, with whether it takes the painted look.
struct DialogCase {
  const char* name;
  std::function<std::unique_ptr<tk::CDialogEx>()> make;
  int templateId;
  bool painted;
};

const DialogCase kDialogs[] = {
    {"timer", [] { return std::make_unique<CTimerSettingDlg>(); }, 130, true},
    {"password", [] { return std::make_unique<CPasswordDlg>(); }, 131, true},
    {"serial", [] { return std::make_unique<CSerialNoDlg>(); }, 132, true},
    {"time-lapse", [] { return std::make_unique<CTimeLapseDlg>(); }, 133, true},
    {"org name", [] { return std::make_unique<COrgNameDlg>(); }, 134, true},
    {"sms", [] { return std::make_unique<CSMSCtrlDlg>(); }, 138, false},
};

TEST(OptionLookTest, PaintedDialogsFillTheBackgroundAndClearStaticBackgrounds) {
  for (const DialogCase& c : kDialogs) {
    SCOPED_TRACE(c.name);
    const std::unique_ptr<tk::CDialogEx> dialog = c.make();
    EXPECT_EQ(dialog->templateId(), c.templateId);

    tk::PaintContext paint;
    dialog->OnPaint(paint);
    const tk::CtlColor label = dialog->OnCtlColor(tk::kNoControlId, tk::CtlColorType::Static);
    const tk::CtlColor edit = dialog->OnCtlColor(tk::kNoControlId, tk::CtlColorType::Edit);
    const tk::CtlColor button = dialog->OnCtlColor(tk::IDOK, tk::CtlColorType::Button);
    if (c.painted) {
      ASSERT_TRUE(paint.fill().has_value());
      EXPECT_EQ(*paint.fill(), (tk::Rgb{215, 220, 245}));
      EXPECT_TRUE(label.transparentText);
      EXPECT_TRUE(label.hollowBrush);
      EXPECT_FALSE(label.brush.has_value());
    } else {
      EXPECT_FALSE(paint.fill().has_value());
      EXPECT_FALSE(label.transparentText);
      EXPECT_FALSE(label.hollowBrush);
    }
    // Edits and buttons keep the system colours in every dialog.
    for (const tk::CtlColor& kept : {edit, button}) {
      EXPECT_FALSE(kept.transparentText);
      EXPECT_FALSE(kept.hollowBrush);
      EXPECT_FALSE(kept.brush.has_value());
      EXPECT_FALSE(kept.textColour.has_value());
    }
  }
}

}  // namespace
}  // namespace tarnwick
