#include "network/OperatorDb.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "OperatorDbTestSupport.h"

namespace tarnwick {
namespace {

using testing::DbBytes;
using testing::negated;
using testing::ScratchDir;
using testing::textOf;
using testing::writeFile;

// The one-country example file, as stored on disk: "Chile" listing "Entel".
const std::vector<std::uint8_t> kChileOnDisk{0x01, 0xFF, 0x01, 0x34, 0xFF, 0xFB, 0xBD, 0x98, 0x97,
                                             0x94, 0x9B, 0x01, 0x05, 0x01, 0x04, 0xFB, 0xBB, 0x92,
                                             0x8C, 0x9B, 0x94, 0x01, 0x05, 0x01, 0x02};
const std::vector<std::uint8_t> kChileDecoded{
    0xFF, 0x01, 0xFF, 0xCC, 0x01, 0x05, 'C', 'h', 'i', 'l', 'e', 0xFF, 0xFB,
    0xFF, 0xFC, 0x05, 'E', 'n', 't', 'e', 'l', 0xFF, 0xFB, 0xFF, 0xFE};

OperatorTable parsed(const std::vector<std::uint8_t>& decoded) {
  OperatorTable table;
  EXPECT_TRUE(parseOperatorDb(table, decoded));
  return table;
}

TEST(OperatorDbLoad, ChileExampleFromDisk) {
  ASSERT_EQ(negated(kChileOnDisk), kChileDecoded);
  ScratchDir dir;
  writeFile(dir.file("oper.db"), kChileOnDisk);
  OperatorTable table;
  EXPECT_EQ(errorKind(loadOperatorDb(table, dir.file("oper.db"))), std::nullopt);
  EXPECT_TRUE(table.loaded());
  ASSERT_EQ(table.countryCount(), 1u);
  EXPECT_EQ(textOf(table.country(0)->name), "Chile");
  ASSERT_EQ(table.country(0)->operatorCount, 1u);
  EXPECT_EQ(textOf(table.operatorAt(0, 0)->name), "Entel");
  for (std::size_t f = 1; f < OperatorEntry::kFieldCount; ++f) {
    EXPECT_TRUE(fieldText(table.operatorAt(0, 0)->field(f)).empty());
  }
  releaseOperatorTable(table);
  EXPECT_FALSE(table.loaded());
}

TEST(OperatorDbLoad, DefaultPathIsOperDbInTheWorkingDirectory) {
  ScratchDir dir;
  writeFile(dir.file("oper.db"), kChileOnDisk);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  OperatorTable table;
  const std::optional<FileErrorKind> result = errorKind(loadOperatorDb(table));
  std::filesystem::current_path(previous);
  EXPECT_EQ(result, std::nullopt);
  EXPECT_EQ(table.countryCount(), 1u);
}

TEST(OperatorDbLoad, UnusableFilesKeepTheBuiltInTable) {
  ScratchDir dir;
  struct Case {
    const char* what;
    std::vector<std::uint8_t> onDisk;
    FileErrorKind expected;
  };
  const std::vector<Case> cases{
      {"empty", {}, FileErrorKind::TooShort},
      {"one byte", {0x01}, FileErrorKind::TooShort},
      {"header only", {0x01, 0xFF}, FileErrorKind::TooShort},
      {"first byte not the mark", {0x02, 0xFF, 0x01, 0x34}, FileErrorKind::NotUsable},
      {"no countries", {0x01, 0x00, 0x01, 0x05}, FileErrorKind::NotUsable},
  };
  for (const Case& c : cases) {
    writeFile(dir.file("oper.db"), c.onDisk);
    OperatorTable table;
    EXPECT_EQ(errorKind(loadOperatorDb(table, dir.file("oper.db"))), c.expected) << c.what;
    EXPECT_EQ(table.state(), OperatorTable::State::BuiltIn) << c.what;
    EXPECT_EQ(table.countryCount(), 55u) << c.what;
  }
  OperatorTable table;
  EXPECT_EQ(errorKind(loadOperatorDb(table, dir.file("missing.db"))), FileErrorKind::CannotOpen);
  EXPECT_EQ(errorKind(loadOperatorDb(table, dir.path())), FileErrorKind::CannotOpen);  // a folder
  EXPECT_EQ(table.countryCount(), 55u);
}

TEST(OperatorDbLoad, AFileAboveTheLimitIsNotReadAtAll) {
  ScratchDir dir;
  // A sparse file: large on paper, nothing allocated. A valid start must not matter.
  writeFile(dir.file("oper.db"), kChileOnDisk);
  std::filesystem::resize_file(dir.file("oper.db"), kMaxOperatorDbSize + 1);
  OperatorTable table;
  EXPECT_EQ(errorKind(loadOperatorDb(table, dir.file("oper.db"))), FileErrorKind::TooLarge);
  EXPECT_EQ(table.state(), OperatorTable::State::BuiltIn);

  std::filesystem::resize_file(dir.file("oper.db"), kMaxOperatorDbSize);  // at the limit
  EXPECT_EQ(errorKind(loadOperatorDb(table, dir.file("oper.db"))), std::nullopt);
  EXPECT_EQ(textOf(table.country(0)->name), "Chile");
}

TEST(OperatorDbParse, MissingExtraOperatorItemListsNoOperators) {
  // Without the operator item before the end item the count is the last row opened: 0.
  const auto table = parsed(
      DbBytes(1).country(1, "Chile").op().field("Entel").end().bytes());
  EXPECT_EQ(table.country(0)->operatorCount, 0u);
  EXPECT_EQ(table.operatorAt(0, 0), nullptr);
  EXPECT_EQ(textOf(table.country(0)->operators[0].name), "Entel");  // stored, not listed
}

TEST(OperatorDbParse, CountriesNoItemNamesStayEmpty) {
  const auto table = parsed(
      DbBytes(3).country(2, "Mid").op().field("Op").op().end().bytes());
  ASSERT_EQ(table.countryCount(), 3u);
  EXPECT_EQ(textOf(table.country(0)->name), "");
  EXPECT_EQ(table.country(0)->operatorCount, 0u);
  EXPECT_EQ(textOf(table.country(1)->name), "Mid");
  EXPECT_EQ(table.country(1)->operatorCount, 1u);
  EXPECT_EQ(textOf(table.country(2)->name), "");
  EXPECT_EQ(table.country(2)->operatorCount, 0u);
}

TEST(OperatorDbParse, FieldsBeyondTheTenthAreSkippedAndTheScanGoesOn) {
  DbBytes db(1);
  db.country(1, "C").op();
  for (int f = 0; f < 12; ++f) db.field("f" + std::to_string(f));
  // The skipped items' texts must be stepped over, not scanned: this one looks like an end.
  db.field("\xFF\xFE");
  db.op().field("next").op().end();
  const auto table = parsed(db.bytes());
  const CountryEntry& c = *table.country(0);
  EXPECT_EQ(c.operatorCount, 2u);
  for (std::size_t f = 0; f < 10; ++f) {
    EXPECT_EQ(textOf(c.operators[0].field(f)), "f" + std::to_string(f));
  }
  EXPECT_EQ(textOf(c.operators[1].name), "next");
}

TEST(OperatorDbParse, SecondShorterNameOverwritesOnlyItsOwnLength) {
  const auto table = parsed(DbBytes(1).country(1, "Germany").country(1, "Ita").bytes());
  EXPECT_EQ(textOf(table.country(0)->name), "Itamany");
}

TEST(OperatorDbParse, SecondShorterFieldOverwritesOnlyItsOwnLength) {
  // Two rows written through the same row number: the second field text is shorter.
  const auto table = parsed(DbBytes(1)
                                .country(1, "C").op().field("internet")
                                .country(1, "C").op().field("web")
                                .op().end().bytes());
  EXPECT_EQ(textOf(table.country(0)->operators[0].name), "webernet");
}

TEST(OperatorDbParse, ItemsBeforeAnyCountryFillTheFirstCountry) {
  const auto table = parsed(DbBytes(2).op().field("Early").op().end().bytes());
  EXPECT_EQ(textOf(table.country(0)->name), "");
  ASSERT_EQ(table.country(0)->operatorCount, 1u);
  EXPECT_EQ(textOf(table.operatorAt(0, 0)->name), "Early");
  EXPECT_EQ(table.country(1)->operatorCount, 0u);
}

TEST(OperatorDbParse, CountryNamesAreScannedForItems) {
  // The scan resumes at the name's length byte, so items hidden in a name count: two
  // operator items and an end item inside the name list one operator.
  const auto table = parsed(DbBytes(1)
                                .country(1, "A\xFF\xFB\xFF\xFB\xFF\xFE").bytes());
  EXPECT_EQ(table.country(0)->operatorCount, 1u);
  EXPECT_EQ(table.country(0)->name[0], 'A');
  EXPECT_EQ(table.country(0)->name[1], 0xFF);
}

TEST(OperatorDbParse, UnknownTagsAndStrayBytesAreSkipped) {
  const auto table = parsed(DbBytes(1)
                                .raw({0x00, 0x42, 0xFF, 0x00, 0xFF, 0xFF})
                                .country(1, "C").raw({0xFF, 0x12}).op().field("Op").op()
                                .raw({0x7F}).end().raw({0xFF})
                                .bytes());
  EXPECT_EQ(textOf(table.country(0)->name), "C");
  ASSERT_EQ(table.country(0)->operatorCount, 1u);
  EXPECT_EQ(textOf(table.operatorAt(0, 0)->name), "Op");
}

TEST(OperatorDbParse, AValidHeaderReplacesTheTableEvenWithoutItems) {
  OperatorTable table;
  EXPECT_TRUE(parseOperatorDb(table, std::vector<std::uint8_t>{0xFF, 0x07}));
  EXPECT_TRUE(table.loaded());
  EXPECT_EQ(table.countryCount(), 7u);
  EXPECT_FALSE(parseOperatorDb(table, std::vector<std::uint8_t>{0xFF}));
  EXPECT_FALSE(parseOperatorDb(table, std::vector<std::uint8_t>{0xFE, 0x07}));
  EXPECT_FALSE(parseOperatorDb(table, std::vector<std::uint8_t>{0xFF, 0x00}));
  EXPECT_EQ(table.countryCount(), 7u);  // the failed parses changed nothing
}

// Files outside the format's limits: the reader stays within data and table and keeps what is
// usable.

TEST(OperatorDbLimits, CountryNumberOutsideOneToNIsSkippedWithItsItems) {
  for (const std::uint8_t k : {std::uint8_t{0}, std::uint8_t{3}, std::uint8_t{255}}) {
    const auto table = parsed(DbBytes(2)
                                  .country(1, "Good").op().field("Kept").op().end()
                                  .country(k, "Bad").op().field("Lost").op().end()
                                  .country(2, "Next").op().field("Also").op().end()
                                  .bytes());
    EXPECT_EQ(textOf(table.country(0)->name), "Good") << int{k};
    ASSERT_EQ(table.country(0)->operatorCount, 1u) << int{k};
    EXPECT_EQ(textOf(table.operatorAt(0, 0)->name), "Kept") << int{k};
    EXPECT_EQ(textOf(table.country(1)->name), "Next") << int{k};
    EXPECT_EQ(textOf(table.operatorAt(1, 0)->name), "Also") << int{k};
  }
}

TEST(OperatorDbLimits, OverlongTextsKeepTheirTerminator) {
  const std::string name(200, 'N');
  const std::string field(100, 'F');
  const auto table = parsed(DbBytes(1)
                                .country(1, name).op()
                                .field("op").field(field)
                                .field("").field("").field("").field("").field("").field("")
                                .field("").field("1234567")
                                .op().end().bytes());
  const CountryEntry& c = *table.country(0);
  EXPECT_EQ(textOf(c.name), std::string(63, 'N'));
  EXPECT_EQ(c.name.back(), 0);
  ASSERT_EQ(c.operatorCount, 1u);
  EXPECT_EQ(textOf(c.operators[0].mmsApn), std::string(63, 'F'));
  EXPECT_EQ(textOf(c.operators[0].mmsPort), "12345");
  EXPECT_EQ(c.operators[0].mmsPort.back(), 0);
}

TEST(OperatorDbLimits, RowsBeyondTheThirtySecondAreNotStored) {
  DbBytes db(1);
  db.country(1, "Big");
  for (int r = 0; r < 40; ++r) db.op().field("row" + std::to_string(r));
  db.end();  // 40 operator items: a count of 39 would list rows that do not exist
  const auto table = parsed(db.bytes());
  const CountryEntry& c = *table.country(0);
  EXPECT_EQ(c.operatorCount, 0u);  // the end item was skipped
  EXPECT_EQ(c.operators.size(), 32u);
  EXPECT_EQ(textOf(c.operators[31].name), "row31");

  DbBytes full(1);
  full.country(1, "Full");
  for (int r = 0; r < 32; ++r) full.op().field("row" + std::to_string(r));
  full.op().field("33rd row, not stored").end();  // 33 operator items: the largest count
  const auto fullTable = parsed(full.bytes());
  EXPECT_EQ(fullTable.country(0)->operatorCount, 32u);
  EXPECT_EQ(textOf(fullTable.operatorAt(0, 31)->name), "row31");
}

TEST(OperatorDbLimits, ItemsWithNoOpenRowAreSkipped) {
  // A field and an end item right after the country item: no row is open (count -1).
  const auto table = parsed(DbBytes(2)
                                .country(1, "A").op().op().end()
                                .country(1, "A").field("orphan").end()
                                .bytes());
  EXPECT_EQ(table.country(0)->operatorCount, 1u);  // the earlier count stays
  EXPECT_EQ(textOf(table.country(0)->operators[0].name), "");
}

TEST(OperatorDbLimits, ItemsCutOffByTheEndStopTheScan) {
  // Every prefix of a good file: the scan keeps what it read and never reads past the data.
  const auto full = DbBytes(2)
                        .country(1, "First").op().field("One").field("apn").op().end()
                        .country(2, "Second").op().field("Two").op().end()
                        .bytes();
  for (std::size_t n = 2; n <= full.size(); ++n) {
    const std::vector<std::uint8_t> prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
    const auto table = parsed(prefix);
    ASSERT_EQ(table.countryCount(), 2u);
    for (const CountryEntry& c : table.countries()) {
      EXPECT_LE(c.operatorCount, 32u);
      EXPECT_EQ(c.name.back(), 0);
    }
  }
  // A field item whose text runs past the end stores nothing of it.
  const auto cut = parsed(DbBytes(1).country(1, "C").op().raw({0xFF, 0xFC, 0x09}).text("abc")
                              .bytes());
  EXPECT_TRUE(cut.country(0)->operators.empty());
  const auto table = parsed(full);
  EXPECT_EQ(textOf(table.operatorAt(1, 0)->name), "Two");
}

}  // namespace
}  // namespace tarnwick
