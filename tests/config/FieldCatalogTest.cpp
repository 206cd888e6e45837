#include "config/FieldCatalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "config/ConfigFile.h"
#include "config/ConfigRecord.h"
#include "config/Defaults.h"

namespace tarnwick {
namespace {

using E = Encoding;
using D = DefaultKind;

struct Row {
  const char* name;
  std::uint32_t offset;
  std::uint32_t size;
  Encoding encoding;
  DefaultKind kind;
  std::int32_t value;
};

// The record layout, written out independently of the catalogue so that a typo in either shows.
const Row kLayout[] = {
    {"imageSize", 0x004, 4, E::Index, D::Value, 1},
    {"dateStamp", 0x044, 4, E::Index, D::Value, 2},
    {"shotNumber", 0x05c, 4, E::Index, D::Value, 0},
    {"videoSize", 0x064, 4, E::Index, D::Value, 0},
    {"recordAudio", 0x08c, 4, E::Index, D::Value, 1},
    {"reservedC0", 0x0c0, 4, E::Int32, D::Value, 3},
    {"language", 0x0cc, 4, E::Index, D::Value, 0},
    {"timeZone", 0x104, 4, E::Index, D::Value, 19},
    {"workMode", 0x108, 4, E::Index, D::Value, 0},
    {"pirSensitivity", 0x10c, 4, E::Index, D::Value, 1},
    {"timer1Off", 0x110, 4, E::OffFlag, D::Value, 1},
    {"timer2Off", 0x114, 4, E::OffFlag, D::Value, 1},
    {"timer3Off", 0x118, 4, E::OffFlag, D::Value, 1},
    {"passwordOff", 0x11c, 4, E::OffFlag, D::Value, 1},
    {"serialNoOff", 0x120, 4, E::OffFlag, D::Value, 1},
    {"timeLapseOff", 0x124, 4, E::OffFlag, D::Value, 1},
    {"smsCtrlOff", 0x128, 4, E::OffFlag, D::Value, 1},
    {"orgNameOff", 0x12c, 4, E::OffFlag, D::Value, 1},
    {"sdCycle", 0x130, 4, E::Index, D::Value, 1},
    {"reserved134", 0x134, 4, E::Int32, D::Value, 0},
    {"mmsOption", 0x138, 4, E::Index, D::Value, 2},
    {"reserved13C", 0x13c, 4, E::Int32, D::Value, 0},
    {"dataOption", 0x140, 4, E::Index, D::Value, 2},
    {"shotNumberB", 0x200, 4, E::Index, D::Value, 0},
    {"gpsSwitch", 0x348, 4, E::Index, D::Value, 1},
    {"reserved34C", 0x34c, 4, E::Int32, D::Value, 0},
    {"ftpDirectory", 0x420, 32, E::Text, D::Zeros, 0},
    {"interval", 0x444, 4, E::IntervalCode, D::Value, 10},
    {"videoLength", 0x448, 4, E::Seconds, D::Value, 30},
    {"smsInterval", 0x44c, 4, E::ClockHM, D::NotSet, 0},
    {"timeLapse", 0x450, 4, E::ClockHMS, D::Value, 0},
    {"timer1Start", 0x454, 4, E::ClockHM, D::Value, 0},
    {"timer2Start", 0x458, 4, E::ClockHM, D::Value, 0},
    {"timer3Start", 0x45c, 4, E::ClockHM, D::Value, 0},
    {"timer1Stop", 0x460, 4, E::ClockHM, D::Value, 0},
    {"timer2Stop", 0x464, 4, E::ClockHM, D::Value, 0},
    {"timer3Stop", 0x468, 4, E::ClockHM, D::Value, 0},
    {"serialNo", 0x46c, 4, E::Digits4, D::Value, 0},
    {"password", 0x470, 4, E::Digits4, D::Value, 0},
    {"orgName", 0x474, 8, E::Text, D::Spaces, 0},
    {"mmsApn", 0x47c, 32, E::Text, D::Spaces, 0},
    {"mmsAccount", 0x49c, 32, E::Text, D::Spaces, 0},
    {"mmsPassword", 0x4bc, 32, E::Text, D::Spaces, 0},
    {"mmscUrl", 0x4dc, 50, E::Text, D::Spaces, 0},
    {"mmsProxy", 0x50e, 15, E::Text, D::Spaces, 0},
    {"mmsPort", 0x51d, 5, E::Text, D::Spaces, 0},
    {"phone1", 0x522, 16, E::Text, D::Spaces, 0},
    {"phone2", 0x532, 16, E::Text, D::Spaces, 0},
    {"phone3", 0x542, 16, E::Text, D::Spaces, 0},
    {"dataApn", 0x552, 32, E::Text, D::NotSet, 0},
    {"dataAccount", 0x572, 32, E::Text, D::NotSet, 0},
    {"dataPassword", 0x592, 32, E::Text, D::NotSet, 0},
    {"mailbox1", 0x5b2, 32, E::Text, D::Spaces, 0},
    {"mailbox2", 0x5d2, 32, E::Text, D::Spaces, 0},
    {"mailbox3", 0x5f2, 32, E::Text, D::Spaces, 0},
    {"smtpPreset", 0x612, 1, E::ByteIndex, D::Value, 0},
    {"smtpEncrypt", 0x613, 1, E::ByteIndex, D::Value, 0},
    {"smtpServer", 0x614, 32, E::Text, D::Spaces, 0},
    {"smtpPort", 0x634, 5, E::Text, D::Spaces, 0},
    {"smtpEmail", 0x639, 32, E::Text, D::Spaces, 0},
    {"smtpPassword", 0x659, 32, E::Text, D::Spaces, 0},
    {"networkMode", 0x679, 1, E::ByteIndex, D::NotSet, 0},
    {"countryIndex", 0x67a, 1, E::ByteIndex, D::NotSet, 0},
    {"operatorIndex", 0x67b, 1, E::ByteIndex, D::NotSet, 0},
    {"reserved67C", 0x67c, 1, E::UInt8, D::Value, 0},
    {"ftpAccount", 0x688, 32, E::Text, D::Spaces, 0},
    {"ftpPassword", 0x6a8, 32, E::Text, D::Spaces, 0},
    {"ftpServer", 0x6c8, 50, E::Text, D::Spaces, 0},
    {"ftpPort", 0x6fa, 5, E::Text, D::Spaces, 0},
};

TEST(FieldCatalogTest, MatchesTheRecordLayout) {
  const auto catalog = fieldCatalog();
  ASSERT_EQ(catalog.size(), std::size(kLayout));
  for (std::size_t i = 0; i < catalog.size(); ++i) {
    const Row& row = kLayout[i];
    const FieldInfo& f = *catalog[i];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(f.name, row.name);
    EXPECT_EQ(f.offset, row.offset);
    EXPECT_EQ(f.size, row.size);
    EXPECT_EQ(f.encoding, row.encoding);
    EXPECT_EQ(f.defaultKind, row.kind);
    if (row.kind == D::Value) {
      EXPECT_EQ(f.defaultValue, row.value);
    }
    EXPECT_FALSE(f.meaning.empty());
    EXPECT_EQ(findField(row.name), &f);
  }
  EXPECT_EQ(findField("nonsense"), nullptr);
  EXPECT_EQ(findField("ImageSize"), nullptr);
}

TEST(FieldCatalogTest, NamedAndUnnamedBytesTileTheRecordExactly) {
  const std::vector<ByteRange> expected{
      {0x000, 0x003}, {0x008, 0x043}, {0x048, 0x05b}, {0x060, 0x063}, {0x068, 0x08b},
      {0x090, 0x0bf}, {0x0c4, 0x0cb}, {0x0d0, 0x103}, {0x144, 0x1ff}, {0x204, 0x347},
      {0x350, 0x41f}, {0x440, 0x443}, {0x67d, 0x687}, {0x6ff, 0x6ff}};
  const auto unnamed = unnamedRanges();
  EXPECT_EQ(std::vector<ByteRange>(unnamed.begin(), unnamed.end()), expected);

  std::vector<int> owners(kRecordSize, 0);  // every byte must belong to exactly one range
  for (const FieldInfo* f : fieldCatalog()) {
    for (auto b = f->offset; b < f->offset + f->size; ++b) ++owners.at(b);
  }
  for (const ByteRange& r : unnamed) {
    for (auto b = r.first; b <= r.last; ++b) ++owners.at(b);
  }
  for (std::size_t b = 0; b < kRecordSize; ++b) EXPECT_EQ(owners[b], 1) << "byte " << b;
}

TEST(FieldCatalogTest, ListTextsAreTheCameraMenus) {
  using V = std::vector<std::string_view>;
  auto items = [](const FieldInfo& f) { return V(f.items.begin(), f.items.end()); };
  EXPECT_EQ(items(fields::imageSize),
            (V{"12M 4032x3024", "5M  2592x1944", "1.3M 1280x960", "VGA 640x480"}));
  EXPECT_EQ(items(fields::videoSize), (V{"FHD 1920x1080", "HD  1280x720", "VGA 640x480"}));
  EXPECT_EQ(items(fields::shotNumberB), items(fields::shotNumber));
  EXPECT_EQ(items(fields::recordAudio), (V{"Off", "On"}));
  EXPECT_EQ(items(fields::sdCycle), (V{"On", "Off"}));  // reversed on purpose
  EXPECT_EQ(items(fields::gpsSwitch), (V{"On", "Off"}));
  EXPECT_EQ(fields::language.items.size(), 13u);
  EXPECT_EQ(fields::language.items[3], "Portugues");
  EXPECT_EQ(fields::language.items[8], "Japenese");
  ASSERT_EQ(fields::timeZone.items.size(), 24u);
  EXPECT_EQ(fields::timeZone.items[0], "UTC-11");
  EXPECT_EQ(fields::timeZone.items[11], "UTC 0");
  EXPECT_EQ(fields::timeZone.items[19], "UTC+8");
  EXPECT_EQ(fields::timeZone.items[23], "UTC+12");
  EXPECT_EQ(items(fields::smtpEncrypt), (V{"No SSL", "SSL", "StartTLS"}));
  EXPECT_EQ(items(fields::networkMode), (V{"Auto", "Manual"}));
  EXPECT_EQ(V(intervalUnitItems().begin(), intervalUnitItems().end()), (V{"sec", "min"}));
  EXPECT_TRUE(fields::smtpPreset.items.empty());
}

// Defaults write exactly their own bytes: start from a record full of 0xAA and check every one
// of the 1792 bytes against the layout table.
TEST(DefaultsTest, WriteTheDefaultColumnAndNothingElse) {
  ConfigRecord r;
  std::fill(r.bytes().begin(), r.bytes().end(), std::uint8_t{0xAA});
  applyDefaults(r);

  std::vector<std::uint8_t> expected(kRecordSize, 0xAA);
  for (const Row& row : kLayout) {
    for (std::uint32_t i = 0; i < row.size; ++i) {
      auto& b = expected[row.offset + i];
      switch (row.kind) {
        case D::NotSet: break;
        case D::Spaces: b = 0x20; break;
        case D::Zeros: b = 0x00; break;
        case D::Value:
          b = static_cast<std::uint8_t>(static_cast<std::uint32_t>(row.value) >> (8 * i));
      }
    }
  }
  for (std::size_t i = 0; i < kRecordSize; ++i) {
    EXPECT_EQ(r.bytes()[i], expected[i]) << "byte " << i;
  }
}

TEST(DefaultsTest, FreshRecordEncodesToTheKnownFileBytes) {
  applyDefaults();  // the program's own record, as at start-up
  const auto image = encodeConfigImage(programRecord());
  auto at = [&](std::size_t offset, std::size_t n) {
    return std::vector<std::uint8_t>(image.begin() + static_cast<std::ptrdiff_t>(offset),
                                     image.begin() + static_cast<std::ptrdiff_t>(offset + n));
  };
  using B = std::vector<std::uint8_t>;
  EXPECT_EQ(at(0x000, 8), (B{0, 0, 0, 0, 0xFF, 0, 0, 0}));
  EXPECT_EQ(at(0x044, 4), (B{0xFE, 0, 0, 0}));
  EXPECT_EQ(at(0x0c0, 4), (B{0xFD, 0, 0, 0}));
  EXPECT_EQ(at(0x104, 4), (B{0xED, 0, 0, 0}));
  EXPECT_EQ(at(0x108, 8), (B{0, 0, 0, 0, 0xFF, 0, 0, 0}));
  for (std::size_t off = 0x110; off < 0x130; off += 4) EXPECT_EQ(at(off, 4), (B{0xFF, 0, 0, 0}));
  EXPECT_EQ(at(0x444, 8), (B{0xF6, 0, 0, 0, 0xE2, 0, 0, 0}));
  EXPECT_EQ(at(0x44c, 4), (B{0, 0, 0, 0}));
  EXPECT_EQ(at(0x474, 8), B(8, 0xE0));
  EXPECT_EQ(at(0x420, 32), B(32, 0));      // ftpDirectory
  EXPECT_EQ(at(0x552, 0x60), B(0x60, 0));  // data access point texts, not set
  EXPECT_EQ(at(0x679, 3), B(3, 0));        // network selection bytes, not set
  for (const ByteRange& u : unnamedRanges()) {
    EXPECT_EQ(at(u.first, u.last - u.first + 1), B(u.last - u.first + 1, 0));
  }
}

}  // namespace
}  // namespace tarnwick
