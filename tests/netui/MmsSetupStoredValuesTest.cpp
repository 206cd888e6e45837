// Opening the window and pressing OK without changing anything keeps what the record holds:
// a stored e-mail account on a row that leaves the account to the user, and typed access
// parameters under a stored mode that the Mode list does not have.
#include "NetUiFixture.h"

#include "network/SmtpPresetTable.h"

#include <initializer_list>
#include <vector>

namespace tarnwick::netui_test {
namespace {

using StoredValuesTest = NetUiTest;

constexpr std::initializer_list<int> kParameterBoxes{1081, 1083, 1064, 1105, 1107,
                                                     1067, 1085, 1087, 1119};

// A networkMode of neither 0 nor 1 leaves the Mode list without a selection; the boxes are
// enabled for typing as in Manual mode, and the Country and Operator lists hold "Other" only.
// Picking "Other" in either must not fill the boxes from the operator table (masked, so OK
// would store "*****"), and the boxes show the record's own values so that OK keeps them.
TEST_F(StoredValuesTest, WithoutAModeTheBoxesAreTheRecordsAndTheListsChangeNothing) {
  record().setUInt8(fields::networkMode, 29);
  const std::vector<std::pair<const FieldInfo*, std::u16string>> stored{
      {&fields::mmsApn, u"mms.own"},     {&fields::mmsAccount, u"macc"},
      {&fields::mmsPassword, u"mpw"},    {&fields::dataApn, u"data.own"},
      {&fields::dataAccount, u"dacc"},   {&fields::dataPassword, u"dpw"},
      {&fields::mmscUrl, u"http://mmsc.own"}, {&fields::mmsProxy, u"10.1.2.3"},
      {&fields::mmsPort, u"8080"}};
  for (const auto& [field, text] : stored) setText(*field, text);
  const ConfigRecord before = record();

  std::string shows;
  std::size_t i = 0;
  for (int box : kParameterBoxes) {
    shows += "expect-text " + std::to_string(box) + " " +
             scriptString(toUtf8(stored[i++].second)) + "\n";
  }
  for (const char* pick : {"select 1124 0\n", "select 1126 0\n", "select 1124 0\nselect 1126 0\n"}) {
    SCOPED_TRACE(pick);
    record() = before;
    EXPECT_TRUE(play("expect-selection 1122 -1\nexpect-enabled 1081 yes\n" + shows + pick +
                     shows + "expect-count 1126 1\nkey enter\n"));
    for (const auto& [field, text] : stored) {
      EXPECT_EQ(textOf(*field), toUtf8(text)) << field->name;
    }
    // Nothing of the Auto-only selections is stored.
    EXPECT_EQ(record().getUInt8(fields::countryIndex), before.getUInt8(fields::countryIndex));
    EXPECT_EQ(record().getUInt8(fields::operatorIndex), before.getUInt8(fields::operatorIndex));
  }

  // What the user types there is stored as in Manual mode.
  record() = before;
  EXPECT_TRUE(play("select 1124 0\ntype 1081 \"typed.apn\"\nselect 1126 0\n"
                   "expect-text 1081 \"typed.apn\"\nkey enter\n"));
  EXPECT_EQ(textOf(fields::mmsApn), "typed.apn");
  EXPECT_EQ(textOf(fields::dataApn), "data.own");
}

class StoredAccountTest : public NetUiTest {
 protected:
  void SetUp() override {
    NetUiTest::SetUp();
    record().setInt32(fields::dataOption, 0);  // "SMTP"
  }
  static void storeAccount(int row, std::u16string_view email, std::u16string_view password) {
    record().setUInt8(fields::smtpPreset, static_cast<std::uint8_t>(row));
    setText(fields::smtpEmail, email);
    setText(fields::smtpPassword, password);
  }
};

TEST_F(StoredAccountTest, EveryProviderRowShowsTheStoredAccountAndOkKeepsIt) {
  const char* const hosts[] = {"smtp.gmail.com",      "smtp-mail.outlook.com",
                               "smtp-mail.outlook.com", "smtp.mail.yahoo.com",
                               "smtp.mail.com",       "smtp.yandex.com"};
  for (int row = 6; row <= 11; ++row) {
    SCOPED_TRACE(row);
    storeAccount(row, u"a.b@mail.example", u"app-pw-1");
    setText(fields::smtpServer, u"ignored.example");  // a provider's server is fixed
    EXPECT_TRUE(play("expect-selection 1142 " + std::to_string(row) + "\n" +
                     "expect-text 1143 \"a.b@mail.example\"\n"
                     "expect-text 1102 \"*****\"\n"
                     "expect-enabled 1143 yes\nexpect-enabled 1102 yes\n"
                     "expect-text 1137 \"" + hosts[row - 6] + "\"\n"
                     "expect-enabled 1137 no\n"
                     "key enter\n"));
    EXPECT_EQ(textOf(fields::smtpEmail), "a.b@mail.example");
    EXPECT_EQ(textOf(fields::smtpPassword), "app-pw-1");
    EXPECT_EQ(textOf(fields::smtpServer), hosts[row - 6]);
    EXPECT_EQ(record().getUInt8(fields::smtpPreset), row);
  }
}

TEST_F(StoredAccountTest, OtherShowsItsOwnServerPortAndEncryption) {
  storeAccount(5, u"me@own.example", u"secret");
  setText(fields::smtpServer, u"mail.own.example");
  setText(fields::smtpPort, u"2525");
  record().setUInt8(fields::smtpEncrypt, 2);
  EXPECT_TRUE(play(R"(
expect-text 1137 "mail.own.example"
expect-text 1139 "2525"
expect-text 1143 "me@own.example"
expect-text 1102 "*****"
expect-selection 1145 2
key enter
)"));
  EXPECT_EQ(textOf(fields::smtpServer), "mail.own.example");
  EXPECT_EQ(textOf(fields::smtpPort), "2525");
  EXPECT_EQ(textOf(fields::smtpEmail), "me@own.example");
  EXPECT_EQ(textOf(fields::smtpPassword), "secret");
  EXPECT_EQ(record().getUInt8(fields::smtpEncrypt), 2);

  // Nothing stored: the row's own values, as before.
  storeAccount(5, u"", u"");
  setText(fields::smtpServer, u"");
  setText(fields::smtpPort, u"");
  EXPECT_TRUE(play("expect-text 1139 \"25\"\nexpect-text 1102 \"\"\nkey esc\n"));
}

TEST_F(StoredAccountTest, TheUsersChangesReplaceTheStoredAccount) {
  // A new password, an emptied one, and a row chosen by hand, which applies the row exactly:
  // its empty Email and Password, even when the stored row is chosen again.
  struct Case {
    const char* script;
    const char* email;
    const char* password;
  };
  const Case cases[] = {
      {"type 1102 \"new-pw\"\nkey enter\n", "a.b@gmail.com", "new-pw"},
      {"type 1102 \"\"\nkey enter\n", "a.b@gmail.com", ""},
      {"type 1143 \"c.d@gmail.com\"\nkey enter\n", "c.d@gmail.com", "app-pw-1"},
      {"select 1142 7\nexpect-text 1143 \"\"\nexpect-text 1102 \"\"\nkey enter\n", "", ""},
      {"select 1142 7\nselect 1142 6\nexpect-text 1143 \"\"\nexpect-text 1102 \"\"\n"
       "key enter\n", "", ""},
      // Leaving SMTP empties the account, as it always did.
      {"select 1024 2\nkey enter\n", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    storeAccount(6, u"a.b@gmail.com", u"app-pw-1");
    EXPECT_TRUE(play(c.script));
    EXPECT_EQ(textOf(fields::smtpEmail), c.email);
    EXPECT_EQ(textOf(fields::smtpPassword), c.password);
  }
}

TEST_F(StoredAccountTest, AFixedRowStillShowsAndStoresItsOwnAccount) {
  storeAccount(2, u"someone@else.example", u"not-the-vendors");
  const std::u16string& account = programSmtpPresetTable()[2].account;
  EXPECT_TRUE(play("expect-text 1143 " + scriptString(toUtf8(account)) +
                   "\nexpect-text 1102 \"*****\"\nkey enter\n"));
  EXPECT_EQ(textOf(fields::smtpPassword), "merolax7351!");
  EXPECT_EQ(fieldToText(record().field(fields::smtpEmail)), account);
}

}  // namespace
}  // namespace tarnwick::netui_test
