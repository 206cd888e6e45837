#include "network/OperatorTable.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <set>
#include <string>

#include "OperatorDbTestSupport.h"
#include "network/AnsiText.h"
#include "network/BuiltinOperators.h"
#include "network/OperatorDb.h"

namespace tarnwick {
namespace {

using testing::DbBytes;
using testing::textOf;

// Operators per built-in country, in list order: stored settings hold positions in these
// lists, so a missing or extra row shifts every operator after it.
constexpr std::array<std::uint32_t, 55> kOperatorsPerCountry{
    4, 5, 8, 4, 1, 5, 6, 7, 2, 3, 2, 6, 5, 1, 3, 1, 9, 4, 5, 2, 3, 1, 4, 2, 6, 2, 1, 1,
    1, 3, 3, 1, 1, 1, 2, 5, 3, 7, 1, 8, 3, 3, 8, 1, 3, 8, 3, 1, 6, 5, 5, 1, 1, 3, 8};

TEST(BuiltinOperatorTable, HasTheCamerasCountriesInOrder) {
  const OperatorTable table;
  EXPECT_EQ(table.state(), OperatorTable::State::BuiltIn);
  EXPECT_FALSE(table.loaded());
  ASSERT_EQ(table.countryCount(), 55u);
  EXPECT_EQ(textOf(table.countries().front().name), "America");
  EXPECT_EQ(textOf(table.countries().back().name), "United Kingdom");
  // Spellings that stored positions and users rely on, odd as they are.
  EXPECT_EQ(textOf(table.country(25)->name), "Japen");
  EXPECT_EQ(textOf(table.country(43)->name), "Siberia");
  EXPECT_EQ(textOf(table.country(46)->name), "South_Africa");
  EXPECT_EQ(textOf(table.country(47)->name), "South Korea");

  std::uint32_t total = 0;
  for (std::size_t i = 0; i < kOperatorsPerCountry.size(); ++i) {
    const CountryEntry& c = table.countries()[i];
    EXPECT_EQ(c.operatorCount, kOperatorsPerCountry[i]) << textOf(c.name);
    EXPECT_EQ(c.operators.size(), c.operatorCount) << textOf(c.name);
    total += c.operatorCount;
  }
  EXPECT_EQ(total, 198u);
}

TEST(BuiltinOperatorTable, KeepsOperatorNamesByteForByte) {
  const OperatorTable table;
  EXPECT_EQ(textOf(table.operatorAt(0, 0)->name), "AT&T");
  EXPECT_EQ(textOf(table.operatorAt(0, 3)->name), "SIMHERO");
  EXPECT_EQ(textOf(table.operatorAt(2, 0)->name), "A1(MobilKom");
  EXPECT_EQ(textOf(table.operatorAt(28, 0)->name), " Touch");  // leading blank is data
  EXPECT_EQ(textOf(table.operatorAt(29, 2)->name), "Bit\xC4\x97");
  EXPECT_EQ(textOf(table.operatorAt(16, 6)->name), "Saunalahti Prepaid");  // longest, 18
  EXPECT_EQ(textOf(table.operatorAt(54, 7)->name), "Vodafone");
}

TEST(BuiltinOperatorTable, EveryFieldIsTerminatedAndFitsTheRecord) {
  // Values reach the record through 32-byte access-point fields, a 50-byte MMS centre, a
  // 15-byte proxy and a 5-byte port; a longer built-in value could not be stored whole.
  constexpr std::array<std::size_t, 10> kRecordWidth{63, 32, 32, 32, 32, 32, 32, 50, 15, 5};
  std::size_t withMms = 0;
  std::size_t withData = 0;
  for (const CountryEntry& c : builtinCountries()) {
    EXPECT_EQ(c.name.back(), 0);
    for (const OperatorEntry& o : c.operators) {
      for (std::size_t f = 0; f < OperatorEntry::kFieldCount; ++f) {
        EXPECT_EQ(o.field(f).back(), 0);
        EXPECT_LE(fieldText(o.field(f)).size(), kRecordWidth[f]) << textOf(o.name) << " " << f;
      }
      for (const std::uint8_t b : fieldText(o.mmsPort)) EXPECT_TRUE(b >= '0' && b <= '9');
      withMms += !fieldText(o.mmscUrl).empty();
      withData += !fieldText(o.dataApn).empty();
    }
  }
  EXPECT_GT(withMms, 100u);
  EXPECT_GT(withData, 100u);
}

TEST(BuiltinOperatorTable, CarriesKnownAccessPoints) {
  const OperatorTable table;
  const OperatorEntry* telstra = table.operatorAt(1, 1);
  EXPECT_EQ(textOf(telstra->dataApn), "Telstra.wap");
  EXPECT_EQ(textOf(telstra->mmsApn), "Telstra.mms");
  EXPECT_EQ(textOf(telstra->mmscUrl), "http://mmsc.telstra.com:8002");
  EXPECT_EQ(textOf(telstra->mmsProxy), "10.1.1.180");
  EXPECT_EQ(textOf(telstra->mmsPort), "80");
  const OperatorEntry* simhero = table.operatorAt(0, 3);  // not in the public data: empty
  for (std::size_t f = 1; f < OperatorEntry::kFieldCount; ++f) {
    EXPECT_TRUE(fieldText(simhero->field(f)).empty());
  }
}

TEST(BuiltinOperatorTable, RenamedNetworksKeepTheirMmsSettings) {
  const OperatorTable table;
  // AT&T's MMS settings come from its former name's entry (Cingular), the one whose proxy is
  // an address that fits the record's 15-byte field.
  const OperatorEntry* att = table.operatorAt(0, 0);
  EXPECT_EQ(textOf(att->mmscUrl), "http://mmsc.cingular.com");
  EXPECT_EQ(textOf(att->mmsProxy), "66.209.11.32");
  EXPECT_EQ(textOf(att->mmsApn), "wap.cingular");
  EXPECT_EQ(textOf(att->dataApn), "phone");
  // A prepaid brand takes its operator's values.
  const OperatorEntry* sunrise = table.operatorAt(50, 1);
  const OperatorEntry* prepaid = table.operatorAt(50, 2);
  ASSERT_EQ(textOf(prepaid->name), "Sunrise prepaid");
  for (std::size_t f = 1; f < OperatorEntry::kFieldCount; ++f) {
    EXPECT_EQ(textOf(prepaid->field(f)), textOf(sunrise->field(f))) << f;
  }
}

// docs/operators-without-mms.md lists, with a reason, every built-in operator that has no MMS
// settings; it is generated with the table, and a table changed without it fails here.
TEST(BuiltinOperatorTable, EveryOperatorWithoutMmsSettingsIsListedWithItsReason) {
  std::ifstream in(TARNWICK_OPERATORS_WITHOUT_MMS);
  ASSERT_TRUE(in) << TARNWICK_OPERATORS_WITHOUT_MMS;
  std::set<std::string> listed;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("| ", 0) != 0 || line.rfind("| Country ", 0) == 0) continue;
    const std::size_t a = line.find(" | ");
    const std::size_t b = line.find(" | ", a + 3);
    const std::size_t c = line.find(" | ", b + 3);
    ASSERT_NE(c, std::string::npos) << line;
    EXPECT_GT(line.size(), c + 5) << "no reason: " << line;
    listed.insert(line.substr(2, a - 2) + "/" + line.substr(a + 3, b - a - 3));
  }
  std::set<std::string> without;
  for (const CountryEntry& c : builtinCountries()) {
    for (const OperatorEntry& o : c.operators) {
      // The list is UTF-8; the one name outside ASCII (Lithuania's "Bite") has MMS settings.
      if (fieldText(o.mmscUrl).empty()) without.insert(textOf(c.name) + "/" + textOf(o.name));
    }
  }
  EXPECT_EQ(listed, without);
  EXPECT_LE(without.size(), 37u);
}

