// What the window shows when it opens: lists, selections, enabled states and texts, from the
// record and the operator table, and the two templates it is built on.
#include "NetUiFixture.h"

#include "resources/templates/MmsSetupTemplate.h"
#include "resources/templates/ParamPwdTemplate.h"

#include <initializer_list>
#include <vector>

namespace tarnwick::netui_test {
namespace {

constexpr std::initializer_list<int> kParameterBoxes{1081, 1083, 1064, 1105, 1107,
                                                     1067, 1085, 1087, 1119};

// One expectation line per control id.
std::string each(std::initializer_list<int> ids, std::string_view what, std::string_view tail) {
  std::string out;
  for (int id : ids) {
    out += std::string(what) + " " + std::to_string(id) + " " + std::string(tail) + "\n";
  }
  return out;
}

using OpeningTest = NetUiTest;

TEST_F(OpeningTest, FactoryDefaultsOpenInAutoWithEverythingOutOfUseParked) {
  const ConfigRecord before = record();
  std::string script = R"(
expect-dialog 135
expect-caption "MMS / 4G Setup"
expect-count 1122 2
expect-item 1122 1 "Manual"
expect-selection 1122 0
expect-count 1124 55
expect-item 1124 0 "America"
expect-item 1124 25 "Japen"
expect-item 1124 54 "United Kingdom"
expect-selection 1124 0
expect-count 1126 4
expect-item 1126 0 "AT&T"
expect-item 1126 3 "SIMHERO"
expect-selection 1126 0
expect-enabled 1152 yes
expect-checked 1152 no
expect-selection 1023 2
expect-selection 1024 2
expect-count 1142 12
expect-item 1142 0 "default1"
expect-item 1142 5 "Other"
expect-item 1142 11 "Yandex"
expect-selection 1142 0
expect-count 1145 3
expect-item 1145 2 "StartTLS"
expect-selection 1145 1
expect-enabled 1145 no
expect-count 1154 2
expect-item 1154 0 "Root"
expect-item 1154 1 "Specified"
expect-selection 1154 0
expect-enabled 1110 no
expect-text 1110 ""
)";
  script += each(kParameterBoxes, "expect-enabled", "no");
  script += each(kParameterBoxes, "expect-text", "\"*****\"");
  // Phones and mailboxes: MMS Option and Data Option are both "OFF".
  script += each({1089, 1093, 1095, 1091, 1097, 1099}, "expect-enabled", "no");
  script += each({1089, 1093, 1095, 1091, 1097, 1099}, "expect-text", "\"\"");
  script += each({1137, 1139, 1143, 1102, 1148, 1150, 1153, 1109}, "expect-enabled", "no");
  script += each({1137, 1139, 1143, 1102}, "expect-text", "\"\"");
  script += "key esc\n";
  EXPECT_TRUE(play(script));
  EXPECT_EQ(record(), before);
}

TEST_F(OpeningTest, ManualModeShowsTheRecordsOwnParametersAndThePresetOverTheRecordsSmtp) {
  record().setUInt8(fields::networkMode, 1);
  setText(fields::mmsApn, u"rec.apn");
  setText(fields::dataPassword, u"secret");
  setText(fields::mmsPort, u"8080");
  setText(fields::smtpServer, u"mail.own.example");
  record().setUInt8(fields::smtpPreset, 6);  // "Gmail"
  record().setInt32(fields::dataOption, 0);  // "SMTP"
  EXPECT_TRUE(play(R"(
expect-selection 1122 1
expect-count 1124 1
expect-item 1124 0 "Other"
expect-selection 1124 0
expect-count 1126 1
expect-item 1126 0 "Other"
expect-enabled 1152 no
expect-enabled 1081 yes
expect-text 1081 "rec.apn"
expect-text 1067 "secret"
expect-text 1119 "8080"
expect-text 1083 ""
expect-text 1137 "smtp.gmail.com"
expect-text 1139 "465"
expect-selection 1145 1
expect-enabled 1137 no
expect-enabled 1143 yes
key esc
)"));
}

TEST_F(OpeningTest, RecordSmtpTextsShowOnlyWithoutTypeInManualModeOnSmtp) {
  setText(fields::smtpServer, u"mail.own.example");
  setText(fields::smtpPort, u"2525");
  setText(fields::smtpEmail, u"me@own.example");
  record().setUInt8(fields::smtpPreset, 0xFF);
  record().setUInt8(fields::smtpEncrypt, 2);
  record().setInt32(fields::dataOption, 0);
  record().setUInt8(fields::networkMode, 1);
  // No Type selection: all five SMTP controls are disabled, the record's texts shown.
  EXPECT_TRUE(play(R"(
expect-selection 1142 -1
expect-selection 1145 2
expect-text 1137 "mail.own.example"
expect-text 1139 "2525"
expect-text 1143 "me@own.example"
expect-text 1102 ""
expect-enabled 1137 no
expect-enabled 1139 no
expect-enabled 1143 no
expect-enabled 1102 no
expect-enabled 1145 no
key esc
)"));
  // In Auto mode the exchange that would show them does not run.
  record().setUInt8(fields::networkMode, 0);
  EXPECT_TRUE(play(R"(
expect-text 1137 ""
expect-text 1139 ""
expect-text 1143 ""
key esc
)"));
}

TEST_F(OpeningTest, RecordPositionsOutsideTheListsLeaveThemWithoutSelection) {
  record().setInt32(fields::mmsOption, 3);
  record().setInt32(fields::dataOption, 3);
  record().setUInt8(fields::smtpEncrypt, 7);
  setText(fields::phone2, u"555 0102");
  setText(fields::mailbox1, u"a@b.example");
  // MMS Option "any other": phones restored. Data Option "any other": mailboxes parked,
  // SMTP and FTP boxes disabled.
  EXPECT_TRUE(play(R"(
expect-selection 1023 -1
expect-selection 1024 -1
expect-enabled 1089 yes
expect-enabled 1093 yes
expect-text 1093 "555 0102"
expect-enabled 1091 no
expect-text 1091 ""
expect-enabled 1148 no
expect-enabled 1143 no
key esc
)"));

  // A mode outside the list behaves like Manual, the record's values in the boxes included
  // (empty boxes would be stored empty by OK).
  record().setUInt8(fields::networkMode, 5);
  setText(fields::mmsApn, u"rec.apn");
  EXPECT_TRUE(play(R"(
expect-selection 1122 -1
expect-item 1124 0 "Other"
expect-enabled 1152 no
expect-enabled 1081 yes
expect-text 1081 "rec.apn"
key esc
)"));
}

TEST_F(OpeningTest, CountryOrOperatorOutsideTheTableListsNoOperatorsAndKeepsTheTexts) {
  setText(fields::mmsApn, u"rec.apn");
  setText(fields::mmsProxy, u"10.0.0.1");
  struct Case {
    std::uint8_t country;
    std::uint8_t op;
    int listedOperators;
    int countrySelection;
  };
  for (const Case c : {Case{60, 0, 0, -1}, Case{0xFF, 0xFF, 0, -1}, Case{0, 9, 4, 0}}) {
    SCOPED_TRACE(testing::Message() << "country " << int(c.country) << " operator " << int(c.op));
    record().setUInt8(fields::countryIndex, c.country);
    record().setUInt8(fields::operatorIndex, c.op);
    // Revealed, the boxes show the texts loaded from the record.
    EXPECT_TRUE(play("expect-count 1124 55\n"
                     "expect-selection 1124 " + std::to_string(c.countrySelection) + "\n" +
                     "expect-count 1126 " + std::to_string(c.listedOperators) + "\n" +
                     R"(expect-selection 1126 -1
expect-text 1081 "*****"
click 1152
expect-dialog 137
type 1154 "vintosk[4082736]"
click 1
expect-dialog 135
expect-checked 1152 yes
expect-text 1081 "rec.apn"
expect-text 1087 "10.0.0.1"
key esc
)"));
  }
}

TEST_F(OpeningTest, FtpDirectoryOpensOnItsFirstByteAndKeepsTextBehindAZeroByte) {
  auto directory = record().field(fields::ftpDirectory);
  std::fill(directory.begin(), directory.end(), std::uint8_t{0});
  const std::string hidden = "/pics";
  std::copy(hidden.begin(), hidden.end(), directory.begin() + 1);
  // Picking "Root" again parks an already parked box: the kept text must survive.
  EXPECT_TRUE(play(R"(
expect-selection 1154 0
expect-enabled 1110 no
expect-text 1110 ""
select 1154 0
select 1154 1
expect-enabled 1110 yes
expect-text 1110 "/pics"
key esc
)"));

  directory[0] = 'x';
  EXPECT_TRUE(play(R"(
expect-selection 1154 1
expect-enabled 1110 yes
expect-text 1110 "x/pics"
select 1154 0
expect-enabled 1110 no
expect-text 1110 ""
select 1154 1
expect-text 1110 "x/pics"
key esc
)"));
}

// The window's template: tab order, first state and look of every control.
TEST(MmsSetupTemplateTest, ControlsFollowTheTabOrderAndOpenVisibleAndEnabled) {
  const tk::DialogTemplate& t = resources::mmsSetupTemplate();
  EXPECT_EQ(t.id, 135);
  EXPECT_EQ(t.caption, "MMS / 4G Setup");
  EXPECT_EQ(t.width, 605);
  EXPECT_EQ(t.height, 357);
  EXPECT_EQ(t.fontName, "MS Shell Dlg");
  EXPECT_EQ(t.pointSize, 8);

  const std::vector<int> tabOrder{1122, 1124, 1126, 1089, 1093, 1095, 1091, 1097, 1099,
                                  1081, 1083, 1064, 1085, 1087, 1119, 1,    2,    1142,
                                  1137, 1139, 1143, 1102, 1145, 1105, 1107, 1067, 1023,
                                  1024, 1152, 1148, 1150, 1153, 1109, 1154, 1110};
  std::vector<int> ids;
  int groups = 0;
  for (const tk::ControlTemplate& c : t.controls) {
    EXPECT_EQ(c.style & (tk::kHidden | tk::kDisabled), 0u) << c.id;
    if (c.kind == tk::ControlKind::GroupBox) ++groups;
    if (c.id == tk::kNoControlId) continue;
    ids.push_back(c.id);
    EXPECT_NE(c.style & tk::kTabStop, 0u) << c.id;
    if (c.kind == tk::ControlKind::Edit) {
      EXPECT_EQ(c.style & (tk::kBorder | tk::kAutoHScroll), tk::kBorder | tk::kAutoHScroll);
    }
  }
  EXPECT_EQ(ids, tabOrder);
  EXPECT_EQ(groups, 8);
  // Each box and list lies inside the dialog.
  for (const tk::ControlTemplate& c : t.controls) {
    EXPECT_LE(c.rect.x + c.rect.width, t.width) << c.caption;
    EXPECT_LE(c.rect.y + std::min(c.rect.height, 14), t.height) << c.caption;
  }
}

TEST(MmsSetupTemplateTest, AccessPromptMasksItsEntry) {
  const tk::DialogTemplate& t = resources::paramPwdTemplate();
  EXPECT_EQ(t.id, 137);
  EXPECT_EQ(t.caption, "Please Input Password");
  EXPECT_EQ(t.width, 159);
  EXPECT_EQ(t.height, 53);
  ASSERT_EQ(t.controls.size(), 5u);
  EXPECT_EQ(t.controls[2].id, 1154);
  EXPECT_NE(t.controls[2].style & tk::kPasswordEdit, 0u);
  EXPECT_NE(t.controls[3].style & tk::kDefaultButton, 0u);
  EXPECT_EQ(t.controls[3].id, tk::IDOK);
  EXPECT_EQ(t.controls[4].id, tk::IDCANCEL);
}

}  // namespace
}  // namespace tarnwick::netui_test
