#include "network/OperatorDbWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OperatorDbTestSupport.h"
#include "network/OperatorDb.h"

namespace tarnwick {
namespace {

using testing::DbBytes;
using testing::negated;
using testing::ScratchDir;
using testing::textOf;

OperatorTable roundTrip(const OperatorTable& source) {
  const OperatorDbBuild build = buildOperatorDb(source);
  EXPECT_TRUE(build.ok()) << build.error;
  OperatorTable back;
  EXPECT_TRUE(parseOperatorDb(back, negated(build.fileBytes)));
  return back;
}

void expectSameListing(const OperatorTable& a, const OperatorTable& b) {
  ASSERT_EQ(a.countryCount(), b.countryCount());
  for (std::size_t i = 0; i < a.countryCount(); ++i) {
    const CountryEntry& ca = a.countries()[i];
    const CountryEntry& cb = b.countries()[i];
    EXPECT_EQ(ca.name, cb.name) << i;
    ASSERT_EQ(ca.operatorCount, cb.operatorCount) << textOf(ca.name);
    for (std::size_t r = 0; r < ca.operatorCount; ++r) {
      EXPECT_EQ(ca.operators[r], cb.operators[r]) << textOf(ca.name) << " row " << r;
    }
  }
}

TEST(OperatorDbWriter, WholeBuiltInTableRoundTrips) {
  const OperatorTable builtIn;
  const OperatorTable back = roundTrip(builtIn);
  EXPECT_TRUE(back.loaded());
  expectSameListing(builtIn, back);
  // And the loaded table writes the very same file again.
  EXPECT_EQ(buildOperatorDb(back).fileBytes, buildOperatorDb(builtIn).fileBytes);
}

TEST(OperatorDbWriter, WritesTheChileExampleByteForByte) {
  OperatorTable chile;
  ASSERT_TRUE(parseOperatorDb(
      chile, DbBytes(1).country(1, "Chile").op().field("Entel").op().end().bytes()));
  const std::vector<std::uint8_t> expected{
      0x01, 0xFF, 0x01, 0x34, 0xFF, 0xFB, 0xBD, 0x98, 0x97, 0x94, 0x9B, 0x01, 0x05,
      0x01, 0x04, 0xFB, 0xBB, 0x92, 0x8C, 0x9B, 0x94, 0x01, 0x05, 0x01, 0x02};
  EXPECT_EQ(buildOperatorDb(chile).fileBytes, expected);
}

TEST(OperatorDbWriter, CarriesEmptyCountriesFullCountriesAndInnerEmptyFields) {
  DbBytes db(3);
  db.country(1, "Empty").op().end();
  db.country(3, "Full");
  for (int r = 0; r < 32; ++r) {
    db.op().field("op" + std::to_string(r)).field("").field("").field("").field("apn")
        .field("").field("").field("").field("").field("8080");
  }
  db.op().end();
  OperatorTable source;
  ASSERT_TRUE(parseOperatorDb(source, db.bytes()));
  const OperatorTable back = roundTrip(source);
  expectSameListing(source, back);
  EXPECT_EQ(back.country(2)->operatorCount, 32u);
  EXPECT_EQ(textOf(back.operatorAt(2, 31)->mmsPort), "8080");
  EXPECT_EQ(textOf(back.country(1)->name), "");
}

TEST(OperatorDbWriter, SavedFileLoadsBack) {
  ScratchDir dir;
  const OperatorTable builtIn;
  ASSERT_EQ(saveOperatorDb(builtIn, dir.file("oper.db")), std::nullopt);
  OperatorTable loaded;
  EXPECT_EQ(errorKind(loadOperatorDb(loaded, dir.file("oper.db"))), std::nullopt);
  expectSameListing(builtIn, loaded);
  EXPECT_NE(saveOperatorDb(builtIn, dir.file("no/such/folder/oper.db")), std::nullopt);
}

TEST(OperatorDbWriter, RefusesTablesTheFormatCannotCarry) {
  struct Case {
    const char* what;
    std::vector<CountryEntry> rows;
  };
  CountryEntry tooMany;
  tooMany.operators.resize(40);
  tooMany.operatorCount = 33;
  CountryEntry countBeyondRows;
  countBeyondRows.operators.resize(2);
  countBeyondRows.operatorCount = 3;
  CountryEntry unterminatedName;
  unterminatedName.name.fill('x');
  CountryEntry unterminatedPort;
  unterminatedPort.operators.resize(1);
  unterminatedPort.operatorCount = 1;
  unterminatedPort.operators[0].mmsPort.fill('9');
  CountryEntry itemInName;
  const std::string looksLikeItem = "Bad\xFF\xFE";
  std::copy(looksLikeItem.begin(), looksLikeItem.end(), itemInName.name.begin());

  const std::vector<Case> cases{
      {"no countries", {}},
      {"256 countries", std::vector<CountryEntry>(256)},
      {"33 operators", {tooMany}},
      {"count beyond rows", {countBeyondRows}},
      {"name without zero", {unterminatedName}},
      {"port without zero", {unterminatedPort}},
      {"item bytes in a name", {CountryEntry{}, itemInName}},
  };
  for (const Case& c : cases) {
    OperatorTable table;
    table.adopt(c.rows);
    const OperatorDbBuild build = buildOperatorDb(table);
    EXPECT_FALSE(build.ok()) << c.what;
    EXPECT_TRUE(build.fileBytes.empty()) << c.what;
  }

  OperatorTable released;
  released.adopt(std::vector<CountryEntry>(1));
  releaseOperatorTable(released);
  EXPECT_FALSE(buildOperatorDb(released).ok());
}

TEST(OperatorDbWriter, NameEndingInTheMarkIsStillWritten) {
  // 0xFF as the last name byte meets the next item's mark, not a tag: the reader is not fooled.
  CountryEntry c;
  c.name[0] = 'y';
  c.name[1] = 0xFF;
  OperatorTable table;
  table.adopt({c});
  const OperatorTable back = roundTrip(table);
  EXPECT_EQ(back.country(0)->name, c.name);
  EXPECT_EQ(back.country(0)->operatorCount, 0u);
}

}  // namespace
}  // namespace tarnwick
