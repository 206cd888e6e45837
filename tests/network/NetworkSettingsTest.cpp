#include "network/NetworkSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config/FieldCatalog.h"
#include "config/TextConversions.h"
#include "network/NetworkTexts.h"

namespace tarnwick {
namespace {

const SmtpPresetTable kPresets(u"relay.vendor.test", u"vendor.test");
const ConfigRecord kEmpty{};

std::vector<std::uint8_t> bytesOf(const ConfigRecord& r, const FieldInfo& f) {
  const auto s = r.field(f);
  return {s.begin(), s.end()};
}

// The field's bytes: the text's bytes, then zeros to the field's width.
std::vector<std::uint8_t> zeroPadded(const std::string& text, const FieldInfo& f) {
  std::vector<std::uint8_t> out(f.size, 0);
  std::copy(text.begin(), text.end(), out.begin());
  return out;
}

// A record full of 0xA5 so that every byte the commit writes shows.
ConfigRecord patterned() {
  ConfigRecord r;
  std::fill(r.bytes().begin(), r.bytes().end(), std::uint8_t{0xA5});
  return r;
}

TEST(StoreNetworkSettings, CleansEachTextByItsRule) {
  struct Case {
    std::u16string NetworkFormValues::*member;
    const FieldInfo* field;
    std::u16string typed;
    std::string stored;
  };
  const std::vector<Case> cases{
      {&NetworkFormValues::mmsApn, &fields::mmsApn, u" \tmms apn \r\n", "mms apn"},
      {&NetworkFormValues::dataAccount, &fields::dataAccount, u"  a b  ", "a b"},
      {&NetworkFormValues::mmsPassword, &fields::mmsPassword, u"\vp w\f", "p w"},
      {&NetworkFormValues::mmscUrl, &fields::mmscUrl, u" // /mms.example/a//b ",
       "mms.example/a//b"},
      {&NetworkFormValues::mmscUrl, &fields::mmscUrl, u"http://mmsc", "http://mmsc"},
      {&NetworkFormValues::mmsProxy, &fields::mmsProxy, u"10.0.0.1 : 8080", "10.0.0.18080"},
      {&NetworkFormValues::mmsPort, &fields::mmsPort, u" 80 80", "8080"},
      {&NetworkFormValues::smtpServer, &fields::smtpServer, u"smtp. host", "smtp.host"},
      {&NetworkFormValues::smtpEmail, &fields::smtpEmail, u"me @x.test", "me@x.test"},
      {&NetworkFormValues::phone2, &fields::phone2, u"+49 170 12", "+4917012"},
      {&NetworkFormValues::mailbox1, &fields::mailbox1, u"a@x.test; b@y.test, c@z",
       "a@x.testb@y.testc@z"},
      {&NetworkFormValues::ftpServer, &fields::ftpServer, u"ftp .x", "ftp.x"},
      {&NetworkFormValues::ftpPassword, &fields::ftpPassword, u"s e c", "sec"},
      {&NetworkFormValues::ftpDirectory, &fields::ftpDirectory, u"  /up load/ ", "/up load/"},
      // Tabs survive removeChar(' '): only spaces go.
      {&NetworkFormValues::ftpAccount, &fields::ftpAccount, u"a\tb", "a\tb"},
  };
  for (const Case& c : cases) {
    NetworkFormValues v;
    v.*(c.member) = c.typed;
    ConfigRecord record = patterned();
    storeNetworkSettings(v, kPresets, record);
    EXPECT_EQ(bytesOf(record, *c.field), zeroPadded(c.stored, *c.field)) << c.field->name;
  }
}

TEST(StoreNetworkSettings, WritesSelectionsAsBytesAndInt32) {
  NetworkFormValues v;
  v.encrypt = 2;
  v.smtpType = 11;
  v.mode = 1;
  v.mmsOption = 0;
  v.dataOption = 1;
  ConfigRecord record = patterned();
  storeNetworkSettings(v, kPresets, record);
  EXPECT_EQ(record.getUInt8(fields::smtpEncrypt), 2);
  EXPECT_EQ(record.getUInt8(fields::smtpPreset), 11);
  EXPECT_EQ(record.getUInt8(fields::networkMode), 1);
  EXPECT_EQ(record.getInt32(fields::mmsOption), 0);
  EXPECT_EQ(record.getInt32(fields::dataOption), 1);

  NetworkFormValues none;  // every selection -1
  storeNetworkSettings(none, kPresets, record);
  EXPECT_EQ(record.getUInt8(fields::smtpEncrypt), 0xFF);
  EXPECT_EQ(record.getUInt8(fields::smtpPreset), 0xFF);
  EXPECT_EQ(record.getUInt8(fields::networkMode), 0xFF);
  EXPECT_EQ(record.getInt32(fields::mmsOption), -1);
  EXPECT_EQ(record.getInt32(fields::dataOption), -1);
}

TEST(StoreNetworkSettings, WritesNothingOutsideTheNetworkFields) {
  NetworkFormValues v;
  v.mode = 0;
  v.country = 3;
  v.mobileOperator = 2;
  ConfigRecord record = patterned();
  const ConfigRecord before = record;
  storeNetworkSettings(v, kPresets, record);
  std::vector<bool> written(kRecordSize, false);
  for (const FieldInfo* f :
       {&fields::mmsApn, &fields::dataApn, &fields::mmsAccount, &fields::dataAccount,
        &fields::mmsPassword, &fields::dataPassword, &fields::mmscUrl, &fields::mmsProxy,
        &fields::mmsPort, &fields::smtpServer, &fields::smtpPort, &fields::smtpEmail,
        &fields::smtpPassword, &fields::phone1, &fields::phone2, &fields::phone3,
        &fields::mailbox1, &fields::mailbox2, &fields::mailbox3, &fields::ftpServer,
        &fields::ftpPort, &fields::ftpAccount, &fields::ftpPassword, &fields::ftpDirectory,
        &fields::smtpEncrypt, &fields::smtpPreset, &fields::networkMode, &fields::mmsOption,
        &fields::dataOption}) {
    std::fill_n(written.begin() + f->offset, f->size, true);
  }
  for (std::size_t i = 0; i < kRecordSize; ++i) {
    if (!written[i]) {
      EXPECT_EQ(record.bytes()[i], before.bytes()[i]) << "offset " << i;
    }
  }
  // countryIndex and operatorIndex belong to the dialog, not to this step.
  EXPECT_EQ(record.getUInt8(fields::countryIndex), 0xA5);
  EXPECT_EQ(record.getUInt8(fields::operatorIndex), 0xA5);
}

TEST(StoreNetworkSettings, ChoosesTheSmtpPassword) {
  struct Case {
    const char* what;
    std::int32_t type;
    std::u16string box;
    std::string stored;
  };
  const std::vector<Case> cases{
      {"fixed row, mask left in place", 2, std::u16string(parameterMask), "merolax7351!"},
      // The mask on a row that leaves the account to the user stands for the password the
      // record holds (shown masked at opening): OK on an unchanged window keeps it.
      {"stored Gmail, mask keeps the stored password", 6, u"*****", "stored-pw"},
      {"stored Gmail, a typed password replaces it", 6, u"new one", "newone"},
      {"stored Gmail, an emptied box empties it", 6, u"", ""},
      // A row other than the stored one has no stored password: the row's own (empty).
      {"Outlook, mask is the row's empty password", 7, u"*****", ""},
      {"Other, mask is the row's empty password", 5, u"*****", ""},
      {"mask and a space is typed text", 2, u"***** ", "*****"},
      {"typed password on a fixed row", 0, u"my pass", "mypass"},
      {"four asterisks", 3, u"****", "****"},
      {"no Type selection keeps the box", -1, u"*****", "*****"},
      {"position outside the table", 12, u"*****", "*****"},
  };
  for (const Case& c : cases) {
    NetworkFormValues v;
    v.smtpType = c.type;
    v.smtpPasswordBox = c.box;
    ConfigRecord record = patterned();
    textToField(u"stored-pw", record.field(fields::smtpPassword));
    record.setUInt8(fields::smtpPreset, 6);  // stored with "Gmail"
    storeNetworkSettings(v, kPresets, record);
    EXPECT_EQ(bytesOf(record, fields::smtpPassword), zeroPadded(c.stored, fields::smtpPassword))
        << c.what;
  }
}

TEST(StoreNetworkSettings, StoresTheLowByteOfEachUnit) {
  NetworkFormValues v;
  v.phone1 = u"\u20AC1\u4E2D";
  ConfigRecord record;
  storeNetworkSettings(v, kPresets, record);
  EXPECT_EQ(bytesOf(record, fields::phone1),
            (std::vector<std::uint8_t>{0xAC, '1', 0x2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(StoreNetworkSettings, ExactWidthFillsTheFieldAndLongerTextIsCut) {
  NetworkFormValues v;
  v.mmsPort = u"12345";                   // exactly 5
  v.mmsProxy = u"123.123.123.123";        // exactly 15
  v.smtpPasswordBox = std::u16string(40, u'p');  // the box has no typing limit
  v.ftpDirectory = std::u16string(33, u'd');
  ConfigRecord record = patterned();
  storeNetworkSettings(v, kPresets, record);
  EXPECT_EQ(bytesOf(record, fields::mmsPort), zeroPadded("12345", fields::mmsPort));
  EXPECT_EQ(bytesOf(record, fields::mmsProxy), zeroPadded("123.123.123.123", fields::mmsProxy));
  EXPECT_EQ(bytesOf(record, fields::smtpPassword),
            zeroPadded(std::string(32, 'p'), fields::smtpPassword));
  EXPECT_EQ(bytesOf(record, fields::ftpDirectory),
            zeroPadded(std::string(32, 'd'), fields::ftpDirectory));
  // The byte after ftpDirectory (unnamed 0x440) is untouched.
  EXPECT_EQ(record.bytes()[0x440], 0xA5);

  EXPECT_EQ(overlongFields(v, kPresets, kEmpty), (std::vector<std::string>{"smtpPassword",
                                                                    "ftpDirectory"}));
}

TEST(StoreNetworkSettings, OverlongFieldsJudgesTheCleanedText) {
  NetworkFormValues v;
  v.mailbox2 = u"a@x.test; b@y.test; c@z.test; d@w"; // 33 typed, 30 after the clean-up
  v.mmsProxy = u"10.100.100.100:8080";            // 19 typed, 18 cleaned: too long
  v.mmsApn = std::u16string(32, u'a') + u"   ";    // trimmed to exactly 32
  v.smtpType = 1;
  v.smtpPasswordBox = std::u16string(parameterMask);  // the preset's 12 characters
  EXPECT_EQ(overlongFields(v, kPresets, kEmpty), (std::vector<std::string>{"mmsProxy"}));
  EXPECT_TRUE(overlongFields(NetworkFormValues{}, kPresets, kEmpty).empty());
}

TEST(StoreOperatorSelection, WritesCountryAndOperatorInAutoModeOnly) {
  NetworkFormValues v;
  v.country = 54;
  v.mobileOperator = -1;
  ConfigRecord record = patterned();

  v.mode = 1;  // Manual
  storeOperatorSelection(v, record);
  EXPECT_EQ(record.getUInt8(fields::countryIndex), 0xA5);
  v.mode = -1;
  storeOperatorSelection(v, record);
  EXPECT_EQ(record.getUInt8(fields::countryIndex), 0xA5);

  v.mode = 0;  // Auto
  storeOperatorSelection(v, record);
  EXPECT_EQ(record.getUInt8(fields::countryIndex), 54);
  EXPECT_EQ(record.getUInt8(fields::operatorIndex), 0xFF);
}

}  // namespace
}  // namespace tarnwick
