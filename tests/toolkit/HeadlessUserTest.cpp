// The headless user must never let a program's question, message or file dialog pass
// unanswered or answered by the wrong kind of step: otherwise a UI test could pass while the
// program asks something nobody expected.

#include "ui/toolkit/headless/HeadlessBackend.h"

#include "TestDialog.h"
#include "ui/toolkit/CFileDialog.h"
#include "ui/toolkit/MessageBoxes.h"
#include "ui/toolkit/headless/ScriptRunner.h"

#include <gtest/gtest.h>

#include <functional>

namespace tarnwick::tk {
namespace {

using namespace testing;

// The test dialog with a question behind the check box, a plain message behind radio C and
// the two file dialogs behind the push button (save) and radio A (open).
class AskingDlg : public TestDlg {
 public:
  AskingDlg() {
    OnClicked(kCheck, &AskingDlg::OnAsk);
    OnClicked(kRadioC, &AskingDlg::OnTell);
  }
  void OnAsk() { answeredYes = askYesNo(u"Sure?", u"Question"); }
  void OnTell() { showInfo(u"Done!"); }
  void pickFile(bool open) {
    CFileDialog dialog(open, u"cfg", u"menu", u"Config file(*.cfg)|*.cfg||", this);
    fileResult = dialog.DoModal();
  }
  bool answeredYes = true;
  int fileResult = 0;
};

struct CallbackCase {
  const char* name;
  std::function<void(AskingDlg&)> act;  // runs once; nullptr leaves the user without onAct
  const char* failure;
};

TEST(HeadlessUser, CallbackUserWithoutAnAnswerFailsTheRunAndUnwinds) {
  const CallbackCase cases[] = {
      {"no action", nullptr, "no action for dialog 900"},
      {"message", [](AskingDlg& d) { d.userClick(kRadioC); }, "unexpected message box \"Done!\""},
      {"question", [](AskingDlg& d) { d.userClick(kCheck); }, "unexpected message box \"Sure?\""},
      {"save", [](AskingDlg& d) { d.pickFile(false); }, "unexpected save-file dialog"},
      {"open", [](AskingDlg& d) { d.pickFile(true); }, "unexpected open-file dialog"},
  };
  for (const CallbackCase& c : cases) {
    SCOPED_TRACE(c.name);
    CallbackUser user;
    HeadlessBackend backend(user);
    user.backend = &backend;
    ScopedBackend scoped(backend);
    AskingDlg dlg;
    if (c.act) user.onAct = [&](CDialogEx&) { c.act(dlg); };
    // The failure ends the dialog with Cancel; an unanswered question counts as No and an
    // unanswered file dialog as cancelled.
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(backend.failed());
    EXPECT_EQ(backend.failure(), c.failure);
    if (std::string(c.name) == "question") {
      EXPECT_FALSE(dlg.answeredYes);
    }
    if (dlg.fileResult != 0) {
      EXPECT_EQ(dlg.fileResult, IDCANCEL);
    }
  }
}

ScriptOutcome runAsking(std::string_view script) {
  return runScriptText(script, [] {
    AskingDlg dlg;
    dlg.DoModal();
  });
}

TEST(HeadlessUser, ScriptStepsAnswerOnlyTheirOwnKindOfBox) {
  struct Case {
    const char* script;
    const char* failure;  // nullptr: the script passes
  };
  const Case cases[] = {
      {"click 14\nmessage *\n",
       "line 2: message *: the program shows the message \"Sure?\" with Yes and No"},
      {"click 17\nquestion \"Done!\" yes\n",
       "line 2: question \"Done!\" yes: the program shows the message \"Done!\""},
      {"click 17\nmessage *\nkey esc\n", nullptr},
      {"click 14\nquestion \"Sure?\" no\nkey esc\n", nullptr},
      // Steps left over after the program ended are named as written.
      {"key esc\nmessage *\n", "line 2: message *: the program has already ended"},
      {"key esc\nsave-file cancel\n", "line 2: save-file cancel: the program has already ended"},
      {"key esc\nopen-file cancel\n", "line 2: open-file cancel: the program has already ended"},
      // Escapes take upper- and lower-case hexadecimal digits alike.
      {"type 10 \"\\u00C9t\\u00e9\"\nexpect-text 10 \"\\u00c9t\\u00E9\"\nkey esc\n", nullptr},
      {"message later\n", "line 1: message takes one string, or *"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    const ScriptOutcome outcome = runAsking(c.script);
    if (c.failure == nullptr) {
      EXPECT_TRUE(outcome.ok) << outcome.message;
    } else {
      EXPECT_FALSE(outcome.ok);
      EXPECT_EQ(outcome.message, c.failure);
    }
  }
}

// Handles report what their template says, read list items by position and move the focus.
TEST(HeadlessUser, ControlHandlesReadTheirTemplateAndItems) {
  CallbackUser user;
  HeadlessBackend backend(user);
  user.backend = &backend;
  ScopedBackend scoped(backend);
  TestDlg dlg;
  user.onAct = [&](CDialogEx&) {
    Control list = dlg.GetDlgItem(kList);
    EXPECT_EQ(list.GetDlgCtrlID(), kList);
    EXPECT_EQ(list.kind(), ControlKind::ComboBox);
    EXPECT_EQ(list.AddString(u"two"), 2);
    EXPECT_EQ(list.GetLBText(0), u"zero");
    EXPECT_EQ(list.GetLBText(2), u"two");
    EXPECT_EQ(list.GetLBText(3), u"");
    EXPECT_EQ(list.GetLBText(-1), u"");
    dlg.GetDlgItem(kEditNumber).SetFocus();
    EXPECT_EQ(dlg.focusedControlId(), kEditNumber);
    dlg.EndDialog(IDOK);
  };
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_FALSE(backend.failed()) << backend.failure();
}

// A user whose turns change nothing fails the run after a few turns instead of keeping the
// dialog open for ever: a failed assertion that returns early from a test's callback, a user
// that only looks, a user that does nothing at all. A turn that changes anything (here a
// check box that flips every turn) is progress, however long it goes on.
TEST(HeadlessUser, TurnsWithoutProgressFailTheRun) {
  const std::function<void(TestDlg&)> idle[] = {
      [](TestDlg&) {},
      [](TestDlg& d) { EXPECT_EQ(d.GetDlgItemText(kEditName), u"initial"); },
      [](TestDlg& d) { d.SetDlgItemText(kEditName, u"initial"); },  // the same text again
      [](TestDlg& d) { d.userClick(kPush); },  // a handler that changes no control
  };
  for (const auto& body : idle) {
    CallbackUser user;
    HeadlessBackend backend(user);
    user.backend = &backend;
    ScopedBackend scoped(backend);
    TestDlg dlg;
    int turns = 0;
    user.onAct = [&](CDialogEx&) {
      ++turns;
      body(dlg);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(backend.failure(),
              "the user made no progress in dialog 900 for 3 turns in a row");
    EXPECT_LE(turns, HeadlessBackend::kIdleTurnLimit + 1);
  }

  CallbackUser user;
  HeadlessBackend backend(user);
  user.backend = &backend;
  ScopedBackend scoped(backend);
  TestDlg dlg;
  int turns = 0;
  user.onAct = [&](CDialogEx&) {
    if (++turns == 50) {
      dlg.EndDialog(IDOK);
    } else {
      dlg.userClick(kCheck);
    }
  };
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_FALSE(backend.failed()) << backend.failure();
  EXPECT_EQ(turns, 50);
}

}  // namespace
}  // namespace tarnwick::tk
