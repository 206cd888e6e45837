#include "network/SmtpPresetTable.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(SmtpPresetTable, RowsNamesEncryptionAndPortsInStoredOrder) {
  struct Row {
    const char16_t* name;
    std::int32_t encryption;
    const char16_t* port;
  };
  const Row expected[] = {
      {u"default1", 1, u"465"}, {u"default2", 1, u"465"}, {u"default3", 1, u"465"},
      {u"default4", 1, u"465"}, {u"default5", 1, u"465"}, {u"Other", 0, u"25"},
      {u"Gmail", 1, u"465"},    {u"Outlook", 2, u"587"},  {u"Hotmail", 2, u"587"},
      {u"Yahoo", 1, u"465"},    {u"Mail", 1, u"465"},     {u"Yandex", 1, u"465"},
  };
  const SmtpPresetTable& table = programSmtpPresetTable();
  ASSERT_EQ(table.size(), 12u);
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].name, expected[i].name) << i;
    EXPECT_EQ(table[i].encryption, expected[i].encryption) << i;
    EXPECT_EQ(table[i].port, expected[i].port) << i;
  }
  EXPECT_EQ(fixedPresetCount, 5);
  EXPECT_EQ(otherPresetIndex, 5);
  EXPECT_EQ(table.row(-1), nullptr);
  EXPECT_EQ(table.row(12), nullptr);
  EXPECT_EQ(table.row(11), &table[11]);
}

TEST(SmtpPresetTable, FixedRowsShareRelayHostAndPasswordWithOwnMailbox) {
  const SmtpPresetTable table(u"relay.vendor.test", u"vendor.test");
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(table[i].server, u"relay.vendor.test");
    EXPECT_EQ(table[i].account, table[i].name + u"@vendor.test");
    EXPECT_EQ(table[i].password, u"merolax7351!");
  }
  // The build's defaults live under a reserved domain.
  const SmtpPresetTable& built = programSmtpPresetTable();
  EXPECT_FALSE(built[0].server.empty());
  EXPECT_NE(built[2].account.find(u"default3@"), std::u16string::npos);
}

TEST(SmtpPresetTable, OtherAndProviderRowsLeaveAccountAndPasswordToTheUser) {
  const SmtpPresetTable& table = programSmtpPresetTable();
  EXPECT_TRUE(table[5].server.empty());
  for (std::size_t i = 5; i < 12; ++i) {
    EXPECT_TRUE(table[i].account.empty()) << i;
    EXPECT_TRUE(table[i].password.empty()) << i;
  }
  for (std::size_t i = 6; i < 12; ++i) EXPECT_FALSE(table[i].server.empty()) << i;
  EXPECT_EQ(table[7].server, table[8].server);  // Hotmail is served by Outlook's host
  EXPECT_EQ(table[6].server, u"smtp.gmail.com");
}

}  // namespace
}  // namespace tarnwick
