// The file `new` writes is the one the program writes when started and saved at once.

#include <gtest/gtest.h>

#include "ToolRun.h"
#include "cli/StartupRecord.h"
#include "config/ConfigFile.h"
#include "config/Defaults.h"
#include "config/FieldCatalog.h"
#include "ui/main/CTarnwickApp.h"
#include "ui/toolkit/headless/ScriptRunner.h"

namespace tarnwick::cli {
namespace {

TEST(StartupRecord, IsTheDefaultsCollectedByTheMainForm) {
  ConfigRecord expected;
  applyDefaults(expected);
  // Collecting the untouched form: both Shot Number copies from its list, the five switches
  // Off, and the values of Password, Serial No. and Time-lapse zeroed; the interval (10 sec)
  // and the video length (30) come back as they were.
  expected.setInt32(fields::shotNumber, 0);
  expected.setInt32(fields::shotNumberB, 0);
  for (const FieldInfo* flag : {&fields::passwordOff, &fields::serialNoOff, &fields::timeLapseOff,
                                &fields::orgNameOff, &fields::smsCtrlOff}) {
    expected.setInt32(*flag, 1);
  }
  expected.setUInt32(fields::password, 0);
  expected.setUInt32(fields::serialNo, 0);
  expected.setUInt32(fields::timeLapse, 0);
  EXPECT_EQ(startupRecord(), expected);
  EXPECT_EQ(startupRecord().getUInt32(fields::interval), 10u);
  EXPECT_EQ(startupRecord().getUInt32(fields::videoLength), 30u);
}

TEST(StartupRecord, MatchesWhatTheMainWindowSavesAtOnce) {
  programRecord() = ConfigRecord{};
  test::ScratchDir dir;
  // Written with "/" in the script on every system (a Windows temporary folder's "\t..." would
  // read as a tab).
  const std::string saved = (dir.path() / "menu.cfg").generic_string();
  const std::string script = "expect-dialog 102\n"
                             "click 1117\n"
                             "save-file \"" + saved + "\"\n"
                             "message \"Save Config File OK!\"\n"
                             "key esc\n";
  const tk::ScriptOutcome outcome =
      tk::runScriptText(script, [] { CTarnwickApp().InitInstance(); });
  ASSERT_TRUE(outcome.ok) << outcome.message;
  ConfigRecord fromWindow;
  ASSERT_EQ(errorKind(readConfigFile(saved, fromWindow)), std::nullopt);
  EXPECT_EQ(fromWindow, startupRecord());
  programRecord() = ConfigRecord{};
}

}  // namespace
}  // namespace tarnwick::cli