TEST(OperatorTableAccess, PositionsOutsideTheTableFindNothing) {
  const OperatorTable table;
  EXPECT_EQ(table.country(-1), nullptr);
  EXPECT_EQ(table.country(55), nullptr);
  EXPECT_EQ(table.country(255), nullptr);  // a stored 0xFF
  EXPECT_NE(table.country(54), nullptr);
  EXPECT_EQ(table.operatorAt(0, -1), nullptr);
  EXPECT_EQ(table.operatorAt(0, 4), nullptr);  // America lists 4
  EXPECT_EQ(table.operatorAt(-1, 0), nullptr);
  EXPECT_NE(table.operatorAt(0, 3), nullptr);
}

TEST(OperatorTableAccess, OnlyListedRowsOfALoadedCountryAreReachable) {
  OperatorTable table;
  // "Chile" lists one operator; the file also fills row 2, which exists but is not listed.
  ASSERT_TRUE(parseOperatorDb(table, DbBytes(1)
                                         .country(1, "Chile")
                                         .op().field("Entel")
                                         .op().op().field("unlisted")
                                         .country(1, "Chile").op().op().end()
                                         .bytes()));
  EXPECT_EQ(table.country(0)->operators.size(), 3u);
  EXPECT_EQ(table.country(0)->operatorCount, 1u);
  EXPECT_NE(table.operatorAt(0, 0), nullptr);
  EXPECT_EQ(table.operatorAt(0, 1), nullptr);
  EXPECT_EQ(table.operatorAt(0, 2), nullptr);
}

