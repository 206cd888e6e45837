#include "FieldCatalog.h"

#include <algorithm>

#include "ConfigRecord.h"

namespace tarnwick {

namespace {

using namespace fields;

inline constexpr std::array<const FieldInfo*, 69> kCatalog{
    &imageSize,    &dateStamp,    &shotNumber,   &videoSize,    &recordAudio,  &reservedC0,
    &language,     &timeZone,     &workMode,     &pirSensitivity, &timer1Off,  &timer2Off,
    &timer3Off,    &passwordOff,  &serialNoOff,  &timeLapseOff, &smsCtrlOff,   &orgNameOff,
    &sdCycle,      &reserved134,  &mmsOption,    &reserved13C,  &dataOption,   &shotNumberB,
    &gpsSwitch,    &reserved34C,  &ftpDirectory, &interval,     &videoLength,  &smsInterval,
    &timeLapse,    &timer1Start,  &timer2Start,  &timer3Start,  &timer1Stop,   &timer2Stop,
    &timer3Stop,   &serialNo,     &password,     &orgName,      &mmsApn,       &mmsAccount,
    &mmsPassword,  &mmscUrl,      &mmsProxy,     &mmsPort,      &phone1,       &phone2,
    &phone3,       &dataApn,      &dataAccount,  &dataPassword, &mailbox1,     &mailbox2,
    &mailbox3,     &smtpPreset,   &smtpEncrypt,  &smtpServer,   &smtpPort,     &smtpEmail,
    &smtpPassword, &networkMode,  &countryIndex, &operatorIndex, &reserved67C, &ftpAccount,
    &ftpPassword,  &ftpServer,    &ftpPort};

// The catalogue must be in offset order, every field inside the record, and no two fields may
// share a byte; a mistake here would silently corrupt neighbouring settings.
constexpr bool catalogueIsSound() {
  std::uint32_t nextFree = 0;
  for (const FieldInfo* f : kCatalog) {
    if (f->size == 0 || f->offset < nextFree || f->offset + f->size > kRecordSize) return false;
    nextFree = f->offset + f->size;
  }
  return true;
}
static_assert(catalogueIsSound(), "field catalogue overlaps or leaves the record");

// Gaps between the named fields, computed once from the catalogue so that there is only one
// table of offsets.
constexpr std::size_t countGaps() {
  std::size_t gaps = 0;
  std::uint32_t nextFree = 0;
  for (const FieldInfo* f : kCatalog) {
    if (f->offset > nextFree) ++gaps;
    nextFree = f->offset + f->size;
  }
  return nextFree < kRecordSize ? gaps + 1 : gaps;
}

constexpr auto computeGaps() {
  std::array<ByteRange, countGaps()> gaps{};
  std::size_t n = 0;
  std::uint32_t nextFree = 0;
  for (const FieldInfo* f : kCatalog) {
    if (f->offset > nextFree) gaps[n++] = {nextFree, f->offset - 1};
    nextFree = f->offset + f->size;
  }
  if (nextFree < kRecordSize) gaps[n] = {nextFree, static_cast<std::uint32_t>(kRecordSize - 1)};
  return gaps;
}

inline constexpr auto kUnnamed = computeGaps();

}  // namespace

std::span<const FieldInfo* const> fieldCatalog() { return kCatalog; }

const FieldInfo* findField(std::string_view name) {
  const auto it = std::find_if(kCatalog.begin(), kCatalog.end(),
                               [name](const FieldInfo* f) { return f->name == name; });
  return it == kCatalog.end() ? nullptr : *it;
}

std::span<const ByteRange> unnamedRanges() { return kUnnamed; }

std::span<const std::string_view> intervalUnitItems() { return fieldlists::intervalUnit; }

}  // namespace tarnwick
