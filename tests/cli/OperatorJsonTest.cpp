// Operator tables as JSON: the built-in table and oper.db files survive JSON and oper.db
// unchanged, and tables oper.db cannot carry are refused with the path of the problem.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/OperatorJson.h"
#include "config/Codec.h"
#include "network/OperatorDb.h"
#include "network/OperatorDbWriter.h"

namespace tarnwick::cli {
namespace {

using Json = nlohmann::ordered_json;

// The table oper.db bytes give when read by the program's reader.
OperatorTable readBack(const std::vector<std::uint8_t>& fileBytes) {
  std::vector<std::uint8_t> decoded = fileBytes;
  negateBytes(decoded.data(), static_cast<std::uint32_t>(decoded.size()));
  OperatorTable table;
  EXPECT_TRUE(parseOperatorDb(table, decoded));
  return table;
}

TEST(OperatorJson, BuiltInTableSurvivesJsonAndOperDb) {
  const OperatorTable builtIn;
  const std::string json = operatorTableJson(builtIn);
  OperatorTableImport imported = importOperatorTableJson(json);
  ASSERT_TRUE(imported.ok()) << imported.error;
  ASSERT_EQ(imported.countries.size(), 55u);

  OperatorTable fromJson;
  fromJson.adopt(std::move(imported.countries));
  const OperatorDbBuild build = buildOperatorDb(fromJson);
  ASSERT_TRUE(build.ok()) << build.error;
  // oper.db -> JSON gives the very text we started from: build then dump is the identity.
  EXPECT_EQ(operatorTableJson(readBack(build.fileBytes)), json);
}

TEST(OperatorJson, JsonShowsPositionsAndWindows1252Texts) {
  const Json doc = Json::parse(operatorTableJson(OperatorTable{}));
  const Json& lithuania = doc["countries"][29];
  EXPECT_EQ(lithuania["index"], 29);
  EXPECT_EQ(lithuania["name"], "Lithuania");
  EXPECT_EQ(lithuania["operators"][2]["index"], 2);
  // The bytes "Bit" 0xC4 0x97 in Windows-1252.
  EXPECT_EQ(lithuania["operators"][2]["name"], "Bit\xC3\x84\xE2\x80\x94");
  const Json& row = doc["countries"][0]["operators"][0];
  EXPECT_EQ(row.size(), 11u);  // index and the ten fields
  EXPECT_TRUE(row.contains("mmsPort"));
  EXPECT_EQ(doc["countries"][54]["name"], "United Kingdom");
}

TEST(OperatorJson, HandWrittenTableNeedsOnlyNames) {
  const std::string text = R"({"countries": [
      {"name": "Freedonia", "operators": [
         {"name": "F\u20acLink", "dataApn": "net.flink", "mmsPort": "8080"},
         {"index": 1, "name": "Empty"}]},
      {"index": 1, "name": "Sylvania", "operators": []}]})";
  OperatorTableImport imported = importOperatorTableJson(text);
  ASSERT_TRUE(imported.ok()) << imported.error;
  ASSERT_EQ(imported.countries.size(), 2u);
  const CountryEntry& c = imported.countries[0];
  EXPECT_EQ(c.operatorCount, 2u);
  EXPECT_EQ(c.operators[0].name[1], 0x80);  // the euro sign's Windows-1252 byte
  EXPECT_EQ(fieldText(c.operators[0].dataApn).size(), 9u);
  EXPECT_EQ(imported.countries[1].operatorCount, 0u);

  OperatorTable table;
  table.adopt(std::move(imported.countries));
  const OperatorDbBuild build = buildOperatorDb(table);
  ASSERT_TRUE(build.ok()) << build.error;
  const OperatorTable back = readBack(build.fileBytes);
  ASSERT_EQ(back.countryCount(), 2u);
  EXPECT_EQ(back.countries()[0].listedOperators()[0], table.countries()[0].operators[0]);
  EXPECT_EQ(back.countries()[1].listedOperators().size(), 0u);
}

std::string countries(std::size_t n) {
  Json list = Json::array();
  for (std::size_t i = 0; i < n; ++i) list.push_back({{"name", "C"}, {"operators", Json::array()}});
  return Json{{"countries", list}}.dump();
}

std::string withOperator(const Json& row) {
  return Json{{"countries", Json::array({{{"name", "C"}, {"operators", Json::array({row})}}})}}
      .dump();
}

TEST(OperatorJson, TablesOutsideTheFormatAreRefusedWithTheirPath) {
  Json many = Json::array();
  for (int i = 0; i < 33; ++i) many.push_back({{"name", "op"}});
  const struct {
    std::string text;
    const char* error;
  } cases[] = {
      {"{", "at byte"},
      {"[]", "$: expected an object"},
      {R"({"countries": [], "x": 1})", "$.x: unknown key"},
      {countries(0), "$.countries: expected an array of 1 to 255"},
      {countries(256), "$.countries: expected an array of 1 to 255"},
      {R"({"countries": [{"operators": []}]})", "$.countries[0].name: missing"},
      {R"({"countries": [{"name": "C"}]})", "$.countries[0].operators: missing"},
      {R"({"countries": [{"index": 1, "name": "C", "operators": []}]})",
       "$.countries[0].index: expected 0"},
      {Json{{"countries", Json::array({{{"name", "C"}, {"operators", many}}})}}.dump(),
       "$.countries[0].operators: 33 operators; an oper.db country holds at most 32"},
      {Json{{"countries", Json::array({{{"name", std::string(64, 'x')}, {"operators", Json::array()}}})}}
           .dump(),
       "$.countries[0].name: longer than 63 bytes"},
      {withOperator({{"name", "op"}, {"mmsPort", "123456"}}),
       "$.countries[0].operators[0].mmsPort: longer than 5 bytes"},
      {withOperator({{"name", "op"}, {"mmscUrl", std::string(64, 'u')}}),
       "$.countries[0].operators[0].mmscUrl: longer than 63 bytes"},
      {withOperator({{"name", "\xE4\xB8\xAD"}}),
       "$.countries[0].operators[0].name: the character U+4E2D has no Windows-1252 byte"},
      {withOperator({{"name", std::string("a\0b", 3)}}),
       "$.countries[0].operators[0].name: the character U+0000"},
      {withOperator({{"name", "op"}, {"apn", "x"}}), "$.countries[0].operators[0].apn: unknown"},
      {withOperator({{"index", 3}, {"name", "op"}}), "$.countries[0].operators[0].index: expected 0"},
      {withOperator({{"dataApn", "x"}}), "$.countries[0].operators[0].name: missing"},
      {withOperator({{"name", 5}}), "$.countries[0].operators[0].name: expected a string"},
  };
  for (const auto& c : cases) {
    const OperatorTableImport result = importOperatorTableJson(c.text);
    ASSERT_FALSE(result.ok()) << c.error;
    EXPECT_EQ(result.error.rfind(c.error, 0), 0u) << "expected \"" << c.error << "\", got \""
                                                  << result.error << "\"";
  }
}

}  // namespace
}  // namespace tarnwick::cli
