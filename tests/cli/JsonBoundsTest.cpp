// JSON from outside is bounded: a settings document over 1 MiB, an operator table larger than
// the largest table needs, and objects or arrays larger than a valid document has are refused,
// with a reason, before they are built.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "cli/JsonDocument.h"
#include "cli/OperatorJson.h"
#include "cli/RecordJson.h"
#include "cli/StartupRecord.h"

namespace tarnwick::cli {
namespace {

// `count` keys "k0", "k1", ... inside the object `path` leads into.
std::string manyKeys(const std::string& before, std::size_t count, const std::string& after) {
  std::string text = before + "{";
  for (std::size_t i = 0; i < count; ++i) {
    if (i != 0) text += ",";
    text += "\"k" + std::to_string(i) + "\":0";
  }
  return text + "}" + after;
}

std::string manyElements(const std::string& before, std::size_t count, const std::string& after) {
  std::string text = before + "[";
  for (std::size_t i = 0; i < count; ++i) text += i == 0 ? "{}" : ",{}";
  return text + "]" + after;
}

TEST(JsonBounds, SettingsDocumentsOver1MiBAreRefusedSayingWhy) {
  // A valid export padded with spaces to just over 1 MiB: valid JSON, refused for its size.
  std::string text = exportRecordJson(startupRecord());
  ASSERT_TRUE(importRecordJson(text).record);
  text.resize(kMaxRecordJsonBytes, ' ');
  EXPECT_TRUE(importRecordJson(text).record) << "exactly 1 MiB is still read";
  text.push_back(' ');
  const RecordImport refused = importRecordJson(text);
  ASSERT_FALSE(refused.record);
  EXPECT_EQ(refused.error,
            "$: 1048577 bytes, more than the 1 MiB a settings document may have (an export is "
            "about 4.4 KB)");
}

TEST(JsonBounds, OversizedContainersAreRefusedByPathBeforeTheyAreBuilt) {
  struct Case {
    std::string text;
    std::string error;
  };
  const Case settings[] = {
      {manyKeys("", 50000, ""), "$: more than 138 keys, more than a valid document has"},
      {manyKeys("{\"fields\":", 50000, "}"),
       "$.fields: more than 138 keys, more than a valid document has"},
      {manyElements("{\"fields\":{\"serialNo\":", 100000, "}}"),
       "$.fields.serialNo: more than 8 elements, more than a valid document has"},
      {manyElements("", 100000, ""), "$: more than 8 elements, more than a valid document has"},
  };
  for (const Case& c : settings) {
    const auto started = std::chrono::steady_clock::now();
    const RecordImport result = importRecordJson(c.text);
    const auto took = std::chrono::steady_clock::now() - started;
    ASSERT_FALSE(result.record);
    EXPECT_EQ(result.error, c.error);
    EXPECT_LT(took, std::chrono::seconds(2)) << c.error;  // was 8 s for 50,000 keys
  }
  const Case operators[] = {
      {manyKeys("", 100000, ""), "$: more than 22 keys, more than a valid document has"},
      {manyElements("{\"countries\":", 100000, "}"),
       "$.countries: more than 510 elements, more than a valid document has"},
      {manyElements("{\"countries\":[{\"index\":0,\"name\":\"A\",\"operators\":", 100000, "}]}"),
       "$.countries[0].operators: more than 510 elements, more than a valid document has"},
      {std::string(kMaxOperatorJsonBytes + 1, ' '),
       "$: 25165825 bytes, more than the 24 MiB the largest operator table needs"},
  };
  for (const Case& c : operators) {
    const OperatorTableImport result = importOperatorTableJson(c.text);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error, c.error);
  }
}

TEST(JsonBounds, LimitsAreCountedPerContainer) {
  JsonLimits limits;
  limits.members = 2;
  limits.elements = 3;
  limits.depth = 2;
  EXPECT_TRUE(parseJsonDocument(R"({"a":[1,2,3],"b":{"c":1,"d":2}})", limits).value);
  EXPECT_EQ(parseJsonDocument(R"({"a":[1,2,3,4]})", limits).error,
            "$.a: more than 3 elements, more than a valid document has");
  EXPECT_EQ(parseJsonDocument(R"({"a":1,"b":{"c":1,"d":2,"e":3}})", limits).error,
            "$.b: more than 2 keys, more than a valid document has");
  EXPECT_EQ(parseJsonDocument(R"({"a":[[1]]})", limits).error, "nested deeper than 2 levels");
  // Refusals keep their order: the first problem in the text is the one reported.
  EXPECT_EQ(parseJsonDocument(R"({"a":1,"a":2,"b":3,"c":4})", limits).error,
            "$.a: the key is given twice");
}

}  // namespace
}  // namespace tarnwick::cli
