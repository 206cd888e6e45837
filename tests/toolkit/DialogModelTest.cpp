#include "ui/toolkit/CDialogEx.h"

#include "TestDialog.h"
#include "ui/toolkit/CFileDialog.h"
#include "ui/toolkit/MessageBoxes.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

#include <gtest/gtest.h>

namespace tarnwick::tk {
namespace {

using namespace testing;

// Opens the test dialog headless and hands it to `body` once; a dialog the body leaves open
// ends with 99. The body must have run, and the run must not have failed.
int runWith(const std::function<void(TestDlg&, HeadlessBackend&)>& body) {
  CallbackUser user;
  HeadlessBackend backend(user);
  user.backend = &backend;
  user.onMessage = [](const MessageBoxRequest&) { return IDOK; };
  ScopedBackend scoped(backend);
  TestDlg dlg;
  int bodyRuns = 0;
  user.onAct = [&](CDialogEx&) {
    ++bodyRuns;
    body(dlg, backend);
    if (!dlg.isEnded()) dlg.EndDialog(99);
  };
  const int result = dlg.DoModal();
  EXPECT_EQ(bodyRuns, 1) << "the test body did not run exactly once";
  EXPECT_FALSE(backend.failed()) << backend.failure();
  return result;
}

TEST(DialogModel, TemplateDecidesTheStartingState) {
  runWith([](TestDlg& dlg, HeadlessBackend&) {
    EXPECT_EQ(dlg.GetWindowText(), u"Test Dialog");
    EXPECT_FALSE(dlg.GetDlgItem(kHiddenButton).IsWindowVisible());
    EXPECT_FALSE(dlg.GetDlgItem(kDisabledEdit).IsWindowEnabled());
    EXPECT_EQ(dlg.GetDlgItem(kDisabledEdit).GetPasswordChar(), kDefaultPasswordChar);
    EXPECT_EQ(dlg.GetDlgItem(kEditName).GetPasswordChar(), 0);
    EXPECT_EQ(dlg.GetDlgItemText(IDOK), u"OK");
    EXPECT_FALSE(dlg.HasDlgItem(kNoControlId));
  });
}

TEST(DialogModel, RadioButtonsSwitchWithinTheirGroupOnly) {
  runWith([](TestDlg& dlg, HeadlessBackend&) {
    dlg.GetDlgItem(kRadioC).SetCheck(1);
    EXPECT_EQ(dlg.userClick(kRadioB), "");
    EXPECT_EQ(dlg.GetDlgItem(kRadioB).GetCheck(), 1);
    EXPECT_EQ(dlg.GetDlgItem(kRadioA).GetCheck(), 0);
    EXPECT_EQ(dlg.GetDlgItem(kRadioC).GetCheck(), 1);  // another group
    EXPECT_EQ(dlg.userClick(kRadioA), "");
    EXPECT_EQ(dlg.GetDlgItem(kRadioA).GetCheck(), 1);
    EXPECT_EQ(dlg.GetDlgItem(kRadioB).GetCheck(), 0);
    EXPECT_EQ(dlg.radioAClicks, 1);
  });
}

TEST(DialogModel, ArrowKeysMoveWithinARadioGroupAndClickTheButtonLandedOn) {
  runWith([](TestDlg& dlg, HeadlessBackend&) {
    // Not on a radio button: the key does nothing.
    dlg.GotoDlgCtrl(kEditName);
    EXPECT_FALSE(dlg.userArrow(true));
    EXPECT_EQ(dlg.focusedControlId(), kEditName);

    dlg.GotoDlgCtrl(kRadioB);
    EXPECT_TRUE(dlg.userArrow(false));  // back to A: checked, its click handler runs
    EXPECT_EQ(dlg.focusedControlId(), kRadioA);
    EXPECT_EQ(dlg.GetDlgItem(kRadioA).GetCheck(), 1);
    EXPECT_EQ(dlg.radioAClicks, 1);
    EXPECT_TRUE(dlg.userArrow(false));  // wraps round to B, never into C's group
    EXPECT_EQ(dlg.focusedControlId(), kRadioB);
    EXPECT_EQ(dlg.GetDlgItem(kRadioB).GetCheck(), 1);
    EXPECT_EQ(dlg.GetDlgItem(kRadioA).GetCheck(), 0);
    EXPECT_TRUE(dlg.userArrow(true));
    EXPECT_EQ(dlg.focusedControlId(), kRadioA);
    EXPECT_EQ(dlg.radioAClicks, 2);

    // A disabled button is passed over; a group with no other usable button keeps the focus.
    dlg.GetDlgItem(kRadioB).EnableWindow(false);
    EXPECT_FALSE(dlg.userArrow(true));
    EXPECT_EQ(dlg.focusedControlId(), kRadioA);
    dlg.GotoDlgCtrl(kRadioC);
    EXPECT_FALSE(dlg.userArrow(true));  // C is a group of its own
    EXPECT_EQ(dlg.GetDlgItem(kRadioC).GetCheck(), 0);
  });
}

TEST(DialogModel, UserInputRespectsStateAndLimits) {
  runWith([](TestDlg& dlg, HeadlessBackend&) {
    EXPECT_EQ(dlg.userClick(kCheck), "");
    EXPECT_EQ(dlg.GetDlgItem(kCheck).GetCheck(), 1);
    EXPECT_EQ(dlg.userClick(kCheck), "");
    EXPECT_EQ(dlg.GetDlgItem(kCheck).GetCheck(), 0);

    EXPECT_EQ(dlg.userClick(kHiddenButton), "control 18 is hidden");
    EXPECT_EQ(dlg.userType(kDisabledEdit, u"x"), "control 19 is disabled");
    EXPECT_EQ(dlg.userType(kList, u"x"), "control 13 is not an edit box");
    EXPECT_EQ(dlg.userClick(kEditName), "control 10 is not a button");
    EXPECT_EQ(dlg.userClick(555), "control 555 does not exist in dialog 900");

    // Typing stops at the limit that the exchange set (8).
    EXPECT_EQ(dlg.userType(kEditName, u"0123456789"), "");
    EXPECT_EQ(dlg.GetDlgItemText(kEditName), u"01234567");

    EXPECT_EQ(dlg.userSelect(kList, 2), "control 13 has no position 2 (it holds 2 items)");
    EXPECT_EQ(dlg.listChanges, 0);
    EXPECT_EQ(dlg.userSelect(kList, 1), "");
    EXPECT_EQ(dlg.listChanges, 1);
    EXPECT_EQ(dlg.GetDlgItem(kList).GetCurSel(), 1);

    EXPECT_EQ(dlg.userClick(kPush), "");
    EXPECT_EQ(dlg.pushes, 1);
  });
}

TEST(DialogModel, ListSelectionOutsideTheListSelectsNothing) {
  runWith([](TestDlg& dlg, HeadlessBackend&) {
    Control list = dlg.GetDlgItem(kList);
    EXPECT_EQ(list.SetCurSel(1), 1);
    EXPECT_EQ(list.SetCurSel(5), -1);
    EXPECT_EQ(list.GetCurSel(), -1);
    list.SetCurSel(0);
    EXPECT_EQ(list.SetCurSel(-1), -1);
    EXPECT_EQ(list.GetCurSel(), -1);
    list.SetCurSel(0);
    list.ResetContent();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetCurSel(), -1);
    EXPECT_EQ(list.GetLBText(0), u"");
  });
}

TEST(DialogModel, EnterEscapeAndCloseEndTheDialog) {
  // Enter presses the default button, OK: the exchange runs and the dialog ends with IDOK.
  EXPECT_EQ(runWith([](TestDlg& dlg, HeadlessBackend&) {
              dlg.userType(kEditNumber, u"77");
              dlg.userEnter();
            }),
            IDOK);
  // A refused value keeps it open.
  EXPECT_EQ(runWith([](TestDlg& dlg, HeadlessBackend&) {
              dlg.userType(kEditNumber, u"x");
              dlg.userEnter();
              EXPECT_FALSE(dlg.isEnded());
            }),
            99);
  // After a click the button has the focus and takes Enter itself; typing moves the focus
  // away again and Enter is back with the default button.
  EXPECT_EQ(runWith([](TestDlg& dlg, HeadlessBackend&) {
              dlg.userType(kEditNumber, u"77");
              dlg.userClick(kPush);
              dlg.userEnter();
              EXPECT_EQ(dlg.pushes, 2);
              EXPECT_FALSE(dlg.isEnded());
              dlg.userType(kEditNumber, u"78");
              dlg.userEnter();
              EXPECT_EQ(dlg.pushes, 2);
            }),
            IDOK);
  // A focused button that was disabled since does not take Enter.
  EXPECT_EQ(runWith([](TestDlg& dlg, HeadlessBackend&) {
              dlg.userType(kEditNumber, u"5");
              dlg.userClick(kPush);
              dlg.GetDlgItem(kPush).EnableWindow(false);
              dlg.userEnter();
              EXPECT_EQ(dlg.pushes, 1);
            }),
            IDOK);
  EXPECT_EQ(runWith([](TestDlg& dlg, HeadlessBackend&) { dlg.userEscape(); }), IDCANCEL);
  EXPECT_EQ(runWith([](TestDlg& dlg, HeadlessBackend&) { dlg.userCloseBox(); }), IDCANCEL);
  EXPECT_EQ(runWith([](TestDlg& dlg, HeadlessBackend&) {
              EXPECT_EQ(dlg.userSystemCommand(0xF060), "");
            }),
            IDCANCEL);
}

TEST(DialogModel, SystemMenuCommandsMustBeListed) {
  runWith([](TestDlg& dlg, HeadlessBackend&) {
    EXPECT_EQ(dlg.userSystemCommand(16), "the system menu has no command 16");
    dlg.AppendSystemMenuItem(0, u"");
    dlg.AppendSystemMenuItem(16, u"About...");
    EXPECT_EQ(dlg.userSystemCommand(16), "");
    EXPECT_EQ(dlg.systemMenu().size(), 2u);
  });
}

class CountingObserver : public ControlObserver {
 public:
  void controlChanged(int) override { ++changes; }
  void captionChanged() override { ++captions; }
  int changes = 0;
  int captions = 0;
};

TEST(DialogModel, ObserverSeesEveryProgramChange) {
  runWith([](TestDlg& dlg, HeadlessBackend&) {
    CountingObserver observer;
    dlg.setObserver(&observer);
    dlg.SetDlgItemText(kEditName, u"a");
    dlg.GetDlgItem(kCheck).SetCheck(1);
    dlg.GetDlgItem(kList).AddString(u"two");
    dlg.SetWindowText(u"New caption");
    EXPECT_EQ(observer.changes, 3);
    EXPECT_EQ(observer.captions, 1);
    dlg.setObserver(nullptr);
  });
}

TEST(MessageBoxes, CarryTheProgramsCaptionIconAndStyle) {
  CallbackUser user;
  HeadlessBackend backend(user);
  user.backend = &backend;
  int answer = IDNO;
  user.onMessage = [&](const MessageBoxRequest&) { return answer; };
  ScopedBackend scoped(backend);
  showWarning(u"Illegal time!");
  showInfo(u"Save Config File OK!");
  EXPECT_FALSE(askYesNo(u"Sure?", u"Default"));
  answer = IDYES;
  EXPECT_TRUE(askYesNo(u"Sure?", u"Default"));
  const auto& shown = backend.shownMessages();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0].caption, u" ");
  EXPECT_EQ(shown[0].flags, 0x30u);
  EXPECT_EQ(shown[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(shown[1].flags, 0x40u);
  EXPECT_EQ(shown[1].icon, MessageIcon::Information);
  EXPECT_EQ(shown[2].flags, 0x24u);
  EXPECT_EQ(shown[2].caption, u"Default");
  EXPECT_EQ(shown[2].buttons, MessageButtons::YesNo);
  EXPECT_EQ(shown[0].owner, nullptr);
  EXPECT_EQ(shown[0].language, 1033);
}

TEST(FileDialog, AddsTheDefaultExtensionOnlyToNamesWithoutOne) {
  EXPECT_EQ(applyDefaultExtension("/tmp/menu", u"cfg"), "/tmp/menu.cfg");
  EXPECT_EQ(applyDefaultExtension("/tmp/menu.bin", u"cfg"), "/tmp/menu.bin");
  EXPECT_EQ(applyDefaultExtension("/tmp.d/menu", u"cfg"), "/tmp.d/menu.cfg");
  EXPECT_EQ(applyDefaultExtension("menu", u""), "menu");

  CallbackUser user;
  HeadlessBackend backend(user);
  user.backend = &backend;
  FileDialogRequest seen;
  user.onFile = [&](const FileDialogRequest& r) -> std::optional<std::string> {
    seen = r;
    return std::string("/tmp/camera1");
  };
  ScopedBackend scoped(backend);
  CFileDialog dialog(false, u"cfg", u"menu", u"Config file(*.cfg)|*.cfg|All files(*.*)|*.*||",
                     nullptr);
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.GetPathName(), "/tmp/camera1.cfg");
  EXPECT_TRUE(seen.save);
  EXPECT_EQ(seen.initialName, u"menu");

  user.onFile = [](const FileDialogRequest&) -> std::optional<std::string> { return std::nullopt; };
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

}  // namespace
}  // namespace tarnwick::tk
