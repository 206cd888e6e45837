// What leaving the window does to the record and the operator table: OK stores every network
// value by its rules, Cancel and the close box store nothing, a loaded table is given back.
#include "NetUiFixture.h"

#include <array>
#include <fstream>
#include <vector>

namespace tarnwick::netui_test {
namespace {

void putText(std::span<std::uint8_t> field, std::string_view text) {
  std::fill(field.begin(), field.end(), std::uint8_t{0});
  std::copy_n(text.begin(), std::min(text.size(), field.size() - 1), field.begin());
}

// A country for an oper.db: its name and, per operator, the name and fields 1-9.
CountryEntry country(std::string_view name,
                     const std::vector<std::array<std::string_view, 10>>& operators) {
  CountryEntry c;
  putText(c.name, name);
  for (const auto& fields : operators) {
    OperatorEntry row;
    for (std::size_t n = 0; n < fields.size(); ++n) putText(row.field(n), fields[n]);
    c.operators.push_back(row);
  }
  c.operatorCount = static_cast<std::uint32_t>(operators.size());
  return c;
}

void writeOperDb(const std::vector<CountryEntry>& countries) {
  OperatorTable table;
  table.adopt(countries);
  const std::optional<std::string> error = saveOperatorDb(table, "oper.db");
  ASSERT_FALSE(error.has_value()) << *error;
}

class CommitTest : public NetUiTest {
 protected:
  // Everything but the network fields the commit writes must come through OK unchanged.
  static void expectOnlyNetworkFieldsChanged(const ConfigRecord& before) {
    std::vector<bool> network(kRecordSize, false);
    for (const FieldInfo* f :
         {&fields::mmsApn, &fields::mmsAccount, &fields::mmsPassword, &fields::dataApn,
          &fields::dataAccount, &fields::dataPassword, &fields::mmscUrl, &fields::mmsProxy,
          &fields::mmsPort, &fields::phone1, &fields::phone2, &fields::phone3,
          &fields::mailbox1, &fields::mailbox2, &fields::mailbox3, &fields::smtpPreset,
          &fields::smtpEncrypt, &fields::smtpServer, &fields::smtpPort, &fields::smtpEmail,
          &fields::smtpPassword, &fields::networkMode, &fields::countryIndex,
          &fields::operatorIndex, &fields::ftpAccount, &fields::ftpPassword,
          &fields::ftpServer, &fields::ftpPort, &fields::ftpDirectory, &fields::mmsOption,
          &fields::dataOption}) {
      for (std::uint32_t i = 0; i < f->size; ++i) network[f->offset + i] = true;
    }
    for (std::size_t i = 0; i < kRecordSize; ++i) {
      if (!network[i]) {
        EXPECT_EQ(record().bytes()[i], before.bytes()[i]) << "byte " << i;
      }
    }
  }
};

TEST_F(CommitTest, CancelAndTheCloseBoxStoreNothingAndGiveTheLoadedTableBack) {
  writeOperDb({country("Testland", {{"Op", "mms.apn"}})});
  auto bytes = record().bytes();
  for (std::size_t i = 0; i < kRecordSize; i += 7) bytes[i] = static_cast<std::uint8_t>(i * 13);
  record().setUInt8(fields::networkMode, 0);
  record().setUInt8(fields::countryIndex, 0);
  record().setUInt8(fields::operatorIndex, 0);
  record().setInt32(fields::dataOption, 0);
  record().setInt32(fields::mmsOption, 0);
  const ConfigRecord before = record();
  for (const char* leave : {"key esc", "click 2", "close"}) {
    SCOPED_TRACE(leave);
    // Edits of every kind first, then leaving without OK.
    EXPECT_TRUE(play(std::string(R"(
expect-count 1124 1
expect-item 1124 0 "Testland"
type 1089 "999"
type 1091 "x@y.example"
select 1142 5
select 1023 2
select 1024 1
select 1154 1
type 1110 "/up"
)") + leave + "\n"));
    EXPECT_EQ(record(), before);
    EXPECT_FALSE(programOperatorTable().loaded());
    EXPECT_EQ(programOperatorTable().countryCount(), 0u) << "a released table lists nothing";
  }
}

TEST_F(CommitTest, OperDbReplacesTheBuiltInTableAndAChangeShowsAtTheNextOpening) {
  writeOperDb({country("Testland", {{"Alpha", "alpha.apn"}, {"Beta", "beta.apn"}}),
               country("Otherland", {{"Gamma", "gamma.apn"}})});
  record().setUInt8(fields::countryIndex, 1);
  EXPECT_TRUE(play(R"(
expect-count 1124 2
expect-item 1124 0 "Testland"
expect-selection 1124 1
expect-count 1126 1
expect-item 1126 0 "Gamma"
select 1124 0
expect-count 1126 2
expect-item 1126 1 "Beta"
select 1126 1
key enter
)"));
  EXPECT_EQ(textOf(fields::mmsApn), "beta.apn");
  EXPECT_EQ(record().getUInt8(fields::countryIndex), 0);
  EXPECT_EQ(record().getUInt8(fields::operatorIndex), 1);
  EXPECT_FALSE(programOperatorTable().loaded());

  writeOperDb({country("Newland", {{"Delta", "delta.apn"}})});
  EXPECT_TRUE(play(R"(
expect-count 1124 1
expect-item 1124 0 "Newland"
expect-item 1126 0 "Delta"
key esc
)"));

  // Without the file the built-in table is back.
  std::filesystem::remove("oper.db");
  EXPECT_TRUE(play("expect-count 1124 55\nkey esc\n"));
}

TEST_F(CommitTest, AutoModeStoresTheOperatorRowNotTheMaskOnScreen) {
  writeOperDb({country("Testland", {{"Op", "mms.apn", "mmsuser", "mmspass", "data.apn",
                                     "datauser", "datapass", "mmsc.example/mms",
                                     "10.1.2.3", "8080"}})});
  const ConfigRecord before = record();
  EXPECT_TRUE(play("expect-text 1081 \"*****\"\nkey enter\n"));
  EXPECT_EQ(textOf(fields::mmsApn), "mms.apn");
  EXPECT_EQ(textOf(fields::mmsAccount), "mmsuser");
  EXPECT_EQ(textOf(fields::mmsPassword), "mmspass");
  EXPECT_EQ(textOf(fields::dataApn), "data.apn");
  EXPECT_EQ(textOf(fields::dataAccount), "datauser");
  EXPECT_EQ(textOf(fields::dataPassword), "datapass");
  EXPECT_EQ(textOf(fields::mmscUrl), "mmsc.example/mms");
  EXPECT_EQ(textOf(fields::mmsProxy), "10.1.2.3");
  EXPECT_EQ(textOf(fields::mmsPort), "8080");
  EXPECT_EQ(record().getUInt8(fields::networkMode), 0);
  EXPECT_FALSE(programOperatorTable().loaded());
  expectOnlyNetworkFieldsChanged(before);
}

TEST_F(CommitTest, OperatorTextsLongerThanTheirFieldsAreCutAsTheyReachTheForm) {
  const std::string apn(40, 'a');
  const std::string proxy = "proxy.long-host.example";  // 23 characters against 15
  writeOperDb({country("Testland", {{"Op", apn, "", "", "", "", "", "", proxy, "80"}})});
  // Revealed, the window shows exactly what OK stores, and OK closes without a refusal.
  EXPECT_TRUE(play("click 1152\ntype 1154 \"vintosk[4082736]\"\nkey enter\n"
                   "expect-text 1081 " + scriptString(apn.substr(0, 32)) + "\n" +
                   "expect-text 1087 " + scriptString(proxy.substr(0, 15)) + "\nkey enter\n"));
  const auto stored = record().field(fields::mmsApn);
  EXPECT_EQ(std::string(stored.begin(), stored.end()), apn.substr(0, 32));
  EXPECT_EQ(textOf(fields::mmsProxy), proxy.substr(0, 15));
}

TEST_F(CommitTest, WithoutAnOperatorRowAutoModeKeepsTheRecordsParameters) {
  setText(fields::mmsApn, u"rec.apn");
  setText(fields::mmsPort, u"9201");
  record().setUInt8(fields::countryIndex, 77);
  EXPECT_TRUE(play("expect-text 1081 \"*****\"\nkey enter\n"));
  EXPECT_EQ(textOf(fields::mmsApn), "rec.apn");
  EXPECT_EQ(textOf(fields::mmsPort), "9201");
  EXPECT_EQ(record().getUInt8(fields::countryIndex), 0xFF);  // the list had no selection
}

TEST_F(CommitTest, ManualModeStoresEachBoxIntoItsOwnFieldCleanedByItsRule) {
  record().setUInt8(fields::networkMode, 1);
  record().setUInt8(fields::countryIndex, 3);
  record().setUInt8(fields::operatorIndex, 2);
  record().setInt32(fields::mmsOption, 1);
  record().setInt32(fields::dataOption, 0);
  record().setUInt8(fields::smtpPreset, 5);  // "Other": every SMTP box editable
  const ConfigRecord before = record();
  EXPECT_TRUE(play(R"(
type 1081 " m.apn "
type 1083 " m user "
type 1064 "m pass"
type 1105 "\td.apn"
type 1107 "d.user"
type 1067 "d.pass "
type 1085 " // mmsc.example/ path"
type 1087 "10.0.0.1 : 8080"
type 1119 "80 80"
type 1089 "+1 555 0101"
type 1093 "0102"
type 1095 "0103"
type 1091 "a@x.example; b@x.example"
type 1097 "c@x.example,d@x.example"
type 1099 "e@x.example"
select 1145 2
type 1137 "smtp. own.example"
type 1139 "2 5"
type 1143 "me@own.example"
type 1102 "pa ss"
select 1023 0
key enter
)"));
  const std::vector<std::pair<const FieldInfo*, std::string>> expected{
      {&fields::mmsApn, "m.apn"},
      {&fields::mmsAccount, "m user"},
      {&fields::mmsPassword, "m pass"},
      {&fields::dataApn, "d.apn"},
      {&fields::dataAccount, "d.user"},
      {&fields::dataPassword, "d.pass"},
      {&fields::mmscUrl, "mmsc.example/path"},
      {&fields::mmsProxy, "10.0.0.18080"},
      {&fields::mmsPort, "8080"},
      {&fields::phone1, "+15550101"},
      {&fields::phone2, "0102"},
      {&fields::phone3, "0103"},
      {&fields::mailbox1, "a@x.exampleb@x.example"},
      {&fields::mailbox2, "c@x.exampled@x.example"},
      {&fields::mailbox3, "e@x.example"},
      {&fields::smtpServer, "smtp.own.example"},
      {&fields::smtpPort, "25"},
      {&fields::smtpEmail, "me@own.example"},
      {&fields::smtpPassword, "pass"},
  };
  for (const auto& [field, text] : expected) EXPECT_EQ(textOf(*field), text) << field->name;
  EXPECT_EQ(record().getUInt8(fields::smtpEncrypt), 2);
  EXPECT_EQ(record().getUInt8(fields::smtpPreset), 5);
  EXPECT_EQ(record().getUInt8(fields::networkMode), 1);
  EXPECT_EQ(record().getInt32(fields::mmsOption), 0);
  EXPECT_EQ(record().getInt32(fields::dataOption), 0);
  // Manual mode keeps the country and operator.
  EXPECT_EQ(record().getUInt8(fields::countryIndex), 3);
  EXPECT_EQ(record().getUInt8(fields::operatorIndex), 2);
  // Zero padding behind every stored text, never the defaults' spaces.
  const auto apn = record().field(fields::mmsApn);
  EXPECT_TRUE(std::all_of(apn.begin() + 5, apn.end(), [](std::uint8_t b) { return b == 0; }));
  expectOnlyNetworkFieldsChanged(before);
}

TEST_F(CommitTest, DataOptionFtpEmptiesTheSmtpBoxesAndMailboxesAndOkStoresThemEmpty) {
  record().setInt32(fields::dataOption, 0);
  record().setUInt8(fields::smtpPreset, 6);  // "Gmail"
  setText(fields::smtpEmail, u"me@gmail.example");
  setText(fields::smtpPassword, u"old");
  setText(fields::mailbox1, u"one@mail.example");
  setText(fields::ftpServer, u"ftp.example.org");
  EXPECT_TRUE(play("type 1143 \"me@gmail.example\"\nselect 1024 1\nkey enter\n"));
  for (const FieldInfo* f : {&fields::smtpServer, &fields::smtpPort, &fields::smtpEmail,
                             &fields::smtpPassword, &fields::mailbox1, &fields::mailbox2,
                             &fields::mailbox3}) {
    EXPECT_TRUE(allZero(*f)) << f->name;
  }
  EXPECT_EQ(textOf(fields::ftpServer), "ftp.example.org");
  EXPECT_EQ(record().getInt32(fields::dataOption), 1);
}

TEST_F(CommitTest, TheSmtpPasswordComesFromTheFixedRowOrFromWhatWasTyped) {
  record().setInt32(fields::dataOption, 0);
  struct Case {
    const char* script;
    std::string stored;  // 32 bytes
  };
  std::string fixed = "merolax7351!";
  fixed.resize(32, '\0');
  const std::vector<Case> cases{
      // A fixed row: the box shows the mask, the row's hidden password is stored.
      {"select 1142 3\nexpect-text 1102 \"*****\"\nkey enter\n", fixed},
      // "Gmail" has no password of its own: typed asterisks equal to the mask give nothing.
      {"select 1142 6\ntype 1102 \"*****\"\nkey enter\n", std::string(32, '\0')},
      // Not exactly the mask: the typed text, cleaned of spaces.
      {"select 1142 6\ntype 1102 \"***** \"\nkey enter\n", std::string("*****") + std::string(27, '\0')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    EXPECT_TRUE(play(c.script));
    const auto field = record().field(fields::smtpPassword);
    EXPECT_EQ(std::string(field.begin(), field.end()), c.stored);
  }
}

TEST_F(CommitTest, UnlimitedBoxesRefuseTextsLongerThanTheirFieldsAndKeepTheWindowOpen) {
  record().setInt32(fields::dataOption, 0);
  record().setUInt8(fields::smtpPreset, 5);
  const ConfigRecord before = record();
  const std::string longPassword(33, 'p');
  const std::string longDirectory = "/" + std::string(32, 'd');
  const std::string fullDirectory = " /" + std::string(31, 'd') + " ";  // 32 once trimmed
  EXPECT_TRUE(play("type 1102 " + scriptString(longPassword) + "\nkey enter\n" +
                   "message \"The SMTP Password is longer than 32 characters!\"\n" +
                   "expect-dialog 135\n"
                   // Spaces are removed before the check: 33 with one space fits.
                   "type 1102 " + scriptString("p " + std::string(31, 'p')) + "\n" +
                   "select 1154 1\ntype 1110 " + scriptString(longDirectory) + "\nkey enter\n" +
                   "message \"The FTP Directory is longer than 32 characters!\"\n"
                   "expect-dialog 135\nkey esc\n"));
  // Nothing of the refused commits reached the record.
  EXPECT_EQ(record(), before);

  EXPECT_TRUE(play("type 1102 " + scriptString("p " + std::string(31, 'p')) + "\n" +
                   "select 1154 1\ntype 1110 " + scriptString(fullDirectory) + "\nkey enter\n"));
  EXPECT_EQ(textOf(fields::smtpPassword), std::string(32, 'p'));
  const auto directory = record().field(fields::ftpDirectory);
  EXPECT_EQ(std::string(directory.begin(), directory.end()), "/" + std::string(31, 'd'));
}

// A window whose read-back refuses the FTP directory box beyond three characters, so that the
// toolkit's last read-back of OK fails and the window stays open after a commit.
class RefusingReadBackDlg : public CMmsSetupDlg {
 public:
  void DoDataExchange(tk::DataExchange& dx) override {
    CMmsSetupDlg::DoDataExchange(dx);
    FormText scratch;
    if (dx.saving()) dx.text(1110, scratch, 3);
  }
};

TEST_F(CommitTest, AWindowLeftOpenByAFailedReadBackStillReadsItsLoadedTable) {
  writeOperDb({country("Testland", {{"Alpha", "alpha.apn"}}),
               country("Otherland", {{"Gamma", "gamma.apn"}})});
  setText(fields::ftpDirectory, u"/long");
  const tk::ScriptOutcome outcome = tk::runScriptText(R"(
key enter
message "Please enter no more than 3 characters."
message "Please enter no more than 3 characters."
expect-dialog 135
select 1124 1
expect-item 1126 0 "Gamma"
type 1110 "/ok"
key enter
)", [] {
    RefusingReadBackDlg dialog;
    EXPECT_EQ(dialog.DoModal(), tk::IDOK);
  });
  EXPECT_TRUE(outcome.ok) << outcome.message;
  EXPECT_EQ(textOf(fields::ftpDirectory), "/ok");
  EXPECT_EQ(textOf(fields::mmsApn), "gamma.apn");
  EXPECT_FALSE(programOperatorTable().loaded());
}

TEST_F(CommitTest, RootStoresAnEmptyDirectoryAndSpecifiedTrimsOnlyTheEnds) {
  setText(fields::ftpDirectory, u"/old");
  EXPECT_TRUE(play("select 1154 0\nkey enter\n"));
  EXPECT_TRUE(allZero(fields::ftpDirectory));
  EXPECT_TRUE(play("select 1154 1\ntype 1110 \"  /my pics \\t\"\nkey enter\n"));
  EXPECT_EQ(textOf(fields::ftpDirectory), "/my pics");
}

}  // namespace
}  // namespace tarnwick::netui_test
