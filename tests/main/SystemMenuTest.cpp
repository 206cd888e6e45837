// The main window's system menu: Close ends the program like the close box (nothing collected,
// nothing written), and the About entry is recognised whatever the system puts in the low four
// bits of the command.

#include "config/ConfigRecord.h"
#include "config/Defaults.h"
#include "resources/templates/MainWindowTemplate.h"
#include "ui/main/CTarnwickApp.h"
#include "ui/main/CTarnwickDlg.h"
#include "ui/toolkit/headless/HeadlessBackend.h"
#include "ui/toolkit/headless/ScriptRunner.h"

#include "ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tarnwick {
namespace {

namespace ids = resources::ids::tarnwickDlg;

ConfigRecord defaultsRecord() {
  ConfigRecord record;
  applyDefaults(record);
  return record;
}

TEST(MainWindowSystemMenu, CloseEndsTheProgramWithoutCollectingOrWriting) {
  struct Case {
    const char* name;
    const char* script;
  };
  // 61536 is the system menu's Close command.
  const Case cases[] = {
      {"main window", "expect-dialog 102\nselect 1015 6\ntype 1035 \"25\"\nsysmenu 61536\n"
                      "question \"Quit without saving the changes?\" yes\n"},
      {"About box first", "expect-dialog 102\nselect 1015 6\nsysmenu 16\nexpect-dialog 100\n"
                          "sysmenu 61536\nexpect-dialog 102\nexpect-selection 1015 6\n"
                          "sysmenu 61536\nquestion \"Quit without saving the changes?\" yes\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    programRecord() = ConfigRecord{};
    testing::ScratchDir folder(testing::ScratchDir::Enter::Yes);
    ASSERT_TRUE(folder.ok());
    const tk::ScriptOutcome outcome =
        tk::runScriptText(c.script, [] { EXPECT_FALSE(CTarnwickApp().InitInstance()); });
    EXPECT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(programRecord(), defaultsRecord());
    EXPECT_TRUE(std::filesystem::is_empty(folder.file("")));
  }
}

TEST(MainWindowSystemMenu, AboutIgnoresTheLowFourBits) {
  programRecord() = ConfigRecord{};
  tk::CallbackUser user;
  tk::HeadlessBackend backend(user);
  user.backend = &backend;
  tk::ScopedBackend scoped(backend);
  CTarnwickDlg dlg;
  int aboutOpened = 0;
  int step = 0;
  user.onAct = [&](tk::CDialogEx& top) {
    if (top.templateId() == 100) {  // the About box: count it and close it
      ++aboutOpened;
      top.EndDialog(tk::IDOK);
      return;
    }
    if (step < 16) {
      dlg.OnSysCommand(ids::kAboutCommand | step++);
      return;
    }
    // A command that is neither About nor Close does nothing.
    dlg.OnSysCommand(0xF120);
    EXPECT_FALSE(dlg.isEnded());
    dlg.EndDialog(tk::IDCANCEL);
  };
  dlg.DoModal();
  EXPECT_FALSE(backend.failed()) << backend.failure();
  EXPECT_EQ(aboutOpened, 16);
}

}  // namespace
}  // namespace tarnwick
