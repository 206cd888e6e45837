// The rules by which the window's lists enable, fill, empty and park its other controls while
// it is open, the SMTP presets, and its colours.
#include "NetUiFixture.h"

#include "network/SmtpPresetTable.h"

namespace tarnwick::netui_test {
namespace {

using RulesTest = NetUiTest;

TEST_F(RulesTest, ManualEmptiesTheParametersAndAutoRefillsFromTheRecordNotTheLastChoice) {
  record().setUInt8(fields::countryIndex, 2);   // "Austria"
  record().setUInt8(fields::operatorIndex, 1);  // "Drei"
  EXPECT_TRUE(play(R"(
expect-selection 1124 2
expect-item 1126 1 "Drei"
expect-selection 1126 1
select 1124 17
expect-item 1124 17 "France"
expect-selection 1126 0
select 1122 1
expect-count 1124 1
expect-item 1124 0 "Other"
expect-count 1126 1
expect-item 1126 0 "Other"
expect-enabled 1081 yes
expect-text 1081 ""
expect-text 1119 ""
expect-enabled 1152 no
select 1124 0
select 1126 0
expect-count 1126 1
select 1122 0
expect-count 1124 55
expect-selection 1124 2
expect-count 1126 8
expect-selection 1126 1
expect-enabled 1081 no
expect-text 1081 "*****"
expect-enabled 1152 yes
key esc
)"));
}

TEST_F(RulesTest, AnotherCountrySelectsItsFirstOperatorAndLoadsItsValuesAtOnce) {
  // Pick a built-in operator whose first row has a data access point to look for.
  int country = -1;
  for (int c = 0; c < 55 && country < 0; ++c) {
    if (!builtinParameter(c, 0, 4, 32).empty() && c != 0) country = c;
  }
  ASSERT_GE(country, 0) << "no built-in country whose first operator has a data APN";
  const std::string apn = builtinParameter(country, 0, 4, 32);
  const std::string countryNo = std::to_string(country);
  // Revealed first, so that the new operator's values show as soon as they are loaded.
  EXPECT_TRUE(play(R"(
click 1152
type 1154 "vintosk[4082736]"
key enter
select 1124 )" + countryNo + R"(
expect-selection 1126 0
expect-text 1105 )" + scriptString(apn) + R"(
key esc
)"));
}

TEST_F(RulesTest, MmsOffLeavesPhoneOneToFtpAndDataFtpRestoresIt) {
  setText(fields::phone1, u"5550101");
  setText(fields::phone2, u"5550102");
  record().setInt32(fields::mmsOption, 0);
  record().setInt32(fields::dataOption, 1);  // "FTP"
  EXPECT_TRUE(play(R"(
expect-enabled 1089 yes
select 1023 2
expect-enabled 1089 yes
expect-text 1089 "5550101"
expect-enabled 1093 no
expect-text 1093 ""
select 1024 2
expect-enabled 1089 no
expect-text 1089 ""
select 1024 1
expect-enabled 1089 yes
expect-text 1089 "5550101"
select 1023 1
expect-text 1093 "5550102"
key esc
)"));
}

TEST_F(RulesTest, ParkingAParkedBoxKeepsTheFirstKeptText) {
  setText(fields::phone1, u"5550101");
  setText(fields::mailbox2, u"two@mail.example");
  record().setInt32(fields::mmsOption, 2);
  record().setInt32(fields::dataOption, 1);  // FTP: Phone 1 in use, mailboxes parked
  // Phone 1 is parked by "OFF" and parked again by "SMTP"; the mailboxes are parked by "FTP"
  // and again by "OFF".
  EXPECT_TRUE(play(R"(
expect-text 1089 "5550101"
select 1024 2
expect-text 1089 ""
select 1024 0
expect-enabled 1089 no
expect-text 1097 "two@mail.example"
select 1024 1
select 1024 2
select 1024 0
expect-text 1097 "two@mail.example"
select 1023 0
expect-enabled 1089 yes
expect-text 1089 "5550101"
key esc
)"));
}

TEST_F(RulesTest, RestoringABoxInUseKeepsWhatTheUserTyped) {
  setText(fields::phone1, u"5550101");
  setText(fields::mailbox1, u"old@mail.example");
  record().setInt32(fields::mmsOption, 0);
  record().setInt32(fields::dataOption, 0);
  EXPECT_TRUE(play(R"(
type 1089 "5559999"
type 1091 "new@mail.example"
select 1023 1
expect-text 1089 "5559999"
select 1024 0
expect-text 1091 "new@mail.example"
select 1024 2
select 1024 0
expect-text 1091 "new@mail.example"
key esc
)"));
}

TEST_F(RulesTest, DataOptionDecidesBetweenSmtpFtpAndNeither) {
  record().setInt32(fields::mmsOption, 0);
  record().setUInt8(fields::smtpPreset, 5);  // "Other"
  setText(fields::ftpServer, u"ftp.example.org");
  setText(fields::mailbox1, u"one@mail.example");
  EXPECT_TRUE(play(R"(
select 1024 0
expect-enabled 1137 yes
expect-text 1139 "25"
expect-enabled 1091 yes
expect-text 1091 "one@mail.example"
expect-enabled 1148 no
expect-text 1148 "ftp.example.org"
type 1137 "smtp.typed.example"
select 1024 1
expect-enabled 1137 no
expect-text 1137 ""
expect-text 1139 ""
expect-enabled 1145 no
expect-enabled 1091 no
expect-text 1091 ""
expect-enabled 1148 yes
expect-enabled 1150 yes
select 1024 2
expect-enabled 1148 no
expect-text 1148 "ftp.example.org"
expect-enabled 1102 no
select 1024 0
expect-text 1137 ""
expect-text 1139 "25"
expect-text 1091 "one@mail.example"
key esc
)"));
}

// The enable table of the SMTP group with Data Option "SMTP", and what each row puts on the
// form.
TEST_F(RulesTest, EachSmtpTypeFillsAndLocksTheGroupByItsKind) {
  record().setInt32(fields::dataOption, 0);
  const SmtpPresetTable& presets = programSmtpPresetTable();
  struct Case {
    int row;
    bool account;  // Encrypt, Email, Password
    bool server;   // Server, Port
    const char* password;
  };
  for (const Case c : {Case{2, false, false, "*****"}, Case{5, true, true, ""},
                       Case{8, true, false, ""}, Case{6, true, false, ""}}) {
    SCOPED_TRACE(c.row);
    const SmtpPreset& p = presets[static_cast<std::size_t>(c.row)];
    const std::string yes = "yes", no = "no";
    const std::string a = c.account ? yes : no, s = c.server ? yes : no;
    EXPECT_TRUE(play("select 1142 " + std::to_string(c.row) + "\n" +
                     "expect-selection 1145 " + std::to_string(p.encryption) + "\n" +
                     "expect-text 1137 " + scriptString(toUtf8(p.server)) + "\n" +
                     "expect-text 1139 " + scriptString(toUtf8(p.port)) + "\n" +
                     "expect-text 1143 " + scriptString(toUtf8(p.account)) + "\n" +
                     "expect-text 1102 " + scriptString(c.password) + "\n" +
                     "expect-enabled 1145 " + a + "\nexpect-enabled 1143 " + a +
                     "\nexpect-enabled 1102 " + a + "\nexpect-enabled 1137 " + s +
                     "\nexpect-enabled 1139 " + s + "\nkey esc\n"));
  }
  // "Hotmail" uses the host of "Outlook" with StartTLS on 587.
  EXPECT_EQ(presets[8].server, presets[7].server);
  EXPECT_EQ(presets[8].encryption, 2);
  EXPECT_EQ(presets[8].port, u"587");
}

TEST_F(RulesTest, ATypeChosenOutsideSmtpFillsTheBoxesButLeavesThemDisabled) {
  record().setInt32(fields::dataOption, 1);
  EXPECT_TRUE(play(R"(
select 1142 5
expect-text 1139 "25"
expect-selection 1145 0
expect-enabled 1137 no
expect-enabled 1139 no
expect-enabled 1143 no
expect-enabled 1102 no
expect-enabled 1145 no
select 1142 3
expect-text 1102 "*****"
select 1142 9
expect-text 1102 ""
key esc
)"));
}

TEST_F(RulesTest, EveryPresetTextFitsTheRecordFieldItIsStoredTo) {
  // The exchange refuses a text longer than its box's limit, which would keep OK from closing.
  for (const SmtpPreset& p : programSmtpPresetTable().rows()) {
    EXPECT_LE(p.server.size(), fields::smtpServer.size) << toUtf8(p.name);
    EXPECT_LE(p.port.size(), fields::smtpPort.size) << toUtf8(p.name);
    EXPECT_LE(p.account.size(), fields::smtpEmail.size) << toUtf8(p.name);
    EXPECT_LE(p.password.size(), fields::smtpPassword.size) << toUtf8(p.name);
  }
}

TEST_F(RulesTest, BackgroundAndStaticControlsUseTheNetworkColour) {
  CMmsSetupDlg dialog;
  tk::PaintContext paint;
  dialog.OnPaint(paint);
  EXPECT_EQ(paint.fill(), (tk::Rgb{195, 210, 235}));

  const tk::CtlColor label = dialog.OnCtlColor(tk::kNoControlId, tk::CtlColorType::Static);
  EXPECT_TRUE(label.transparentText);
  EXPECT_FALSE(label.hollowBrush);
  EXPECT_EQ(label.brush, (tk::Rgb{195, 210, 235}));
  EXPECT_EQ(label.textColour, (tk::Rgb{0, 0, 0}));

  for (auto type : {tk::CtlColorType::Edit, tk::CtlColorType::ListBox}) {
    const tk::CtlColor other = dialog.OnCtlColor(1081, type);
    EXPECT_FALSE(other.transparentText);
    EXPECT_FALSE(other.brush.has_value());
    EXPECT_FALSE(other.textColour.has_value());
  }
}

}  // namespace
}  // namespace tarnwick::netui_test
