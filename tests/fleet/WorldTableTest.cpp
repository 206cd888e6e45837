// Operator tables from access-point lists: which entry gives which values, the names, the
// limits of oper.db, and the choice of countries.

#include <gtest/gtest.h>

#include "fleet/CountryNames.h"
#include "fleet/WorldTable.h"
#include "network/OperatorEntry.h"

namespace tarnwick {
namespace {

std::string text(std::span<const std::uint8_t> field) {
  const auto t = fieldText(field);
  return std::string(t.begin(), t.end());
}

ApnEntry entry(std::string mcc, std::string mnc, std::string carrier, std::string apn,
               std::string type) {
  ApnEntry e;
  e.mcc = std::move(mcc);
  e.mnc = std::move(mnc);
  e.carrier = std::move(carrier);
  e.apn = std::move(apn);
  e.type = std::move(type);
  return e;
}

ApnEntry mms(std::string mcc, std::string mnc, std::string carrier, std::string mmsc,
             std::string proxy = "10.0.0.1", std::string port = "8080") {
  ApnEntry e = entry(std::move(mcc), std::move(mnc), std::move(carrier), "mms", "mms");
  e.mmsc = std::move(mmsc);
  e.mmsProxy = std::move(proxy);
  e.mmsPort = std::move(port);
  return e;
}

std::vector<std::string> operatorNames(const CountryEntry& c) {
  std::vector<std::string> names;
  for (const OperatorEntry& o : c.listedOperators()) names.push_back(text(o.name));
  return names;
}

TEST(WorldTable, DataAndMmsValuesComeFromTheFirstEntryTheCameraCanUse) {
  std::vector<ApnEntry> list;
  list.push_back(entry("262", "01", "Telekom WAP", "wap.telekom", "default"));
  list.back().proxy = "10.1.1.1";  // a WAP gateway: no data access point for the camera
  list.push_back(entry("262", "01", "Telekom IMS", "ims", "ims"));
  list.push_back(entry("262", "01", "Telekom Internet", std::string(33, 'x'), "default"));  // too long
  list.push_back(entry("262", "01", "Telekom Internet", "internet.telekom", "default,supl"));
  list.back().user = "t-mobile";
  list.back().password = "tm";
  list.push_back(mms("262", "01", "Telekom MMS", "http:mms.t-mobile.de"));     // no "//"
  list.push_back(mms("262", "01", "Telekom MMS", "http://mms.t-mobile.de/servlets/mms",
                     "172.028.023.131.5"));                                        // proxy over 15
  list.push_back(mms("262", "01", "Telekom MMS", "http://mms.t-mobile.de/servlets/mms",
                     "172.28.23.131", "0"));                                       // port 0
  list.push_back(mms("262", "01", "Telekom MMS", "http://mms.t-mobile.de/servlets/mms",
                     "172.28.23.131", "8008"));
  const WorldTable world = buildWorldTable(list, {});
  ASSERT_TRUE(world.ok()) << world.error;
  ASSERT_EQ(world.countries.size(), 1u);
  EXPECT_EQ(text(world.countries[0].name), "Germany");
  ASSERT_EQ(world.countries[0].operatorCount, 1u);
  const OperatorEntry& o = world.countries[0].operators[0];
  EXPECT_EQ(text(o.name), "Telekom");  // "Internet" names the service, not the operator
  EXPECT_EQ(text(o.dataApn), "internet.telekom");
  EXPECT_EQ(text(o.dataAccount), "t-mobile");
  EXPECT_EQ(text(o.dataPassword), "tm");
  EXPECT_EQ(text(o.mmsApn), "mms");
  EXPECT_EQ(text(o.mmscUrl), "http://mms.t-mobile.de/servlets/mms");
  EXPECT_EQ(text(o.mmsProxy), "172.28.23.131");
  EXPECT_EQ(text(o.mmsPort), "8008");
  EXPECT_EQ(world.stats.withDataApn, 1u);
  EXPECT_EQ(world.stats.withMms, 1u);
}

TEST(WorldTable, CountriesByCommentThenByMccSortedByTheirEnglishNames) {
  std::vector<ApnEntry> list;
  list.push_back(entry("612", "01", "Orange CI", "orange.ci", "default"));  // by MCC
  list.push_back(entry("425", "01", "Partner", "internet", "default"));
  list.back().countryCode = "PS";  // the comment wins over the MCC (425 is Israel's)
  list.push_back(entry("234", "10", "O2", "mobile.o2.co.uk", "default"));
  list.push_back(entry("999", "01", "Nowhere", "x", "default"));  // no country: left out
  list.push_back(entry("208", "01", "Orange", "orange", "default"));
  list.back().countryCode = "ZZ";  // unknown code: the MCC decides (France)
  const WorldTable world = buildWorldTable(list, {});
  ASSERT_TRUE(world.ok());
  std::vector<std::string> names;
  for (const CountryEntry& c : world.countries) names.push_back(text(c.name));
  // "Côte" sorts as "Cote", before "France".
  EXPECT_EQ(names, (std::vector<std::string>{"C\xF4te d'Ivoire", "France", "Palestine",
                                             "United Kingdom"}));
  EXPECT_EQ(world.countryCodes, (std::vector<std::string>{"CI", "FR", "PS", "GB"}));

  WorldTableOptions only;
  std::string error;
  only.countries = parseCountryList("gb, Palestine", error);
  ASSERT_EQ(error, "");
  const WorldTable two = buildWorldTable(list, only);
  ASSERT_EQ(two.countries.size(), 2u);
  EXPECT_EQ(two.countryCodes, (std::vector<std::string>{"PS", "GB"}));

  EXPECT_TRUE(parseCountryList("DE,Atlantis", error).empty());
  EXPECT_NE(error.find("Atlantis"), std::string::npos);
  error.clear();
  EXPECT_TRUE(parseCountryList(" , ", error).empty());
  EXPECT_FALSE(error.empty());
}

TEST(WorldTable, AtMost32OperatorsTheMostCompleteFirstListedByName) {
  std::vector<ApnEntry> list;
  // 40 networks with data only, then 2 with data and MMS, then a virtual operator with both.
  for (int i = 0; i < 40; ++i) {
    const std::string mnc = std::to_string(100 + i);
    list.push_back(entry("310", mnc, "Data " + mnc, "net" + mnc, "default"));
  }
  for (const char* mnc : {"900", "901"}) {
    list.push_back(entry("310", mnc, "Zeta " + std::string(mnc), "net", "default"));
    list.push_back(mms("310", mnc, "Zeta " + std::string(mnc), "http://mms/"));
  }
  ApnEntry brand = entry("310", "900", "Alpha Brand", "brand", "default,mms");
  brand.mmsc = "mms.brand";
  brand.mvnoType = "spn";
  brand.mvnoMatchData = "Alpha";
  list.push_back(brand);
  const WorldTable world = buildWorldTable(list, {});
  ASSERT_TRUE(world.ok());
  ASSERT_EQ(world.countries.size(), 1u);
  const CountryEntry& us = world.countries[0];
  EXPECT_EQ(us.operatorCount, 32u);
  EXPECT_EQ(world.stats.droppedOverLimit, 43u - 32u);
  const auto names = operatorNames(us);
  // The three complete ones are in; 29 of the data-only ones, in document order.
  EXPECT_NE(std::find(names.begin(), names.end(), "Alpha Brand"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "Zeta 900"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "Zeta 901"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "Data 128"), names.end());
  EXPECT_EQ(std::find(names.begin(), names.end(), "Data 129"), names.end());
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
}

TEST(WorldTable, NamesThatWindows1252CannotWriteOrThatClash) {
  std::vector<ApnEntry> list;
  list.push_back(entry("460", "00", "\xE4\xB8\xAD\xE5\x9B\xBD\xE7\xA7\xBB\xE5\x8A\xA8 (China Mobile) NET",
                       "cmnet", "default"));
  list.push_back(entry("460", "01", "\xE8\x81\x94\xE9\x80\x9A", "3gnet", "default"));
  list.push_back(entry("460", "03", "Caf\xC3\xA9 \xE2\x82\xAC", "ctnet", "default"));  // é and €
  list.push_back(entry("460", "05", "Internet", "a", "default"));
  list.push_back(entry("460", "06", "Same", "one", "default"));
  list.push_back(entry("460", "07", "Same", "two", "default"));
  list.push_back(entry("460", "08", "Same", "one", "default"));  // as 460-06: listed once
  const WorldTable world = buildWorldTable(list, {});
  ASSERT_TRUE(world.ok());
  EXPECT_EQ(operatorNames(world.countries[0]),
            (std::vector<std::string>{"Caf\xE9 \x80", "China Mobile", "Network 460-01",
                                      "Network 460-05", "Same 460-06", "Same 460-07"}));
}

TEST(WorldTable, EntriesWithNothingTheCameraCanUseMakeNoOperatorAndNoCountry) {
  std::vector<ApnEntry> list;
  list.push_back(entry("262", "02", "Vodafone IMS", "ims", "ims"));
  list.push_back(entry("262", "02", "Vodafone", "web.vodafone.de\t", "default"));  // a tab
  list.push_back(mms("262", "02", "Vodafone MMS", ""));  // no MMS centre
  const WorldTable world = buildWorldTable(list, {});
  EXPECT_FALSE(world.ok());
  EXPECT_TRUE(world.countries.empty());
}

TEST(WorldTable, Utf8ToWindows1252) {
  std::string out;
  EXPECT_TRUE(utf8ToWindows1252("Bit\xC4\x97", out) == false);  // ė is not in Windows-1252
  EXPECT_TRUE(utf8ToWindows1252("\xE2\x80\x94\xC3\x84", out));   // em dash, Ä
  EXPECT_EQ(out, "\x97\xC4");
  EXPECT_FALSE(utf8ToWindows1252("\xC3", out));          // cut off
  EXPECT_FALSE(utf8ToWindows1252("\xC2\x81", out));      // U+0081 is not a Windows-1252 letter
  EXPECT_FALSE(utf8ToWindows1252("\xF0\x9F\x93\xB7", out));
}

TEST(CountryNames, CodesNamesAndMobileCountryCodes) {
  EXPECT_EQ(countryName("DE"), "Germany");
  EXPECT_EQ(countryName("de"), "");
  EXPECT_EQ(countryName("ZZ"), "");
  EXPECT_EQ(countryCodeForName("south korea"), "KR");
  EXPECT_EQ(countryOfMcc("262"), "DE");
  EXPECT_EQ(countryOfMcc("405"), "IN");
  EXPECT_EQ(countryOfMcc("901"), "");
  EXPECT_EQ(countryOfMcc("26"), "");
}

}  // namespace
}  // namespace tarnwick
