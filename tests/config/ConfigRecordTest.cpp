#include "config/ConfigRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "config/FieldCatalog.h"
#include "config/TextConversions.h"

namespace tarnwick {
namespace {

std::vector<std::uint8_t> bytesAt(const ConfigRecord& r, std::size_t offset, std::size_t n) {
  const auto all = r.bytes();
  return {all.begin() + static_cast<std::ptrdiff_t>(offset),
          all.begin() + static_cast<std::ptrdiff_t>(offset + n)};
}

using Bytes = std::vector<std::uint8_t>;

TEST(ConfigRecordTest, StartsAllZero) {
  const ConfigRecord r;
  EXPECT_TRUE(std::all_of(r.bytes().begin(), r.bytes().end(), [](auto b) { return b == 0; }));
  EXPECT_EQ(&programRecord(), &programRecord());
}

TEST(ConfigRecordTest, IntegersAreLittleEndianAtAnyOffset) {
  ConfigRecord r;
  r.writeUInt32(0x51d, 0x11223344u);  // odd offset
  EXPECT_EQ(bytesAt(r, 0x51d, 4), (Bytes{0x44, 0x33, 0x22, 0x11}));
  EXPECT_EQ(r.readUInt32(0x51d), 0x11223344u);
  EXPECT_EQ(bytesAt(r, 0x51c, 1), Bytes{0});  // neighbours untouched
  EXPECT_EQ(bytesAt(r, 0x521, 1), Bytes{0});

  r.writeInt32(0x679, -1);  // "no selection" as it appears in the record
  EXPECT_EQ(bytesAt(r, 0x679, 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(r.readInt32(0x679), -1);
  r.writeInt32(0x6fc, INT32_MIN);  // the last four bytes of the record
  EXPECT_EQ(r.readInt32(0x6fc), INT32_MIN);
  r.writeUInt8(0x6ff, 0xAB);
  EXPECT_EQ(r.readUInt8(0x6ff), 0xAB);
}

TEST(ConfigRecordTest, FieldHelpersCoverExactlyTheFieldBytes) {
  ConfigRecord r;
  EXPECT_EQ(r.field(fields::mmsPort).size(), 5u);
  EXPECT_EQ(r.field(fields::mmsPort).data(), r.bytes().data() + 0x51d);

  r.setInt32(fields::timeZone, 19);
  EXPECT_EQ(bytesAt(r, 0x104, 4), (Bytes{19, 0, 0, 0}));
  r.setUInt8(fields::smtpEncrypt, 2);
  EXPECT_EQ(bytesAt(r, 0x612, 3), (Bytes{0, 2, 0}));
  EXPECT_EQ(r.getUInt8(fields::smtpEncrypt), 2);
  EXPECT_EQ(r.getInt32(fields::timeZone), 19);
}

// The clock and digit layouts as the camera reads them.
TEST(ConfigRecordTest, ClockAndDigitFieldLayouts) {
  ConfigRecord r;
  r.setUInt32(fields::timeLapse, packHourMinuteSecond(1, 2, 3));
  EXPECT_EQ(bytesAt(r, 0x450, 4), (Bytes{0x03, 0x02, 0x01, 0x00}));
  r.setUInt32(fields::smsInterval, packHourMinute(1, 30));
  EXPECT_EQ(bytesAt(r, 0x44c, 4), (Bytes{0x1E, 0x01, 0x00, 0x00}));
  r.setUInt32(fields::timer1Start, packHourMinute(7, 5));
  EXPECT_EQ(bytesAt(r, 0x454, 4), (Bytes{0x05, 0x07, 0x00, 0x00}));
  textToDigitCode(u"2025", r.field(fields::serialNo).first<4>());
  EXPECT_EQ(bytesAt(r, 0x46c, 4), (Bytes{2, 0, 2, 5}));  // digit values, not characters
  r.setUInt32(fields::interval, 61);  // 61 = one minute
  EXPECT_EQ(bytesAt(r, 0x444, 4), (Bytes{61, 0, 0, 0}));
}

TEST(ConfigRecordTest, TextNeverSpillsIntoTheNextField) {
  ConfigRecord r;
  std::fill(r.bytes().begin(), r.bytes().end(), std::uint8_t{0x55});
  textToField(u"65535-and-more", r.field(fields::ftpPort));
  EXPECT_EQ(bytesAt(r, 0x6fa, 5), (Bytes{'6', '5', '5', '3', '5'}));
  EXPECT_EQ(r.readUInt8(0x6ff), 0x55);
  EXPECT_EQ(r.readUInt8(0x6f9), 0x55);
}

// Out-of-range access is a caller error: it asserts in debug builds and never touches memory
// outside the record in release builds. Where GoogleTest has no death tests (node), an optimised
// build still runs the statements and checks that the record is untouched.
#if GTEST_HAS_DEATH_TEST
#define EXPECT_CONTAINED(statement) EXPECT_DEBUG_DEATH(statement, "")
#elif defined(NDEBUG)
#define EXPECT_CONTAINED(statement) statement
#endif
#ifdef EXPECT_CONTAINED
TEST(ConfigRecordDeathTest, OutOfRangeAccessIsContained) {
  ConfigRecord r;
  constexpr FieldInfo kPastEnd{"pastEnd", 0x6fe, 4, Encoding::Int32, DefaultKind::NotSet, 0,
                               {}, {}, {}};
  EXPECT_CONTAINED(r.writeUInt32(kRecordSize - 3, 0xFFFFFFFFu));
  EXPECT_CONTAINED(r.writeUInt8(kRecordSize, 1));
  EXPECT_CONTAINED(r.writeUInt32(SIZE_MAX - 1, 1));
  EXPECT_CONTAINED(EXPECT_TRUE(r.field(kPastEnd).empty()));
  EXPECT_CONTAINED(r.setUInt8(fields::imageSize, 1));  // 4-byte field
  EXPECT_EQ(r, ConfigRecord());
}
#endif

}  // namespace
}  // namespace tarnwick