TEST(OperatorTableLifecycle, ResetLoadReleaseAndReleaseAgain) {
  OperatorTable table;
  ASSERT_TRUE(parseOperatorDb(table, DbBytes(2).country(1, "A").op().op().end().bytes()));
  EXPECT_TRUE(table.loaded());
  EXPECT_EQ(table.countryCount(), 2u);

  releaseOperatorTable(table);
  EXPECT_FALSE(table.loaded());
  EXPECT_EQ(table.state(), OperatorTable::State::Released);
  // Nothing is left to read: a late reader finds no rows rather than freed ones.
  EXPECT_EQ(table.countryCount(), 0u);
  EXPECT_EQ(table.country(0), nullptr);

  releaseOperatorTable(table);  // twice: nothing happens
  EXPECT_EQ(table.state(), OperatorTable::State::Released);

  resetOperatorTable(table);
  EXPECT_EQ(table.state(), OperatorTable::State::BuiltIn);
  EXPECT_EQ(table.countryCount(), 55u);

  releaseOperatorTable(table);  // releasing the built-in table does nothing
  EXPECT_EQ(table.state(), OperatorTable::State::BuiltIn);
  EXPECT_EQ(table.countryCount(), 55u);
}

TEST(OperatorTableLifecycle, CopiesAreIndependentValues) {
  OperatorTable loaded;
  ASSERT_TRUE(parseOperatorDb(loaded, DbBytes(1).country(1, "Chile").op().end().bytes()));
  OperatorTable copy = loaded;
  releaseOperatorTable(loaded);
  ASSERT_EQ(copy.countryCount(), 1u);
  EXPECT_EQ(textOf(copy.country(0)->name), "Chile");
}

TEST(AnsiToFormText, UsesWindows1252AndStopsAtTheFirstZero) {
  const std::array<std::uint8_t, 7> lithuanian{'B', 'i', 't', 0xC4, 0x97, 0, 'x'};
  EXPECT_EQ(ansiToFormText(lithuanian), u"Bit\u00C4\u2014");
  const std::array<std::uint8_t, 6> high{0x80, 0x81, 0x9F, 0xA0, 0xE9, 0xFF};
  EXPECT_EQ(ansiToFormText(high), u"\u20AC\u0081\u0178\u00A0\u00E9\u00FF");
  EXPECT_EQ(ansiToFormText(std::span<const std::uint8_t>{}), u"");
  const std::array<std::uint8_t, 3> full{'a', 'b', 'c'};  // no zero: the whole span
  EXPECT_EQ(ansiToFormText(full), u"abc");
}

}  // namespace
}  // namespace tarnwick
