// The JSON form of a settings file: byte-exact both ways, readable where it can be, and every
// refusal pointing at the JSON path of the problem.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ToolRun.h"
#include "cli/RecordJson.h"
#include "cli/StartupRecord.h"
#include "config/FieldCatalog.h"

namespace tarnwick::cli {
namespace {

using Json = nlohmann::ordered_json;

TEST(RecordJson, AnyImageExportsAndImportsToTheSameBytes) {
  for (std::uint32_t seed = 0; seed < 300; ++seed) {
    const ConfigRecord record = test::randomRecord(seed);
    const RecordImport back = importRecordJson(exportRecordJson(record));
    ASSERT_TRUE(back.record) << "seed " << seed << ": " << back.error;
    ASSERT_EQ(*back.record, record) << "seed " << seed;
  }
  // Every byte value in every position of the record.
  for (int value = 0; value < 256; ++value) {
    ConfigRecord record;
    for (std::uint8_t& b : record.bytes()) b = static_cast<std::uint8_t>(value);
    const RecordImport back = importRecordJson(exportRecordJson(record));
    ASSERT_TRUE(back.record) << "byte " << value << ": " << back.error;
    ASSERT_EQ(*back.record, record) << "byte " << value;
  }
}

TEST(RecordJson, ExportReadsLikeTheSettings) {
  ConfigRecord record = startupRecord();
  record.setUInt32(fields::timeLapse, 0x010203);
  record.setUInt32(fields::timer1Start, 0x1800);  // 24:00 is no time: kept as the number
  const auto code = record.field(fields::serialNo);
  code[0] = 2, code[1] = 0, code[2] = 2, code[3] = 5;
  const auto pin = record.field(fields::password);
  pin[2] = 12;  // not a digit
  const auto name = record.field(fields::orgName);
  name[0] = 'A', name[1] = 0, name[2] = 'B';
  std::fill(name.begin() + 3, name.end(), std::uint8_t{0});

  const Json doc = Json::parse(exportRecordJson(record));
  EXPECT_EQ(doc["format"], "tarnwick-cfg settings");
  EXPECT_EQ(doc["version"], 1);
  const Json& f = doc["fields"];
  EXPECT_EQ(f.size(), fieldCatalog().size());
  EXPECT_EQ(f.begin().key(), "imageSize");  // catalogue order
  EXPECT_EQ(f["imageSize"], 1);
  EXPECT_EQ(f["passwordOff"], 1);
  EXPECT_EQ(f["timeLapse"], "1:02:03");
  EXPECT_EQ(f["timer1Start"], 0x1800);
  EXPECT_EQ(f["timer2Start"], "0:00");
  EXPECT_EQ(f["serialNo"], "2025");
  EXPECT_EQ(f["password"], Json::array({0, 0, 12, 0}));
  EXPECT_EQ(f["orgName"], std::string("A\0B", 3));
  EXPECT_EQ(f["mmsApn"], std::string(32, ' '));  // the defaults' space padding
  EXPECT_EQ(f["ftpDirectory"], "");
  EXPECT_EQ(doc["unnamed"]["0x000-0x003"], "00000000");
  EXPECT_EQ(doc["unnamed"]["0x6ff"], "00");
}

// A valid export with one change applied.
std::string exportWith(const std::function<void(Json&)>& change) {
  Json doc = Json::parse(exportRecordJson(startupRecord()));
  change(doc);
  return doc.dump();
}

struct BadInput {
  std::string text;
  const char* error;  // the start of the error
};

TEST(RecordJson, ImportRefusesBadInputWithThePathOfTheProblem) {
  const BadInput cases[] = {
      {"", "at byte 1"},
      {"{\"format\": ", "at byte 12"},
      {"[]", "$: expected an object"},
      {"{\"a\":1,\"a\":2}", "$.a: the key is given twice"},
      {std::string(100, '[') + std::string(100, ']'), "nested deeper than 32"},
      {exportWith([](Json& d) { d["extra"] = 1; }), "$.extra: unknown key"},
      {exportWith([](Json& d) { d.erase("format"); }), "$.format: missing"},
      {exportWith([](Json& d) { d["format"] = "other"; }), "$.format: expected"},
      {exportWith([](Json& d) { d["version"] = 2; }), "$.version: expected 1"},
      {exportWith([](Json& d) { d["fields"].erase("orgName"); }), "$.fields.orgName: missing"},
      {exportWith([](Json& d) { d["fields"]["orgname"] = ""; }), "$.fields.orgname: unknown"},
      {exportWith([](Json& d) { d["fields"]["imageSize"] = "VGA"; }),
       "$.fields.imageSize: expected a whole number"},
      {exportWith([](Json& d) { d["fields"]["imageSize"] = 1.5; }), "$.fields.imageSize"},
      {exportWith([](Json& d) { d["fields"]["imageSize"] = 2147483648LL; }),
       "$.fields.imageSize: expected a whole number from -2147483648"},
      {exportWith([](Json& d) { d["fields"]["interval"] = -1; }), "$.fields.interval"},
      {exportWith([](Json& d) { d["fields"]["smtpPreset"] = 256; }),
       "$.fields.smtpPreset: expected a whole number from 0 to 255"},
      {exportWith([](Json& d) { d["fields"]["timer1Start"] = "24:00"; }),
       "$.fields.timer1Start: expected a valid time"},
      {exportWith([](Json& d) { d["fields"]["timeLapse"] = "1:2:3"; }), "$.fields.timeLapse"},
      {exportWith([](Json& d) { d["fields"]["serialNo"] = "12a4"; }), "$.fields.serialNo"},
      {exportWith([](Json& d) { d["fields"]["serialNo"] = Json::array({1, 2, 3}); }),
       "$.fields.serialNo"},
      {exportWith([](Json& d) { d["fields"]["serialNo"] = Json::array({1, 2, 3, 256}); }),
       "$.fields.serialNo: [3]"},
      {exportWith([](Json& d) { d["fields"]["orgName"] = "ABCDEFGHI"; }),
       "$.fields.orgName: longer than the field's 8 bytes"},
      {exportWith([](Json& d) { d["fields"]["orgName"] = "\xC4\x80"; }),
       "$.fields.orgName: the character U+0100"},
      {exportWith([](Json& d) { d["fields"]["orgName"] = 5; }), "$.fields.orgName: expected"},
      {exportWith([](Json& d) { d["unnamed"]["0x000-0x003"] = "000000"; }),
       "$.unnamed['0x000-0x003']: expected 8 hexadecimal digits"},
      {exportWith([](Json& d) { d["unnamed"]["0x000-0x003"] = "0000000g"; }),
       "$.unnamed['0x000-0x003']"},
      {exportWith([](Json& d) { d["unnamed"]["0x001"] = "00"; }),
       "$.unnamed['0x001']: not a range of unnamed bytes"},
      {exportWith([](Json& d) { d["unnamed"].erase("0x6ff"); }), "$.unnamed['0x6ff']: missing"},
  };
  for (const BadInput& c : cases) {
    const RecordImport result = importRecordJson(c.text);
    ASSERT_FALSE(result.record) << c.error;
    EXPECT_EQ(result.error.rfind(c.error, 0), 0u) << "expected \"" << c.error << "\", got \""
                                                  << result.error << "\"";
  }
}

TEST(RecordJson, ImportAcceptsNumbersForTimesAndAnyCaseOfHex) {
  const std::string text = exportWith([](Json& d) {
    d["fields"]["timeLapse"] = 0x010203;
    d["fields"]["timer1Start"] = "07:05";
    d["unnamed"]["0x000-0x003"] = "aBcD00fF";
  });
  const RecordImport result = importRecordJson(text);
  ASSERT_TRUE(result.record) << result.error;
  EXPECT_EQ(result.record->getUInt32(fields::timeLapse), 0x010203u);
  EXPECT_EQ(result.record->getUInt32(fields::timer1Start), 0x0705u);
  EXPECT_EQ(result.record->readUInt32(0), 0xFF00CDABu);
}

}  // namespace
}  // namespace tarnwick::cli
