// The option dialogs driven by a scripted user: what each shows when it opens, what OK and
// Cancel leave in the settings record, and how the toolkit's refusal of a byte field and the
// dialog's own checks follow each other.
#include "config/ConfigRecord.h"
#include "config/Defaults.h"
#include "config/FieldCatalog.h"
#include "ui/options/COrgNameDlg.h"
#include "ui/options/CPasswordDlg.h"
#include "ui/options/CSMSCtrlDlg.h"
#include "ui/options/CSerialNoDlg.h"
#include "ui/options/CTimeLapseDlg.h"
#include "ui/options/CTimerSettingDlg.h"
#include "ui/toolkit/DataExchange.h"
#include "ui/toolkit/headless/HeadlessBackend.h"
#include "ui/toolkit/headless/ScriptRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tarnwick {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes recordBytes(std::size_t offset, std::size_t count) {
  const auto all = programRecord().bytes();
  return Bytes(all.begin() + static_cast<std::ptrdiff_t>(offset),
               all.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

void setRecordBytes(std::size_t offset, const Bytes& bytes) {
  std::copy(bytes.begin(), bytes.end(),
            programRecord().bytes().begin() + static_cast<std::ptrdiff_t>(offset));
}

// Runs one dialog of type Dlg under a script; returns the script's outcome and keeps the
// dialog's modal result.
template <class Dlg>
tk::ScriptOutcome run(const std::string& script, int& result) {
  result = 0;
  return tk::runScriptText(script, [&result] {
    Dlg dialog;
    result = dialog.DoModal();
  });
}

class OptionDialogScriptTest : public testing::Test {
 protected:
  void SetUp() override { programRecord() = ConfigRecord{}; }
  int result = 0;
};

// --- Password and serial number -------------------------------------------------------------

TEST_F(OptionDialogScriptTest, PasswordRefusesNullAndNegativeThenStoresTheCode) {
  const auto outcome = run<CPasswordDlg>(R"(
expect-dialog 131
expect-caption "Password Setting"
expect-text 1064 "0000"
expect-masked 1064 yes
expect-checked 1151 no
click 1
message "Null password!"
expect-dialog 131
type 1064 "12345"
expect-text 1064 "1234"
click 1151
expect-masked 1064 no
click 1151
expect-masked 1064 yes
type 1064 "-5"
key enter
message "Invalid password!"
type 1064 ""
key enter
message "Null password!"
type 1064 "12"
key enter
)", result);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(result, tk::IDOK);
  EXPECT_EQ(recordBytes(0x470, 4), (Bytes{0, 0, 1, 2}));
  EXPECT_EQ(recordBytes(0x46c, 4), Bytes(4, 0));
}

TEST_F(OptionDialogScriptTest, ShowPasswordTogglesBetweenClearTextAndAsterisks) {
  tk::CallbackUser user;
  tk::HeadlessBackend backend(user);
  user.backend = &backend;
  std::vector<char16_t> masks;
  user.onAct = [&masks](tk::CDialogEx& dialog) {
    masks.push_back(dialog.GetDlgItem(1064).GetPasswordChar());
    ASSERT_EQ(dialog.userClick(1151), "");
    masks.push_back(dialog.GetDlgItem(1064).GetPasswordChar());
    ASSERT_EQ(dialog.userClick(1151), "");
    masks.push_back(dialog.GetDlgItem(1064).GetPasswordChar());
    dialog.userEscape();
  };
  tk::ScopedBackend scoped(backend);
  CPasswordDlg dialog;
  EXPECT_EQ(dialog.DoModal(), tk::IDCANCEL);
  EXPECT_FALSE(backend.failed()) << backend.failure();
  EXPECT_EQ(masks, (std::vector<char16_t>{tk::kDefaultPasswordChar, 0, u'*'}));
}

TEST_F(OptionDialogScriptTest, PasswordCancelAndCloseBoxLeaveTheRecord) {
  setRecordBytes(0x470, {0, 0, 4, 2});
  for (const char* leave : {"click 2", "key esc", "close"}) {
    SCOPED_TRACE(leave);
    const auto outcome = run<CPasswordDlg>(std::string(R"(
expect-text 1064 "0042"
type 1064 "9999"
)") + leave + "\n",
                                           result);
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(result, tk::IDCANCEL);
    EXPECT_EQ(recordBytes(0x470, 4), (Bytes{0, 0, 4, 2}));
  }
}

TEST_F(OptionDialogScriptTest, SerialNumberStoresTheLeadingNumberAndReopensPadded) {
  setRecordBytes(0x46c, {0, 0, 1, 2});
  auto outcome = run<CSerialNoDlg>(R"(
expect-dialog 132
expect-caption "Serial Number Setting"
expect-text 1069 "0012"
expect-masked 1069 no
type 1069 "0000"
click 1
message "Null serial number!"
type 1069 "-12"
click 1
message "Invalid serial number!"
type 1069 "7x"
click 1
)", result);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(result, tk::IDOK);
  EXPECT_EQ(recordBytes(0x46c, 4), (Bytes{0, 0, 0, 7}));

  // A single zero or a blank is no null code: it stores four zero digits.
  outcome = run<CSerialNoDlg>(R"(
expect-text 1069 "0007"
type 1069 " "
click 1
)", result);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(recordBytes(0x46c, 4), Bytes(4, 0));
  outcome = run<CSerialNoDlg>(R"(
expect-text 1069 "0000"
click 1
message "Null serial number!"
close
)", result);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(result, tk::IDCANCEL);
}

// --- Time-lapse -----------------------------------------------------------------------------

TEST_F(OptionDialogScriptTest, TimeLapseShowsPlainNumbersAndStoresTheWholeWord) {
  setRecordBytes(0x450, {9, 8, 7, 0x55});
  const auto outcome = run<CTimeLapseDlg>(R"(
expect-dialog 133
expect-caption "Time-lapse Setting"
expect-text 1073 "7"
expect-text 1074 "8"
expect-text 1075 "9"
type 1073 "24"
type 1074 "0"
type 1075 "0"
click 1
message "Illegal time!"
type 1073 "0"
click 1
message "Invalid time-lapse!"
type 1075 "1"
key enter
)", result);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(result, tk::IDOK);
  EXPECT_EQ(recordBytes(0x450, 4), (Bytes{1, 0, 0, 0}));
}

TEST_F(OptionDialogScriptTest, ARefusedLastFieldWritesTheOthersAndKeepsTheDialogOpen) {
  // The first read stops at the second field: hour and minute take the typed values, the
  // second keeps 0, which passes the checks, so the record is written; then the toolkit's OK
  // refuses the same field again and the dialog stays open. Cancel does not undo the write.
  const auto outcome = run<CTimeLapseDlg>(R"(
type 1073 "1"
type 1074 "2"
type 1075 "300"
click 1
message "Please enter an integer between 0 and 255."
message "Please enter an integer between 0 and 255."
expect-dialog 133
type 1075 "abc"
key enter
message "Please enter an integer between 0 and 255."
message "Please enter an integer between 0 and 255."
click 2
)", result);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(result, tk::IDCANCEL);
  EXPECT_EQ(recordBytes(0x450, 4), (Bytes{0, 2, 1, 0}));
}

TEST_F(OptionDialogScriptTest, ARefusedFirstFieldLeavesTheOldValuesToBeChecked) {
  // Nothing was read, so the opening's 0:0:0 is checked and refused by the dialog itself.
  const auto outcome = run<CTimeLapseDlg>(R"(
type 1073 "300"
type 1075 "5"
click 1
message "Please enter an integer between 0 and 255."
message "Invalid time-lapse!"
type 1073 "12abc"
click 1
)", result);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(result, tk::IDOK);
  EXPECT_EQ(recordBytes(0x450, 4), (Bytes{5, 0, 12, 0}));
}

// --- SMS control ----------------------------------------------------------------------------

TEST_F(OptionDialogScriptTest, SmsIntervalOpensAtTenMinutesAndChecksInOrder) {
  auto outcome = run<CSMSCtrlDlg>(R"(
expect-dialog 138
expect-caption "SMS Control Setting"
expect-text 1157 "0"
expect-text 1158 "10"
type 1158 "9"
click 1
message "Interval must be 10 mins at least!"
type 1158 "0"
click 1
message "Invalid interval!"
type 1157 "24"
click 1
message "Illegal time!"
click 2
)", result);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(result, tk::IDCANCEL);
  EXPECT_EQ(recordBytes(0x44c, 4), Bytes(4, 0));

  outcome = run<CSMSCtrlDlg>("key enter\n", result);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(result, tk::IDOK);
  EXPECT_EQ(recordBytes(0x44c, 4), (Bytes{10, 0, 0, 0}));

  setRecordBytes(0x44c, {5, 1, 0xEE, 0xEE});
  outcome = run<CSMSCtrlDlg>(R"(
expect-text 1157 "1"
expect-text 1158 "5"
click 1
)", result);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(recordBytes(0x44c, 4), (Bytes{5, 1, 0, 0}));
}

// --- Timers ---------------------------------------------------------------------------------

TEST_F(OptionDialogScriptTest, TimersOpenFromTheDefaultsAndOkWritesOnlyTheFlags) {
  applyDefaults();
  const ConfigRecord before = programRecord();
  const auto outcome = run<CTimerSettingDlg>(R"(
expect-dialog 130
expect-caption "Timer Setting"
expect-checked 1131 no
expect-checked 1132 no
expect-checked 1133 no
expect-text 1058 "0"
expect-text 1067 "0"
expect-visible 1129 no
expect-visible 1133 no
expect-visible 1069 no
expect-visible 1073 no
expect-visible 1128 yes
key enter
)", result);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(result, tk::IDOK);
  EXPECT_EQ(programRecord(), before);
}

TEST_F(OptionDialogScriptTest, FailedOkThenCancelKeepsTheEarlierTimerWritten) {
  applyDefaults();
  const auto outcome = run<CTimerSettingDlg>(R"(
click 1131
type 1058 "8"
type 1061 "18"
click 1132
type 1063 "9"
type 1066 "9"
click 1
message "Invalid timer!"
expect-dialog 130
click 2
)", result);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(result, tk::IDCANCEL);
  EXPECT_EQ(recordBytes(0x454, 4), (Bytes{0, 8, 0, 0}));
  EXPECT_EQ(recordBytes(0x460, 4), (Bytes{0, 18, 0, 0}));
  EXPECT_EQ(programRecord().getInt32(fields::timer1Off), 1);
  EXPECT_EQ(programRecord().getInt32(fields::timer2Off), 1);
  EXPECT_EQ(recordBytes(0x458, 4), Bytes(4, 0));
}

TEST_F(OptionDialogScriptTest, CheckedTimersShowTheirTimesAndAcceptOvernightSpans) {
  applyDefaults();
  programRecord().setInt32(fields::timer1Off, 0);
  programRecord().setUInt32(fields::timer1Start, 0x0800);
  programRecord().setUInt32(fields::timer1Stop, 0x121E);
  programRecord().setUInt32(fields::timer2Start, 0x1F63);  // 31:99, off: shown, never checked
  const auto outcome = run<CTimerSettingDlg>(R"(
expect-checked 1131 yes
expect-text 1058 "8"
expect-text 1059 "0"
expect-text 1061 "18"
expect-text 1060 "30"
expect-checked 1132 no
expect-text 1063 "31"
expect-text 1064 "99"
type 1058 "22"
type 1061 "6"
click 1
)", result);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(result, tk::IDOK);
  EXPECT_EQ(recordBytes(0x454, 4), (Bytes{0, 22, 0, 0}));
  EXPECT_EQ(recordBytes(0x460, 4), (Bytes{30, 6, 0, 0}));
  EXPECT_EQ(recordBytes(0x458, 4), (Bytes{0x63, 0x1F, 0, 0}));
  EXPECT_EQ(recordBytes(0x110, 12), (Bytes{0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}));
}

TEST_F(OptionDialogScriptTest, AnOnHiddenTimerWithEqualTimesBlocksOkButNotCancel) {
  applyDefaults();
  programRecord().setInt32(fields::timer3Off, 0);
  const auto outcome = run<CTimerSettingDlg>(R"(
expect-checked 1133 yes
expect-visible 1133 no
click 1
message "Invalid timer!"
key enter
message "Invalid timer!"
expect-dialog 130
click 2
)", result);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(result, tk::IDCANCEL);
  EXPECT_EQ(programRecord().getInt32(fields::timer3Off), 0);
}

TEST_F(OptionDialogScriptTest, ARefusedTimerFieldStopsTheReadInExchangeOrder) {
  // Timers 2 and 3 are read value by value, interleaved: 2's start hour, 3's start hour, 2's
  // start minute, ... A refusal at timer 2's start minute therefore takes timer 3's start hour
  // but not timer 2's stop hour.
  applyDefaults();
  ConfigRecord& record = programRecord();
  record.setInt32(fields::timer2Off, 0);
  record.setUInt32(fields::timer2Start, 0x0100);
  record.setUInt32(fields::timer2Stop, 0x0200);
  record.setInt32(fields::timer3Off, 0);
  record.setUInt32(fields::timer3Start, 0x0100);
  record.setUInt32(fields::timer3Stop, 0x0200);

  tk::CallbackUser user;
  tk::HeadlessBackend backend(user);
  user.backend = &backend;
  int messages = 0;
  user.onMessage = [&messages](const tk::MessageBoxRequest& request) {
    EXPECT_EQ(request.text, tk::byteRangeMessage());
    ++messages;
    return tk::IDOK;
  };
  user.onAct = [](tk::CDialogEx& dialog) {
    EXPECT_EQ(dialog.userType(1063, u"5"), "");  // timer 2 start hour
    EXPECT_EQ(dialog.userType(1066, u"6"), "");  // timer 2 stop hour, after the refusal
    // The hidden timer 3 cannot be typed into; set its edits the way a program would.
    dialog.GetDlgItem(1069).SetWindowText(u"4");  // timer 3 start hour, before the refusal
    dialog.GetDlgItem(1072).SetWindowText(u"7");  // timer 3 stop hour, after it
    EXPECT_EQ(dialog.userType(1064, u"300"), "");
    EXPECT_EQ(dialog.userClick(tk::IDOK), "");
    EXPECT_FALSE(dialog.isEnded());
    dialog.userEscape();
  };
  tk::ScopedBackend scoped(backend);
  CTimerSettingDlg dialog;
  EXPECT_EQ(dialog.DoModal(), tk::IDCANCEL);
  EXPECT_FALSE(backend.failed()) << backend.failure();
  EXPECT_EQ(messages, 2);
  EXPECT_EQ(record.getUInt32(fields::timer2Start), 0x0500u);
  EXPECT_EQ(record.getUInt32(fields::timer2Stop), 0x0200u);
  EXPECT_EQ(record.getUInt32(fields::timer3Start), 0x0400u);
  EXPECT_EQ(record.getUInt32(fields::timer3Stop), 0x0200u);
  EXPECT_EQ(record.getInt32(fields::timer1Off), 1);
}

// --- Organization name ----------------------------------------------------------------------

TEST_F(OptionDialogScriptTest, OrgNameTrimsTrailingSpacesAndStoresZeroPadded) {
  applyDefaults();
  const auto outcome = run<COrgNameDlg>(R"(
expect-dialog 134
expect-caption "Organization Name Setting"
expect-text 1079 ""
click 1
message "Empty name!"
type 1079 "        "
click 1
message "Empty name!"
type 1079 "ABCDEFGHIJ"
expect-text 1079 "ABCDEFGH"
type 1079 "AB  "
click 1
)", result);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(result, tk::IDOK);
  EXPECT_EQ(recordBytes(0x474, 8), (Bytes{'A', 'B', 0, 0, 0, 0, 0, 0}));
}

TEST_F(OptionDialogScriptTest, OrgNameOpensJoinedAndCancelKeepsIt) {
  setRecordBytes(0x474, {'A', 'B', 0, 'C', ' ', ' ', 0, 0});
  const Bytes before = recordBytes(0x474, 8);
  const auto outcome = run<COrgNameDlg>(R"(
expect-text 1079 "ABC"
type 1079 "XYZ"
close
)", result);
  ASSERT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(result, tk::IDCANCEL);
  EXPECT_EQ(recordBytes(0x474, 8), before);
}

}  // namespace
}  // namespace tarnwick
