// Code that includes windows.h before the toolkit sees IDOK... as macros and MessageBox,
// SetWindowText, GetWindowText, SetDlgItemText and GetDlgItemText renamed to their ...W form.
// The same macros are defined here as windows.h defines them, so this file compiles the way a
// Win32 backend's file does, and links against the toolkit built without them.
#ifdef _WIN32
#include <windows.h>
#else
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7
#define MessageBox MessageBoxW
#define SetWindowText SetWindowTextW
#define GetWindowText GetWindowTextW
#define SetDlgItemText SetDlgItemTextW
#define GetDlgItemText GetDlgItemTextW
#endif

#include "ui/toolkit/headless/HeadlessBackend.h"

#include "TestDialog.h"

#include <gtest/gtest.h>

namespace tarnwick::tk {
namespace {

TEST(WindowsNamesTest, RenamedCallsReachTheToolkitsOneDefinition) {
  static_assert(IDOK == kIdOk && IDCANCEL == kIdCancel && IDYES == kIdYes && IDNO == kIdNo);
  CallbackUser user;
  HeadlessBackend backend(user);
  user.backend = &backend;
  std::u16string shownCaption;
  user.onMessage = [&](const MessageBoxRequest& request) {
    shownCaption = request.caption;
    return IDYES;
  };
  user.onAct = [](CDialogEx& top) {
    top.SetWindowText(u"renamed caption");
    top.SetDlgItemText(testing::kEditName, u"cam");
    EXPECT_EQ(top.GetDlgItemText(testing::kEditName), u"cam");
    EXPECT_EQ(top.GetDlgItem(testing::kEditName).GetWindowText(), u"cam");
    EXPECT_EQ(top.GetWindowText(), u"renamed caption");
    EXPECT_EQ(top.MessageBox(u"asked"), IDYES);
    top.userClick(IDOK);
  };
  ScopedBackend scoped(backend);
  testing::TestDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.name, u"cam");
  EXPECT_EQ(shownCaption, kApplicationName);
  EXPECT_FALSE(backend.failed()) << backend.failure();
}

}  // namespace
}  // namespace tarnwick::tk
